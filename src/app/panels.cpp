// The layouts of the windows and of the scaling menu, and what they share. Every window
// places its controls in grids (of the panel or of a frame), so that it resizes with the
// room going to its chart, table or text, and its smallest size keeps every control whole.
// The pixel sizes given when a control is made are its minimum. Captions written here are
// only the layout's defaults: the window-text functions replace them with the texts of the
// chosen language when a window is opened. This file holds the small windows; the main and
// group-files windows, the two settings windows and the data windows have files of their own.
#include "app/Tavix.h"

#include "app/panels_internal.h"
#include "archive/ArchiveWindow.h"
#include "archive/Archiving.h"
#include "base/Notify.h"
#include "config/Config.h"
#include "display/Display.h"
#include "files/DataFile.h"
#include "local/PreferencesWindow.h"
#include "panels/Panels.h"
#include "panels/Controls.h"
#include "runtime/ui.h"
#include "table/Table.h"

namespace layout {
namespace {

int g_failed = 0;   // a control that could not be made or placed fails the whole panel

}   // namespace

void ctrl(int panel, CtrlKind kind, int id, const char *label, int width, int height, CtrlCallbackPtr callback) {
    if (NewCtrl(panel, kind, id, label, 0, 0, width, height) < 0) {
        g_failed = 1;
        return;
    }
    if (callback) InstallCtrlCallback(panel, id, callback, nullptr);
}

void place(int panel, int id, int group, int row, int column, int rowSpan, int columnSpan) {
    if (PlaceCtrl(panel, id, group, row, column, rowSpan, columnSpan) < 0) g_failed = 1;
}

void frame(int panel, int id, int row, int column, int rowSpan, int columnSpan) {
    ctrl(panel, CTRL_DECORATION, id, "", 0, 0);
    place(panel, id, 0, row, column, rowSpan, columnSpan);
}

void heading(int panel, int id, const char *text, int group, int row, int columnSpan) {
    ctrl(panel, CTRL_TEXT_MSG, id, "", 80, 20);
    SetCtrlVal(panel, id, text);
    SetCtrlAttribute(panel, id, ATTR_TEXT_FONT, VAL_DIALOG_META_FONT);
    place(panel, id, group, row, 0, 1, columnSpan);
}

void indicator(int panel, int id) { SetCtrlAttribute(panel, id, ATTR_CTRL_MODE, VAL_INDICATOR); }

void ring(int panel, int id, std::initializer_list<std::pair<const char *, int>> items, int selected) {
    for (const auto &item : items) InsertListItem(panel, id, -1, item.first, item.second);
    SetCtrlVal(panel, id, selected);
}

void stretch(int panel, int group, int direction, std::initializer_list<int> stretches) {
    int index = 0;
    for (int s : stretches)
        if (SetGridStretch(panel, group, direction, index++, s) < 0) g_failed = 1;
}

int finishPanel() {
    const int failed = g_failed;
    g_failed = 0;
    return failed ? -1 : 0;
}

}   // namespace layout

