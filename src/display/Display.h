// The main chart and its cursors.
//
// The main window's graph shows a window of consecutive records of the record store, one
// curve per channel of the model: it starts at the record index in the offset field and is as
// long as the record count chosen in the range list. Sensor-error records are drawn at the
// last valid value before them and marked in red. Two cursors snap to the plotted points;
// their read-outs show the record under each, and the window's first and last record times
// are shown under the chart.
#pragma once

#include <cstddef>

#include "model/Records.h"

// Left-axis scaling: the span of channel 0, the span of channel 1, or automatic.
enum { LEFT_SCALE_CHANNEL0 = 0, LEFT_SCALE_CHANNEL1 = 1, LEFT_SCALE_AUTO = 255 };
extern int leftYScalMode;
// Whether the chart offers the scaling menu (models with two temperature channels).
extern unsigned char fLeftYScalEnable;

// Index (0-based) of the first displayed record and the number of displayed records, as read
// from the offset field and the range list (the range cut to the model's record limit).
extern int chartOffset;
extern int chartGain;
// Scratch series: the chart builds the display series of one channel in it; the statistics
// reuse it. Its contents are valid during one call only.
extern double tmpValArray[MAX_RECORDS];
// Per record of the channel being drawn: 1 = an error value replaced by the last valid value.
extern unsigned char chartFlag[MAX_RECORDS];
// The series a chart draws for length values of one channel (series and errorMarks hold length
// entries): an error value takes the last valid value before it and is marked 1 in errorMarks
// (a valid one 0); records before the first valid one take the first valid value. False, with
// nothing written, when no value is valid (nothing to draw). The main chart and the group-files
// chart build theirs in tmpValArray and chartFlag.
bool buildChartSeries(const double *values, int length, double *series, unsigned char *errorMarks);
// Record index (0-based) under chart cursor 1 and cursor 2; may lie at or beyond the records
// held (the read-out is then empty).
extern int cursor1X;
extern int cursor2X;
// Set while new records have not been drawn yet: their first redraw puts the cursors at a
// third and at two thirds of the records shown, apart and clear of the axis.
extern bool cursorsAwaitData;
// Set by zoom and pan before their redraw: that redraw puts each cursor back on the record it
// stood on, or on the nearest record shown when its record has left the window.
extern bool cursorsKeepRecords;

// Full redraw of the main chart (nothing without records); ends with the cursors.
void updateTemperatureChart();
// Draw one channel (0 temperature, 1 second temperature, 2 humidity).
void updateChannelChart(int channel);
// Delete every plot of the main chart and redraw it.
void ClearTemperatureChart();
// A download starts on an empty chart: no curves, time labels, axis ranges or read-outs of the
// records held before, and the offset back at the first record.
void clearChartForDownload();
// Read the chart offset and range from the main window and cut the range to the record limit
// of the model's channel count.
void getDisplayControlSetting();
// Number of records to draw: 0 or negative when the window starts at or beyond the last record.
int disLength();
// The records held that the chart and the cursors may read: loggedLength, never more than the
// record store's views hold (nor MAX_RECORDS), never negative.
int readableRecords();
// Rebuild the eleven time labels of the x axis.
void xLabelString();
// Name the left axis and the statistics unit labels for a unit character.
void updateUnit(char unit);
// A new logger or data file has been taken: the left axis scales itself again (leftYScalMode
// 255, the check mark on the scaling menu's all item), the scaling menu is offered when the
// model in currDeviceId has a second temperature channel (fLeftYScalEnable), and the next
// redraw places the cursors (cursorsAwaitData).
void resetChartScaling();

// Recompute both cursors, their read-outs and the window's first and last record times, then
// refresh the data table.
void updateCursorLocation();
// The read-out of record index for the channel set (LOGGER_TYPE entry) into buffer (capacity
// bytes, always terminated). Expects rtcDate and rtcTime to hold that record's date and time.
// Returns the length written.
int BuildCursorValstr(char *buffer, std::size_t capacity, int channelSet, int index);
template <std::size_t N>
int BuildCursorValstr(char (&buffer)[N], int channelSet, int index) {
    return BuildCursorValstr(buffer, N, channelSet, index);
}
// One value field of a read-out into buffer (capacity bytes, always terminated): an error
// value (above 10000) as "E" + its code with at least two digits + a blank; a measurement as
// the value with one decimal right-aligned in five columns, the unit text and a blank.
// Returns the length written.
int BuildValStr(char *buffer, std::size_t capacity, double value, const char *unitText);
template <std::size_t N>
int BuildValStr(char (&buffer)[N], double value, const char *unitText) {
    return BuildValStr(buffer, N, value, unitText);
}

// Start-up state of the chart's own variables (tests): offset 0, range 0, automatic left
// axis, no scaling menu, cursors at record 0 and placed at the first redraw.
void resetDisplayState();

// Mouse navigation of the chart through the offset field and the range list: steps of the
// wheel (positive: a shorter range) around the record under the pointer (anchor, an x
// position of the chart), and a pan by shift records (positive: earlier records come into
// view). Each step of the wheel goes to the next range that shows a different number of
// records (ranges longer than the records held show the same). The offset stays between 0
// and the last offset that still fills the window with records (an offset typed beyond it is
// only lowered). Both redraw, and the cursors stay on their records.
void zoomChart(int steps, int anchor);
void panChart(int shift);
// Move a cursor (1 or 2) to the first or the last record shown and update the read-outs, as
// the end of a drag does. Nothing without records shown.
void moveCursorToShown(int cursor, bool last);

// ---------------------------------------------------------------- callbacks

// The offset field and the range list of the main window: redraw on a change.
int sChartOffsetCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int sChartGainCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
// The x-axis switch: time labels or record numbers.
int sXLabelCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
// A click on the chart's title: forget the logger and the records held (on the user's word).
int tTitle1CallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
// The chart: a moved cursor updates the read-outs; a right click opens the scaling menu.
int mDataChartCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
// The scaling menu's items (menu bar, item, callbackData, panel): the left axis follows
// channel 0, channel 1, or scales automatically.
void mXAxisScalTempCallback(int menuBar, int menuItem, void *callbackData, int panel);
void mXAxisScalTemp2Callback(int menuBar, int menuItem, void *callbackData, int panel);
void mXAxisScalAllCallback(int menuBar, int menuItem, void *callbackData, int panel);
