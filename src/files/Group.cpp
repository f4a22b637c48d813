// The group-files window: loading a data file into a slot, drawing the slots over one window of
// record positions, and the cursor's read-outs.
#include "files/Group.h"

#include <algorithm>
#include <cstdio>
#include <initializer_list>
#include <new>

#include "display/Display.h"
#include "files/DataFile.h"
#include "local/Local.h"
#include "local/Texts.h"
#include "model/Models.h"
#include "model/Records.h"
#include "panels/Panels.h"
#include "runtime/ui.h"

const int CURSOR_NAME[GROUP_SLOTS] = {MONITORS_CURSOR_A, MONITORS_CURSOR_B, MONITORS_CURSOR_C, MONITORS_CURSOR_D,
                                      MONITORS_CURSOR_E, MONITORS_CURSOR_F, MONITORS_CURSOR_G, MONITORS_CURSOR_H};

namespace {

// The read-out of a slot that has no record at the cursor's position.
constexpr const char *kNoRecord = "- - - - - - - - - - - - - - - -";
// The offset and range fields: navy text on yellow.
constexpr int kFieldText = VAL_DK_BLUE;
constexpr int kFieldBackground = VAL_YELLOW;

char slotLetter(int k) { return static_cast<char>('A' + k); }

// The slot of a letter, -1 for none.
int slotOf(char letter) { return letter >= 'A' && letter < 'A' + GROUP_SLOTS ? letter - 'A' : -1; }

// A slot has something on the chart (a curve of any of its channels).
bool slotDrawn(int k) { return groupHandlerTem[k] != 0 || groupHandlerTem2[k] != 0 || groupHandlerRh[k] != 0; }

// The axes named as the main window names its own: the left one with the unit of the files
// loaded (its plain name while none is loaded or files of both units are), the right one shown
// and named with the humidity unit once a file with humidity was loaded, else hidden and
// unnamed; the left axis is the active one again afterwards.
void showRhAxis() {
    bool celsius = false;
    bool fahrenheit = false;
    for (int k = 0; k < GROUP_SLOTS; ++k) {
        if (groupPtr[k] == nullptr || groupLength[k] <= 0) continue;
        (groupUnit[k] == 'F' || groupUnit[k] == 'f' ? fahrenheit : celsius) = true;
    }
    const char *left = celsius == fahrenheit ? wTempAxis : celsius ? wTempC : wTempF;
    SetCtrlAttribute(idMonitors, MONITORS_GRAPH, ATTR_ACTIVE_YAXIS, VAL_LEFT_YAXIS);
    SetCtrlAttribute(idMonitors, MONITORS_GRAPH, ATTR_YNAME, left);
    SetCtrlAttribute(idMonitors, MONITORS_GRAPH, ATTR_ACTIVE_YAXIS, VAL_RIGHT_YAXIS);
    SetCtrlAttribute(idMonitors, MONITORS_GRAPH, ATTR_YLABEL_VISIBLE, fRhLogger ? 1 : 0);
    SetCtrlAttribute(idMonitors, MONITORS_GRAPH, ATTR_YNAME, fRhLogger ? (wRh[0] ? wRh : "%RH") : "");
    SetCtrlAttribute(idMonitors, MONITORS_GRAPH, ATTR_ACTIVE_YAXIS, VAL_LEFT_YAXIS);
}

// The window of record positions from the offset and range fields, never beyond 16000
// positions and never before the first.
void readWindow() {
    GetCtrlVal(idMonitors, MONITORS_OFFSET, &vChartOffset);
    GetCtrlVal(idMonitors, MONITORS_RANGE, &vChartGain);
    if (vChartOffset < 0) vChartOffset = 0;
    if (vChartGain < 0) vChartGain = 0;
    if (vChartOffset + vChartGain >= GROUP_MAX_POSITIONS) vChartGain = GROUP_MAX_POSITIONS - vChartOffset;
}

// ---------------------------------------------------------------- loading a slot

// The slot being loaded, and whether its block has been laid out for the file.
struct Loading {
    int slot;
    bool laidOut;
};

// "<Retrieve File> <letter>: <number> <points>." in the window's notes. Nothing is drawn while
// the file is read and the notes end with msg4, so only every 64th number is set: the window
// shows the same.
void showLoadProgress(int number, void *data) {
    const auto *loading = static_cast<const Loading *>(data);
    if ((number & 63) != 0) return;
    char text[2 * WINDOW_TEXT_SIZE + 24];
    std::snprintf(text, sizeof text, "%s %c: %4d %s.", wRetrieveFile, slotLetter(loading->slot), number, wPoints);
    SetCtrlVal(idMonitors, MONITORS_NOTES, text);
}

// The file's header has been read: the slot's block (made on first use, cleared as the record
// store is before a retrieval) laid out for the model's channel set, as the record store's.
RecordArrays layOutSlot(int model, char unit, void *data) {
    auto *loading = static_cast<Loading *>(data);
    const int k = loading->slot;
    RecordArrays a;
    if (groupPtr[k] == nullptr) groupPtr[k] = new (std::nothrow) unsigned char[RECORD_BLOCK_SIZE];
    if (groupPtr[k] == nullptr) return a;
    const int layout = loggerType(model);
    const int capacity = layoutCapacity(layout);
    a.times = reinterpret_cast<cRtc *>(groupPtr[k]);
    a.tem = reinterpret_cast<double *>(groupPtr[k] + RECORD_VALUES_OFFSET);
    for (int i = 0; i < MAX_RECORDS; ++i) a.times[i] = 0;
    for (int i = 0; i < MAX_RECORDS; ++i) a.tem[i] = 1e-7;
    if (layout == LAYOUT_T_T2 || layout == LAYOUT_T_T2_RH) a.tem2 = a.tem + capacity;
    if (layout == LAYOUT_T_RH) a.rh = a.tem + capacity;
    if (layout == LAYOUT_T_T2_RH) a.rh = a.tem + 2 * capacity;
    a.capacity = capacity;

    groupDeviceId[k] = model;
    if (unit != '\0') groupUnit[k] = unit;
    groupLength[k] = 0;
    logNo = slotLetter(k);
    groupRtcPtr[k] = a.times;
    groupTemPtr[k] = a.tem;
    groupTem2Ptr[k] = a.tem2;
    groupRhPtr[k] = a.rh;
    if (a.rh != nullptr) fRhLogger = true;
    loading->laidOut = true;
    return a;
}

// ---------------------------------------------------------------- drawing

void deleteSlotPlots(int k) {
    int *const handles[] = {&groupHandlerTem[k],     &groupHandlerTem2[k],     &groupHandlerRh[k],
                            &groupHandlerTemText[k], &groupHandlerTem2Text[k], &groupHandlerRhText[k]};
    for (int *handle : handles) {
        if (*handle != 0) DeleteGraphPlot(idMonitors, MONITORS_GRAPH, *handle, VAL_DELAYED_DRAW);
        *handle = 0;
    }
}

// The channels of the slot's channel set, in channel order.
void drawSlot(int k) {
    switch (loggerType(groupDeviceId[k])) {
        case LAYOUT_T: updateMChannelChart(0, k); break;
        case LAYOUT_T_RH:
            updateMChannelChart(0, k);
            updateMChannelChart(2, k);
            break;
        case LAYOUT_T_T2:
            updateMChannelChart(0, k);
            updateMChannelChart(1, k);
            break;
        case LAYOUT_T_T2_RH:
            updateMChannelChart(0, k);
            updateMChannelChart(1, k);
            updateMChannelChart(2, k);
            break;
        default: break;
    }
}

// The read-out of slot k for the record at vCursorX: letter, date and time, then its values.
void showReadout(int k) {
    if (vCursorX < 0 || vCursorX >= groupLength[k]) {
        SetCtrlVal(idMonitors, CURSOR_NAME[k], kNoRecord);
        return;
    }
    const int i = vCursorX;
    char date[sizeof rtcDate], time[sizeof rtcTime];
    cRtc2Rtc(groupRtcPtr[k][i], date, time);
    char text[256];
    int used = std::snprintf(text, sizeof text, "%c:%s %s", slotLetter(k), date, time);
    const char *degree = groupUnit[k] == 'F' || groupUnit[k] == 'f' ? wDegree[1] : wDegree[0];
    const struct {
        const double *values;
        const char *unit;
    } channels[] = {{groupTemPtr[k], degree}, {groupTem2Ptr[k], degree}, {groupRhPtr[k], wRhUnit}};
    for (const auto &c : channels) {
        if (c.values == nullptr || used < 0 || used >= static_cast<int>(sizeof text)) continue;
        used += BuildValStr(text + used, sizeof text - used, c.values[i], c.unit);
    }
    SetCtrlVal(idMonitors, CURSOR_NAME[k], text);
}

// The cursor of the first file drawn stands a third of the way into the records shown, inside
// the plotting area rather than on its axis.
void placeFirstCursor() {
    int count = 0;
    for (int k = 0; k < GROUP_SLOTS; ++k)
        if (slotDrawn(k))
            count = std::max(count, maxPoint(std::min(groupLength[k], static_cast<int>(GROUP_MAX_POSITIONS))));
    if (count > 0) SetGraphCursor(idMonitors, MONITORS_GRAPH, 1, count / 3, 0);
}

}   // namespace

