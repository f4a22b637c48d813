// The data table's processing: one channel tested against the limits and the sensor-error
// state; the matching cells of the page coloured, the matches and their episodes counted over
// every record held.
#include <cmath>

#include "display/Display.h"
#include "model/Models.h"
#include "model/Records.h"
#include "panels/Panels.h"
#include "runtime/ui.h"
#include "table/Table.h"

namespace {

// A value this close to a limit passes that limit's test.
constexpr double kLimitTolerance = 0.0001;
// The columns of the page: the time, then the channels.
enum { COLUMN_TIME = 3, COLUMN_VALUE1, COLUMN_VALUE2, COLUMN_VALUE3 };

// The values of a channel (0, 1, 2); null when the model lacks it.
const double *channelValues(int channel) {
    switch (channel) {
        case 0: return vTemPtr;
        case 1: return vTem2Ptr;
        case 2: return vRhPtr;
        default: return nullptr;
    }
}

// The page's column of a channel for the channel set; 0 when the set shows no such column.
int channelColumn(int channel, int layout) {
    switch (channel) {
        case 0: return COLUMN_VALUE1;
        case 1: return layout == LAYOUT_T_T2 || layout == LAYOUT_T_T2_RH ? COLUMN_VALUE2 : 0;
        case 2: return layout == LAYOUT_T_RH ? COLUMN_VALUE2 : layout == LAYOUT_T_T2_RH ? COLUMN_VALUE3 : 0;
        default: return 0;
    }
}

// A limit switch dims its limit while it is off.
void followSwitch(int panel, int control, int limit) {
    int on = 0;
    GetCtrlVal(panel, control, &on);
    SetCtrlAttribute(panel, limit, ATTR_DIMMED, on ? 0 : 1);
}

}   // namespace

double FloatValProcess(double x) {
    const double sign = x < 0 ? -1.0 : 1.0;
    // the integer part taken in floating point: no limit typed can overflow it
    const double n = std::trunc(std::fabs(x) * 10.0 + 0.5) * sign;
    return n / 10.0;
}

bool tableMatch(double value) {
    // an error record is tested only against its switch
    if (value > SENSOR_ERROR_BASE) return tabErrEnable != 0;
    const bool high = value > tabHi - kLimitTolerance;
    const bool low = value < tabLo + kLimitTolerance;
    if (tabCondition != 0) return (tabHiEnable && high) || (tabLowEnable && low);
    if (tabHiEnable && tabLowEnable) return high && low;
    if (tabHiEnable) return high;
    if (tabLowEnable) return low;
    return false;
}

void UpdateTabValColor(double value, int row, int column) {
    if (tableMatch(value))
        SetTableCellAttribute(idTable, TABLE_DATA, MakePoint(column, row), ATTR_TEXT_COLOR, tabColor);
}

void UpdateTableProcess() {
    const int base = tablePageBase(cursor1X);
    const int column = channelColumn(tabChannel, recordLayout());
    const double *values = channelValues(tabChannel);

    // Every cell from the time on goes back to black, then the tested channel's matching cells
    // take the colour.
    int rows = 0, columns = 0;
    GetNumTableRows(idTable, TABLE_DATA, &rows);
    GetNumTableColumns(idTable, TABLE_DATA, &columns);
    if (rows > TABLE_PAGE_ROWS) rows = TABLE_PAGE_ROWS;
    if (rows > 0 && columns >= COLUMN_TIME)
        SetTableCellRangeAttribute(idTable, TABLE_DATA, MakeRect(1, COLUMN_TIME, rows, columns - COLUMN_TIME + 1),
                                   ATTR_TEXT_COLOR, VAL_BLACK);
    if (column != 0 && column <= columns && values != nullptr) {
        const int held = readableRecords();
        for (int r = 0; r < rows && base + r < held; ++r) UpdateTabValColor(values[base + r], r + 1, column);
    }
    counterUsage();
}

void counterUsage() { ChannelUsage(tabChannel); }

void ChannelUsage(int channel) {
    const double *values = channelValues(channel);
    const int held = values != nullptr ? readableRecords() : 0;
    int count = 0;
    int episodes = 0;
    bool previous = false;
    for (int i = 0; i < held; ++i) {
        const bool match = tableMatch(values[i]);
        if (match) {
            ++count;
            if (!previous) ++episodes;
        }
        previous = match;
    }
    SetCtrlVal(idTable, TABLE_COUNTER, episodes);
    SetCtrlVal(idTable, TABLE_USAGE, count);
    tabCountedGeneration = recordsGeneration;
    tabCountedLength = loggedLength;
}

// ---------------------------------------------------------------- callbacks

int cTableProcessCallBack(int panel, int, int event, void *, int, int) {
    if (event != EVENT_COMMIT) return 0;
    GetCtrlVal(panel, TABLE_CHANNEL, &tabChannel);
    GetCtrlVal(panel, TABLE_CONDITION, &tabCondition);
    GetCtrlVal(panel, TABLE_HIGH, &tabHi);
    GetCtrlVal(panel, TABLE_LOW, &tabLo);
    // the limits are used to one decimal; the fields keep what was typed
    tabHi = FloatValProcess(tabHi);
    tabLo = FloatValProcess(tabLo);
    GetCtrlVal(panel, TABLE_COLOR, &tabColor);
    GetCtrlVal(panel, TABLE_HIGH_ENABLE, &tabHiEnable);
    GetCtrlVal(panel, TABLE_LOW_ENABLE, &tabLowEnable);
    GetCtrlVal(panel, TABLE_ERR_ENABLE, &tabErrEnable);
    UpdateTableProcess();
    return 0;
}

int sTableHiEnableCallback(int panel, int control, int event, void *, int, int) {
    if (event == EVENT_COMMIT) followSwitch(panel, control, TABLE_HIGH);
    return 0;
}

int sTableLowEnableCallback(int panel, int control, int event, void *, int, int) {
    if (event == EVENT_COMMIT) followSwitch(panel, control, TABLE_LOW);
    return 0;
}

// The error switch is read only by the processing.
int sTableErrorEnableCallback(int, int, int, void *, int, int) { return 0; }
