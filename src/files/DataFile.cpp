// The data file: its text forms, saving the record store and reading a file back.
#include "files/DataFile.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <utility>
#include <memory>
#include <new>
#include <string>
#include <system_error>

#include "display/Display.h"
#include "link/Link.h"
#include "base/Prefs.h"
#include "local/Texts.h"
#include "model/Clock.h"
#include "model/Models.h"
#include "model/Records.h"
#include "panels/Panels.h"
#include "base/clock.h"
#include "base/replace_file.h"
#include "runtime/ui.h"
#include "base/Notify.h"

namespace {

// An error word read back stays an error, E00 included: the value lies this far above
// 10000 + code, as the logger's decoded error values do.
constexpr double kErrorMark = 0.00001;

// ---------------------------------------------------------------- numbers in the C locale

// Appends text to out at *len (capacity bytes, always terminated); cut when it does not fit.
void append(char *out, std::size_t capacity, std::size_t *len, const char *text, std::size_t n) {
    if (*len >= capacity) return;
    const std::size_t room = capacity - 1 - *len;
    if (n > room) n = room;
    std::memcpy(out + *len, text, n);
    *len += n;
    out[*len] = '\0';
}

void appendChars(char *out, std::size_t capacity, std::size_t *len, char c, int count) {
    for (int k = 0; k < count; ++k) append(out, capacity, len, &c, 1);
}

// A text right-aligned in width columns (wider texts take more), as "%*s" does.
void appendRight(char *out, std::size_t capacity, std::size_t *len, const char *text, std::size_t n, int width) {
    if (static_cast<int>(n) < width) appendChars(out, capacity, len, ' ', width - static_cast<int>(n));
    append(out, capacity, len, text, n);
}

// An integer as "%<width>d" (blank padding) or "%0<width>d" (zero padding after the sign).
void appendInt(char *out, std::size_t capacity, std::size_t *len, long long value, int width, bool zeroPad) {
    char digits[32];
    const auto r = std::to_chars(digits, digits + sizeof digits, value);
    const std::size_t n = static_cast<std::size_t>(r.ptr - digits);
    if (!zeroPad) {
        appendRight(out, capacity, len, digits, n, width);
        return;
    }
    const bool negative = value < 0;
    if (negative) append(out, capacity, len, "-", 1);
    const std::size_t body = negative ? n - 1 : n;
    if (static_cast<int>(n) < width) appendChars(out, capacity, len, '0', width - static_cast<int>(n));
    append(out, capacity, len, digits + (negative ? 1 : 0), body);
}

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

// The leading decimal integer of text (optional sign), saturated far outside any range the
// reader accepts. False when text does not start with one.
bool leadingInt(const char *text, long long *value, const char **end = nullptr) {
    const char *p = text;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = *p++ == '-';
    if (*p < '0' || *p > '9') return false;
    long long v = 0;
    for (; *p >= '0' && *p <= '9'; ++p)
        if (v < 1000000000000LL) v = v * 10 + (*p - '0');
    *value = negative ? -v : v;
    if (end != nullptr) *end = p;
    return true;
}

int clampInt(long long v, long long lo, long long hi) { return static_cast<int>(v < lo ? lo : (v > hi ? hi : v)); }

// The leading decimal number of text, as the C library reads it in the C locale; 0 when there
// is none or it is not a finite double.
double leadingReal(const char *text) {
    const char *p = text;
    if (*p == '+' && p[1] != '+' && p[1] != '-') ++p;
    double v = 0.0;
    const auto r = std::from_chars(p, p + std::strlen(p), v, std::chars_format::general);
    if (r.ec != std::errc() || !std::isfinite(v)) return 0.0;
    return v;
}

// ---------------------------------------------------------------- reading lines and words

// Lines of a file or of a text in memory, each cut to its first DATA_FILE_LINE_MAX characters
// (the rest of a longer line is skipped). A zero byte ends the line's text.
class LineReader {
public:
    explicit LineReader(std::FILE *file) : file_(file), block_(new char[kBlockSize]), data_(block_.get()) {}
    LineReader(const char *text, std::size_t length) : data_(text), len_(text != nullptr ? length : 0), eof_(true) {}

