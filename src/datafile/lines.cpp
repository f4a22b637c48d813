// Reading lines and words: the line reader, the header's fields, record lines and the scan of
// the record dates in the three date orders.
#include "datafile/Lines.h"

#include <climits>
#include <cstring>
#include <utility>

#include "datafile/CText.h"
#include "model/Models.h"

namespace datafile {

namespace {

constexpr std::size_t kBlockSize = 65536;

// A value word: a sensor error "E<digits>" or a word that starts with a decimal number.
bool isValueWord(const char *word) {
    if (word[0] == 'E') return isDigit(word[1]);
    const char *p = word;
    if (*p == '+' || *p == '-') ++p;
    if (*p == '.') ++p;
    return isDigit(*p);
}

// Line 4: the sample interval, 0 when the line has none.
int lineInterval(const Head &head) {
    char scratch[DATA_FILE_LINE_MAX + 1];
    std::memcpy(scratch, head.lines[3], sizeof scratch);
    char *words[2];
    int rate = 0;
    if (splitWords(scratch, words, 2) == 2) parseSampleRate(words[1], &rate);
    return rate;
}

// True when the first field of a date word has four digits (a year).
bool yearFirst(const char *date) {
    int digits = 0;
    while (isDigit(date[digits])) ++digits;
    return digits == 4;
}

}   // namespace

// ---------------------------------------------------------------- lines

LineReader::LineReader(std::FILE *file) : file_(file), block_(new char[kBlockSize]), data_(block_.get()) {}

bool LineReader::next(char *line) {
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

bool LineReader::fill() {
    if (eof_) return false;
    len_ = std::fread(block_.get(), 1, kBlockSize, file_);
    pos_ = 0;
    if (len_ == 0) eof_ = true;
    return len_ > 0;
}

// ---------------------------------------------------------------- words

int splitWords(char *text, char **words, int max) {
    int count = 0;
    char *p = text;
    while (count < max) {
        p += std::strspn(p, kBlanks);
        if (*p == '\0') break;
        words[count++] = p;
        p += std::strcspn(p, kBlanks);
        if (*p == '\0') break;
        *p++ = '\0';
    }
    return count;
}

RecordLine splitRecordLine(char *line) {
    RecordLine r;
    char *p = line;
    p += std::strspn(p, kBlanks);
    const char *end = nullptr;
    if (!leadingInt(p, &r.number, &end)) return r;
    r.items = 1 + splitWords(line + (end - line), r.words, 5);
    return r;
}

bool isRecordLine(const RecordLine &r) { return r.items >= 4 && isValueWord(r.words[2]); }

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

// ---------------------------------------------------------------- the header

void readHead(LineReader &reader, Head &head) {
    head.count = 0;
    while (head.count < 7 && reader.next(head.lines[head.count])) ++head.count;
    for (int k = head.count; k < 7; ++k) head.lines[k][0] = '\0';
    head.interval = lineInterval(head);
}

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

char headUnit(Head &head) {
    char *words[2];
    return splitWords(head.lines[5], words, 2) == 2 ? words[1][0] : '\0';
}

bool hasRecordLine(const Head &head) {
    if (head.count < 7) return false;
    char scratch[DATA_FILE_LINE_MAX + 1];
    std::memcpy(scratch, head.lines[6], sizeof scratch);
    return isRecordLine(splitRecordLine(scratch));
}

// ---------------------------------------------------------------- the date order

void DateScan::add(const RecordLine &r, cRtc times[3]) {
    // record numbers kept within a range whose steps times an interval cannot overflow
    constexpr long long kNumberBound = 1000000000LL;
    if (records_ == 0) yearFirst_ = yearFirst(r.words[0]);
    const int number = clampInt(r.number, INT_MIN, INT_MAX);
    const long long bounded =
        r.number < -kNumberBound ? -kNumberBound : (r.number > kNumberBound ? kNumberBound : r.number);
    unsigned read = 0;
    times[0] = times[1] = times[2] = 0;
    if (reads_[0] || reads_[1] || reads_[2]) read = rtc2CRtcOrders(r.words[0], r.words[1], times);
    for (int order = 0; order < 3; ++order) {
        if (!reads_[order]) continue;
        if ((read & (1u << order)) == 0) {
            reads_[order] = false;
            unread_[order] = number;
            continue;
        }
        ++readBefore_[order];
        if (records_ > 0 && interval_ > 0 &&
            static_cast<long long>(times[order]) - previousTime_[order] != interval_ * (bounded - previousNumber_))
            advances_[order] = false;
        previousTime_[order] = times[order];
    }
    previousNumber_ = bounded;
    ++records_;
}

int DateScan::firstOrder(int preferred) const {
    if (yearFirst_) return DATE_ORDER_YMD;
    return preferred == DATE_ORDER_DMY ? DATE_ORDER_DMY : DATE_ORDER_MDY;
}

DataFileDates DateScan::finish(int preferred) const {
    DataFileDates result;
    result.records = records_;
    // A four-digit first field is a year: year-month-day. Otherwise month-day-year against
    // day-month-year, the preference's first: every date valid and one interval apart wins,
    // else every date valid.
    int candidates[2] = {DATE_ORDER_MDY, DATE_ORDER_DMY};
    if (preferred == DATE_ORDER_DMY) std::swap(candidates[0], candidates[1]);
    int tried = 2;
    if (yearFirst_) {
        candidates[0] = DATE_ORDER_YMD;
        tried = 1;
    }
    result.order = candidates[0];
    result.fits = false;
    for (int pass = 0; pass < 2 && !result.fits; ++pass) {
        for (int k = 0; k < tried; ++k) {
            const int order = candidates[k];
            if (reads_[order] && (pass == 1 || advances_[order])) {
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
            if (readBefore_[candidates[k]] > readBefore_[result.order]) result.order = candidates[k];
        result.firstUnread = unread_[result.order];
    }
    return result;
}

DataFileDates scanRecordLines(LineReader &reader, Head &head, int preferred) {
    DateScan scan(head.interval);
    forEachRecordLine(reader, head, [&](RecordLine &r) {
        cRtc times[3];
        scan.add(r, times);
        return true;
    });
    return scan.finish(preferred);
}

DataFileDates scanDates(LineReader &reader, int preferred) {
    Head head;
    readHead(reader, head);
    return scanRecordLines(reader, head, preferred);
}

cRtc todayMidnight() { return nowCRtc() / 86400u * 86400u; }

}   // namespace datafile
