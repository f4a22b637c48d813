// The text report of the data table's print button: a range of records, line by line, to the
// printer (or the PDF file chosen where there is none).
//
// A record line is " %5d\t%10s\t%8s" (number, date, time: 26 characters) followed by one value
// field per channel of the store's layout, six characters each for every ordinary reading, so
// the fields fall at the character positions 26, 32 and 38. A wider field (a reading of -100.0
// or below, 1000.0 or above, an error code of 100 or more) is written whole and moves the ones
// after it, rather than being cut by the next field: a cut field would show another number.
#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "files/DataFile.h"
#include "link/Link.h"
#include "local/Texts.h"
#include "local/Trail.h"
#include "model/Models.h"
#include "model/Records.h"
#include "runtime/ui.h"
#include "table/Table.h"

namespace {

// The fixed texts of the report's column header.
const char title1Air[] = " INDEX\t   DATE\t\t  TIME\t\t Air \n";
const char title1AirRh[] = " INDEX\t   DATE\t\t  TIME\t\t Air \t RH% \n";
const char title1AirExt[] = " INDEX\t   DATE\t\t  TIME\t\t Air \tExt. \n";
const char title1T1T2[] = " INDEX\t   DATE\t\t  TIME\t\t T1  \t T2  \n";
const char title1AirExtRh[] = " INDEX\t   DATE\t\t  TIME\t\t Air \tExt. \t RH% \n";
const char title2Num1[] = " =====\t==========\t========\t=====\n";
const char title2Num2[] = " =====\t==========\t========\t=====\t=====\n";
const char title2Num3[] = " =====\t==========\t========\t=====\t=====\t=====\n";

enum {
    PROMPT_ANSWER_SIZE = 20,   // characters of the range answer
    FIELD_SIZE = 40,           // one value field, the widest error code included
    LINE_SIZE = 26 + 3 * FIELD_SIZE + 2,
    HEADER_SIZE = 160,
};
constexpr int kPrintPointSize = 12;

struct ColumnHeader {
    const char *names;   // nullptr: the model has no column header
    const char *rules;
};

// The column header of a model index. The indexes no logger reports (no decode rule: index 2,
// which only a data file selects, and every index outside 1..24) have none; the two-temperature
// models whose channels are named T1 and T2 (the _41670 names) have their own.
ColumnHeader columnHeader(int index) {
    if (decodeRule(index) == DecodeRule::None) return {nullptr, nullptr};
    switch (loggerType(index)) {
        case LAYOUT_T: return {title1Air, title2Num1};
        case LAYOUT_T_RH: return {title1AirRh, title2Num2};
        case LAYOUT_T_T2:
            if (channelNames(index) == ChannelNames::Suffix41670) return {title1T1T2, title2Num2};
            return {title1AirExt, title2Num2};
        case LAYOUT_T_T2_RH: return {title1AirExtRh, title2Num3};
        default: return {nullptr, nullptr};
    }
}

// One "%d" of the answer at p: white space, a sign and digits; a number beyond the int range is
// taken as the nearest int. nullptr when there is no number (the reading stops there).
const char *readNumber(const char *p, int &out) {
    while (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\r' || *p == '\f' || *p == '\v') ++p;
    const bool negative = *p == '-';
    const char *digits = *p == '-' || *p == '+' ? p + 1 : p;
    if (*digits < '0' || *digits > '9') return nullptr;
    long long value = 0;
    const char *end = digits + std::strlen(digits);
    const auto r = std::from_chars(digits, end, value);
    if (r.ptr == digits) return nullptr;
    if (r.ec == std::errc::result_out_of_range) value = LLONG_MAX;
    if (negative) value = -value;
    out = static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
    return r.ptr;
}

// The range of the prompt's answer, read as "%d%c%d" (first, separator, last). False when
// nothing is to be printed (no first number and no '-'). A range is clamped to the records held.
bool readRecordRange(const char *answer, int &first, int &last) {
    first = 0;
    last = 0;
    char separator = '\0';
    if (const char *p = readNumber(answer, first); p != nullptr && *p != '\0') {
        separator = *p;
        readNumber(p + 1, last);
    }
    if (separator != '-') {
        if (first == 0) return false;
        last = first;
    }
    last = std::min({last, loggedLength, recordCapacity()});
    first = std::max(first, 1);   // a record before the first is never read
    return true;
}

// The report line of record i (0-based), ending with its newline.
void formatRecordLine(int i, char (&line)[LINE_SIZE]) {
    char date[11], time[9];
    cRtc2Rtc(rtcPtr[i], date, time);
    int length = std::snprintf(line, sizeof line, " %5d\t%10s\t%8s", i + 1, date, time);
    double values[3];
    const int n = recordValues(recordLayout(), i, values);
    for (int k = 0; k < n; ++k)
        length += static_cast<int>(BuildPrnValStr(line + length, sizeof line - 2 - length, values[k]));
    line[length] = '\n';
    line[length + 1] = '\0';
}

// Print a line; on failure warn7 with the run-time's text, and false.
bool printChecked(const char *line) {
    const int status = PrintTextBuffer(line, "");
    if (status >= 0) return true;
    MessagePopup(warn7, GetUILErrorString(status));   // "Printing is not possible"
    return false;
}

// The two header lines and the column header; false when the first line failed.
bool printHeader() {
    char line[HEADER_SIZE];
    const RecordsDescription d = recordsDescription();
    if (const char *id = recordsShownId(); id[0] != '\0') {
        std::snprintf(line, sizeof line, " ID=%s \t\t\t\t\t\t%s %s\n", id, DateStr(), TimeStr());
    } else {
        char shown[FILE_NAME_SHOWN_SIZE];
        FileNamePrintOut(shown, fileName);
        std::snprintf(line, sizeof line, " File: %s;\t\t%s %s\n", shown, DateStr(), TimeStr());
    }
    if (!printChecked(line)) return false;

    // these lines go out without a check, as the first has shown that printing works; the
    // count is of the records held (a three-channel logger reports its readings)
    const int rate = d.interval;
    const char unit = d.unit != '\0' ? d.unit : ' ';   // a NUL would end the line early
    std::snprintf(line, sizeof line, "\tSample Rate=%02d:%02d:%02d\tUnit=%c\t %d Records\n\n", rate / 3600,
                  rate % 3600 / 60, rate % 3600 % 60, unit, loggedLength);
    PrintTextBuffer(line, "");
    const ColumnHeader header = columnHeader(d.model);
    if (header.names != nullptr) {
        PrintTextBuffer(header.names, "");
        PrintTextBuffer(header.rules, "");
        // every further page starts with the column headings, so that a page read alone is read
        // right
        std::snprintf(line, sizeof line, "%s%s", header.names, header.rules);
        SetPrintAttribute(ATTR_PAGE_HEADING, line);
    }
    return true;
}

// "Print records", "saved as a PDF file:" and its path.
void showPdfSaved(const char *pdf) {
    char text[static_cast<int>(MSG_TEXT_SIZE) + static_cast<int>(FILE_NAME_SIZE) + 2];
    std::snprintf(text, sizeof text, "%s %s", msgPdfSaved, pdf);
    MessagePopup(msg12, text);
}

// The record lines first..last (1-based); false when a line failed.
bool printRecords(int first, int last) {
    char line[LINE_SIZE];
    char progress[MSG_TEXT_SIZE + 16];
    for (int i = first - 1; i <= last - 1; ++i) {
        formatRecordLine(i, line);
        if (!printChecked(line)) return false;   // the page eject stays off
        std::snprintf(progress, sizeof progress, "%s #%d\n", msg12, i + 1);
        sendUserMessage(progress);
    }
    return true;
}

}   // namespace

std::size_t BuildPrnValStr(char *buffer, std::size_t capacity, double value) {
    if (buffer == nullptr || capacity == 0) return 0;
    char number[SENSOR_ERROR_TEXT_SIZE];
    std::size_t n = 0;
    const char *format = nullptr;
    if (value > SENSOR_ERROR_BASE) {
        n = sensorErrorText(number, sizeof number, value);
        format = "\t  %.*s";
    } else {
        // a reading with one decimal, right-aligned in five columns
        const auto r = std::to_chars(number, number + sizeof number, value, std::chars_format::fixed, 1);
        n = r.ec == std::errc() ? static_cast<std::size_t>(r.ptr - number) : 0;
        format = n < 5 ? "\t%5.*s" : "\t%.*s";
    }
    const int written = std::snprintf(buffer, capacity, format, static_cast<int>(n), number);
    return std::min(static_cast<std::size_t>(std::max(written, 0)), capacity - 1);
}

void reportAll() {
    // 1, 2, 3. the range: the answer read as "%d%c%d", clamped to the records held
    char answer[PROMPT_ANSWER_SIZE + 1] = "";
    // "Print records", "records to print"; cancelled: nothing to say
    if (PromptPopup(msg12, msg14, answer, PROMPT_ANSWER_SIZE) < 0) return;
    int first = 0, last = 0;
    if (!readRecordRange(answer, first, last)) {
        MessagePopup(msg12, msgPrintRangeUnread);   // "Print records", "the range cannot be read"
        return;
    }

    // 4. the printer, or a PDF file where there is none
    const int target = choosePrintTarget();
    if (target == PRINT_TARGET_NONE) return;

    // 5. portrait, one job for the whole report, the report font, page numbers, no stamps
    SetPrintAttribute(ATTR_ORIENTATION, VAL_PORTRAIT);
    SetPrintAttribute(ATTR_EJECT_AFTER, 0);
    SetPrintAttribute(ATTR_PRINT_FONT_NAME, VAL_APP_META_FONT);
    SetPrintAttribute(ATTR_PRINT_POINT_SIZE, kPrintPointSize);
    SetPrintAttribute(ATTR_NUMBER_PAGES, 1);
    SetPrintAttribute(ATTR_PRINT_DATE, 0);
    SetPrintAttribute(ATTR_PRINT_TIME, 0);

    // where the report goes: a PDF file is named at the end, a printer is not
    char pdf[FILE_NAME_SIZE] = "";
    GetPrintAttribute(ATTR_PRINT_PDF_FILE, pdf, sizeof pdf);

    // the document's title (a PDF's, the printer's job): what the header's first line names
    char title[HEADER_SIZE];
    if (eId[0] != '\0') {
        std::snprintf(title, sizeof title, "%s: ID=%s", msg12, eId);
    } else {
        char shown[FILE_NAME_SHOWN_SIZE];
        FileNamePrintOut(shown, fileName);
        std::snprintf(title, sizeof title, "%s: %s", msg12, shown);
    }
    SetPrintAttribute(ATTR_PRINT_TITLE, title);

    // 6 ... 9. header, column header, one line per record
    if (printHeader() && printRecords(first, last)) {
        // 10. the page eject ends the job: only then has everything gone out
        const int status = SetPrintAttribute(ATTR_EJECT_AFTER, 1);
        if (status < 0)
            MessagePopup(warn7, GetUILErrorString(status));   // "Printing is not possible"
        else if (pdf[0] != '\0')
            showPdfSaved(pdf);
        else
            MessagePopup(msg12, msg13);   // "Print records", "sent to the printer"
        if (status >= 0) {
            const std::string range = "records " + std::to_string(first) + "-" + std::to_string(last);
            if (pdf[0] != '\0')
                noteFileWritten("print", pdf);
            else
                notePrinted("print", "report of " + range + " to the printer");
        }
    }
    SetPrintAttribute(ATTR_PAGE_HEADING, "");
    SetPrintAttribute(ATTR_PRINT_TITLE, "");
    releasePrintTarget(target);
}

int cTablePrintCallBack(int, int, int event, void *, int, int) {
    if (event == EVENT_COMMIT) reportAll();
    return 0;
}