// ---------------------------------------------------------------- the chart

int maxPoint(int length) {
    if (length < vChartOffset + vChartGain) return length - vChartOffset;
    return vChartGain;
}

void updateMChannelChart(int channel, int k) {
    if (k < 0 || k >= GROUP_SLOTS) return;
    const bool suffixed = channelNames(groupDeviceId[k]) == ChannelNames::Suffix41670;
    const double *values = groupTemPtr[k];
    const char *label = suffixed ? wTemperature_41670 : wTemperature;
    int *curve = &groupHandlerTem[k], *text = &groupHandlerTemText[k];
    if (channel == 1) {
        values = groupTem2Ptr[k];
        label = suffixed ? wTemperature2_41670 : wTemperature2;
        curve = &groupHandlerTem2[k];
        text = &groupHandlerTem2Text[k];
    } else if (channel == 2) {
        values = groupRhPtr[k];
        label = wHumidity;
        curve = &groupHandlerRh[k];
        text = &groupHandlerRhText[k];
    }
    *curve = 0;
    *text = 0;
    const int length = groupLength[k] < GROUP_MAX_POSITIONS ? groupLength[k] : GROUP_MAX_POSITIONS;
    if (values == nullptr || length <= 0 || !buildChartSeries(values, length, tmpValArray, chartFlag)) return;
    if (vChartOffset >= length) return;
    const int count = maxPoint(length);
    if (count <= 0) return;

    SetCtrlAttribute(idMonitors, MONITORS_GRAPH, ATTR_ACTIVE_YAXIS, channel == 2 ? VAL_RIGHT_YAXIS : VAL_LEFT_YAXIS);
    const int color = groupColors[k];
    const int plot = PlotY(idMonitors, MONITORS_GRAPH, tmpValArray + vChartOffset, count, VAL_CONNECTED_POINTS,
                           VAL_SIMPLE_DOT, VAL_SOLID, 1, color);
    *curve = plot > 0 ? plot : 0;
    char name[WINDOW_TEXT_SIZE + 4];
    std::snprintf(name, sizeof name, "%c:%s", slotLetter(k), label);
    const int plotText = PlotText(idMonitors, MONITORS_GRAPH, 0, static_cast<float>(tmpValArray[vChartOffset]), name,
                                  VAL_MENU_META_FONT, color, VAL_TRANSPARENT);
    *text = plotText > 0 ? plotText : 0;
}

