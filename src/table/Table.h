// The data table window and its alarm processing, the statistics window with its histograms,
// and the printing of windows.
//
// The data table shows a page of TABLE_PAGE_ROWS records of the record store, one per row:
// record number, date, time and a value text per channel of the model. The page follows chart
// cursor 1 and is refilled, only while the window is open, whenever the cursors are recomputed,
// a download starts or a file has been read. Every text of the page lives in the fixed arrays
// below, overwritten in place; each column is handed to the table in one call.
//
// The processing tests one channel against a high limit, a low limit and the sensor-error state
// (the match rule, tableMatch): it colours the matching value cells of the page and counts the
// matching records, and their episodes, over every record held. The colours stay on their cells
// when the page moves, until the next processing or the next opening of the window.
#pragma once

#include "base/Notify.h"

#include <cstddef>

// ---------------------------------------------------------------- data table state

enum {
    TABLE_PAGE_ROWS = 1000,   // rows of the page
    TABLE_CELL_SIZE = 12,     // capacity of one cell text, terminator included
};

extern unsigned char flagOfDataTableOn;   // 1 while the table window is open
extern int tabIdx[TABLE_PAGE_ROWS];       // record number (1-based) of each row, 0 past the last record
// The record number's text of each row (empty past the last record) and the column array.
extern char tabNumber[TABLE_PAGE_ROWS][TABLE_CELL_SIZE];
extern const char *pNumber[TABLE_PAGE_ROWS];
extern char tabDate[TABLE_PAGE_ROWS][TABLE_CELL_SIZE];
extern char tabTime[TABLE_PAGE_ROWS][TABLE_CELL_SIZE];
extern char tabTemp[TABLE_PAGE_ROWS][TABLE_CELL_SIZE];    // channel 0
extern char tabTemp2[TABLE_PAGE_ROWS][TABLE_CELL_SIZE];   // channel 1
extern char tabRh[TABLE_PAGE_ROWS][TABLE_CELL_SIZE];      // channel 2
// The column arrays handed to the table: row r's text above, or null for an empty date or time.
extern const char *pDate[TABLE_PAGE_ROWS];
extern const char *pTime[TABLE_PAGE_ROWS];
extern const char *pTemp[TABLE_PAGE_ROWS];
extern const char *pTemp2[TABLE_PAGE_ROWS];
extern const char *pRh[TABLE_PAGE_ROWS];

// The processing's settings, read from the window only when its Go button is pressed.
extern int tabChannel;     // channel tested: 0, 1 or 2
extern int tabCondition;   // 0 = every enabled limit test must hold, 1 = any one suffices
extern double tabHi;       // high limit, rounded to one decimal
extern double tabLo;       // low limit, rounded to one decimal
extern int tabColor;       // text colour of matching cells
extern int tabHiEnable;    // high-limit test on (non-zero)
extern int tabLowEnable;   // low-limit test on
extern int tabErrEnable;   // sensor-error records match

// What the counters shown describe: the set of records (recordsGeneration) and how many were
// held when the processing ran; -1 while the counters show nothing.
extern unsigned tabCountedGeneration;
extern int tabCountedLength;

// Back to the start-up state: window closed, empty page, limits 0, colour 0x990000, channel 0,
// condition 1, every test on.
void resetTableState();

// ---------------------------------------------------------------- the data table

// Record index (0-based) of the page's first row for cursor 1: the hundred at or below the
// cursor, never reaching past record 16000 and never before the first record.
int tablePageBase(int cursor);

// Refill the page from the record store (nothing while the window is closed). When the records
// are no longer those the counters were made from, the processing's marks go (resetTableMarks).
void updateTable();
// The table's page after the records or cursor 1 have changed (installed as the notification
// tablePage): refilled while the window is open; TablePage::Always marks the window open
// first, so the page is refilled (and emptied with the records) in any case.
void showTablePage(TablePage when);
// The processing's results and condition back to their opening state: counters at 0, no
// coloured cell, the condition "any test" (OR). The limits and switches stay as typed.
void resetTableMarks();

// One value text into buffer (TABLE_CELL_SIZE bytes, cut to fit) and buffer into *cellPointer:
// "E" and the error code with at least two digits for a value above 10000, otherwise the value
// with one decimal (C locale, no leading blanks).
void BuildTabValStr(char *buffer, double value, const char **cellPointer);

// Lay the window out for the current model when it opens: columns and their labels, the
// channel list, the switches, black value cells, the first cell selected.
void updatePanelTable();

// ---------------------------------------------------------------- processing

// A limit rounded to one decimal, halves away from zero (25.04 -> 25.0, -2.25 -> -2.3).
double FloatValProcess(double x);

// The match rule for one value with the processing's settings: an error value (above 10000)
// matches exactly when the error test is on; a measurement is tested against the enabled
// limits (a value equal to a limit passes that limit's test) under the condition.
bool tableMatch(double value);

// Colour the tested channel's cells of the page (the others black), then the counters.
void UpdateTableProcess();
// Colour the cell (table row, column; 1-based) with tabColor when value matches.
void UpdateTabValColor(double value, int row, int column);
// The counters of the tested channel (ChannelUsage(tabChannel)).
void counterUsage();
// Count, over every record held, the matching records (TABLE_USAGE) and the runs of
// consecutive matching records (TABLE_COUNTER). Nothing matches in a channel the model lacks.
void ChannelUsage(int channel);

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
// Export CSV: every record held to a CSV file chosen in the file dialog (table/Csv.h).
int cTableExportCsvCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);

// ---------------------------------------------------------------- statistics

// The statistics window shows, for one channel, two sections side by side: section 1 over all
// records held, section 2 over the records from the smaller chart cursor up to (not including)
// the larger one, never past the records held. Each shows the maximum, minimum, mean, sample
// standard deviation, number of values and, for a temperature channel, the mean kinetic
// temperature, with a histogram whose cursor is read out. Values of 10000 and above (sensor
// errors) are left out; fewer than STATISTIC_MIN_VALUES values clear the section. The window is
// computed when it opens and when its own controls change, not at later cursor moves.

enum {
    HISTOGRAM_MAX_INTERVALS = 132,   // the histogram arrays of a section
    STATISTIC_MIN_VALUES = 10,       // fewer values clear a section
    STATISTIC_TITLE_SIZE = 100,      // the window title whoAreYou writes
};

// What a section keeps from one computation to the next.
struct HistogramSection {
    int counts[HISTOGRAM_MAX_INTERVALS];    // values per interval
    double axis[HISTOGRAM_MAX_INTERVALS];   // centre of each interval
    int intervals;                          // the interval count last read
    int largestCount;                       // the greatest of the counts
};
extern HistogramSection histogramSection[2];   // section 1, section 2

// Back to the start-up state: empty histograms, no interval count read.
void resetStatisticsState();

// The window title: "<wStatistic>: ID= <identifier>" while the data have an identifier,
// otherwise "<wStatistic>: FILE= <display form of fileName>". Always terminated.
void whoAreYou(char *title, std::size_t capacity);
template <std::size_t N>
void whoAreYou(char (&title)[N]) {
    static_assert(N >= STATISTIC_TITLE_SIZE);
    whoAreYou(title, N);
}
// Refill the channel list for the model in currDeviceId; the first item is shown.
void updatePanelStatistic();
// The histogram label and the unit label of the two x read-outs for a channel.
void updateChannelStatistic(int channel);
// Compute and show section 1 (all records) or section 2 (between the chart cursors).
void WholeChannelStatistic(int channel);
void CursorChannelStatistic(int channel);

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
