// The data table window: the page of records that follows chart cursor 1, the window's layout
// for the model, and opening and closing it.
#include "table/Table.h"

#include <charconv>
#include <cstdio>
#include <cstring>

#include "display/Display.h"
#include "local/Local.h"
#include "local/Texts.h"
#include "model/Clock.h"
#include "model/Models.h"
#include "model/Records.h"
#include "panels/Panels.h"
#include "runtime/ui.h"

namespace {

// The table's columns: record number, date, time, then up to three channels.
enum { COLUMN_NUMBER = 1, COLUMN_DATE, COLUMN_TIME, COLUMN_VALUE1, COLUMN_VALUE2, COLUMN_VALUE3 };
// The page starts at a multiple of this record index.
constexpr int kPageStep = 100;
// The condition item "any test that is switched on" (OR): what a user expects the marks to
// mean, values outside the band of the limits.
constexpr int kConditionAny = 1;

bool hasSecondTemperature(int layout) { return layout == LAYOUT_T_T2 || layout == LAYOUT_T_T2_RH; }
bool hasHumidity(int layout) { return layout == LAYOUT_T_RH || layout == LAYOUT_T_T2_RH; }
bool fahrenheit() {
    const char unit = recordsDescription().unit;
    return unit == 'F' || unit == 'f';
}
bool suffix41670() { return channelNames(recordsDescription().model) == ChannelNames::Suffix41670; }

// The column labels of the two temperature channels in the logger's unit.
const char *firstTemperatureLabel() {
    if (suffix41670()) return fahrenheit() ? wTemp1F_41670 : wTemp1C_41670;
    return fahrenheit() ? wTemp1F : wTemp1C;
}
const char *secondTemperatureLabel() {
    if (suffix41670()) return fahrenheit() ? wTemp2F_41670 : wTemp2C_41670;
    return fahrenheit() ? wTemp2F : wTemp2C;
}

// Copies n characters of text into buffer (TABLE_CELL_SIZE bytes), cut to fit.
void putCell(char *buffer, const char *text, std::size_t n) {
    if (n > TABLE_CELL_SIZE - 1) n = TABLE_CELL_SIZE - 1;
    std::memcpy(buffer, text, n);
    buffer[n] = '\0';
}

// Row r shows record index i: its date, time and the value of each channel of the model.
void fillRow(int r, int i, int layout) {
    tabIdx[r] = i + 1;
    std::snprintf(tabNumber[r], sizeof tabNumber[r], "%d", i + 1);
    pNumber[r] = tabNumber[r];
    cRtc2Rtc(rtcPtr[i], tabDate[r], tabTime[r]);
    pDate[r] = tabDate[r];
    pTime[r] = tabTime[r];
    BuildTabValStr(tabTemp[r], vTemPtr[i], &pTemp[r]);
    if (hasSecondTemperature(layout) && vTem2Ptr != nullptr) BuildTabValStr(tabTemp2[r], vTem2Ptr[i], &pTemp2[r]);
    if (hasHumidity(layout) && vRhPtr != nullptr) BuildTabValStr(tabRh[r], vRhPtr[i], &pRh[r]);
}

// Row r beyond the records held: empty, without a number, so that the numbers end where the
// records end.
void emptyRow(int r) {
    tabIdx[r] = 0;
    tabNumber[r][0] = '\0';
    pNumber[r] = tabNumber[r];
    pDate[r] = nullptr;
    pTime[r] = nullptr;
    tabTemp[r][0] = tabTemp2[r][0] = tabRh[r][0] = '\0';
    pTemp[r] = tabTemp[r];
    pTemp2[r] = tabTemp2[r];
    pRh[r] = tabRh[r];
}

// A value column the model does not fill.
const char *const kEmptyColumn[TABLE_PAGE_ROWS] = {};

// Hands one column of the page to the table in one call.
void putColumn(int column, const char *const *texts) {
    SetTableCellRangeVals(idTable, TABLE_DATA, MakeRect(1, column, TABLE_PAGE_ROWS, 1), texts, VAL_COLUMN_MAJOR);
}

// The page's columns by channel set. The value columns the set does not use are emptied: the
// window keeps its columns until it is opened again, and a file or download of another model
// read meanwhile must not leave the earlier data's values beside the new records.
void putColumns(int layout) {
    putColumn(COLUMN_NUMBER, pNumber);
    putColumn(COLUMN_DATE, pDate);
    putColumn(COLUMN_TIME, pTime);
    putColumn(COLUMN_VALUE1, layout >= LAYOUT_T && layout <= LAYOUT_T_T2_RH ? pTemp : kEmptyColumn);
    putColumn(COLUMN_VALUE2, layout == LAYOUT_T_RH ? pRh : hasSecondTemperature(layout) ? pTemp2 : kEmptyColumn);
    putColumn(COLUMN_VALUE3, layout == LAYOUT_T_T2_RH ? pRh : kEmptyColumn);
}

// Columns 4 to 6: how many show, and their labels.
void layOutValueColumns(int layout) {
    const int shown = layout == LAYOUT_T_T2_RH                         ? COLUMN_VALUE3
                      : layout == LAYOUT_T_RH || layout == LAYOUT_T_T2 ? COLUMN_VALUE2
                                                                       : COLUMN_VALUE1;
    SetCtrlAttribute(idTable, TABLE_DATA, ATTR_NUM_VISIBLE_COLUMNS, shown);
    SetTableColumnAttribute(idTable, TABLE_DATA, COLUMN_VALUE1, ATTR_LABEL_TEXT, firstTemperatureLabel());
    if (layout == LAYOUT_T_RH) SetTableColumnAttribute(idTable, TABLE_DATA, COLUMN_VALUE2, ATTR_LABEL_TEXT, wRh);
    if (hasSecondTemperature(layout))
        SetTableColumnAttribute(idTable, TABLE_DATA, COLUMN_VALUE2, ATTR_LABEL_TEXT, secondTemperatureLabel());
    if (layout == LAYOUT_T_T2_RH) SetTableColumnAttribute(idTable, TABLE_DATA, COLUMN_VALUE3, ATTR_LABEL_TEXT, wRh);
}

// The channel list: the model's channels in order, each with its channel number as value.
void fillChannelList(int layout) {
    ClearListCtrl(idTable, TABLE_CHANNEL);
    InsertListItem(idTable, TABLE_CHANNEL, -1, suffix41670() ? wTemperature_41670 : wTemperature, 0);
    if (hasSecondTemperature(layout))
        InsertListItem(idTable, TABLE_CHANNEL, -1, suffix41670() ? wTemperature2_41670 : wTemperature2, 1);
    if (hasHumidity(layout)) InsertListItem(idTable, TABLE_CHANNEL, -1, wHumidity, 2);
}

void closeTable() {
    flagOfDataTableOn = 0;
    HidePanel(idTable);
}

}   // namespace

