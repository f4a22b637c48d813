// The main window's keyboard shortcuts: the file commands, printing, the trip report, help and
// exit click their buttons, and Home and End take chart cursor 1 to the first and the last
// record shown. Escape
// closes the group-files window as its Close button does.
#include "app/Tavix.h"
#include "display/Display.h"
#include "panels/Panels.h"
#include "runtime/ui.h"

namespace {

void cursorToFirst(int, void *) { moveCursorToShown(1, false); }
void cursorToLast(int, void *) { moveCursorToShown(1, true); }

}   // namespace

void bindMainWindowKeys() {
    struct Binding {
        const char *keys;
        int control;
    };
    const Binding bindings[] = {{"Ctrl+O", MONITOR_MENU1},         // retrieve file
                                {"Ctrl+S", MONITOR_MENU2},         // save file
                                {"Ctrl+P", MONITOR_MENU7},         // print the main window
                                {"F1", MONITOR_MENU9},             // help
                                {"Ctrl+R", MONITOR_TRIP_REPORT},   // trip report
                                {"Ctrl+Q", MONITOR_EXIT}};
    for (const Binding &b : bindings) SetCtrlShortcut(idMonitor, b.control, b.keys);
    InstallShortcutCallback(idMonitor, "Home", cursorToFirst, nullptr);
    InstallShortcutCallback(idMonitor, "End", cursorToLast, nullptr);
    SetCtrlShortcut(idMonitors, MONITORS_EXIT, "Esc");
}
