// The real program in a temporary folder (see LinkFixture.h) with the shipped preferences and
// English texts, and helpers to fill the record store, open the data table, read its cells and
// press its buttons.
#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "LinkFixture.h"
#include "Programs.h"
#include "display/Display.h"
#include "base/Prefs.h"
#include "table/Csv.h"
#include "table/Table.h"

class TableProgram : public LinkProgram {
protected:
    void SetUp() override {
        LinkProgram::SetUp();
        for (const char *f : {"localORM.ini", "English.ini"})
            std::filesystem::copy_file(std::filesystem::path(TAVIX_BIN_DIR) / f, dir_ / f);
        resetTableState();
    }

    // The program started with the English texts (the messages named by their keys).
    void start() {
        startProgram();
        cursor1X = 0;
    }

    static std::string fixture(const std::string &name) { return std::string(TAVIX_TABLE_FIXTURES) + "/" + name; }
    std::string path(const std::string &name) const { return (dir_ / name).string(); }
    static std::string readText(const std::string &file) { return programs::readFile(file); }

    // The first record's time; record i is i minutes later.
    static cRtc firstTime() { return 10 * 86400u + 8 * 3600u; }
    // A store of the model with records records; value(i, channel) gives each value.
    template <typename Value>
    static void fill(int model, int records, Value value) {
        currDeviceId = model;
        ASSERT_EQ(ValPtrInit(model), 0);
        clearLoggedData();
        loggedLength = 0;
        for (int i = 0; i < records; ++i)
            ASSERT_GT(storeRecord(firstTime() + 60u * static_cast<cRtc>(i), value(i, 0), value(i, 1), value(i, 2)), 0);
    }

    // The main window's data-table command, the window's close button.
    static void openTable() { rt::FireCtrlEvent(idMonitor, MONITOR_MENU3, EVENT_COMMIT); }
    static void closeTable() { rt::FireCtrlEvent(idTable, TABLE_EXIT, EVENT_COMMIT); }

    // Moves cursor 1 as the user does over a chart showing every record: dragged, then the
    // graph commits.
    static void moveCursor1(int record) {
        SetCtrlVal(idMonitor, MONITOR_OFFSET, 0);
        SetCtrlVal(idMonitor, MONITOR_RANGE, 16000);
        rt::FireCtrlEvent(idMonitor, MONITOR_RANGE, EVENT_COMMIT);
        SetGraphCursor(idMonitor, MONITOR_GRAPH, 1, record, 0);
        rt::FireCtrlEvent(idMonitor, MONITOR_GRAPH, EVENT_COMMIT);
    }

    // Row and column are 1-based, as the table counts them.
    static std::string cell(int row, int column) {
        char text[64] = "";
        GetTableCellVal(idTable, TABLE_DATA, MakePoint(column, row), text, sizeof text);
        return text;
    }
    static std::vector<std::string> row(int r) {
        std::vector<std::string> cells;
        for (int c = 1; c <= 6; ++c) cells.push_back(cell(r, c));
        return cells;
    }
    static int cellColor(int row, int column) {
        int color = -1;
        GetTableCellAttribute(idTable, TABLE_DATA, MakePoint(column, row), ATTR_TEXT_COLOR, &color);
        return color;
    }
    static std::string columnLabel(int column) {
        char text[64] = "";
        GetTableColumnAttribute(idTable, TABLE_DATA, column, ATTR_LABEL_TEXT, text, sizeof text);
        return text;
    }
    static int intVal(int panel, int ctrl) {
        int v = -1;
        GetCtrlVal(panel, ctrl, &v);
        return v;
    }
    // The date and time texts of a compressed time in the date-format preference.
    static std::pair<std::string, std::string> dateTime(cRtc t) {
        char date[11], time[9];
        cRtc2Rtc(t, date, time);
        return {date, time};
    }

    // Retrieve File and Export CSV, the dialog answering with file.
    void retrieve(const std::string &file) {
        agent_.fileAnswers.push_back(file);
        rt::FireCtrlEvent(idMonitor, MONITOR_MENU1, EVENT_COMMIT);
    }
    void exportCsv(const std::string &file) {
        agent_.fileAnswers.push_back(file);
        rt::FireCtrlEvent(idTable, TABLE_EXPORT_CSV, EVENT_COMMIT);
    }
};
