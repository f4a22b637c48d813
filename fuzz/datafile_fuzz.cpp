// Fuzz target for the data-file reader: arbitrary bytes written to a file and read back into
// the record store, as the Retrieve File command does (without the file dialog).
//
// Checked beyond the sanitizers: the model index stays in the model table, the record count
// within the store's capacity and the identifier within its field; no value read is NaN or
// infinite. When every value is of moderate size, the data saved again and read back once more
// save to the very same bytes (the writer and the reader agree).
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include <unistd.h>

#include "files/DataFile.h"
#include "local/Prefs.h"
#include "model/Models.h"
#include "model/Records.h"
#include "runtime/clock.h"

namespace {

void check(bool ok) {
    if (!ok) std::abort();
}

std::string scratch(const char *name) {
    const char *dir = std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : "/tmp";
    return std::string(dir) + "/tavix-datafile-fuzz-" + std::to_string(::getpid()) + "-" + name;
}

std::string slurp(const std::string &path) {
    std::string s;
    if (std::FILE *f = std::fopen(path.c_str(), "rb")) {
        char buf[65536];
        std::size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) s.append(buf, n);
        std::fclose(f);
    }
    return s;
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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    static const std::string input = scratch("in.txt"), first = scratch("a.txt"), second = scratch("b.txt");
    static const bool ready = [] {
        resetModelState();
        rt::SetClock({2026, 12, 10, 9, 30, 0});
        return true;
    }();
    (void)ready;

    sLocal.dateFormat = static_cast<signed char>(size % 3);
    std::FILE *f = std::fopen(input.c_str(), "wb");
    if (f == nullptr) return 0;
    std::fwrite(data, 1, size, f);
    std::fclose(f);

    const int count = readDataFile(input.c_str());
    check(count == loggedLength);
    check(currDeviceId >= 0 && currDeviceId < MODEL_COUNT);
    check(recordLayout() == loggerType(currDeviceId));
    check(loggedLength >= 0 && loggedLength <= recordCapacity());
    check(std::memchr(eId, 0, sizeof eId) != nullptr);
    check(eLength >= 0 && eLength <= MAX_RECORDS);
    bool moderate = true;
    check(valuesFinite(&moderate));

    // Saved, read back and saved again: the same bytes.
    // (An interval of 100 hours or more reads back as seconds: left out.)
    if (moderate && eSampleRate >= 0 && eSampleRate < 360000 && saveDataFile(first.c_str()) == 0) {
        check(readDataFile(first.c_str()) == count);
        check(saveDataFile(second.c_str()) == 0);
        check(slurp(first) == slurp(second));
    }
    return 0;
}
