// Reading a data file: into the record store and the logger description, or into arrays of
// the caller's own, in one pass over the text. The order of the dates is known only after the
// last record line, so the records are stored with their times in the order tried first, and
// corrected at the end when the file turns out to be in another one (or in none).
#include <cstdio>

#include "base/Prefs.h"
#include "datafile/CText.h"
#include "datafile/DataFileText.h"
#include "datafile/Lines.h"
#include "model/Models.h"
#include "model/Records.h"

using namespace datafile;

namespace {

// Reads the lines of a data file into the record store and the logger description, reporting
// each record stored, and the dates into *dates. Returns the number of records stored, or
// DATA_FILE_NO_RECORDS (nothing changed) when line 7 is no record line.
int parseLines(LineReader &reader, const DataFileProgress &progress, DataFileDates *dates) {
    Head head;
    readHead(reader, head);
    if (!hasRecordLine(head)) return DATA_FILE_NO_RECORDS;

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
    int lastShown = 0, stored = 0;
    *dates = readRecordLines(
        reader, head, recordCapacity(), sLocal.dateFormat, &stored, &fileRefusedRecords,
        [&](int n, cRtc time, const double *values) {
            if (storeLineAt(n, time, values) < 0) return false;
            lastShown = n + 1;
            if (progress.step != nullptr) progress.step(lastShown, total, false, progress.data);
            return true;
        },
        [](int n, cRtc time) { rtcPtr[n] = time; });
    fileDates = *dates;
    if (progress.step != nullptr && lastShown > 0) progress.step(lastShown, total, true, progress.data);
    // the records keep the description they came with, the identifier included
    describeRecords(true);
    return loggedLength;
}

// A data file's model, unit and records into the arrays reader.layOut gives for the model, the
// dates into *dates. DATA_FILE_NO_RECORDS (layOut not called) when line 7 is no record line.
int parseRecordsInto(LineReader &lines, const RecordReader &reader, int *refused, DataFileDates *dates) {
    Head head;
    readHead(lines, head);
    int ignored = 0;
    if (refused == nullptr) refused = &ignored;
    if (!hasRecordLine(head)) {
        *dates = DateScan(head.interval).finish(sLocal.dateFormat);
        return DATA_FILE_NO_RECORDS;
    }
    const int model = headModel(head);
    const RecordArrays a = reader.layOut(model, headUnit(head), reader.data);
    *refused = 0;
    if (a.times == nullptr || a.tem == nullptr) {
        *dates = scanRecordLines(lines, head, sLocal.dateFormat);
        return 0;
    }
    int stored = 0;
    *dates = readRecordLines(
        lines, head, a.capacity, sLocal.dateFormat, &stored, refused,
        [&](int n, cRtc time, const double *values) {
            // the values in the order of the record line: temperature, then the channels the
            // model has
            int k = 0;
            a.times[n] = time;
            a.tem[n] = values[k++];
            if (a.tem2 != nullptr) a.tem2[n] = values[k++];
            if (a.rh != nullptr) a.rh[n] = values[k];
            if (reader.progress != nullptr) reader.progress(n + 1, reader.data);
            return true;
        },
        [&](int n, cRtc time) { a.times[n] = time; });
    return stored;
}

}   // namespace

// ---------------------------------------------------------------- into the record store

DataFileDates dataFileDates(const char *text, std::size_t length, int preferred) {
    LineReader reader(text, length);
    return scanDates(reader, preferred);
}

int parseDataFile(const char *text, std::size_t length, const DataFileProgress &progress) {
    LineReader reader(text, length);
    DataFileDates dates;
    return parseLines(reader, progress, &dates);
}

int readDataFileStream(std::FILE *file, const DataFileProgress &progress) {
    if (file == nullptr) return DATA_FILE_NOT_OPENED;
    LineReader reader(file);
    DataFileDates dates;
    return parseLines(reader, progress, &dates);
}

// ---------------------------------------------------------------- into other arrays

int parseDataFileRecords(const char *text, std::size_t length, const RecordReader &reader, int *refused,
                         DataFileDates *dates) {
    if (reader.layOut == nullptr) return 0;
    LineReader lines(text, length);
    DataFileDates found;
    const int stored = parseRecordsInto(lines, reader, refused, &found);
    if (dates != nullptr) *dates = found;
    return stored;
}

int readDataFileRecordsStream(std::FILE *file, const RecordReader &reader, int *refused, DataFileDates *dates) {
    if (file == nullptr || reader.layOut == nullptr) return DATA_FILE_NOT_OPENED;
    LineReader lines(file);
    DataFileDates found;
    const int stored = parseRecordsInto(lines, reader, refused, &found);
    if (dates != nullptr) *dates = found;
    return stored;
}
