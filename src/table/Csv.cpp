// CSV export of the record store, and the data table's Export CSV button.
#include "table/Csv.h"

#include <charconv>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <new>
#include <string_view>
#include <system_error>

#include "files/DataFile.h"
#include "link/Link.h"
#include "local/Texts.h"
#include "local/Trail.h"
#include "model/Clock.h"
#include "model/Models.h"
#include "model/Records.h"
#include "base/replace_file.h"
#include "runtime/ui.h"
#include "table/Table.h"

namespace {

// Written in binary mode: LF line ends on every platform.
constexpr rt::ReplaceOptions kReplace{nullptr, ".tmp", 100, false};
// Bytes of one record row, a generous estimate to reserve the text at once.
constexpr std::size_t kRowEstimate = 48;
// The unit of the humidity column.
constexpr std::string_view kHumidityUnit = " (%RH)";

struct CsvColumn {
    const char *label;       // window text of the channel
    std::string_view unit;   // " (<unit>)"
    const double *values;
};

// The model's channels in channel order. Returns their number.
int csvColumns(CsvColumn (&columns)[3], std::string &degree) {
    const RecordsDescription d = recordsDescription();
    const int layout = recordLayout();
    const bool suffix = channelNames(d.model) == ChannelNames::Suffix41670;
    degree = std::string(" (") + wDegree[d.unit == 'F' || d.unit == 'f' ? 1 : 0] + ")";
    int n = 0;
    if (vTemPtr != nullptr) columns[n++] = {suffix ? wTemperature_41670 : wTemperature, degree, vTemPtr};
    if ((layout == LAYOUT_T_T2 || layout == LAYOUT_T_T2_RH) && vTem2Ptr != nullptr)
        columns[n++] = {suffix ? wTemperature2_41670 : wTemperature2, degree, vTem2Ptr};
    if ((layout == LAYOUT_T_RH || layout == LAYOUT_T_T2_RH) && vRhPtr != nullptr)
        columns[n++] = {wHumidity, kHumidityUnit, vRhPtr};
    return n;
}

// One field, quoted when it holds a comma, a quote or a line end (quotes inside doubled).
void appendField(std::string &text, std::string_view field) {
    if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
        text += field;
        return;
    }
    text += '"';
    for (const char c : field) {
        if (c == '"') text += '"';
        text += c;
    }
    text += '"';
}

// Two decimal digits of 0..99, or four of 0..9999.
void appendDigits(std::string &text, int value, int digits) {
    char d[4];
    for (int k = digits - 1; k >= 0; --k) {
        d[k] = static_cast<char>('0' + value % 10);
        value /= 10;
    }
    text.append(d, static_cast<std::size_t>(digits));
}

// YYYY-MM-DD HH:MM:SS
void appendTime(std::string &text, cRtc t) {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    cRtc2BRtc(t, &year, &month, &day, &hour, &minute, &second);
    appendDigits(text, year, 4);
    text += '-';
    appendDigits(text, month, 2);
    text += '-';
    appendDigits(text, day, 2);
    text += ' ';
    appendDigits(text, hour, 2);
    text += ':';
    appendDigits(text, minute, 2);
    text += ':';
    appendDigits(text, second, 2);
}

// A measurement with one decimal in the C locale; a sensor error is left empty.
void appendValue(std::string &text, double value) {
    if (value > SENSOR_ERROR_BASE) return;
    char number[400];   // the widest double in fixed notation has 309 digits
    const auto r = std::to_chars(number, number + sizeof number, value, std::chars_format::fixed, 1);
    if (r.ec == std::errc()) text.append(number, static_cast<std::size_t>(r.ptr - number));
}

void appendRecord(std::string &text, int i, const CsvColumn *columns, int n) {
    char number[16];
    const auto r = std::to_chars(number, number + sizeof number, i + 1);
    text.append(number, static_cast<std::size_t>(r.ptr - number));
    text += ',';
    appendTime(text, rtcPtr[i]);
    for (int k = 0; k < n; ++k) {
        text += ',';
        appendValue(text, columns[k].values[i]);
    }
    text += '\n';
}

