// Every callback the layouts attach to a window, a control or a menu item. Each is
// defined by the module that carries out its command.
#pragma once

// Control callbacks: (panel, control, event, callbackData, eventData1, eventData2) -> 0.
int cAutoCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int cBindCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int cCaliStartCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int cCancelCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int cCancelClockCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int cCancelIdCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int cCancelLogCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int cCmdCallback(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int cDataTableCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int cEndCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int cExitCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int cFileCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int cGroupCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int cHelpCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int cLogExitCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int cOkCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int cOkClockCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int cOkIdCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int cOkLogCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int cOkRhCaliCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int cOkTempCaliCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int cPrintCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int cPrintGraphCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int cRefreshRhCaliCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int cRefreshTempCaliCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int cRetrieveFileCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int cRhCaliExitCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int cSaveFileCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int cSetLoggerCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int cSettingCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int cSleepModeCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int cStartCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int cStatisticExitCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int cStatisticsCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int cTableExitCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int cTablePrintCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int cTableProcessCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int cTempCaliExitCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int mDataChartCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int mHistogram1Callback(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int mHistogram2Callback(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int mMChartCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int mVersionCallback(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int Resetini(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int sAlarmChannelCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int sAlarmLimitCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int sBaudRateCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int sChartGainCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int sChartOffsetCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int sColorCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int sDataBitsCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int sIdCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int sMChartGainCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int sMChartOffsetCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int sParityCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int sPortNoCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int sRealDateCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int sRealTimeCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int sSamplePointsCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int sSampleRateCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int sStartDateCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int sStartModeCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int sStartTimeCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int sStatisticChannelCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int sStatisticRange1CallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int sStatisticRange2CallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int sStopBitsCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int sTableErrorEnableCallback(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int sTableHiEnableCallback(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int sTableLowEnableCallback(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int sUnitCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int sXLabelCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int timeTickCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int tTitle1CallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);

// Window callbacks: (panel, event, callbackData, eventData1, eventData2) -> 0.
int pMonitorCallBack(int panel, int event, void *callbackData, int eventData1, int eventData2);
int pMonitorsCallBack(int panel, int event, void *callbackData, int eventData1, int eventData2);
int pRhCaliCallBack(int panel, int event, void *callbackData, int eventData1, int eventData2);
int pSetLoggerCallBack(int panel, int event, void *callbackData, int eventData1, int eventData2);
int pSettingCallBack(int panel, int event, void *callbackData, int eventData1, int eventData2);
int pStatisticCallBack(int panel, int event, void *callbackData, int eventData1, int eventData2);
int pTableCallBack(int panel, int event, void *callbackData, int eventData1, int eventData2);
int pTempCaliCallBack(int panel, int event, void *callbackData, int eventData1, int eventData2);
int pMsgCallBack(int panel, int event, void *callbackData, int eventData1, int eventData2);

// Menu-item callbacks of the scaling menu: (menu bar, item, callbackData, panel).
void mXAxisScalTempCallback(int menuBar, int menuItem, void *callbackData, int panel);
void mXAxisScalTemp2Callback(int menuBar, int menuItem, void *callbackData, int panel);
void mXAxisScalAllCallback(int menuBar, int menuItem, void *callbackData, int panel);