    // The next line into line (DATA_FILE_LINE_MAX + 1 bytes); false at the end of the input.
    bool next(char *line) {
        std::size_t n = 0;
        bool any = false;
        for (;;) {
            if (pos_ == len_ && !fill()) break;
            any = true;
            const char *start = data_ + pos_;
            const char *nl = static_cast<const char *>(std::memchr(start, '\n', len_ - pos_));
            const std::size_t chunk = nl != nullptr ? static_cast<std::size_t>(nl - start) : len_ - pos_;
            if (n < DATA_FILE_LINE_MAX) {
                const std::size_t take = chunk < DATA_FILE_LINE_MAX - n ? chunk : DATA_FILE_LINE_MAX - n;
                std::memcpy(line + n, start, take);
                n += take;
            }
            pos_ += chunk;
            if (nl != nullptr) {
                ++pos_;
                break;
            }
        }
        line[n] = '\0';
        return any;
    }

private:
    bool fill() {
        if (eof_) return false;
        len_ = std::fread(block_.get(), 1, kBlockSize, file_);
        pos_ = 0;
        if (len_ == 0) eof_ = true;
        return len_ > 0;
    }

    static constexpr std::size_t kBlockSize = 65536;
    std::FILE *file_ = nullptr;       // null for a text in memory
    std::unique_ptr<char[]> block_;   // a file's block; none for a text in memory
    const char *data_;                // the block, or the text in memory
    std::size_t pos_ = 0, len_ = 0;
    bool eof_ = false;   // a text in memory has nothing more to read
};

// Splits text in place into at most max words (runs of non-blank characters). Returns the count.
int splitWords(char *text, char **words, int max) {
    int count = 0;
    char *p = text;
    while (count < max) {
        while (*p != '\0' && isBlank(*p)) ++p;
        if (*p == '\0') break;
        words[count++] = p;
        while (*p != '\0' && !isBlank(*p)) ++p;
        if (*p == '\0') break;
        *p++ = '\0';
    }
    return count;
}

// A record line: a record number, then up to five words (date, time, up to three values).
struct RecordLine {
    long long number = 0;
    char *words[5] = {};
    int items = 0;   // the number and the words found
};

// Splits line in place. items counts the record number and the words; 0 when the line does not
// start with a decimal number.
RecordLine splitRecordLine(char *line) {
    RecordLine r;
    char *p = line;
    while (*p != '\0' && isBlank(*p)) ++p;
    const char *end = nullptr;
    if (!leadingInt(p, &r.number, &end)) return r;
    r.items = 1 + splitWords(line + (end - line), r.words, 5);
    return r;
}

// A value word: a sensor error "E<digits>" or a word that starts with a decimal number.
bool isValueWord(const char *word) {
    if (word[0] == 'E') return word[1] >= '0' && word[1] <= '9';
    const char *p = word;
    if (*p == '+' || *p == '-') ++p;
    if (*p == '.') ++p;
    return *p >= '0' && *p <= '9';
}

// A record line carries a record number, a date and a time word (which may not read) and at
// least one value: a line of any other text is no record, even when it starts with a number.
bool isRecordLine(const RecordLine &r) { return r.items >= 4 && isValueWord(r.words[2]); }

// The sample interval of the line-4 word: "HH:MM:SS" when the third character is a colon
// (a missing or non-numeric field counts 0), else the leading number ("10sec." is 10).
// False when there is no number at all (the interval then stays as it was).
bool parseSampleRate(const char *word, int *rate) {
    if (std::strlen(word) >= 3 && word[2] == ':') {
        long long fields[3] = {0, 0, 0};
        const char *p = word;
        for (int k = 0; k < 3 && p != nullptr; ++k) {
            long long v = 0;
            if (leadingInt(p, &v))
                fields[k] = v < -1000000000LL ? -1000000000LL : (v > 1000000000LL ? 1000000000LL : v);
            p = std::strchr(p, ':');
            if (p != nullptr) ++p;
        }
        *rate = clampInt(fields[0] * 3600 + fields[1] * 60 + fields[2], INT_MIN, INT_MAX);
        return true;
    }
    long long v = 0;
    if (!leadingInt(word, &v)) return false;
    *rate = clampInt(v, INT_MIN, INT_MAX);
    return true;
}

// ---------------------------------------------------------------- writing

// The text of a file being written, into an open file or into memory; remembers whether any
// write failed. With a progress label, the status line counts the records written.
struct Out {
    std::FILE *file = nullptr;
    std::string *text = nullptr;
    const char *progress = nullptr;
    bool ok = true;
    void put(const char *data, std::size_t n) {
        if (n == 0) return;
        if (text != nullptr)
            text->append(data, n);
        else if (std::fwrite(data, 1, n, file) != n)
            ok = false;
    }
};

// Data files are replaced through data.txt.0.tmp ... data.txt.99.tmp beside them, written in
// text mode.
constexpr rt::ReplaceOptions kReplace{nullptr, ".tmp", 100, true};

// A file of at least this many records shows its progress in the progress bar too, moved on
// every kBarStep records (a few dozen steps are all a bar can show).
constexpr int kLargeFileRecords = 2000;
constexpr int kBarStep = 1024;

// The progress text "<label>: <count> <points>." in the status line. Nothing is drawn while a
// command runs, so only the text of every 64th count (and the last one, with force) is set:
// what the window shows is the same. For a large file (total records) the progress bar, which
// is drawn at once, follows.
void showProgress(const char *label, int count, int total, bool force = false) {
    if (!force && (count & 63) != 0) return;
    char text[128];
    std::snprintf(text, sizeof text, "%s: %4d %s.", label, count, wPoints);
    sendUserMessage(text);
    if (total >= kLargeFileRecords && (force || count % kBarStep == 0)) showRecordProgress(count, total);
}

// The whole file into out. False when a write failed.
bool writeRecords(Out &out) {
    char line[1600];
    std::size_t len = 0;

    // 1-6. the header: the description of the logger the records came from
    const RecordsDescription d = recordsDescription();
    len = 0;
    line[0] = '\0';
    append(line, sizeof line, &len, "   #", 4);
    appendInt(line, sizeof line, &len, d.model, 0, false);
    append(line, sizeof line, &len, "\nDate: ", 7);
    const char *date = dateStr();
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

    // 7... one line per record, in the channel order of the layout the store's views follow
    // (the model's channel set; never a view the store does not have)
    const int layout = recordLayout();
    const int count = loggedLength < recordCapacity() ? loggedLength : recordCapacity();
    for (int i = 0; i < count && out.ok; ++i) {
        char dateText[11], timeText[9];
        cRtc2Rtc(rtcPtr[i], dateText, timeText);
        len = 0;
        line[0] = '\0';
        appendInt(line, sizeof line, &len, i + 1, 5, false);
        append(line, sizeof line, &len, "  ", 2);
        appendRight(line, sizeof line, &len, dateText, std::strlen(dateText), 10);
        append(line, sizeof line, &len, " ", 1);
        appendRight(line, sizeof line, &len, timeText, std::strlen(timeText), 8);
        append(line, sizeof line, &len, " ", 1);
        double values[3];
        const int n = recordValues(layout, i, values);
        for (int k = 0; k < n; ++k) len += formatFileVal(line + len, sizeof line - len, values[k]);
        append(line, sizeof line, &len, "\n", 1);
        out.put(line, len);
        if (out.progress != nullptr) showProgress(out.progress, i + 1, count, i + 1 == count || !out.ok);
    }
    return out.ok && (out.file == nullptr || std::ferror(out.file) == 0);
}

// The first seven lines of a data file, read ahead: the first record line may correct the model.
struct Head {
    char lines[7][DATA_FILE_LINE_MAX + 1];
    int count = 0;
    int interval = 0;   // line 4's sample interval, 0 when it has none
};

// Line 4: the sample interval, 0 when the line has none.
int lineInterval(const Head &head) {
    char scratch[DATA_FILE_LINE_MAX + 1];
    std::memcpy(scratch, head.lines[3], sizeof scratch);
    char *words[2];
    int rate = 0;
    if (splitWords(scratch, words, 2) == 2) parseSampleRate(words[1], &rate);
    return rate;
}

void readHead(LineReader &reader, Head &head) {
    head.count = 0;
    while (head.count < 7 && reader.next(head.lines[head.count])) ++head.count;
    for (int k = head.count; k < 7; ++k) head.lines[k][0] = '\0';
    head.interval = lineInterval(head);
}

// Line 1: "#<model index>"; without it (or with an index outside the model table) the model is
// index 1. A one-channel model (7, 8) whose first record has a second value is its two-channel
// twin.
int headModel(const Head &head) {
    char scratch[DATA_FILE_LINE_MAX + 1];
    int model = 1;
    std::memcpy(scratch, head.lines[0], sizeof scratch);
    char *word = nullptr;
    long long v = 0;
    if (splitWords(scratch, &word, 1) == 1 && word[0] == '#' && leadingInt(word + 1, &v) && v >= 0 && v < MODEL_COUNT)
        model = static_cast<int>(v);
    if (const int twin = secondValueModel(model); twin != 0 && head.count == 7) {
        std::memcpy(scratch, head.lines[6], sizeof scratch);
        if (splitRecordLine(scratch).items >= 5) model = twin;
    }
    return model;
}

// Line 6: the unit letter, the first character of its second word; '\0' when there is none.
char headUnit(Head &head) {
    char *words[2];
    return splitWords(head.lines[5], words, 2) == 2 ? words[1][0] : '\0';
}

// Calls visit(record line) for the record lines from line 7 on, up to the first line that is
// not one or until visit returns false.
template <class Visit>
void forEachRecordLine(LineReader &reader, Head &head, Visit &&visit) {
    char scratch[DATA_FILE_LINE_MAX + 1];
    int next = 6;   // the next line: head line 7, then the reader
    for (;;) {
        char *line = scratch;
        if (next < head.count) {
            line = head.lines[next++];
        } else if (next < 7 || !reader.next(scratch)) {
            break;
        }
        RecordLine r = splitRecordLine(line);
        if (!isRecordLine(r)) break;
        if (!visit(r)) break;
    }
}

// True when the first field of a date word has four digits (a year).
bool yearFirst(const char *date) {
    int digits = 0;
    while (date[digits] >= '0' && date[digits] <= '9') ++digits;
    return digits == 4;
}

// How the record dates of a data file read in the three orders: a file is written in the
// preference of the PC that saved it, which need not be this one's.
DataFileDates scanDates(LineReader &reader, int preferred) {
    Head head;
    readHead(reader, head);
    const long long interval = head.interval;
    DataFileDates result;
    bool reads[3] = {true, true, true};      // every record's date and time convert
    bool advances[3] = {true, true, true};   // and consecutive records lie one interval apart
    int unread[3] = {0, 0, 0};               // the first record number that does not convert
    int readBefore[3] = {0, 0, 0};           // the records that converted before it
    long long previousTime[3] = {0, 0, 0}, previousNumber = 0;
    // record numbers kept within a range whose steps times an interval cannot overflow
    constexpr long long kNumberBound = 1000000000LL;
    bool yearFirstFile = false;
    forEachRecordLine(reader, head, [&](RecordLine &r) {
        if (result.records == 0) yearFirstFile = yearFirst(r.words[0]);
        const int number = clampInt(r.number, INT_MIN, INT_MAX);
        const long long bounded =
            r.number < -kNumberBound ? -kNumberBound : (r.number > kNumberBound ? kNumberBound : r.number);
        for (int order = 0; order < 3; ++order) {
            if (!reads[order]) continue;
            cRtc time = 0;
            if (rtc2CRtcOrder(r.words[0], r.words[1], order, &time) != 0) {
                reads[order] = false;
                unread[order] = number;
                continue;
            }
            ++readBefore[order];
            if (result.records > 0 && interval > 0 &&
                static_cast<long long>(time) - previousTime[order] != interval * (bounded - previousNumber))
                advances[order] = false;
            previousTime[order] = time;
        }
        previousNumber = bounded;
        ++result.records;
        return true;
    });

    // A four-digit first field is a year: year-month-day. Otherwise month-day-year against
    // day-month-year, the preference's first: every date valid and one interval apart wins,
    // else every date valid.
    int candidates[2] = {DATE_ORDER_MDY, DATE_ORDER_DMY};
    if (preferred == DATE_ORDER_DMY) std::swap(candidates[0], candidates[1]);
    int tried = 2;
    if (yearFirstFile) {
        candidates[0] = DATE_ORDER_YMD;
        tried = 1;
    }
    result.order = candidates[0];
    result.fits = false;
    for (int pass = 0; pass < 2 && !result.fits; ++pass) {
        for (int k = 0; k < tried; ++k) {
            const int order = candidates[k];
            if (reads[order] && (pass == 1 || advances[order])) {
                result.order = order;
                result.fits = true;
                break;
            }
        }
    }
    // No order fits: the warning names the record where the order that read furthest stopped
    // (a broken record, rather than the first date of a file written in the other order).
    if (!result.fits) {
        for (int k = 1; k < tried; ++k)
            if (readBefore[candidates[k]] > readBefore[result.order]) result.order = candidates[k];
        result.firstUnread = unread[result.order];
    }
    return result;
}

// The time of a record of a file whose dates fit no order: from today's midnight, one interval
// per record number.
cRtc todayRecordTime(int n, int interval) {
    const cRtc today = nowCRtc() / 86400u * 86400u;
    return today + static_cast<cRtc>(interval > 0 ? interval : 0) * static_cast<cRtc>(n);
}

// The record lines from line 7 on, up to the first line that is not one. Each record goes to
// store(n, time, values) with n = its record number - 1, which returns whether it was stored.
// A record number outside 0..capacity - 1 is refused; once capacity records are stored the rest
// of the file is not read. Returns the number stored; *refused counts the lines refused.
template <class Store>
int readRecordLines(LineReader &reader, Head &head, int capacity, const DataFileDates &dates, int *refused,
                    Store &&store) {
    const int interval = head.interval;
    int stored = 0;
    forEachRecordLine(reader, head, [&](RecordLine &r) {
        if (stored >= capacity) {
            ++*refused;
            return false;
        }
        const long long n = r.number - 1;
        if (n < 0 || n >= capacity) {
            ++*refused;
            return true;
        }
        cRtc time = 0;
        if (!dates.fits || rtc2CRtcOrder(r.words[0], r.words[1], dates.order, &time) != 0)
            time = todayRecordTime(static_cast<int>(n), interval);
        double values[3];
        for (int k = 0; k < 3; ++k) values[k] = GetFileVal(2 + k < r.items - 1 ? r.words[2 + k] : "");
        if (store(static_cast<int>(n), time, values))
            ++stored;
        else
            ++*refused;
        return true;
    });
    return stored;
}

// Reads the lines of a data file into the record store and the logger description; with a
// progress label, the status line counts the records read. Returns the number of records stored.
int parseLines(LineReader &reader, const char *progress, const DataFileDates &dates) {
    Head head;
    readHead(reader, head);

    // The store is emptied and laid out for the model.
    clearLoggedData();
    loggedLength = 0;
    fileRefusedRecords = 0;
    currDeviceId = headModel(head);
    ValPtrInit(currDeviceId);

    // Line 2, the date of saving, is not used. Line 3: the identifier (cut to its field).
    char *words[2];
    if (splitWords(head.lines[2], words, 2) == 2) setEId(words[1]);

    // Line 4: the sample interval; line 5: the readings reported; line 6: the unit letter.
    if (splitWords(head.lines[3], words, 2) == 2) parseSampleRate(words[1], &eSampleRate);
    if (splitWords(head.lines[4], words, 2) == 2) {
        long long v = 0;
        if (leadingInt(words[1], &v)) eLength = clampInt(v, 0, MAX_RECORDS);
    }
    if (const char unit = headUnit(head); unit != '\0') eUnit = unit;

    // the records the header promises, within the store
    int total = readingsToRecords(currDeviceId, eLength);
    if (total > recordCapacity()) total = recordCapacity();
    int lastShown = 0;
    readRecordLines(reader, head, recordCapacity(), dates, &fileRefusedRecords,
                    [&](int n, cRtc time, const double *values) {
                        if (storeLineAt(n, time, values) < 0) return false;
                        lastShown = n + 1;
                        if (progress != nullptr) showProgress(progress, lastShown, total);
                        return true;
                    });
    if (progress != nullptr && lastShown > 0) showProgress(progress, lastShown, total, true);
    // the records keep the description they came with, the identifier included
    describeRecords(true);
    return loggedLength;
}

// A data file opened for reading; nullptr for a folder or a file that does not open.
std::FILE *openForReading(const char *path) {
    std::error_code ec;
    if (path == nullptr || std::filesystem::is_directory(path, ec)) return nullptr;
    return std::fopen(path, "r");
}

// A data file's model, unit and records into the arrays reader.layOut gives for the model.
int parseRecordsInto(LineReader &lines, const RecordReader &reader, int *refused, const DataFileDates &dates) {
    Head head;
    readHead(lines, head);
    const int model = headModel(head);
    const RecordArrays a = reader.layOut(model, headUnit(head), reader.data);
    int ignored = 0;
    if (refused == nullptr) refused = &ignored;
    *refused = 0;
    if (a.times == nullptr || a.tem == nullptr) return 0;
    return readRecordLines(lines, head, a.capacity, dates, refused, [&](int n, cRtc time, const double *values) {
        // the values in the order of the record line: temperature, then the channels the
        // model has
        int k = 0;
        a.times[n] = time;
        a.tem[n] = values[k++];
        if (a.tem2 != nullptr) a.tem2[n] = values[k++];
        if (a.rh != nullptr) a.rh[n] = values[k];
        if (reader.progress != nullptr) reader.progress(n + 1, reader.data);
        return true;
    });
}

}   // namespace

