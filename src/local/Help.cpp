// Help and version: the three callbacks that belong to no other window's module. The help
// command opens the help document of the program's folder in the desktop's viewer, or says
// why it could not and where the document is; the logo
// answers a right double click with the version; the information line reacts to nothing.
#include "local/Local.h"
#include "runtime/ui.h"

#include <cstddef>
#include <cstdio>

namespace {

// The help command's viewer opens in its normal state.
constexpr int kShowNormal = 0;
constexpr std::size_t kPathCapacity = 1024;

// The document last handed to the viewer: a failure may be heard of long after the command.
char helpPath[kPathCapacity] = {};

// The user is told why nothing opened, and where the manual is, so that it can be opened by
// hand.
void reportHelpFailure(int result) {
    char text[MSG_TEXT_SIZE + kPathCapacity + 2];
    const char *reason = result == OPEN_DOCUMENT_NOT_FOUND ? msgHelpMissing : msgHelpNoViewer;
    std::snprintf(text, sizeof text, "%s\n%s", reason, helpPath);
    MessagePopup(warn11, text);   // "Attention"
}

}   // namespace

int cHelpCallBack(int, int, int event, void *, int, int) {
    if (event != EVENT_COMMIT) return 0;
    // The program's folder is the working directory; the full path spares the opener any
    // guess about which folder is meant.
    char folder[kPathCapacity] = {};
    if (GetProjectDir(folder, sizeof folder) < 0 ||
        MakePathname(folder, TAVIX_HELP_FILE, helpPath, sizeof helpPath) < 0)
        return 0;
    // The viewer is not waited for; a missing document or viewer is reported, now or when the
    // opener gives up.
    const int result = OpenDocumentInDefaultViewer(helpPath, kShowNormal, reportHelpFailure);
    if (result < 0) reportHelpFailure(result);
    return 0;
}

int mVersionCallback(int, int, int event, void *, int, int) {
    if (event != EVENT_RIGHT_DOUBLE_CLICK) return 0;
    MessagePopup("MiniVersion", "Version 3.5.28");
    return 0;
}

int cCmdCallback(int, int, int, void *, int, int) { return 0; }
