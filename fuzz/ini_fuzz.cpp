// Fuzz target for the INI store: arbitrary bytes as a file for the reader, then lookups with
// names taken from the input, puts, a write through the temporary-file replacement and a
// second read of what was written.
//
// Checked beyond the sanitizers: reading a regular file succeeds; every value handed out is
// a readable, terminated text; a put is found again with its value; a write succeeds and
// reads back with the same number of sections.

#include "ini/inifile.h"

#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace {

// Scratch files in memory where possible (the writer syncs its file to the disk), removed
// when the fuzzer exits.
struct ScratchDir {
    std::filesystem::path path;
    ScratchDir() {
        namespace fs = std::filesystem;
        std::error_code ec;
        const fs::path base = fs::is_directory("/dev/shm", ec) ? fs::path("/dev/shm") : fs::temp_directory_path();
        path = base / ("tavix_ini_fuzz_" + std::to_string(getpid()));
        fs::create_directories(path, ec);
    }
    ~ScratchDir() {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
};

void check(bool ok, const char *what) {
    if (!ok) {
        std::fprintf(stderr, "ini_fuzz: %s\n", what);
        std::abort();
    }
}

// Candidate section names and tags: the bracketed part and the part before '=' of each line.
void candidates(const uint8_t *data, size_t size, std::vector<std::string> &sections, std::vector<std::string> &tags) {
    constexpr size_t kMax = 24;
    size_t start = 0;
    for (size_t i = 0; i <= size && (sections.size() < kMax || tags.size() < kMax); ++i) {
        if (i < size && data[i] != '\r' && data[i] != '\n' && data[i] != '\0') continue;
        const std::string line(reinterpret_cast<const char *>(data) + start, i - start);
        start = i + 1;
        const size_t open = line.find('[');
        const size_t close = line.rfind(']');
        if (open != std::string::npos && close != std::string::npos && close > open && sections.size() < kMax) {
            sections.push_back(line.substr(open + 1, close - open - 1));
        }
        const size_t eq = line.find('=');
        if (eq != std::string::npos && tags.size() < kMax) tags.push_back(line.substr(0, eq));
    }
    sections.push_back("General");
    tags.push_back("Language File");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    static const ScratchDir scratch;
    const std::string in = (scratch.path / "in.ini").string();
    const std::string out = (scratch.path / "out.ini").string();

    std::FILE *f = std::fopen(in.c_str(), "wb");
    if (f == nullptr) return 0;
    if (size > 0) std::fwrite(data, 1, size, f);
    std::fclose(f);

    const bool sorted = size == 0 || (data[0] & 1) == 0;
    IniHandle ini = Ini_New(sorted ? 1 : 0);
    check(ini != nullptr, "no store");
    check(Ini_ReadFromFile(ini, in.c_str()) == 0, "reading a regular file failed");

    std::vector<std::string> sections;
    std::vector<std::string> tags;
    candidates(data, size, sections, tags);

    const int count = Ini_NumberOfSections(ini);
    check(count >= 0, "negative section count");
    for (const std::string &s : sections) {
        const int items = Ini_NumberOfItems(ini, s.c_str());
        check(items >= 0, "negative item count");
        check(items == 0 || Ini_SectionExists(ini, s.c_str()) == 1, "a section with items does not exist");
        for (const std::string &t : tags) {
            const char *value = nullptr;
            const int found = Ini_GetPointerToRawString(ini, s.c_str(), t.c_str(), &value);
            check(found == 0 || found == 1, "raw string result");
            check((found == 1) == (value != nullptr), "raw string pointer");
            if (value != nullptr) (void)std::strlen(value);
            int n = 0;
            const int ri = Ini_GetInt(ini, s.c_str(), t.c_str(), &n);
            check(ri == 1 || ri == 0 || ri == INI_ERR_NOT_INTEGER, "integer result");
            double d = 0;
            const int rd = Ini_GetDouble(ini, s.c_str(), t.c_str(), &d);
            check(rd == 1 || rd == 0 || rd == INI_ERR_NOT_NUMBER, "real result");
        }
    }

    // Puts into sections and tags of the input: each is found again with its value.
    double real = 0.0;
    if (size >= sizeof real) std::memcpy(&real, data + size - sizeof real, sizeof real);
    for (size_t i = 0; i < sections.size() && i < 4; ++i) {
        const char *s = sections[i].c_str();
        const char *t = tags[i % tags.size()].c_str();
        if (Ini_PutInt(ini, s, t, static_cast<int>(i) - 2) == 0) {
            int n = 12345;
            check(Ini_GetInt(ini, s, t, &n) == 1 && n == static_cast<int>(i) - 2, "put integer not found");
        }
        if (Ini_PutDouble(ini, s, "Real", real) == 0) {
            double d = 0;
            const int rd = Ini_GetDouble(ini, s, "Real", &d);
            if (std::isnan(real)) {
                check(rd == 1 && std::isnan(d), "put NaN not found");
            } else if (std::isinf(real) || real == 0.0 || std::isnormal(real)) {
                check(rd == 1, "put real not found");
                check(d == real || std::fabs(d - real) <= std::fabs(real) * 1e-15, "put real changed");
            }
        }
    }

    // Write through the temporary file and read back.
    check(Ini_WriteToFile(ini, out.c_str()) == 0, "writing failed");
    IniHandle back = Ini_New(sorted ? 1 : 0);
    check(back != nullptr, "no store");
    check(Ini_ReadFromFile(back, out.c_str()) == 0, "reading the written file failed");
    check(Ini_NumberOfSections(back) == Ini_NumberOfSections(ini), "sections lost or made by writing");

    Ini_Dispose(back);
    Ini_Dispose(ini);
    return 0;
}