void updateMTempChart(bool all) {
    readWindow();
    bool nothingDrawn = true;
    for (int k = 0; k < GROUP_SLOTS; ++k) nothingDrawn = nothingDrawn && !slotDrawn(k);
    // the x axis shows 1-based record positions
    SetCtrlAttribute(idMonitors, MONITORS_GRAPH, ATTR_XAXIS_OFFSET, static_cast<double>(vChartOffset + 1));
    showRhAxis();
    // Only slots that hold a file are drawn: a slot never loaded has nothing to show, even when
    // it is the one named last.
    const int last = slotOf(logNo);
    for (int k = 0; k < GROUP_SLOTS; ++k) {
        if (groupPtr[k] == nullptr || !(all || k == last)) continue;
        deleteSlotPlots(k);
        drawSlot(k);
    }
    if (nothingDrawn) placeFirstCursor();
    updateMCursorLocation();
}

void updateMCursorLocation() {
    SetCursorAttribute(idMonitors, MONITORS_GRAPH, 1, ATTR_CURSOR_MODE, VAL_SNAP_TO_POINT);
    // The point the cursor stands on; without one, its position (a point seen a little below
    // its integer position still counts as that point).
    int plot = -1, index = -1;
    GetGraphCursorIndex(idMonitors, MONITORS_GRAPH, 1, &plot, &index);
    int position = index;
    if (plot <= 0 || index < 0) {
        double x = 0;
        GetGraphCursor(idMonitors, MONITORS_GRAPH, 1, &x, nullptr);
        if (!(x > -1e6)) x = -1e6;
        if (x > 1e6) x = 1e6;
        position = static_cast<int>(x + 0.001);
    }
    vCursorX = position + vChartOffset;
    for (int k = 0; k < GROUP_SLOTS; ++k)
        if (slotDrawn(k)) showReadout(k);
}

