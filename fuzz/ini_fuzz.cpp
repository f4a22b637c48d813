// Fuzz target for the INI store, all in memory: arbitrary bytes as the text of a file for the
// reader, then lookups with names taken from the input (each tag under its own section and
// under another), puts, the text the writer makes and a second read of that text.
//
// Checked beyond the sanitizers: reading a text succeeds; every value handed out is a
// readable, terminated text; a put is found again with its value; the writer's text reads
// back with the same number of sections.

#include "ini/inifile.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace {

void check(bool ok, const char *what) {
    if (!ok) {
        std::fprintf(stderr, "ini_fuzz: %s\n", what);
        std::abort();
    }
}

// Names found in the input: the bracketed part of a line (a section) and the part before '='
// (a tag), each tag with the section it stands under (the last one before it, else the
// extra "General" at the end of the list). The names are kept one after the other in one
// buffer, each followed by a zero byte, so that finding them costs a single allocation.
struct Names {
    std::string text;
    std::vector<size_t> sections;     // where each section's name starts in text
    std::vector<size_t> tags;         // where each tag starts in text
    std::vector<size_t> tagSection;   // per tag, its index in sections
    const char *section(size_t k) const { return text.c_str() + sections[k]; }
    const char *tag(size_t k) const { return text.c_str() + tags[k]; }
};

// The length of the line at p (up to CR, LF or NUL, at most n bytes), found with memchr:
// a loop over the bytes would cost more than the store's whole read.
size_t lineLength(const uint8_t *p, size_t n) {
    for (const int c : {'\n', '\r', '\0'}) {
        const void *hit = std::memchr(p, c, n);
        if (hit != nullptr) n = static_cast<size_t>(static_cast<const uint8_t *>(hit) - p);
    }
    return n;
}

Names candidates(const uint8_t *data, size_t size) {
    constexpr size_t kMax = 24;
    Names names;
    std::vector<size_t> &sectionAt = names.sections;
    std::vector<size_t> &tagAt = names.tags;
    sectionAt.reserve(kMax + 1);
    tagAt.reserve(kMax + 1);
    names.tagSection.reserve(kMax + 1);
    names.text.reserve(size + 32);   // mostly enough: names are parts of lines (a line's two may overlap)
    const auto keep = [&names](std::string_view name) {
        const size_t at = names.text.size();
        names.text.append(name);
        names.text.push_back('\0');
        return at;
    };
    bool inSection = false;
    for (size_t start = 0; start <= size && (sectionAt.size() < kMax || tagAt.size() < kMax);) {
        const size_t length = lineLength(data + start, size - start);
        const std::string_view line(reinterpret_cast<const char *>(data) + start, length);
        start += length + 1;
        const size_t open = line.find('[');
        const void *last = memrchr(line.data(), ']', line.size());
        const size_t close =
            last != nullptr ? static_cast<size_t>(static_cast<const char *>(last) - line.data()) : line.npos;
        if (open != line.npos && close != line.npos && close > open && sectionAt.size() < kMax) {
            sectionAt.push_back(keep(line.substr(open + 1, close - open - 1)));
            inSection = true;
        }
        const size_t eq = line.find('=');
        if (eq != line.npos && tagAt.size() < kMax) {
            tagAt.push_back(keep(line.substr(0, eq)));
            names.tagSection.push_back(inSection ? sectionAt.size() - 1 : kMax);
        }
    }
    for (size_t &k : names.tagSection)
        if (k == kMax) k = sectionAt.size();
    sectionAt.push_back(keep("General"));
    tagAt.push_back(keep("Language File"));
    names.tagSection.push_back(sectionAt.size() - 1);
    return names;
}

// Every lookup of a tag in a section gives one of its defined results (the raw text only, or
// the integer and the real as well).
void lookUp(IniHandle ini, const char *s, const char *t, bool converted) {
    const char *value = nullptr;
    const int found = Ini_GetPointerToRawString(ini, s, t, &value);
    check(found == 0 || found == 1, "raw string result");
    check((found == 1) == (value != nullptr), "raw string pointer");
    if (value != nullptr) (void)std::strlen(value);
    if (!converted) return;
    int n = 0;
    const int ri = Ini_GetInt(ini, s, t, &n);
    check(ri == 1 || ri == 0 || ri == INI_ERR_NOT_INTEGER, "integer result");
    double d = 0;
    const int rd = Ini_GetDouble(ini, s, t, &d);
    check(rd == 1 || rd == 0 || rd == INI_ERR_NOT_NUMBER, "real result");
}

}   // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const bool sorted = size == 0 || (data[0] & 1) == 0;
    IniHandle ini = Ini_New(sorted ? 1 : 0);
    check(ini != nullptr, "no store");
    check(Ini_ReadFromText(ini, reinterpret_cast<const char *>(data), size) == 0, "reading a text failed");

    const Names names = candidates(data, size);
    const size_t sectionCount = names.sections.size();
    const size_t tagCount = names.tags.size();

    // Every section counted; every tag looked up under its own section (mostly found) and its
    // raw text under the next one (mostly not). The tags stand in the order of their sections,
    // so each pass asks for one section many times in a row, as a program reading a section
    // does, and the store finds it again without a search.
    const int count = Ini_NumberOfSections(ini);
    check(count >= 0, "negative section count");
    for (size_t i = 0; i < sectionCount; ++i) {
        const char *s = names.section(i);
        const int items = Ini_NumberOfItems(ini, s);
        check(items >= 0, "negative item count");
        check(items == 0 || Ini_SectionExists(ini, s) == 1, "a section with items does not exist");
    }
    for (size_t k = 0; k < tagCount; ++k) lookUp(ini, names.section(names.tagSection[k]), names.tag(k), true);
    for (size_t k = 0; k < tagCount; ++k)
        lookUp(ini, names.section((names.tagSection[k] + 1) % sectionCount), names.tag(k), false);

    // Puts into sections and tags of the input: each is found again with its value.
    double real = 0.0;
    if (size >= sizeof real) std::memcpy(&real, data + size - sizeof real, sizeof real);
    for (size_t i = 0; i < sectionCount && i < 4; ++i) {
        const char *s = names.section(i);
        const char *t = names.tag(i % tagCount);
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

    // The writer's text, read back.
    std::string text;
    check(Ini_WriteToText(ini, text) == 0, "writing failed");
    IniHandle back = Ini_New(sorted ? 1 : 0);
    check(back != nullptr, "no store");
    check(Ini_ReadFromText(back, text.data(), text.size()) == 0, "reading the written text failed");
    check(Ini_NumberOfSections(back) == Ini_NumberOfSections(ini), "sections lost or made by writing");

    Ini_Dispose(back);
    Ini_Dispose(ini);
    return 0;
}