// ---------------------------------------------------------------- text forms

std::size_t formatFileVal(char *out, std::size_t capacity, double value) {
    if (out == nullptr || capacity == 0) return 0;
    out[0] = '\0';
    std::size_t len = 0;
    char number[400];   // the widest double in fixed notation has 309 digits
    append(out, capacity, &len, " ", 1);
    if (value > SENSOR_ERROR_BASE) {
        // an error code: E and the integer part of (value - 10000), at least two digits
        const double code = std::trunc(value - SENSOR_ERROR_BASE);
        const auto r = std::to_chars(number, number + sizeof number, code, std::chars_format::fixed, 0);
        const std::size_t n = r.ec == std::errc() ? static_cast<std::size_t>(r.ptr - number) : 0;
        append(out, capacity, &len, "E", 1);
        if (n < 2) appendChars(out, capacity, &len, '0', 2 - static_cast<int>(n));
        append(out, capacity, &len, number, n);
    } else {
        // a measurement with one decimal, right-aligned in 5 columns
        const auto r = std::to_chars(number, number + sizeof number, value, std::chars_format::fixed, 1);
        const std::size_t n = r.ec == std::errc() ? static_cast<std::size_t>(r.ptr - number) : 0;
        appendRight(out, capacity, &len, number, n, 5);
    }
    append(out, capacity, &len, " ", 1);
    return len;
}

