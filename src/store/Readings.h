// Inside the archive: the records held and archived recordings side by side. Values are
// judged as the data file shows them (one decimal, a sensor error by its code), so a download
// and the same records saved and read back compare equal.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/Clock.h"
#include "store/Archive.h"

namespace store {

// The records of one recording, by channel: times[i] is record i + 1's time; a channel the
// model lacks has no values (its vector is empty).
struct RecordSet {
    std::vector<cRtc> times;
    std::vector<double> values[3];   // temperature, second temperature, humidity
    int count() const { return static_cast<int>(times.size()); }
};

// The record store's records (loggedLength of them) by channel.
RecordSet heldRecords();

// The value stored for a value held: the measurement as the data file shows it (21.43 →
// 21.4), a sensor error as the data file reads it back.
double shownValue(double value);
// Whether two values look the same in the data file.
bool sameAsShown(double a, double b);

// The first records of an archived recording (at most limit; all when limit is 0). False
// (error) when the database refuses.
bool loadRecordSet(std::int64_t recording, int limit, RecordSet &out, std::string &error);

// The first record where two record sets differ, over the records both hold: its number and
// field (None and 0 when they agree there).
struct Difference {
    int record = 0;
    ArchiveField field = ArchiveField::None;
};
Difference firstDifference(const RecordSet &held, const RecordSet &archived);

// Writes records first..last (1-based, inclusive) of set as readings of the recording, in
// statements of many rows each. False (error) when the database refuses.
bool insertReadings(std::int64_t recording, const RecordSet &set, int first, int last, std::string &error);

}   // namespace store
