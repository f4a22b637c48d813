// The data table window and its alarm processing, the statistics window with its histograms,
// and the printing of windows.
#pragma once

#include <cstddef>

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

// ---------------------------------------------------------------- printing

// The print buttons: the main window (the panel the button is on, at its own size), the
// statistics window (scaled to the page), the data table's text report (reportAll).
int cPrintGraphCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int cPrintCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int cTablePrintCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);

// The text report of the record store: the range asked for in a prompt ("25", "10-20"; a range
// is clamped to the records held; an answer without a number prints nothing), a header with the
// identifier or the file name, the print date and time, interval, unit and readings, the column
// header of the model, then one tab-separated line per record, with its progress in the status
// line. A line that cannot be printed stops the report (warn7 and the run-time's text).
void reportAll();

// One value field of a report line into buffer (capacity bytes, always terminated): a tab and
// the value with one decimal right-aligned in five columns, or for a sensor error (above 10000)
// a tab, two blanks, E and the code with at least two digits ("\t  E07"). Six characters for
// every value from -99.9 to 999.9 and every code below 100. Numbers in the C locale. Returns the
// length written.
std::size_t BuildPrnValStr(char *buffer, std::size_t capacity, double value);

// The printer probe of every print command, and the PDF offer where no printer is installed.
enum {
    PRINT_TARGET_NONE = 0,      // nothing to print on: the user declined (warn7 shown) or cancelled
    PRINT_TARGET_PRINTER = 1,   // the printer, or the PDF target already set
    PRINT_TARGET_PDF = 2,       // the PDF file the user chose when asked
};
// With a printer (or a PDF target already set) PRINT_TARGET_PRINTER. Without one the user is
// asked whether to save the print as a PDF file instead, then for the file (default data
// folder; replacing a file is confirmed); PRINT_TARGET_PDF with the run-time's PDF target set
// to it, or PRINT_TARGET_NONE (a refusal shows warn7 with the run-time's text).
int choosePrintTarget();
// After the print: a PDF target that choosePrintTarget set is taken away again.
void releasePrintTarget(int target);