namespace {

using namespace layout;

// ---------------------------------------------------------------- message window
// The text takes the room; OK below it on the right.
int buildMsg(int p) {
    InstallPanelCallback(p, pMsgCallBack, nullptr);
    ctrl(p, CTRL_TEXT_BOX, MSG_TEXT, "", 380, 130);
    place(p, MSG_TEXT, 0, 0, 0, 1, 2);
    ctrl(p, CTRL_COMMAND_BUTTON, MSG_OK, "OK", 100, 30);
    place(p, MSG_OK, 0, 1, 1);
    stretch(p, 0, VAL_GRID_COLUMN, {1, 0});
    stretch(p, 0, VAL_GRID_ROW, {1, 0});
    return finishPanel();
}

// ---------------------------------------------------------------- humidity calibration
// The heading (which says the ranges of Z and S), the two fields, the three commands.
int buildRhCali(int p) {
    InstallPanelCallback(p, pRhCaliCallBack, nullptr);
    ctrl(p, CTRL_TEXT_MSG, RHCALI_HEADING, "", 300, 24);
    place(p, RHCALI_HEADING, 0, 0, 0, 1, 4);
    ctrl(p, CTRL_STRING, RHCALI_Z, "Z", 140, 26);
    SetCtrlAttribute(p, RHCALI_Z, ATTR_MAX_ENTRY_LENGTH, RH_CALI_Z_SIZE - 1);
    place(p, RHCALI_Z, 0, 1, 0);
    ctrl(p, CTRL_STRING, RHCALI_S, "S", 140, 26);
    SetCtrlAttribute(p, RHCALI_S, ATTR_MAX_ENTRY_LENGTH, RH_CALI_S_SIZE - 1);
    place(p, RHCALI_S, 0, 1, 1);
    ctrl(p, CTRL_COMMAND_BUTTON, RHCALI_SET, "Set", 110, 30, cOkRhCaliCallBack);
    place(p, RHCALI_SET, 0, 3, 0);
    ctrl(p, CTRL_COMMAND_BUTTON, RHCALI_RECALL, "Recall", 110, 30, cRefreshRhCaliCallBack);
    place(p, RHCALI_RECALL, 0, 3, 1);
    ctrl(p, CTRL_COMMAND_BUTTON, RHCALI_EXIT, "Close", 110, 30, cRhCaliExitCallBack);
    place(p, RHCALI_EXIT, 0, 3, 2);
    ctrl(p, CTRL_TEXT_MSG, RHCALI_RESULT, "", 380, 40);
    place(p, RHCALI_RESULT, 0, 4, 0, 1, 4);
    stretch(p, 0, VAL_GRID_COLUMN, {0, 0, 0, 1});
    stretch(p, 0, VAL_GRID_ROW, {0, 0, 1, 0, 0});
    return finishPanel();
}

// ---------------------------------------------------------------- temperature calibration
// The heading, a row per calibration point, the note, the three commands.
int buildTempCali(int p) {
    InstallPanelCallback(p, pTempCaliCallBack, nullptr);
    ctrl(p, CTRL_TEXT_MSG, TEMPCALI_HEADING, "", 300, 24);
    place(p, TEMPCALI_HEADING, 0, 0, 0, 1, 3);
    const int steps[] = {TEMPCALI_STEP1, TEMPCALI_STEP2, TEMPCALI_STEP3};
    const int points[] = {TEMPCALI_POINT1, TEMPCALI_POINT2, TEMPCALI_POINT3};
    for (int i = 0; i < 3; ++i) {
        ctrl(p, CTRL_TEXT_MSG, steps[i], "", 200, 24);
        place(p, steps[i], 0, i + 1, 0, 1, 2);
        ctrl(p, CTRL_NUMERIC, points[i], "", 120, 26);
        SetCtrlAttribute(p, points[i], ATTR_MIN_VALUE, -32768);
        SetCtrlAttribute(p, points[i], ATTR_MAX_VALUE, 32767);
        place(p, points[i], 0, i + 1, 2);
    }
    ctrl(p, CTRL_TEXT_BOX, TEMPCALI_NOTE, "", 380, 60);
    indicator(p, TEMPCALI_NOTE);
    place(p, TEMPCALI_NOTE, 0, 4, 0, 1, 3);
    ctrl(p, CTRL_COMMAND_BUTTON, TEMPCALI_SET, "Set", 120, 30, cOkTempCaliCallBack);
    place(p, TEMPCALI_SET, 0, 5, 0);
    ctrl(p, CTRL_COMMAND_BUTTON, TEMPCALI_RECALL, "Recall", 120, 30, cRefreshTempCaliCallBack);
    place(p, TEMPCALI_RECALL, 0, 5, 1);
    ctrl(p, CTRL_COMMAND_BUTTON, TEMPCALI_EXIT, "Close", 120, 30, cTempCaliExitCallBack);
    place(p, TEMPCALI_EXIT, 0, 5, 2);
    ctrl(p, CTRL_TEXT_MSG, TEMPCALI_RESULT, "", 380, 40);
    place(p, TEMPCALI_RESULT, 0, 6, 0, 1, 3);
    stretch(p, 0, VAL_GRID_COLUMN, {1, 1, 1});
    stretch(p, 0, VAL_GRID_ROW, {0, 0, 0, 0, 1, 0, 0});
    return finishPanel();
}

// ---------------------------------------------------------------- scaling menu
int buildScaleMenu(int bar) {
    if (NewMenu(bar, SCALMENU_SCALE, "Scale") < 0) return -1;
    if (NewMenuItem(bar, SCALMENU_SCALE, SCALMENU_SCALE_TEMP, "Temperature 1", mXAxisScalTempCallback, nullptr) < 0)
        return -1;
    if (NewMenuItem(bar, SCALMENU_SCALE, SCALMENU_SCALE_TEMP2, "Temperature 2", mXAxisScalTemp2Callback, nullptr) < 0)
        return -1;
    if (NewMenuItem(bar, SCALMENU_SCALE, SCALMENU_SCALE_ALL, "All", mXAxisScalAllCallback, nullptr) < 0) return -1;
    SetMenuBarAttribute(bar, SCALMENU_SCALE_ALL, ATTR_CHECKED, 1);
    return 0;
}

}   // namespace

namespace {

void saveRecordsAsTheUserWould() { cSaveFileCallBack(idMonitor, MONITOR_MENU2, EVENT_COMMIT, nullptr, 0, 0); }

}   // namespace

void installNotifications() {
    notifications.recordsToDraw = updateTemperatureChart;
    notifications.chartClearForDownload = clearChartForDownload;
    notifications.loggerModelIdentified = resetChartScaling;
    notifications.loggerModelChanged = logSettingsFollowModel;
    notifications.tablePage = showTablePage;
    notifications.calibrationArrived = calibrationArrived;
    notifications.saveRecords = saveRecordsAsTheUserWould;
    // every download is kept in the archive before anything is asked
    notifications.downloadEnded = archiveDownload;
}

void RegisterLayouts() {
    installNotifications();
    RegisterPanelResource(MONITOR, "Tavix", 1100, 752, buildMonitor);
    RegisterPanelResource(MONITORS, "Group Files", 1100, 675, buildMonitors);
    RegisterPanelResource(MSG, "Message", 400, 190, buildMsg);
    RegisterPanelResource(RHCALI, "Humidity Calibration", 570, 165, buildRhCali);
    RegisterPanelResource(SETLOGGER, "Logger Settings", 820, 488, buildSetLogger);
    RegisterPanelResource(SETTING, "Communication Settings", 396, 332, buildSetting);
    RegisterPanelResource(STATISTIC, "Statistics", 950, 632, buildStatistic);
    RegisterPanelResource(TABLE, "Data Table", 900, 636, buildTable);
    RegisterPanelResource(TEMPCALI, "Temperature Calibration", 440, 276, buildTempCali);
    RegisterPanelResource(PREFERENCES, "Preferences", 360, 220, buildPreferences);
    RegisterPanelResource(TRIPREPORT, "Trip report", 560, 800, buildTripReport);
    RegisterPanelResource(ARCHIVE, "Archive", 840, 620, buildArchive);
    RegisterMenuBarResource(SCALMENU, buildScaleMenu);
}