// The button's caption without a trailing ellipsis, as the dialog's title.
void dialogTitle(int panel, int control, char *title, std::size_t capacity) {
    GetCtrlAttribute(panel, control, ATTR_LABEL_TEXT, title, capacity);
    std::size_t n = std::strlen(title);
    for (const std::string_view dots : {std::string_view("\u2026"), std::string_view("...")})
        if (n >= dots.size() && std::string_view(title + n - dots.size(), dots.size()) == dots) n -= dots.size();
    title[n] = '\0';
}

}   // namespace

bool formatCsv(std::string &text) {
    text.clear();
    try {
        CsvColumn columns[3];
        std::string degree;
        const int n = csvColumns(columns, degree);
        int held = loggedLength < recordCapacity() ? loggedLength : recordCapacity();
        if (held < 0) held = 0;
        text.reserve(kRowEstimate * static_cast<std::size_t>(held + 1));
        text += "Record,Time";
        for (int k = 0; k < n; ++k) {
            text += ',';
            appendField(text, std::string(columns[k].label) + std::string(columns[k].unit));
        }
        text += '\n';
        for (int i = 0; i < held; ++i) appendRecord(text, i, columns, n);
        return true;
    } catch (const std::bad_alloc &) {
        text.clear();
        return false;
    }
}

int writeCsvFile(const char *path) {
    if (path == nullptr || *path == '\0') return CSV_ERR_CREATE;
    std::string text;
    if (!formatCsv(text)) return CSV_ERR_WRITE;
    const int rc = rt::replaceFile(path, kReplace, text);
    if (rc == rt::REPLACE_ERR_TARGET || rc == rt::REPLACE_ERR_TEMP) return CSV_ERR_CREATE;
    if (rc < 0) return CSV_ERR_WRITE;
    noteFileWritten("export", path);
    return 0;
}

void defaultCsvFileName(char *name, std::size_t capacity) {
    if (name == nullptr || capacity == 0) return;
    defaultSaveFileName(name, capacity);
    // the same name as a new data file, with the CSV extension
    char *dot = std::strrchr(name, '.');
    if (dot != nullptr && static_cast<std::size_t>(dot - name) + 5 <= capacity) std::memcpy(dot, ".csv", 5);
}

// The folder and name offered as Save File offers them; replacing a file is asked first, and a
// file that cannot be written is reported with the program's warning.
int cTableExportCsvCallBack(int panel, int control, int event, void *, int, int) {
    if (event != EVENT_COMMIT) return 0;
    char dir[FILE_NAME_SIZE];
    defaultDataFolder(dir, sizeof dir);
    char name[32];
    defaultCsvFileName(name, sizeof name);
    char title[WINDOW_TEXT_SIZE * 2] = "";
    dialogTitle(panel, control, title, sizeof title);
    char path[FILE_NAME_SIZE];
    // Cancelled, or a path too long to keep: nothing happens.
    if (FileSelectPopupEx(dir, name, "CSV files(*.csv)", title, VAL_SAVE_BUTTON, 0, 1, path, sizeof path) <= 0)
        return 0;

    std::error_code ec;
    if (std::filesystem::exists(path, ec)) {
        char text[3 * MSG_TEXT_SIZE + FILE_NAME_SIZE];
        std::snprintf(text, sizeof text, "%s %s %s", warn21, path, warn22);
        if (!ConfirmPopup(warn9, text, VAL_DEFAULT_NO))
            return 0;   // "Warning", "the file ... already exists. Replace it?"
    }
    if (writeCsvFile(path) < 0) {
        MessagePopup(warn6, path);   // "The data file cannot be written"
        return 0;
    }
    // where the file went: the dialog may have added the extension or kept a folder the user
    // did not look at
    char text[MSG_TEXT_SIZE + FILE_NAME_SIZE + 2];
    std::snprintf(text, sizeof text, "%s %s", msgCsvWritten, path);
    sendUserMessage(text);
    return 0;
}
