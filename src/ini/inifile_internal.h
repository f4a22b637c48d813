// What the parts of the INI store share: the store's layout, its limits and the name
// helpers every part compares and trims with. Private to src/ini.
//
// Everything works on bytes. The language files are UTF-8, and UTF-8 never places an ASCII
// byte inside a multibyte character (lead and trail bytes are all 0x80 or above), so a byte
// equal to '[', ']', '=', '"' or ';' is always that character and the scans need no
// knowledge of the encoding: UTF-8 text passes through unchanged. Case folding touches the
// ASCII letters only; any other byte compares by its value.
#pragma once

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "ini/inifile.h"

namespace ini_detail {

// Room for the items and texts of one store: blocks taken from the heap that never move and
// are given back all at once with the store. A store holds many small items, each with up to
// three texts; as heap objects of their own they cost an allocation apiece, and a value handed
// out by Ini_GetPointerToRawString has to stay where it is, which blocks that never move give
// for free. Room handed out is not reused: a replaced item's room goes back with the store
// (stores live from a read or a few puts to a write). Under the address sanitizer every
// piece is fenced by poisoned bytes and a released piece is poisoned again, so overruns and
// uses of a replaced value are still caught.
class Arena {
public:
    Arena() = default;
    Arena(const Arena &) = delete;
    Arena &operator=(const Arena &) = delete;
    ~Arena();

    // n bytes aligned for any item; throws std::bad_alloc.
    void *allocate(std::size_t n);
    // A copy of the text followed by a zero byte (the empty text needs no room).
    std::string_view copy(std::string_view text);
    // The piece will not be used again (poisoned under the address sanitizer).
    void release(const void *p, std::size_t n);
    void release(std::string_view text) {
        if (!text.empty()) release(text.data(), text.size() + 1);
    }

private:
    struct Block {
        Block *next;
        std::size_t size;   // bytes after the header
    };
    char *newBlock(std::size_t size);

    Block *blocks_ = nullptr;
    char *free_ = nullptr;   // the unused end of the newest ordinary block
    std::size_t left_ = 0;
    std::size_t nextSize_ = 512;
};

// The texts of items and sections live in the store's arena; every value is followed by a
// zero byte, so that it can be handed out as a C string.
struct IniItem {
    std::string_view tag;       // without surrounding white space, at most INI_MAX_NAME characters
    std::string_view value;     // enclosing quotes removed
    std::string_view comment;   // comment lines above the item joined by CR LF; empty: none
    bool quoted = false;        // the value stands between double quotes in the file
};

struct IniSection {
    std::string_view name;   // without surrounding white space, at most INI_MAX_NAME characters
    // Items are held by pointer (into the arena) so that a value handed out by
    // Ini_GetPointerToRawString stays where it is while other items come and go.
    std::vector<IniItem *> items;
    bool sorted = false;   // items ordered by tag
    std::string_view comment;
};

}   // namespace ini_detail

using ini_detail::IniItem;
using ini_detail::IniSection;

struct IniStore {
    IniStore() = default;
    IniStore(const IniStore &) = delete;
    IniStore &operator=(const IniStore &) = delete;
    ~IniStore() {
        for (IniSection *sec : sections) sec->~IniSection();
    }

    ini_detail::Arena arena;   // the sections, the items and their texts
    std::vector<IniSection *> sections;
    bool sorted = false;
    IniSection *lastSection = nullptr;   // the section found by the last successful lookup
    char sectionStart = '[';
    char sectionEnd = ']';
    std::string separator = "=";
    std::string writeSeparator = " = ";
    std::string commentMarker = ";";
    bool duplicateChecking = true;
    std::size_t maxValueLineLength = 80;   // 0: never split; never above INI_MAX_LINE
    std::string headComment;
    std::string tailComment;
};

