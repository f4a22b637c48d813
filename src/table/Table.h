// The data table window and its alarm processing, the statistics window with its histograms,
// and the printing of windows.
#pragma once

extern unsigned char flagOfDataTableOn;   // 1 while the table window is open
extern double tabHi;                      // high limit of the processing
extern double tabLo;                      // low limit
extern int tabColor;                      // text colour of matching cells

// Refill the table page from the record store (only while the window is open).
void updateTable();

// ---------------------------------------------------------------- data table callbacks

// The main window's data-table command opens the window; the close button and the close box
// close it.
int cDataTableCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int cTableExitCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int pTableCallBack(int panel, int event, void *callbackData, int eventData1, int eventData2);
// The processing: the high, low and error switches, and Go, which marks the matching cells.
int sTableHiEnableCallback(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int sTableLowEnableCallback(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int sTableErrorEnableCallback(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int cTableProcessCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);

// ---------------------------------------------------------------- statistics callbacks

// The main window's statistics command opens the window; the close button and the close box
// close it.
int cStatisticsCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int cStatisticExitCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int pStatisticCallBack(int panel, int event, void *callbackData, int eventData1, int eventData2);
// The channel list, the interval counts and the two histograms.
int sStatisticChannelCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int sStatisticRange1CallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int sStatisticRange2CallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int mHistogram1Callback(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int mHistogram2Callback(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);

// ---------------------------------------------------------------- printing callbacks

// The print buttons: the main window, the statistics window, the data table's report.
int cPrintGraphCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int cPrintCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int cTablePrintCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
