// Commands of the windows whose modules are not built yet. They are attached by the
// layouts so that every window is complete. Each is already declared in the header of
// the module that will own it; its definition moves to that module when the module is
// built, and is deleted here.
#include "app/Tavix.h"
#include "config/Config.h"
#include "display/Display.h"
#include "files/Group.h"
#include "link/Link.h"
#include "local/Local.h"
#include "table/Table.h"

int cCancelLogCallBack(int, int, int, void *, int, int) { return 0; }
int cCmdCallback(int, int, int, void *, int, int) { return 0; }
int cDataTableCallBack(int, int, int, void *, int, int) { return 0; }
int cFileCallBack(int, int, int, void *, int, int) { return 0; }
int cGroupCallBack(int, int, int, void *, int, int) { return 0; }
int cHelpCallBack(int, int, int, void *, int, int) { return 0; }
int cLogExitCallBack(int, int, int, void *, int, int) { return 0; }
int cOkLogCallBack(int, int, int, void *, int, int) { return 0; }
int cPrintCallBack(int, int, int, void *, int, int) { return 0; }
int cPrintGraphCallBack(int, int, int, void *, int, int) { return 0; }
int cSetLoggerCallBack(int, int, int, void *, int, int) { return 0; }
int cStatisticExitCallBack(int, int, int, void *, int, int) { return 0; }
int cStatisticsCallBack(int, int, int, void *, int, int) { return 0; }
int cTableExitCallBack(int, int, int, void *, int, int) { return 0; }
int cTablePrintCallBack(int, int, int, void *, int, int) { return 0; }
int cTableProcessCallBack(int, int, int, void *, int, int) { return 0; }
int mHistogram1Callback(int, int, int, void *, int, int) { return 0; }
int mHistogram2Callback(int, int, int, void *, int, int) { return 0; }
int mMChartCallBack(int, int, int, void *, int, int) { return 0; }
int mVersionCallback(int, int, int, void *, int, int) { return 0; }
int sAlarmChannelCallBack(int, int, int, void *, int, int) { return 0; }
int sAlarmLimitCallBack(int, int, int, void *, int, int) { return 0; }
int sColorCallBack(int, int, int, void *, int, int) { return 0; }
int sMChartGainCallBack(int, int, int, void *, int, int) { return 0; }
int sMChartOffsetCallBack(int, int, int, void *, int, int) { return 0; }
int sSamplePointsCallBack(int, int, int, void *, int, int) { return 0; }
int sSampleRateCallBack(int, int, int, void *, int, int) { return 0; }
int sStartDateCallBack(int, int, int, void *, int, int) { return 0; }
int sStartModeCallBack(int, int, int, void *, int, int) { return 0; }
int sStartTimeCallBack(int, int, int, void *, int, int) { return 0; }
int sStatisticChannelCallBack(int, int, int, void *, int, int) { return 0; }
int sStatisticRange1CallBack(int, int, int, void *, int, int) { return 0; }
int sStatisticRange2CallBack(int, int, int, void *, int, int) { return 0; }
int sTableErrorEnableCallback(int, int, int, void *, int, int) { return 0; }
int sTableHiEnableCallback(int, int, int, void *, int, int) { return 0; }
int sTableLowEnableCallback(int, int, int, void *, int, int) { return 0; }
int sUnitCallBack(int, int, int, void *, int, int) { return 0; }
int pMonitorsCallBack(int, int, void *, int, int) { return 0; }
int pSetLoggerCallBack(int, int, void *, int, int) { return 0; }
int pStatisticCallBack(int, int, void *, int, int) { return 0; }
int pTableCallBack(int, int, void *, int, int) { return 0; }

void getDefaultMSetting() {}
void updateTable() {}

// Logger configuration: the settings window, its file, calibration.
void updatePanelLogSetting() {}
void RecallLogSetting() {}