// ---------------------------------------------------------------- loading

int loadGroupFile(int k, const char *path) {
    if (k < 0 || k >= GROUP_SLOTS || path == nullptr) return -1;
    Loading loading{k, false};
    RecordReader reader;
    reader.layOut = layOutSlot;
    reader.progress = showLoadProgress;
    reader.data = &loading;
    DataFileDates dates;
    int refused = 0;
    const int stored = readDataFileRecords(path, reader, &refused, &dates);
    // A file without a record line, one that does not open (or a block that cannot be made)
    // leaves the slot as it was.
    if (stored == DATA_FILE_NO_RECORDS) {
        char text[MSG_TEXT_SIZE + FILE_NAME_SIZE + 2];
        std::snprintf(text, sizeof text, "%s\n%s", msgFileNoRecords, path);
        MessagePopup(warn15, text);   // "The data file cannot be opened"
        return -1;
    }
    if (stored < 0 || !loading.laidOut) {
        MessagePopup(warn15, path);   // "The data file cannot be opened"
        return -1;
    }
    groupRefusedRecords[k] = refused;
    groupLength[k] = stored;

    char shown[FILE_NAME_SHOWN_SIZE];
    FileNamePrintOut(shown, path);
    char caption[FILE_NAME_SHOWN_SIZE + 8];
    std::snprintf(caption, sizeof caption, "%c  %s", slotLetter(k), shown);
    SetCtrlAttribute(idMonitors, MONITORS_FILE_A + k, ATTR_LABEL_TEXT, caption);
    updateMTempChart(false);
    char notes[MSG_TEXT_SIZE + 24];
    std::snprintf(notes, sizeof notes, "%s %c ", msg4, slotLetter(k));   // "Data file read."
    // dates that read in no order are today's: the notes say which record could not be read
    if (!dates.fits)
        std::snprintf(notes, sizeof notes, "%c: %s %d", slotLetter(k), msgFileDatesUnread, dates.firstUnread);
    SetCtrlVal(idMonitors, MONITORS_NOTES, notes);
    return stored;
}

// ---------------------------------------------------------------- start-up and callbacks

void getDefaultMSetting() {
    GetCtrlVal(idMonitors, MONITORS_OFFSET, &vChartOffset);
    GetCtrlVal(idMonitors, MONITORS_RANGE, &vChartGain);
    // the range field keeps its value
    if (vChartOffset + vChartGain > GROUP_MAX_POSITIONS) vChartGain = GROUP_MAX_POSITIONS - vChartOffset;
    for (const int field : {MONITORS_OFFSET, MONITORS_RANGE}) {
        SetCtrlAttribute(idMonitors, field, ATTR_TEXT_BGCOLOR, kFieldBackground);
        SetCtrlAttribute(idMonitors, field, ATTR_TEXT_COLOR, kFieldText);
    }
    for (int k = 0; k < GROUP_SLOTS; ++k) {
        groupColors[k] = GROUP_DEFAULT_COLORS[k];
        SetCtrlVal(idMonitors, MONITORS_COLOR_A + k, groupColors[k]);
    }
}

