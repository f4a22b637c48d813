// Help and version: the three callbacks that belong to no other window's module. The help
// command opens the help document of the program's folder in the desktop's viewer; the logo
// answers a right double click with the version; the information line reacts to nothing.
#include "local/Local.h"
#include "runtime/ui.h"

#include <cstddef>

namespace {

// The help command's viewer opens in its normal state.
constexpr int kShowNormal = 0;
constexpr std::size_t kPathCapacity = 1024;

}   // namespace

int cHelpCallBack(int, int, int event, void *, int, int) {
    if (event != EVENT_COMMIT) return 0;
    // The program's folder is the working directory; the full path spares the opener any
    // guess about which folder is meant.
    char folder[kPathCapacity] = {};
    char path[kPathCapacity] = {};
    if (GetProjectDir(folder, sizeof folder) < 0 || MakePathname(folder, TAVIX_HELP_FILE, path, sizeof path) < 0)
        return 0;
    // A missing document or viewer shows nothing: the result is not reported.
    OpenDocumentInDefaultViewer(path, kShowNormal);
    return 0;
}

int mVersionCallback(int, int, int event, void *, int, int) {
    if (event != EVENT_RIGHT_DOUBLE_CLICK) return 0;
    MessagePopup("MiniVersion", "Version 3.5.28");
    return 0;
}

int cCmdCallback(int, int, int, void *, int, int) { return 0; }