namespace ini_detail {

constexpr std::size_t kMaxLine = INI_MAX_LINE;
constexpr std::size_t kMaxName = INI_MAX_NAME;
constexpr std::string_view kLineSuffix = " Line";
constexpr const char *kCrLf = "\r\n";

// Byte classes by table. The scans below step with pointers and test table entries, so
// that the fuzz build's comparison tracing (a call per integer comparison) stays off the
// per-byte paths, where it used to cost more than the work itself.
struct ByteTables {
    bool white[256];           // ' ', '\t', '\r', '\n', '\v', '\f'
    unsigned char fold[256];   // ASCII lower-case letters made upper case, other bytes kept
    constexpr ByteTables() : white(), fold() {
        for (int c = 0; c < 256; ++c) {
            white[c] = c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
            fold[c] = static_cast<unsigned char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
        }
    }
};
inline constexpr ByteTables kBytes;

inline bool isWhite(unsigned char c) { return kBytes.white[c]; }

inline bool isDigit(char c) { return c >= '0' && c <= '9'; }

inline bool isLineEnd(int c) { return c == '\r' || c == '\n' || c == '\0'; }

inline std::string_view trim(std::string_view s) {
    const char *b = s.data();
    const char *e = b + s.size();
    while (b != e && isWhite(static_cast<unsigned char>(*b))) ++b;
    while (e != b && isWhite(static_cast<unsigned char>(e[-1]))) --e;
    return std::string_view(b, static_cast<std::size_t>(e - b));
}

inline bool onlyWhite(std::string_view s) { return trim(s).empty(); }

// A name as stored: trimmed, cut to its capacity, trimmed again after the cut.
inline std::string_view storedName(std::string_view s) {
    s = trim(s);
    if (s.size() > kMaxName) s = trim(s.substr(0, kMaxName));
    return s;
}

// Eight bytes at once with their ASCII lower-case letters made upper case (as kBytes.fold
// does byte by byte): a byte is such a letter when its top bit is clear and its low seven
// bits lie in 'a'..'z'. No sum carries into the next byte.
inline std::uint64_t foldWord(std::uint64_t x) {
    constexpr std::uint64_t ones = 0x0101010101010101ULL;
    const std::uint64_t low7 = x & (0x7F * ones);
    const std::uint64_t atLeastA = low7 + (0x80 - 'a') * ones;     // top bit set: low7 >= 'a'
    const std::uint64_t aboveZ = low7 + (0x80 - 'z' - 1) * ones;   // top bit set: low7 > 'z'
    const std::uint64_t lower = atLeastA & ~aboveZ & ~x & (0x80 * ones);
    return x - (lower >> 2);   // 0x80 >> 2 is the 0x20 between the cases
}

// The place of the first byte where two words of text differ (their XOR is diff, not zero),
// as a shift that brings that byte down to the low eight bits: words are loaded from memory,
// so the first byte is the low one on a little-endian machine and the high one otherwise.
inline int firstDifferenceShift(std::uint64_t diff) {
    if constexpr (std::endian::native == std::endian::little) return std::countr_zero(diff) & ~7;
    return 56 - (std::countl_zero(diff) & ~7);
}

// Sort comparison: the whole texts, ASCII letters folded to upper case, byte values
// otherwise. Eight bytes at a time (the last word padded with zeros on both sides), the first
// differing byte found from the XOR of the folded words rather than by a loop over bytes.
inline int sortCompare(std::string_view a, std::string_view b) {
    const std::size_t n = std::min(a.size(), b.size());
    const std::size_t whole = n & ~std::size_t{7};
    for (std::size_t i = 0; i <= whole; i += 8) {
        std::uint64_t wa = 0;
        std::uint64_t wb = 0;
        if (i < whole) {
            std::memcpy(&wa, a.data() + i, 8);
            std::memcpy(&wb, b.data() + i, 8);
        } else if (n > whole) {
            std::memcpy(&wa, a.data() + i, n - whole);
            std::memcpy(&wb, b.data() + i, n - whole);
        }
        const std::uint64_t fa = foldWord(wa);
        const std::uint64_t fb = foldWord(wb);
        if (fa != fb) {
            const int shift = firstDifferenceShift(fa ^ fb);
            return ((fa >> shift) & 0xFF) < ((fb >> shift) & 0xFF) ? -1 : 1;
        }
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

inline bool equalsNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && sortCompare(a, b) == 0;
}

// Room for one more entry, growing by half the size at least: reserving exactly one more, as
// a put needs before it inserts, would move the whole list at every put.
template <class T>
void makeRoom(std::vector<T> &list) {
    if (list.size() < list.capacity()) return;
    list.reserve(list.size() + std::max<std::size_t>(list.size() / 2, 4));
}

// A new empty section in the store's arena, not yet in the store.
IniSection *newSection(IniStore *ini, std::string_view name);

// The section of that name, or null (also for a null name); remembered for the next lookup.
IniSection *findSection(IniStore *ini, const char *name);

// The item of that tag in the section, or null (also for a null section or tag).
IniItem *findItem(IniSection *sec, const char *tag);

// Stores the text under the tag, replacing every item of that tag (the new one takes the
// first old one's place) and making the section when it is missing; keepComment hands the
// replaced item's comment lines on to the new one. 0, INI_ERR_NO_MEMORY or INI_ERR_NULL_ARGUMENT.
int put(IniHandle ini, const char *section, const char *tag, std::string_view text, bool keepComment = false);

}   // namespace ini_detail