int cGroupCallBack(int, int, int event, void *, int, int) {
    if (event != EVENT_COMMIT) return 0;
    // 1, 2. the read-outs show their slot letters, the file buttons "A File" ... "H File" in
    // the language's word (the window's texts below bring it afresh)
    for (int k = 0; k < GROUP_SLOTS; ++k) {
        const char letter[2] = {slotLetter(k), '\0'};
        SetCtrlVal(idMonitors, CURSOR_NAME[k], letter);
        char caption[WINDOW_TEXT_SIZE + 4];
        std::snprintf(caption, sizeof caption, "%c %s", slotLetter(k), wFileButton);
        SetCtrlAttribute(idMonitors, MONITORS_FILE_A + k, ATTR_LABEL_TEXT, caption);
    }
    // 3. an empty chart; the slots keep their files, which come back when the window is redrawn
    DeleteGraphPlot(idMonitors, MONITORS_GRAPH, -1, VAL_IMMEDIATE_DRAW);
    for (int k = 0; k < GROUP_SLOTS; ++k) {
        groupHandlerTem[k] = groupHandlerTem2[k] = groupHandlerRh[k] = 0;
        groupHandlerTemText[k] = groupHandlerTem2Text[k] = groupHandlerRhText[k] = 0;
    }
    // 4. the user's log-in name
    char user[64] = "";
    GetUserName(user, sizeof user);
    SetCtrlVal(idMonitors, MONITORS_USER, user);
    // 5-7. the window's texts, the humidity axis, the window
    localGroupFilesWindow();
    showRhAxis();
    DisplayPanel(idMonitors);
    return 0;
}

int cFileCallBack(int, int control, int event, void *, int, int) {
    if (event != EVENT_COMMIT) return 0;
    const int k = control - MONITORS_FILE_A;
    if (k < 0 || k >= GROUP_SLOTS) return 0;
    char dir[FILE_NAME_SIZE];
    defaultDataFolder(dir, sizeof dir);
    char path[FILE_NAME_SIZE];
    // Cancelled, or a path too long to keep: nothing happens.
    if (FileSelectPopupEx(dir, "*.txt", "ASCII files(*.txt)", wRetrieveFile, VAL_LOAD_BUTTON, 0, 1, path,
                          sizeof path) <= 0)
        return 0;
    copyBounded(fileName, sizeof fileName, path);
    loadGroupFile(k, fileName);
    return 0;
}

int sColorCallBack(int panel, int control, int event, void *, int, int) {
    if (event != EVENT_COMMIT) return 0;
    const int k = control - MONITORS_COLOR_A;
    if (k < 0 || k >= GROUP_SLOTS) return 0;
    GetCtrlVal(panel, control, &groupColors[k]);
    // A slot on the chart is redrawn in its new colour; otherwise the slot named last is redrawn
    // as it is.
    if (slotDrawn(k)) logNo = slotLetter(k);
    updateMTempChart(false);
    return 0;
}

int sMChartOffsetCallBack(int, int, int event, void *, int, int) {
    if (event == EVENT_COMMIT) updateMTempChart(true);
    return 0;
}

int sMChartGainCallBack(int, int, int event, void *, int, int) {
    if (event == EVENT_COMMIT) updateMTempChart(true);
    return 0;
}

int mMChartCallBack(int, int, int event, void *, int, int) {
    if (event == EVENT_COMMIT) updateMCursorLocation();   // the cursor was moved
    return 0;
}

int cGroupExitCallBack(int, int, int event, void *, int, int) {
    if (event == EVENT_COMMIT) HidePanel(idMonitors);
    return 0;
}

int pMonitorsCallBack(int panel, int event, void *, int, int) {
    if (event == EVENT_CLOSE) HidePanel(panel);
    return 0;
}