void BuildFileValStr(std::FILE *file, double value) {
    if (file == nullptr) return;
    char field[420];
    const std::size_t n = formatFileVal(field, sizeof field, value);
    std::fwrite(field, 1, n, file);
}

double GetFileVal(const char *text) {
    if (text == nullptr) return 0.0;
    if (text[0] == 'E') {
        double code = leadingReal(text + 1);
        if (code < 0.0) code = 0.0;   // still an error
        return SENSOR_ERROR_BASE + code + kErrorMark;
    }
    return leadingReal(text);
}

void FileNamePrintOut(char *destination, const char *path) {
    if (destination == nullptr) return;
    destination[0] = '\0';
    if (path == nullptr) return;
    const std::size_t n = std::strlen(path);
    std::size_t len = 0;
    if (n < 37) {
        append(destination, FILE_NAME_SHOWN_SIZE, &len, path, n);
        return;
    }
    const char *slash = std::strrchr(path, '/');
    const char *backslash = std::strrchr(path, '\\');
    const char *sep = slash == nullptr ? backslash : (backslash == nullptr || slash > backslash ? slash : backslash);
    const char *name = sep != nullptr ? sep + 1 : path;
    const std::size_t m = std::strlen(name);
    // A cut never splits a UTF-8 character: it moves back to the character's first byte.
    auto cut = [](const char *s, std::size_t k) {
        while (k > 0 && (static_cast<unsigned char>(s[k]) & 0xC0) == 0x80) --k;
        return k;
    };
    if (m >= 33) {
        append(destination, FILE_NAME_SHOWN_SIZE, &len, name, cut(name, 29));
        append(destination, FILE_NAME_SHOWN_SIZE, &len, "...", 3);
        return;
    }
    append(destination, FILE_NAME_SHOWN_SIZE, &len, path, cut(path, 32 - m));
    append(destination, FILE_NAME_SHOWN_SIZE, &len, "...", 3);
    append(destination, FILE_NAME_SHOWN_SIZE, &len, sep, 1);
    append(destination, FILE_NAME_SHOWN_SIZE, &len, name, m);
}

