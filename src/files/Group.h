// The group-files window: up to eight saved data files in one chart.
#pragma once

// Start-up: read the window's offset and range and set the default colours.
void getDefaultMSetting();

// The window's callbacks: the main window's group-files command opens it; the eight file
// buttons, their colour selectors, the chart with its cursors, the offset and range fields,
// and the close box.
int cGroupCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int cFileCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int sColorCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int mMChartCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int sMChartOffsetCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int sMChartGainCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int pMonitorsCallBack(int panel, int event, void *callbackData, int eventData1, int eventData2);
