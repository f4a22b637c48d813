// Fuzz target for the data-file reader, all in memory: arbitrary bytes read as the text of a
// data file into the record store, as the Retrieve File command reads a file (without the
// dialog and the windows).
//
// Checked beyond the sanitizers: a text without a record line is refused and changes nothing;
// otherwise the model index stays in the model table, the record count within the store's
// capacity and the identifier within its field; no value read is NaN or infinite. When every
// value is of moderate size, the text the writer makes of the data, read back once more, gives
// the very same text (the writer and the reader agree).
#include <cfloat>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "base/Prefs.h"
#include "base/clock.h"
#include "datafile/DataFileText.h"
#include "model/Models.h"
#include "model/Records.h"

namespace {

void check(bool ok, const char *what) {
    if (!ok) {
        std::fprintf(stderr, "datafile_fuzz: %s\n", what);
        std::abort();
    }
}

// What the reader reported: every value it stored is finite; moderate while all of them are
// below 1e6 in size (their fields fit a 78-character line). The reader reports each record as
// it stores it (at the index of its record number, wherever that lies in the layout): the
// values are checked there and then, not by going over the whole store every input.
struct Stored {
    bool finite = true;
    bool moderate = true;
    int reports = 0;   // records reported (the last report aside)
    int last = 0;      // the record number of the last report
};

void checkRecord(int number, int total, bool last, void *data) {
    Stored &s = *static_cast<Stored *>(data);
    check(number >= 1 && number <= recordCapacity(), "a record reported outside the layout");
    check(total >= 0 && total <= recordCapacity(), "more records promised than the layout holds");
    if (last) {
        check(number == s.last, "the last report is not the last record stored");
        return;
    }
    s.last = number;
    ++s.reports;
    for (const double *v : {vTemPtr, vTem2Ptr, vRhPtr}) {
        if (v == nullptr) continue;
        const double size = std::fabs(v[number - 1]);
        s.finite = s.finite && size <= DBL_MAX;   // false for NaN too
        s.moderate = s.moderate && size < 1e6;
    }
}

}   // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    static const bool ready = [] {
        resetModelState();
        rt::SetClock({2026, 12, 10, 9, 30, 0});
        return true;
    }();
    (void)ready;

    sLocal.dateFormat = static_cast<signed char>(size % 3);
    // A text without a record line is refused and changes nothing: not even the store is
    // emptied (which counts a new set of records).
    const unsigned generation = recordsGeneration;
    const int lengthBefore = loggedLength, modelBefore = currDeviceId;
    Stored stored;
    const int count = parseDataFile(reinterpret_cast<const char *>(data), size, {checkRecord, &stored});
    if (count == DATA_FILE_NO_RECORDS) {
        check(recordsGeneration == generation && loggedLength == lengthBefore && currDeviceId == modelBefore,
              "a refused text changed the records held");
        return 0;
    }
    check(count == loggedLength, "the count returned is not the records held");
    check(currDeviceId >= 0 && currDeviceId < MODEL_COUNT, "model index outside the table");
    check(recordLayout() == loggerType(currDeviceId), "the store is not laid out for the model");
    check(loggedLength >= 0 && loggedLength <= recordCapacity(), "more records than the layout holds");
    check(std::memchr(eId, 0, sizeof eId) != nullptr, "identifier not terminated in its field");
    check(eLength >= 0 && eLength <= MAX_RECORDS, "readings reported outside 0..16000");
    check(stored.reports == count, "a record stored was not reported, or reported twice");
    check(stored.finite, "a value read is not finite");

    // Written, read back and written again: the same text. A text whose record lines were all
    // refused is written without records, and that text is refused in turn.
    // (An interval of 100 hours or more reads back as seconds: left out.)
    static std::string first, second;
    if (stored.moderate && eSampleRate >= 0 && eSampleRate < 360000 && formatDataFile(first)) {
        Stored again;
        check(parseDataFile(first.data(), first.size(), {checkRecord, &again}) ==
                  (count > 0 ? count : DATA_FILE_NO_RECORDS),
              "the text written reads back as another number of records");
        check(formatDataFile(second), "the text cannot be made again");
        check(first == second, "the text read back is written otherwise");
    }
    return 0;
}