// ---------------------------------------------------------------- folders and names

void defaultDataFolder(char *dir, std::size_t capacity) {
    if (dir == nullptr || capacity == 0) return;
    dir[0] = '\0';
    char documents[FILE_NAME_SIZE];
    if (GetDocumentsDir(documents, sizeof documents) < 0) return;
    if (MakePathname(documents, "Tavix", dir, capacity) < 0) return;
    MakeDir(dir);   // an existing folder or a missing parent is not an error here
}

void defaultSaveFileName(char *name, std::size_t capacity) {
    if (name == nullptr || capacity == 0) return;
    const rt::LocalTime now = rt::Now();
    std::size_t len = 0;
    name[0] = '\0';
    appendInt(name, capacity, &len, now.year, 4, true);
    appendInt(name, capacity, &len, now.month, 2, true);
    appendInt(name, capacity, &len, now.day, 2, true);
    append(name, capacity, &len, ".txt", 4);
}

// ---------------------------------------------------------------- saving

bool formatDataFile(std::string &text) {
    text.clear();
    try {
        Out out;
        out.text = &text;
        return writeRecords(out);
    } catch (const std::bad_alloc &) {
        text.clear();
        return false;
    }
}

int saveDataFile(const char *path) {
    if (path == nullptr || *path == '\0') return DATA_FILE_ERR_CREATE;
    const int rc = rt::replaceFile(path, kReplace, [](std::FILE *file) {
        Out out;
        out.file = file;
        out.progress = wSaveFile;
        return writeRecords(out);
    });
    hideRecordProgress();
    if (rc == rt::REPLACE_ERR_TARGET || rc == rt::REPLACE_ERR_TEMP) return DATA_FILE_ERR_CREATE;
    if (rc < 0) return DATA_FILE_ERR_WRITE;
    gFlag &= static_cast<unsigned char>(~GFLAG_NOT_SAVED);
    // the data are this file's now
    char shown[FILE_NAME_SHOWN_SIZE];
    FileNamePrintOut(shown, path);
    setDataOrigin(DataOrigin::File, shown);
    sendUserMessage(msg5);
    return 0;
}

