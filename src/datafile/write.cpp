// Writing a data file: the header from the description of the records, then one line per
// record, into memory or into an open file.
#include <charconv>
#include <cstdio>
#include <cstring>
#include <new>
#include <string>

#include "base/Prefs.h"
#include "datafile/CText.h"
#include "datafile/DataFileText.h"
#include "model/Clock.h"
#include "model/Records.h"

using namespace datafile;

namespace {

// The text of a file being written, into an open file or into memory; remembers whether any
// write failed.
struct Out {
    std::FILE *file = nullptr;
    std::string *text = nullptr;
    DataFileProgress progress;
    int dateOrder = DATE_ORDER_MDY;   // the order of the record dates
    bool fixed = false;               // the fixed form: an empty Date: line
    bool ok = true;
    void put(const char *data, std::size_t n) {
        if (n == 0) return;
        if (text != nullptr)
            text->append(data, n);
        else if (std::fwrite(data, 1, n, file) != n)
            ok = false;
    }
};

// Two digits of a calendar field (0..99), as "%02d" writes it.
void twoDigits(char *out, int v) {
    out[0] = static_cast<char>('0' + v / 10);
    out[1] = static_cast<char>('0' + v % 10);
}

// The date (10 characters, in the date-format preference) and the time (8) of a record at out,
// as cRtc2Rtc makes them, without the C library's formatting, which cost most of a line. The
// fields are those of cRtc2BRtc, always in their calendar ranges: the year has four digits
// (2000..2136).
void putDateTime(char *out, cRtc t, int order) {
    int year, month, day, hour, minute, second;
    cRtc2BRtc(t, &year, &month, &day, &hour, &minute, &second);
    // where the year, the month and the day go: YYYY-MM-DD, DD-MM-YYYY or MM-DD-YYYY
    int yearAt = 6, monthAt = 0, dayAt = 3;
    if (order == DATE_ORDER_YMD) {
        yearAt = 0, monthAt = 5, dayAt = 8;
    } else if (order == DATE_ORDER_DMY) {
        dayAt = 0, monthAt = 3;
    }
    twoDigits(out + yearAt, year / 100);
    twoDigits(out + yearAt + 2, year % 100);
    twoDigits(out + monthAt, month);
    twoDigits(out + dayAt, day);
    out[yearAt == 0 ? 4 : 2] = '-';
    out[yearAt == 0 ? 7 : 5] = '-';
    out[10] = ' ';
    twoDigits(out + 11, hour);
    out[13] = ':';
    twoDigits(out + 14, minute);
    out[16] = ':';
    twoDigits(out + 17, second);
}

// A record line: "%5d  %10s %8s " (number, date, time), a value field per channel, the line
// end. Built in place, a field at a time: the widest line fits the buffer, so that only the
// value fields need their bounds (formatFileVal keeps them).
constexpr std::size_t kNumberWidth = 5;       // record numbers up to 16000
constexpr std::size_t kDateTimeLength = 19;   // "MM-DD-YYYY HH:MM:SS"
constexpr std::size_t kValueFieldMax = 420;   // formatFileVal's widest field
constexpr std::size_t kRecordLineSize = 1600;
static_assert(kRecordLineSize > 32 + 2 + kDateTimeLength + 1 + 3 * kValueFieldMax + 1);

std::size_t recordLine(char (&line)[kRecordLineSize], int number, cRtc t, int order, const double *values, int n) {
    char digits[32];
    const auto r = std::to_chars(digits, digits + sizeof digits, number);
    const std::size_t width = static_cast<std::size_t>(r.ptr - digits);
    std::size_t len = 0;
    if (width < kNumberWidth) {
        std::memset(line, ' ', kNumberWidth - width);
        len = kNumberWidth - width;
    }
    std::memcpy(line + len, digits, width);
    len += width;
    line[len++] = ' ';
    line[len++] = ' ';
    putDateTime(line + len, t, order);
    len += kDateTimeLength;
    line[len++] = ' ';
    for (int k = 0; k < n; ++k) len += formatFileVal(line + len, sizeof line - len, values[k]);
    line[len++] = '\n';
    line[len] = '\0';
    return len;
}

// Lines 1-6: the description of the logger the records came from.
void writeHeader(Out &out) {
    char line[1600];
    std::size_t len = 0;
    const RecordsDescription d = recordsDescription();
    line[0] = '\0';
    append(line, sizeof line, &len, "   #", 4);
    appendInt(line, sizeof line, &len, d.model, 0, false);
    append(line, sizeof line, &len, "\nDate: ", 7);
    const char *date = out.fixed ? "" : dateStr();
    append(line, sizeof line, &len, date, std::strlen(date));
    append(line, sizeof line, &len, "\nID= ", 5);
    append(line, sizeof line, &len, d.id, std::strlen(d.id));
    append(line, sizeof line, &len, "\nSample_Rate= ", 14);
    appendInt(line, sizeof line, &len, d.interval / 3600, 2, true);
    append(line, sizeof line, &len, ":", 1);
    appendInt(line, sizeof line, &len, d.interval % 3600 / 60, 2, true);
    append(line, sizeof line, &len, ":", 1);
    appendInt(line, sizeof line, &len, d.interval % 3600 % 60, 2, true);
    append(line, sizeof line, &len, "\nTotal_Records= ", 16);
    appendInt(line, sizeof line, &len, d.readings, 0, false);
    append(line, sizeof line, &len, "\nUnit: ", 7);
    if (d.unit != '\0') append(line, sizeof line, &len, &d.unit, 1);
    append(line, sizeof line, &len, "\n", 1);
    out.put(line, len);
}

// The whole file into out. False when a write failed.
bool writeRecords(Out &out) {
    writeHeader(out);

    // 7... one line per record, in the channel order of the layout the store's views follow
    // (the model's channel set; never a view the store does not have)
    char line[kRecordLineSize];
    const int layout = recordLayout();
    const int count = loggedLength < recordCapacity() ? loggedLength : recordCapacity();
    for (int i = 0; i < count && out.ok; ++i) {
        double values[3];
        const int n = recordValues(layout, i, values);
        const std::size_t len = recordLine(line, i + 1, rtcPtr[i], out.dateOrder, values, n);
        out.put(line, len);
        if (out.progress.step != nullptr) out.progress.step(i + 1, count, i + 1 == count || !out.ok, out.progress.data);
    }
    return out.ok && (out.file == nullptr || std::ferror(out.file) == 0);
}

}   // namespace

bool formatDataFile(std::string &text) {
    text.clear();
    try {
        Out out;
        out.text = &text;
        out.dateOrder = sLocal.dateFormat;
        return writeRecords(out);
    } catch (const std::bad_alloc &) {
        text.clear();
        return false;
    }
}

bool formatFixedDataFile(std::string &text) {
    text.clear();
    try {
        Out out;
        out.text = &text;
        out.dateOrder = DATE_ORDER_YMD;
        out.fixed = true;
        return writeRecords(out);
    } catch (const std::bad_alloc &) {
        text.clear();
        return false;
    }
}

bool writeDataFile(std::FILE *file, const DataFileProgress &progress) {
    if (file == nullptr) return false;
    Out out;
    out.file = file;
    out.progress = progress;
    out.dateOrder = sLocal.dateFormat;
    return writeRecords(out);
}