// ---------------------------------------------------------------- the page

int tablePageBase(int cursor) {
    int base = cursor / kPageStep * kPageStep;
    if (base + TABLE_PAGE_ROWS >= MAX_RECORDS) base = MAX_RECORDS - TABLE_PAGE_ROWS;
    return base < 0 ? 0 : base;
}

void showTablePage(TablePage when) {
    if (when == TablePage::Always) flagOfDataTableOn = 1;
    updateTable();
}

void updateTable() {
    if (flagOfDataTableOn == 0) return;
    const int base = tablePageBase(cursor1X);
    const int layout = recordLayout();
    const int held = readableRecords();
    for (int r = 0; r < TABLE_PAGE_ROWS; ++r) {
        const int i = base + r;
        if (i < held)
            fillRow(r, i, layout);
        else
            emptyRow(r);
    }
    putColumns(layout);
    // counters and marks made from other records would describe data no longer shown
    if (tabCountedLength >= 0 && (tabCountedGeneration != recordsGeneration || tabCountedLength != loggedLength))
        resetTableMarks();
}

void resetTableMarks() {
    SetCtrlVal(idTable, TABLE_COUNTER, 0);
    SetCtrlVal(idTable, TABLE_USAGE, 0);
    SetCtrlVal(idTable, TABLE_CONDITION, kConditionAny);
    SetTableCellRangeAttribute(idTable, TABLE_DATA,
                               MakeRect(1, COLUMN_TIME, TABLE_PAGE_ROWS, COLUMN_VALUE3 - COLUMN_TIME + 1),
                               ATTR_TEXT_COLOR, VAL_BLACK);
    tabCountedLength = -1;
}

void BuildTabValStr(char *buffer, double value, const char **cellPointer) {
    char text[400];   // the widest double in fixed notation has 309 digits
    std::size_t n = 0;
    if (value > SENSOR_ERROR_BASE) {
        n = sensorErrorText(text, sizeof text, value);
    } else {
        const auto r = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 1);
        n = r.ec == std::errc() ? static_cast<std::size_t>(r.ptr - text) : 0;
    }
    putCell(buffer, text, n);
    *cellPointer = buffer;
}

// ---------------------------------------------------------------- the window

void updatePanelTable() {
    const int layout = recordLayout();
    // 1. columns and labels; 2. the channel list
    layOutValueColumns(layout);
    fillChannelList(layout);
    // 3. every test on, both limits open to input
    SetCtrlVal(idTable, TABLE_HIGH_ENABLE, 1);
    SetCtrlVal(idTable, TABLE_LOW_ENABLE, 1);
    SetCtrlVal(idTable, TABLE_ERR_ENABLE, 1);
    SetCtrlAttribute(idTable, TABLE_HIGH, ATTR_DIMMED, 0);
    SetCtrlAttribute(idTable, TABLE_LOW, ATTR_DIMMED, 0);
    // 4. the colours, counters and condition of an earlier processing go
    resetTableMarks();
    // 5. the first cell selected
    SetTableSelection(idTable, TABLE_DATA, MakeRect(1, 1, 1, 1));
}

int cDataTableCallBack(int, int, int event, void *, int, int) {
    if (event != EVENT_COMMIT) return 0;
    flagOfDataTableOn = 1;
    localTableWindow();
    updatePanelTable();
    DisplayPanel(idTable);
    updateTable();
    return 0;
}

int cTableExitCallBack(int, int, int event, void *, int, int) {
    if (event == EVENT_COMMIT) closeTable();
    return 0;
}

int pTableCallBack(int, int event, void *, int, int) {
    if (event == EVENT_CLOSE) closeTable();
    return 0;
}