// ---------------------------------------------------------------- retrieval

DataFileDates dataFileDates(const char *text, std::size_t length, int preferred) {
    LineReader reader(text, length);
    return scanDates(reader, preferred);
}

int parseDataFile(const char *text, std::size_t length) {
    const DataFileDates dates = dataFileDates(text, length, sLocal.dateFormat);
    if (dates.records == 0) return DATA_FILE_NO_RECORDS;
    fileDates = dates;
    LineReader reader(text, length);
    return parseLines(reader, nullptr, dates);
}

void showRetrievedFile(const char *path) {
    // The chart's left axis follows all channels.
    resetChartScaling();

    // The identifier read, the main window laid out for the model, the chart and the table.
    updateId();
    SetCtrlVal(idMonitor, MONITOR_INFO, "");
    updatePanelMonitor();
    updateTemperatureChart();
    notifyTablePage();
    sendUserMessage(msg4);
    char shown[FILE_NAME_SHOWN_SIZE];
    FileNamePrintOut(shown, path);
    char info[static_cast<int>(WINDOW_TEXT_SIZE) + static_cast<int>(FILE_NAME_SHOWN_SIZE) + 2];
    std::snprintf(info, sizeof info, "%s %s", wFileName, shown);   // "File name: ..."
    SetCtrlVal(idMonitor, MONITOR_INFO, info);
    // dates that fit no order are today's: say which record could not be read
    if (!fileDates.fits) {
        char text[MSG_TEXT_SIZE + 16];
        std::snprintf(text, sizeof text, "%s %d", msgFileDatesUnread, fileDates.firstUnread);
        sendWarnMessage(text);
    }
}

