// The status line of the main window.
#include "link/Link.h"
#include "panels/Panels.h"
#include "runtime/ui.h"

namespace {
void showStatus(const char *text, int color) {
    SetCtrlAttribute(idMonitor, MONITOR_MESSAGE, ATTR_TEXT_COLOR, color);
    SetCtrlVal(idMonitor, MONITOR_MESSAGE, text);
}
}   // namespace

void sendUserMessage(const char *text) { showStatus(text, VAL_BLUE); }

void sendWarnMessage(const char *text) { showStatus(text, VAL_RED); }
