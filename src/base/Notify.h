// The notifications that run upward. A lower module whose work must refresh what a higher one
// shows (new records to draw, the table's page, a new logger model, a calibration answer) calls
// the notification here; it never includes the higher module. At start-up the program installs
// the higher modules' procedures; a notification that nobody installed does nothing, so a lower
// module and its tests run without the windows above it.
#pragma once

// What a calibration answer arrived for: read back after the calibration was written, or read to
// fill the calibration window.
enum class CalibrationAnswer { ReadBack, ForWindow };

// Whether the table's page is refilled only while its window is open, or in any case (the
// chart title's reset empties it even while the window is closed).
enum class TablePage { WhileOpen, Always };

struct Notifications {
    // New or fewer records to draw: the whole chart is drawn again.
    void (*recordsToDraw)() = nullptr;
    // A download starts: the chart is emptied and shows the new records from their first.
    void (*chartClearForDownload)() = nullptr;
    // A logger model has been identified: the chart scales all channels again.
    void (*loggerModelIdentified)() = nullptr;
    // The model differs from the one before: the logger-settings window is filled for it and its
    // remembered settings recalled.
    void (*loggerModelChanged)() = nullptr;
    // The records or cursor 1 have changed: the data table's page follows.
    void (*tablePage)(TablePage when) = nullptr;
    // The logger's calibration has been read (temperature points or humidity texts).
    void (*calibrationArrived)(CalibrationAnswer answer) = nullptr;
    // The user chose Save in a question about unsaved records: Save File runs.
    void (*saveRecords)() = nullptr;
    // A download has ended, with every record the logger reported (complete) or not (stopped,
    // cut off, timed out). Runs before the user is asked or told anything about it, so that
    // what arrived can be kept first (the archive).
    void (*downloadEnded)(bool complete) = nullptr;
};

// The procedures installed (app/ at start-up; tests that run a module without the windows leave
// them empty).
extern Notifications notifications;

// Each notification: runs the installed procedure, or nothing.
void notifyRecordsToDraw();
void notifyChartClearForDownload();
void notifyLoggerModelIdentified();
void notifyLoggerModelChanged();
void notifyTablePage(TablePage when = TablePage::WhileOpen);
void notifyCalibrationArrived(CalibrationAnswer answer);
void notifySaveRecords();
void notifyDownloadEnded(bool complete);