int readDataFile(const char *path) {
    std::FILE *file = openForReading(path);
    if (file == nullptr) return DATA_FILE_NOT_OPENED;
    // The dates are looked at first; a file without a record line changes nothing.
    LineReader scan(file);
    const DataFileDates dates = scanDates(scan, sLocal.dateFormat);
    if (dates.records == 0 || std::fseek(file, 0, SEEK_SET) != 0) {
        std::fclose(file);
        return dates.records == 0 ? DATA_FILE_NO_RECORDS : DATA_FILE_NOT_OPENED;
    }
    fileDates = dates;
    LineReader reader(file);
    parseLines(reader, wRetrieveFile, dates);
    std::fclose(file);
    hideRecordProgress();

    showRetrievedFile(path);
    // The identifier is no longer the connected logger's (the window keeps showing it, and
    // the records keep it for saving them again).
    eId[0] = '\0';
    gFlag |= GFLAG_ID_KNOWN | GFLAG_SCHEDULE_KNOWN;
    char shown[FILE_NAME_SHOWN_SIZE];
    FileNamePrintOut(shown, path);
    setDataOrigin(DataOrigin::File, shown);
    return loggedLength;
}

// ---------------------------------------------------------------- reading into other arrays

int parseDataFileRecords(const char *text, std::size_t length, const RecordReader &reader, int *refused,
                         DataFileDates *dates) {
    if (reader.layOut == nullptr) return 0;
    const DataFileDates found = dataFileDates(text, length, sLocal.dateFormat);
    if (dates != nullptr) *dates = found;
    if (found.records == 0) return DATA_FILE_NO_RECORDS;
    LineReader lines(text, length);
    return parseRecordsInto(lines, reader, refused, found);
}

int readDataFileRecords(const char *path, const RecordReader &reader, int *refused, DataFileDates *dates) {
    std::FILE *file = reader.layOut != nullptr ? openForReading(path) : nullptr;
    if (file == nullptr) return DATA_FILE_NOT_OPENED;
    LineReader scan(file);
    const DataFileDates found = scanDates(scan, sLocal.dateFormat);
    if (dates != nullptr) *dates = found;
    if (found.records == 0 || std::fseek(file, 0, SEEK_SET) != 0) {
        std::fclose(file);
        return found.records == 0 ? DATA_FILE_NO_RECORDS : DATA_FILE_NOT_OPENED;
    }
    LineReader lines(file);
    const int stored = parseRecordsInto(lines, reader, refused, found);
    std::fclose(file);
    return stored;
}
