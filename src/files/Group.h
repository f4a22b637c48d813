// The group-files window: up to eight saved data files in one chart, for comparing recordings.
//
// The files occupy eight slots, A to H. A file loaded into a slot is read by the rules of
// Retrieve File into the slot's own block (192000 bytes, allocated the first time the slot is
// loaded and kept for the whole run, laid out for the file's channel set as the record store
// is); the record store itself is never touched. The chart shows one window of record positions
// (offset and range, at most 16000 positions) for every slot, each slot in its own colour:
// temperatures on the left axis, humidity on the right one, which is named "%RH" once any file
// with humidity has been loaded. One cursor reads out, for every drawn slot, the record at the
// cursor's position, or a row of dashes where the slot has no record.
//
// The state is global and single-instance, defined beside resetFilesState (files_state.cpp).
#pragma once

#include "model/Clock.h"
#include "model/Records.h"

enum {
    GROUP_SLOTS = 8,                     // slots A to H
    GROUP_MAX_POSITIONS = MAX_RECORDS,   // record positions the window can show: a slot's records
};

// Per slot (0 = A ... 7 = H).
extern int groupDeviceId[GROUP_SLOTS];         // model index read from the file
extern char groupUnit[GROUP_SLOTS];            // unit letter read from the file
extern int groupLength[GROUP_SLOTS];           // records read, at most the layout's capacity
extern int groupRefusedRecords[GROUP_SLOTS];   // record lines of the last load refused
extern unsigned char *groupPtr[GROUP_SLOTS];   // the slot's block; nullptr until first loaded
extern cRtc *groupRtcPtr[GROUP_SLOTS];         // record times, at the start of the block
extern double *groupTemPtr[GROUP_SLOTS];       // channel values; nullptr for a channel the
extern double *groupTem2Ptr[GROUP_SLOTS];      // model lacks
extern double *groupRhPtr[GROUP_SLOTS];
extern int groupColors[GROUP_SLOTS];   // RGB
// Plot handles of the drawn curves and of their labels (0 when not drawn).
extern int groupHandlerTem[GROUP_SLOTS], groupHandlerTem2[GROUP_SLOTS], groupHandlerRh[GROUP_SLOTS];
extern int groupHandlerTemText[GROUP_SLOTS], groupHandlerTem2Text[GROUP_SLOTS], groupHandlerRhText[GROUP_SLOTS];

// The slot loaded or recoloured last ('A' ... 'H'; '\0' before any).
extern char logNo;
// Index of the first shown record position and the number of shown positions.
extern int vChartOffset;
extern int vChartGain;
// Record position under the cursor.
extern int vCursorX;
// Set once any file with humidity has been loaded; never cleared.
extern bool fRhLogger;

// The slots' colours at start-up, A to H.
extern const int GROUP_DEFAULT_COLORS[GROUP_SLOTS];
// The read-out controls of the slots, A to H.
extern const int CURSOR_NAME[GROUP_SLOTS];

// Start-up: read the window's offset and range, colour the two fields and set the default
// colours (also into the colour selectors).
void getDefaultMSetting();

// Redraw the chart: every slot loaded so far (all), or only slot logNo; then the read-outs.
void updateMTempChart(bool all);
// Draw one channel (0 temperature, 1 second temperature, 2 humidity) of slot k; nothing (and
// the channel's handles 0) when the slot lacks it, has no valid value or no record in the window.
void updateMChannelChart(int channel, int k);
// Positions of a slot of length records to draw in the window: 0 or negative when the window
// starts at or beyond its last record.
int maxPoint(int length);
// Refresh the read-outs of the drawn slots for the cursor's position.
void updateMCursorLocation();

// Loads the data file at path into slot k (0 = A) by the rules of Retrieve File and draws it;
// the records held are untouched. The number of records read, or -1 when the file has no
// record line or cannot be opened (said in a pop-up; the slot is as it was).
int loadGroupFile(int k, const char *path);

// The window's callbacks: the main window's group-files command opens it; the eight file
// buttons, their colour selectors, the chart with its cursor, the offset and range fields,
// and the close box.
int cGroupCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int cFileCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int sColorCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int mMChartCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int sMChartOffsetCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int sMChartGainCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
// The window's Close button (and Escape): hides the window as its close box does.
int cGroupExitCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int pMonitorsCallBack(int panel, int event, void *callbackData, int eventData1, int eventData2);

// Loads the data file at path into slot k as its file button does after the dialog: the slot's
// button, records, notes and chart. Returns the records stored, or -1 when the file cannot be
// opened (warn15 with the path was shown; the slot is unchanged).
int loadGroupFile(int k, const char *path);
