// Fuzz target for the data-file reader, all in memory: arbitrary bytes read as the text of a
// data file into the record store, as the Retrieve File command reads a file (without the
// dialog and the windows).
//
// Checked beyond the sanitizers: the model index stays in the model table, the record count
// within the store's capacity and the identifier within its field; no value read is NaN or
// infinite. When every value is of moderate size, the text the writer makes of the data, read
// back once more, gives the very same text (the writer and the reader agree).
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "files/DataFile.h"
#include "base/Prefs.h"
#include "model/Models.h"
#include "model/Records.h"
#include "base/clock.h"

namespace {

void check(bool ok) {
    if (!ok) std::abort();
}

// Every present value of the records held; false when one is not finite. *moderate: all
// values below 1e6 in size (their fields fit a 78-character line).
bool valuesFinite(bool *moderate) {
    *moderate = true;
    double *views[3] = {vTemPtr, vTem2Ptr, vRhPtr};
    for (int i = 0; i < recordCapacity(); ++i)
        for (double *v : views) {
            if (v == nullptr) continue;
            if (!std::isfinite(v[i])) return false;
            if (std::fabs(v[i]) >= 1e6) *moderate = false;
        }
    return true;
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
    const int count = parseDataFile(reinterpret_cast<const char *>(data), size);
    check(count == loggedLength);
    check(currDeviceId >= 0 && currDeviceId < MODEL_COUNT);
    check(recordLayout() == loggerType(currDeviceId));
    check(loggedLength >= 0 && loggedLength <= recordCapacity());
    check(std::memchr(eId, 0, sizeof eId) != nullptr);
    check(eLength >= 0 && eLength <= MAX_RECORDS);
    bool moderate = true;
    check(valuesFinite(&moderate));

    // Written, read back and written again: the same text.
    // (An interval of 100 hours or more reads back as seconds: left out.)
    static std::string first, second;
    if (moderate && eSampleRate >= 0 && eSampleRate < 360000 && formatDataFile(first)) {
        check(parseDataFile(first.data(), first.size()) == count);
        check(formatDataFile(second));
        check(first == second);
    }
    return 0;
}
