// Reading a data file line by line and word by word: the lines of a file or of a text in
// memory, the header's fields, the record lines and the scan that finds the order of the
// record dates. Internal to the datafile module.
#pragma once

#include <cstddef>
#include <cstdio>
#include <memory>
#include <vector>

#include "datafile/DataFileText.h"
#include "model/Clock.h"

namespace datafile {

// Lines of a file or of a text in memory, each cut to its first DATA_FILE_LINE_MAX characters
// (the rest of a longer line is skipped). A zero byte ends the line's text.
class LineReader {
public:
    explicit LineReader(std::FILE *file);
    LineReader(const char *text, std::size_t length) : data_(text), len_(text != nullptr ? length : 0), eof_(true) {}

    // The next line into line (DATA_FILE_LINE_MAX + 1 bytes); false at the end of the input.
    bool next(char *line);

private:
    bool fill();

    std::FILE *file_ = nullptr;       // null for a text in memory
    std::unique_ptr<char[]> block_;   // a file's block; none for a text in memory
    const char *data_;                // the block, or the text in memory
    std::size_t pos_ = 0, len_ = 0;
    bool eof_ = false;   // a text in memory has nothing more to read
};

// Splits text in place into at most max words (runs of non-blank characters). Returns the count.
int splitWords(char *text, char **words, int max);

// A record line: a record number, then up to five words (date, time, up to three values).
struct RecordLine {
    long long number = 0;
    char *words[5] = {};
    int items = 0;   // the number and the words found
};

// Splits line in place. items counts the record number and the words; 0 when the line does not
// start with a decimal number.
RecordLine splitRecordLine(char *line);

// A record line carries a record number, a date and a time word (which may not read) and at
// least one value: a line of any other text is no record, even when it starts with a number.
bool isRecordLine(const RecordLine &r);

// The sample interval of the line-4 word: "HH:MM:SS" when the third character is a colon
// (a missing or non-numeric field counts 0), else the leading number ("10sec." is 10).
// False when there is no number at all (the interval then stays as it was).
bool parseSampleRate(const char *word, int *rate);

// The first seven lines of a data file, read ahead: the first record line may correct the model.
struct Head {
    char lines[7][DATA_FILE_LINE_MAX + 1];
    int count = 0;
    int interval = 0;   // line 4's sample interval, 0 when it has none
};

void readHead(LineReader &reader, Head &head);

// Line 1: "#<model index>"; without it (or with an index outside the model table) the model is
// index 1. A one-channel model (7, 8) whose first record has a second value is its two-channel
// twin.
int headModel(const Head &head);

// Line 6: the unit letter, the first character of its second word; '\0' when there is none.
// Splits the line in place.
char headUnit(Head &head);

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

// True when line 7 of the header is a record line: a file without one is no data file.
bool hasRecordLine(const Head &head);

// The order of the record dates, found while the record lines go by: a file is written in the
// preference of the PC that saved it, which need not be this one's.
class DateScan {
public:
    // interval: the sample interval consecutive records should lie apart (line 4's).
    explicit DateScan(int interval) : interval_(interval) {}

    // Takes a record line into the scan: its date and time read under the three orders into
    // times (0 where they do not read; all 0 once no order reads every record so far).
    void add(const RecordLine &r, cRtc times[3]);
    // The order the records are read in when they fit it: the first one tried, decided by the
    // first record (a year first: year-month-day; else the preferred of month-day-year and
    // day-month-year).
    int firstOrder(int preferred) const;
    // The dates of the records taken (see DataFileDates), preferred order first.
    DataFileDates finish(int preferred) const;

private:
    int records_ = 0;
    bool reads_[3] = {true, true, true};      // every record's date and time convert
    bool advances_[3] = {true, true, true};   // and consecutive records lie one interval apart
    int unread_[3] = {0, 0, 0};               // the first record number that does not convert
    int readBefore_[3] = {0, 0, 0};           // the records that converted before it
    long long previousTime_[3] = {0, 0, 0}, previousNumber_ = 0;
    bool yearFirst_ = false;   // the first record's date starts with a four-digit field
    long long interval_;
};

// The record lines from line 7 on, up to the first line that is not one, through the scan.
DataFileDates scanRecordLines(LineReader &reader, Head &head, int preferred);

// How the record dates of a data file read in the three orders, preferred first.
DataFileDates scanDates(LineReader &reader, int preferred);

// Today's midnight, where the records of a file whose dates fit no order start.
cRtc todayMidnight();

// A stored record whose time waits for the date order: its index and its times in the orders.
struct PendingTime {
    int n;
    cRtc times[3];
};
// The pending times of the file being read, kept from file to file so that reading one
// allocates nothing once the list has grown (datafile_state.cpp).
extern std::vector<PendingTime> pendingTimes;

// The record lines from line 7 on, up to the first line that is not one, in one pass: every
// line's date goes into the scan of the date order, and each record goes to store(n, time,
// values) with n = its record number - 1, which returns whether it was stored. A record number
// outside 0..capacity - 1 is refused; once capacity records are stored the lines after are
// only scanned (the first of them is refused). A record is stored with its time in the order
// tried first; when the file turns out to be in another order, or in none (then the records lie
// one interval apart from today's midnight), setTime(n, time) corrects it, in the order the
// records were stored. Returns the dates; *stored counts the records stored, *refused the
// lines refused.
template <class Store, class SetTime>
DataFileDates readRecordLines(LineReader &reader, Head &head, int capacity, int preferred, int *stored, int *refused,
                              Store &&store, SetTime &&setTime) {
    DateScan scan(head.interval);
    std::vector<PendingTime> &pending = pendingTimes;
    pending.clear();
    int order = -1;   // the order tried first, known from the first record
    bool storing = true;
    *stored = 0;
    forEachRecordLine(reader, head, [&](RecordLine &r) {
        PendingTime p;
        scan.add(r, p.times);
        if (order < 0) order = scan.firstOrder(preferred);
        if (!storing) return true;
        if (*stored >= capacity) {
            ++*refused;
            storing = false;
            return true;
        }
        const long long n = r.number - 1;
        if (n < 0 || n >= capacity) {
            ++*refused;
            return true;
        }
        p.n = static_cast<int>(n);
        double values[3];
        for (int k = 0; k < 3; ++k) values[k] = GetFileVal(2 + k < r.items - 1 ? r.words[2 + k] : "");
        if (store(p.n, p.times[order], values)) {
            ++*stored;
            pending.push_back(p);
        } else {
            ++*refused;
        }
        return true;
    });
    const DataFileDates dates = scan.finish(preferred);
    if (!dates.fits || dates.order != order) {
        const cRtc today = dates.fits || pending.empty() ? 0 : todayMidnight();
        const cRtc interval = static_cast<cRtc>(head.interval > 0 ? head.interval : 0);
        for (const PendingTime &p : pending)
            setTime(p.n, dates.fits ? p.times[dates.order] : today + interval * static_cast<cRtc>(p.n));
    }
    return dates;
}

}   // namespace datafile
