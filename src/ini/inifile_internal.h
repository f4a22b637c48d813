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
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ini/inifile.h"

namespace ini_detail {

struct IniItem {
    std::string tag;       // without surrounding white space, at most INI_MAX_NAME characters
    std::string value;     // enclosing quotes removed
    bool quoted = false;   // the value stands between double quotes in the file
    std::string comment;   // comment lines above the item joined by CR LF; empty: none
};

struct IniSection {
    std::string name;   // without surrounding white space, at most INI_MAX_NAME characters
    // Items are held by pointer so that a value handed out by Ini_GetPointerToRawString
    // stays where it is while other items come and go.
    std::vector<std::unique_ptr<IniItem>> items;
    bool sorted = false;   // items ordered by tag
    std::string comment;
};

}   // namespace ini_detail

using ini_detail::IniItem;
using ini_detail::IniSection;

struct IniStore {
    std::vector<std::unique_ptr<IniSection>> sections;
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

inline bool isWhite(unsigned char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

inline bool isDigit(char c) { return c >= '0' && c <= '9'; }

inline bool isLineEnd(int c) { return c == '\r' || c == '\n' || c == '\0'; }

inline std::string_view trim(std::string_view s) {
    std::size_t b = 0;
    std::size_t e = s.size();
    while (b < e && isWhite(static_cast<unsigned char>(s[b]))) ++b;
    while (e > b && isWhite(static_cast<unsigned char>(s[e - 1]))) --e;
    return s.substr(b, e - b);
}

inline bool onlyWhite(std::string_view s) { return trim(s).empty(); }

// A name as stored: trimmed, cut to its capacity, trimmed again after the cut.
inline std::string_view storedName(std::string_view s) {
    s = trim(s);
    if (s.size() > kMaxName) s = trim(s.substr(0, kMaxName));
    return s;
}

inline unsigned char fold(unsigned char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<unsigned char>(c - 'a' + 'A') : c;
}

// Sort comparison: the whole texts, ASCII letters folded to upper case.
inline int sortCompare(std::string_view a, std::string_view b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const unsigned char ca = fold(static_cast<unsigned char>(a[i]));
        const unsigned char cb = fold(static_cast<unsigned char>(b[i]));
        if (ca != cb) return ca < cb ? -1 : 1;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

inline bool equalsNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && sortCompare(a, b) == 0;
}

// The section of that name, or null (also for a null name); remembered for the next lookup.
IniSection *findSection(IniStore *ini, const char *name);

// The item of that tag in the section, or null (also for a null section or tag).
IniItem *findItem(IniSection *sec, const char *tag);

// Stores the text under the tag, replacing every item of that tag (the new one takes the
// first old one's place) and making the section when it is missing; keepComment hands the
// replaced item's comment lines on to the new one. 0, INI_ERR_NO_MEMORY or INI_ERR_NULL_ARGUMENT.
int put(IniHandle ini, const char *section, const char *tag, std::string_view text, bool keepComment = false);

}   // namespace ini_detail
