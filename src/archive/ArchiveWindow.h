// The archive window: the recordings the archive keeps, listed by logger, identifier, first and
// last record, records, whether the download was complete and the verdict of the chosen profile,
// filtered by logger and time and put in order; a recording chosen in the list opens in the
// main chart (as Retrieve File opens a file) or in a group-files slot, its original data file
// is exported, and its audit trail shown below the list. The trail's current chain head stands
// at the bottom, so that a picture or a print of the window anchors the trail.
//
// State: the window's handle and the recording of each row of its list.
#pragma once

#include <cstdint>
#include <vector>

// The window's handle while it is loaded, else 0.
extern int idArchive;
// The recording shown in each row of the list, top first.
extern std::vector<std::int64_t> archiveRows;

// Forget the window (start-up; tests).
void resetArchiveWindow();

// The layout of the window (registered as the ARCHIVE resource).
int buildArchive(int panel);

// Lists the recordings the window's filter passes, in its order, and shows the chain head.
// The number listed (0 also when no archive is open).
int fillArchiveList();

// The recording of the row chosen in the list; 0 when none is.
std::int64_t chosenRecording();

// ---------------------------------------------------------------- callbacks

// The main window's Archive command: loads (or shows again) the window, filled.
int cArchiveCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
// The profile ring: the verdict column judges by the profile chosen (the trip report's choice too).
int sArchiveProfileCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int cArchiveFilterCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
// The chosen recording into the main chart, after the question about unsaved records.
int cArchiveOpenCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
// The chosen recording into the group-files slot of the slot ring (the window is opened).
int cArchiveOpenSlotCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
// The chosen recording's original data file, to a file chosen in the file dialog.
int cArchiveExportCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int cArchiveTrailCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int cArchiveCloseCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int pArchiveCallBack(int panel, int event, void *callbackData, int eventData1, int eventData2);
