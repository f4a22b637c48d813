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

// ---------------------------------------------------------------- printing callbacks

// The print buttons: the main window, the statistics window, the data table's report.
int cPrintGraphCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int cPrintCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int cTablePrintCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
