// The status line of the main window, the progress bar beside it and the window's title.
#include <climits>
#include <cstdio>
#include <cstring>
#include <string>

#include "link/Link.h"
#include "local/Texts.h"
#include "model/Models.h"
#include "model/Records.h"
#include "panels/Panels.h"
#include "runtime/ui.h"

namespace {

// The title while the language file has given none.
const char kDefaultTitle[] = "Tavix";
// Between the program's name and the data's name (an em dash).
const char kTitleSeparator[] = " \u2014 ";

void showStatus(const char *text, int color) {
    SetCtrlAttribute(idMonitor, MONITOR_MESSAGE, ATTR_TEXT_COLOR, color);
    SetCtrlVal(idMonitor, MONITOR_MESSAGE, text);
    statusAge = 0;
}

void showMessage(const char *text, int color) {
    showStatus(text, color);
    statusIsHint = false;
}

void showHint(const char *text) {
    showStatus(text, VAL_BLUE);
    statusIsHint = true;
    hintWaiting = false;
}

}   // namespace

void sendUserMessage(const char *text) { showMessage(text, VAL_BLUE); }

void sendWarnMessage(const char *text) { showMessage(text, VAL_RED); }

void sendHintMessage(const char *text) {
    const bool messageRead = statusIsHint || statusAge >= STATUS_HOLD_TICKS;
    if (text == nullptr || text[0] == '\0') {
        // leaving the control: its hint goes, a message stays
        hintWaiting = false;
        if (statusIsHint) showHint("");
        return;
    }
    if (messageRead) {
        showHint(text);
        return;
    }
    std::snprintf(waitingHint, sizeof waitingHint, "%s", text);
    hintWaiting = true;
}

void ageStatusLine() {
    if (statusAge < UCHAR_MAX) ++statusAge;
    if (hintWaiting && statusAge >= STATUS_HOLD_TICKS) showHint(waitingHint);
}

void showRecordProgress(int done, int total) {
    if (idMonitor <= 0) return;
    if (done < 0) done = 0;
    if (total < done) total = done;
    char text[64 + WINDOW_TEXT_SIZE];
    std::snprintf(text, sizeof text, "%d / %d %s", done, total, wRecords);
    SetCtrlAttribute(idMonitor, MONITOR_PROGRESS, ATTR_MAX_VALUE, total);
    SetCtrlVal(idMonitor, MONITOR_PROGRESS, done);
    SetCtrlAttribute(idMonitor, MONITOR_PROGRESS, ATTR_LABEL_TEXT, text);
    SetCtrlAttribute(idMonitor, MONITOR_PROGRESS, ATTR_VISIBLE, 1);
}

void hideRecordProgress() {
    if (idMonitor > 0) SetCtrlAttribute(idMonitor, MONITOR_PROGRESS, ATTR_VISIBLE, 0);
}

void updateMainTitle() {
    if (idMonitor <= 0) return;
    std::string title = wMainTitle[0] != '\0' ? wMainTitle : kDefaultTitle;
    switch (dataOrigin) {
        case DataOrigin::Logger: title = title + kTitleSeparator + "ID= " + recordsShownId(); break;
        case DataOrigin::File:
            title = title + kTitleSeparator + dataFileShown;
            if (dataFileNote[0] != '\0') title = title + " (" + dataFileNote + ")";
            break;
        case DataOrigin::None: break;
    }
    if (gFlag & GFLAG_NOT_SAVED) title += " *";
    SetPanelAttribute(idMonitor, ATTR_TITLE, title.c_str());
}

void setDataOrigin(DataOrigin origin, const char *fileShown) {
    dataOrigin = origin;
    dataFileShown[0] = '\0';
    dataFileNote[0] = '\0';
    if (fileShown != nullptr) std::snprintf(dataFileShown, sizeof dataFileShown, "%s", fileShown);
    updateMainTitle();
}

void setDataFileNote(const char *note) {
    std::snprintf(dataFileNote, sizeof dataFileNote, "%s", note != nullptr ? note : "");
    updateMainTitle();
}

void noteDownloadKept(const char *text, bool warning) {
    std::snprintf(downloadNote, sizeof downloadNote, "%s", text != nullptr ? text : "");
    downloadNoteWarns = warning;
}
