// The INI store: reading, lookups, puts, conversions and writing.
//
// Everything works on bytes. The language files are UTF-8, and UTF-8 never places an ASCII
// byte inside a multibyte character (lead and trail bytes are all 0x80 or above), so a byte
// equal to '[', ']', '=', '"' or ';' is always that character and the scans below need no
// knowledge of the encoding: UTF-8 text passes through unchanged. Case folding touches the
// ASCII letters only; any other byte compares by its value.

#include "ini/inifile.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/replace_file.h"

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

namespace {

constexpr std::size_t kMaxLine = INI_MAX_LINE;
constexpr std::size_t kMaxName = INI_MAX_NAME;
constexpr std::size_t kBlockSize = 2048;
constexpr std::string_view kLineSuffix = " Line";
constexpr std::size_t kMaxContinuationTag = 246;   // + " Line" + four digits = 255
// The temporary files of a write: ini$$0.TMP .. ini$$999.TMP in the target's folder.
constexpr rt::ReplaceOptions kReplace{"ini$$", ".TMP", 1000, false};
constexpr const char *kCrLf = "\r\n";

bool isWhite(unsigned char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

bool isDigit(char c) { return c >= '0' && c <= '9'; }

bool isLineEnd(int c) { return c == '\r' || c == '\n' || c == '\0'; }

std::string_view trim(std::string_view s) {
    std::size_t b = 0;
    std::size_t e = s.size();
    while (b < e && isWhite(static_cast<unsigned char>(s[b]))) ++b;
    while (e > b && isWhite(static_cast<unsigned char>(s[e - 1]))) --e;
    return s.substr(b, e - b);
}

bool onlyWhite(std::string_view s) { return trim(s).empty(); }

// A name as stored: trimmed, cut to its capacity, trimmed again after the cut.
std::string_view storedName(std::string_view s) {
    s = trim(s);
    if (s.size() > kMaxName) s = trim(s.substr(0, kMaxName));
    return s;
}

unsigned char fold(unsigned char c) { return (c >= 'a' && c <= 'z') ? static_cast<unsigned char>(c - 'a' + 'A') : c; }

// Sort comparison: the whole texts, ASCII letters folded to upper case.
int sortCompare(std::string_view a, std::string_view b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const unsigned char ca = fold(static_cast<unsigned char>(a[i]));
        const unsigned char cb = fold(static_cast<unsigned char>(b[i]));
        if (ca != cb) return ca < cb ? -1 : 1;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

bool equalsNoCase(std::string_view a, std::string_view b) { return a.size() == b.size() && sortCompare(a, b) == 0; }

// ---------------------------------------------------------------------------------------
// Lookups

// The entry of a list of sections or items whose name (member) equals want, ignoring case:
// binary search in a sorted list, else the first in file order. Stored names carry no
// surrounding white space and want is in its stored form too (storedName), so names compare
// as they sort, with no trimming on the way.
template <class T>
T *findByName(std::vector<std::unique_ptr<T>> &list, std::string T::*member, std::string_view want, bool sorted) {
    if (sorted) {
        std::size_t lo = 0;
        std::size_t hi = list.size();
        while (lo < hi) {
            const std::size_t mid = lo + (hi - lo) / 2;
            const int c = sortCompare((*list[mid]).*member, want);
            if (c < 0)
                lo = mid + 1;
            else if (c > 0)
                hi = mid;
            else
                return list[mid].get();
        }
        return nullptr;
    }
    for (auto &entry : list)
        if (equalsNoCase((*entry).*member, want)) return entry.get();
    return nullptr;
}

IniSection *findSection(IniStore *ini, const char *name) {
    if (name == nullptr) return nullptr;
    const std::string_view want = storedName(name);
    if (ini->lastSection != nullptr && equalsNoCase(ini->lastSection->name, want)) return ini->lastSection;
    IniSection *found = findByName(ini->sections, &IniSection::name, want, ini->sorted);
    if (found != nullptr) ini->lastSection = found;
    return found;
}

IniItem *findItem(IniSection *sec, const char *tag) {
    if (sec == nullptr || tag == nullptr) return nullptr;
    const std::string_view want = storedName(tag);
    return findByName(sec->items, &IniItem::tag, want, sec->sorted);
}

// ---------------------------------------------------------------------------------------
// Reading

// The bytes at p before the first line end (CR, LF or NUL), at most n. Each end character is
// looked for with memchr within the bound found so far, in windows of kMaxLine bytes, so that
// a text without one of them is never searched to its end at every line.
std::size_t textLength(const unsigned char *p, std::size_t n) {
    for (std::size_t at = 0; at < n; at += kMaxLine) {
        const std::size_t window = std::min(kMaxLine, n - at);
        std::size_t end = window;
        for (const int c : {'\n', '\r', '\0'}) {
            const void *hit = std::memchr(p + at, c, end);
            if (hit != nullptr) end = static_cast<std::size_t>(static_cast<const unsigned char *>(hit) - (p + at));
        }
        if (end < window) return at + end;
    }
    return n;
}

// Hands out the lines of a file read in blocks, or of a text in memory. A line ends at CR, LF
// or NUL; a CR LF or LF CR pair is one line end; a line longer than kMaxLine keeps its first
// kMaxLine bytes.
class LineFile {
public:
    explicit LineFile(std::FILE *f) : file_(f), data_(block_) {}
    LineFile(const char *text, std::size_t length)
        : data_(reinterpret_cast<const unsigned char *>(text)), len_(text != nullptr ? length : 0), eof_(true) {}

    // The next line into out (at most kMaxLine bytes, no terminator); false at the end of
    // the input or after a read error (see failed()).
    bool next(char (&out)[kMaxLine], std::size_t &length) {
        length = 0;
        if (!available()) return false;
        // The second character of a CR LF (or LF CR) pair: a line-end character other than
        // the one that ended the previous line is skipped.
        const unsigned char c = data_[pos_];
        if (isLineEnd(c) && prevEnd_ >= 0 && c != prevEnd_) {
            ++pos_;
            if (!available()) return false;
        }
        for (;;) {
            const std::size_t n = textLength(data_ + pos_, len_ - pos_);
            const std::size_t take = std::min(n, kMaxLine - length);   // the rest is dropped
            std::memcpy(out + length, data_ + pos_, take);
            length += take;
            pos_ += n;
            if (pos_ < len_) {   // at a line end
                prevEnd_ = data_[pos_++];
                return true;
            }
            if (!available()) return true;   // the end of the input ends the line
        }
    }

    bool failed() const { return failed_; }

private:
    // True when a byte is there to read, reading the next block of a file when needed.
    bool available() {
        if (pos_ < len_) return true;
        if (eof_) return false;
        len_ = std::fread(block_, 1, kBlockSize, file_);
        pos_ = 0;
        if (len_ == 0) {
            eof_ = true;
            if (std::ferror(file_)) failed_ = true;
            return false;
        }
        return true;
    }

    std::FILE *file_ = nullptr;   // null for a text in memory
    unsigned char block_[kBlockSize] = {};
    const unsigned char *data_;   // the block, or the text in memory
    std::size_t len_ = 0;
    std::size_t pos_ = 0;
    int prevEnd_ = -1;
    bool eof_ = false;   // a text in memory has nothing more to read
    bool failed_ = false;
};

class Parser {
public:
    explicit Parser(IniStore *ini) : ini_(ini) {}

    void line(std::string_view text) {
        std::size_t i = 0;
        while (i < text.size() && isWhite(static_cast<unsigned char>(text[i]))) ++i;
        const std::string_view rest = text.substr(i);

        // 1. A comment line, kept whole (leading white space included).
        if (rest.substr(0, ini_->commentMarker.size()) == ini_->commentMarker) {
            if (!pending_.empty()) pending_ += kCrLf;
            pending_ += text;
            return;
        }
        // 2. A section header: the name runs up to the last closing bracket of the line.
        if (!rest.empty() && rest.front() == ini_->sectionStart) {
            if (header(rest)) return;
            ignored();
            return;
        }
        // 3. An item line: tag and value around the first separator, both non-empty.
        const std::size_t sep = rest.find(ini_->separator);
        if (sep != std::string_view::npos) {
            const std::string_view tag = storedName(rest.substr(0, sep));
            std::string_view value = trim(rest.substr(sep + ini_->separator.size()));
            if (!tag.empty() && !value.empty()) {
                if (current_ == nullptr) {   // before the first section: dropped
                    pending_.clear();
                    return;
                }
                bool quoted = false;
                if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
                    value = value.substr(1, value.size() - 2);
                    quoted = true;
                }
                auto item = std::make_unique<IniItem>();
                item->tag = tag;
                item->value = value;
                item->quoted = quoted;
                item->comment = std::move(pending_);
                pending_.clear();
                current_->items.push_back(std::move(item));
                return;
            }
        }
        // 4. Anything else.
        ignored();
    }

    // At the end of the file a pending comment becomes the tail comment.
    void finish() {
        if (!pending_.empty()) {
            ini_->tailComment = std::move(pending_);
            pending_.clear();
        }
    }

private:
    bool header(std::string_view rest) {
        const std::size_t close = rest.rfind(ini_->sectionEnd);
        if (close == std::string_view::npos || close == 0) return false;
        if (!onlyWhite(rest.substr(close + 1))) return false;
        const std::string_view name = storedName(rest.substr(1, close - 1));
        if (name.empty()) return false;
        auto sec = std::make_unique<IniSection>();
        sec->name = name;
        sec->sorted = ini_->sorted;
        sec->comment = std::move(pending_);
        pending_.clear();
        ini_->sections.push_back(std::move(sec));
        current_ = ini_->sections.back().get();
        return true;
    }

    // An ignored line closes a pending comment only at the top of the file.
    void ignored() {
        if (current_ == nullptr && ini_->headComment.empty() && !pending_.empty()) {
            ini_->headComment = std::move(pending_);
            pending_.clear();
        }
    }

    IniStore *ini_;
    IniSection *current_ = nullptr;
    std::string pending_;
};

// A continuation tag: " Line" (its first occurrence) followed by one or more digits up to the
// end. Gives the length of the part before " Line" and whether the number is 1.
bool continuationTag(std::string_view tag, std::size_t &prefix, bool &first) {
    const std::size_t at = tag.find(kLineSuffix);
    if (at == std::string_view::npos) return false;
    const std::string_view digits = tag.substr(at + kLineSuffix.size());
    if (digits.empty() || !std::all_of(digits.begin(), digits.end(), isDigit)) return false;
    const std::size_t nz = digits.find_first_not_of('0');
    first = nz != std::string_view::npos && digits.substr(nz) == "1";
    prefix = at;
    return true;
}

// Joins each run of continuation lines of the section into its first item. All new texts are
// made before anything is moved, so running out of memory leaves the section as it was.
void joinLongValues(IniSection &sec) {
    struct Run {
        std::size_t begin, end;
        std::string tag, value;
    };
    std::vector<Run> runs;
    auto &items = sec.items;
    for (std::size_t i = 0; i < items.size();) {
        std::size_t prefix = 0;
        bool first = false;
        if (!continuationTag(items[i]->tag, prefix, first) || !first) {
            ++i;
            continue;
        }
        std::size_t j = i + 1;
        std::size_t total = items[i]->value.size();
        for (; j < items.size(); ++j) {
            std::size_t p = 0;
            bool one = false;
            if (!continuationTag(items[j]->tag, p, one) || one) break;
            total += items[j]->value.size();
        }
        Run run{i, j, std::string(trim(std::string_view(items[i]->tag).substr(0, prefix))), {}};
        run.value.reserve(total);
        for (std::size_t k = i; k < j; ++k) run.value += items[k]->value;
        runs.push_back(std::move(run));
        i = j;
    }
    if (runs.empty()) return;
    std::size_t w = 0;
    std::size_t r = 0;
    for (std::size_t i = 0; i < items.size();) {
        if (r < runs.size() && runs[r].begin == i) {
            items[i]->tag = std::move(runs[r].tag);
            items[i]->value = std::move(runs[r].value);
            items[w++] = std::move(items[i]);
            i = runs[r].end;
            ++r;
        } else {
            if (w != i) items[w] = std::move(items[i]);
            ++w;
            ++i;
        }
    }
    items.resize(w);
}

void sortStore(IniStore *ini) {
    for (auto &sec : ini->sections) {
        std::stable_sort(sec->items.begin(), sec->items.end(),
                         [](const auto &a, const auto &b) { return sortCompare(a->tag, b->tag) < 0; });
        sec->sorted = true;
    }
    std::stable_sort(ini->sections.begin(), ini->sections.end(),
                     [](const auto &a, const auto &b) { return sortCompare(a->name, b->name) < 0; });
}

// Reads the lines into the store: appended sections, long values joined, sorted when the
// store sorts. 0, INI_ERR_READ or INI_ERR_NO_MEMORY; after a failure the store keeps what was
// read so far.
int readLines(IniStore *ini, LineFile &reader) {
    const std::size_t firstNew = ini->sections.size();
    int rc = 0;
    try {
        Parser parser(ini);
        char line[kMaxLine];
        std::size_t length = 0;
        while (reader.next(line, length)) parser.line(std::string_view(line, length));
        if (reader.failed()) rc = INI_ERR_READ;
        parser.finish();
    } catch (const std::bad_alloc &) {
        rc = INI_ERR_NO_MEMORY;
    }
    // Whatever was read is joined and sorted, so that lookups stay correct after a failure.
    try {
        for (std::size_t i = firstNew; i < ini->sections.size(); ++i) joinLongValues(*ini->sections[i]);
    } catch (const std::bad_alloc &) {
        if (rc == 0) rc = INI_ERR_NO_MEMORY;
    }
    if (ini->sorted) sortStore(ini);
    return rc;
}

// ---------------------------------------------------------------------------------------
// Conversions

// The position after the leading white space and at most one sign; negative tells the sign.
std::size_t skipWhiteAndSign(std::string_view s, bool &negative) {
    std::size_t i = 0;
    while (i < s.size() && isWhite(static_cast<unsigned char>(s[i]))) ++i;
    negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        negative = s[i] == '-';
        ++i;
    }
    return i;
}

// Optional white space, at most one sign directly before one or more digits, optional white
// space, nothing else; the number within the 32-bit range.
bool strToInt(std::string_view s, int &out) {
    bool negative = false;
    std::size_t i = skipWhiteAndSign(s, negative);
    const std::size_t digitsBegin = i;
    long long magnitude = 0;
    bool tooLarge = false;
    while (i < s.size() && isDigit(s[i])) {
        if (!tooLarge) {
            magnitude = magnitude * 10 + (s[i] - '0');
            if (magnitude > 2147483648LL) tooLarge = true;
        }
        ++i;
    }
    if (i == digitsBegin) return false;
    while (i < s.size() && isWhite(static_cast<unsigned char>(s[i]))) ++i;
    if (i != s.size() || tooLarge) return false;
    if (!negative && magnitude > 2147483647LL) return false;
    out = static_cast<int>(negative ? -magnitude : magnitude);
    return true;
}

// Whether a number text that does not fit a double is too large (rather than too small):
// the position of its first significant digit plus its exponent. Hexadecimal texts count
// four bits per digit against a binary exponent; only the sign of the result matters.
bool overflows(std::string_view s, bool hex) {
    const char expLetter = hex ? 'p' : 'e';
    const int perDigit = hex ? 4 : 1;
    auto isNumDigit = [hex](char c) {
        return isDigit(c) || (hex && ((c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F')));
    };
    long long magnitude = 0;
    bool seen = false;
    std::size_t i = 0;
    long long intDigits = 0;
    for (; i < s.size() && isNumDigit(s[i]); ++i) {
        if (seen || s[i] != '0') {
            seen = true;
            ++intDigits;
        }
    }
    magnitude = intDigits * perDigit;
    if (i < s.size() && s[i] == '.') {
        ++i;
        long long lead = 0;
        for (; i < s.size() && isNumDigit(s[i]); ++i) {
            if (!seen && s[i] == '0') {
                ++lead;
            } else if (!seen) {
                seen = true;
                magnitude = -lead * perDigit;
            }
        }
    }
    long long exponent = 0;
    if (i < s.size() && (s[i] == expLetter || s[i] == expLetter - 'a' + 'A')) {
        ++i;
        bool negative = false;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
        for (; i < s.size() && isDigit(s[i]); ++i) {
            if (exponent < 1000000000LL) exponent = exponent * 10 + (s[i] - '0');
        }
        if (negative) exponent = -exponent;
    }
    return magnitude + exponent > 0;
}

// The standard decimal conversion in the C notation, independent of the process locale:
// optional leading white space and sign, then a decimal or hexadecimal number, "inf",
// "infinity" or "nan". Returns 1 when the whole text was used, else INI_ERR_NOT_NUMBER with
// out set to the longest leading part that reads as a number (0 when there is none, an
// infinity or zero when that part is out of range).
int textToDouble(std::string_view s, double &out) {
    bool negative = false;
    std::size_t i = skipWhiteAndSign(s, negative);
    const char *begin = s.data() + i;
    const char *end = s.data() + s.size();
    if (begin == end || *begin == '+' || *begin == '-') {   // nothing, or a second sign
        out = 0.0;
        return INI_ERR_NOT_NUMBER;
    }
    double value = 0.0;
    std::from_chars_result r{};
    bool hex = false;
    if (end - begin > 2 && begin[0] == '0' && (begin[1] == 'x' || begin[1] == 'X') && begin[2] != '+' &&
        begin[2] != '-') {
        r = std::from_chars(begin + 2, end, value, std::chars_format::hex);
        hex = r.ec != std::errc::invalid_argument;
    }
    if (!hex) r = std::from_chars(begin, end, value, std::chars_format::general);
    const char *numberBegin = hex ? begin + 2 : begin;
    if (r.ec == std::errc::invalid_argument) {
        out = 0.0;
        return INI_ERR_NOT_NUMBER;
    }
    if (r.ec == std::errc::result_out_of_range) {
        const bool big = overflows(std::string_view(numberBegin, static_cast<std::size_t>(r.ptr - numberBegin)), hex);
        value = big ? HUGE_VAL : 0.0;
        out = negative ? -value : value;
        return INI_ERR_NOT_NUMBER;
    }
    out = negative ? -value : value;
    return r.ptr == end ? 1 : INI_ERR_NOT_NUMBER;
}

// ---------------------------------------------------------------------------------------
// Puts

// Replacing an item puts the new one at the first old one's place; keepComment hands the old
// one's comment lines on to it, else they go with it.
int put(IniHandle ini, const char *section, const char *tag, std::string_view text, bool keepComment = false) {
    if (ini == nullptr || section == nullptr || tag == nullptr) return INI_ERR_NULL_ARGUMENT;
    const std::string_view secName = storedName(section);
    const std::string_view tagName = storedName(tag);
    if (secName.empty() || tagName.empty()) return INI_ERR_NULL_ARGUMENT;   // could never be read back
    try {
        auto item = std::make_unique<IniItem>();
        item->tag = tagName;
        item->value = text;
        IniSection *sec = findSection(ini, section);
        if (sec != nullptr) {
            auto &items = sec->items;
            items.reserve(items.size() + 1);   // the insertion below can no longer fail
            std::size_t at = items.size();
            if (ini->duplicateChecking) {
                bool removed = false;
                std::size_t w = 0;
                for (std::size_t i = 0; i < items.size(); ++i) {
                    if (equalsNoCase(items[i]->tag, tagName)) {
                        if (!removed) {
                            at = w;
                            if (keepComment) item->comment = std::move(items[i]->comment);
                        }
                        removed = true;
                        continue;
                    }
                    if (w != i) items[w] = std::move(items[i]);
                    ++w;
                }
                items.resize(w);
                if (!removed) at = items.size();
            }
            if (sec->sorted) {
                auto pos =
                    std::upper_bound(items.begin(), items.end(), tagName,
                                     [](std::string_view t, const auto &it) { return sortCompare(t, it->tag) < 0; });
                at = static_cast<std::size_t>(pos - items.begin());
            }
            items.insert(items.begin() + static_cast<std::ptrdiff_t>(at), std::move(item));
            return 0;
        }
        auto newSec = std::make_unique<IniSection>();
        newSec->name = secName;
        newSec->sorted = ini->sorted;
        newSec->items.push_back(std::move(item));
        auto &secs = ini->sections;
        secs.reserve(secs.size() + 1);
        auto pos = secs.end();
        if (ini->sorted) {
            pos = std::upper_bound(secs.begin(), secs.end(), secName,
                                   [](std::string_view n, const auto &s) { return sortCompare(n, s->name) < 0; });
        }
        secs.insert(pos, std::move(newSec));
        return 0;
    } catch (const std::bad_alloc &) {
        return INI_ERR_NO_MEMORY;
    }
}

// ---------------------------------------------------------------------------------------
// Writing

// An unquoted value that reading would change (empty, white space at an end that the reader
// trims, or a quote at both ends that the reader takes off) is written between quotes, so
// that the value reads back exactly.
bool needsQuotes(std::string_view v) {
    if (v.empty()) return true;
    if (isWhite(static_cast<unsigned char>(v.front())) || isWhite(static_cast<unsigned char>(v.back()))) return true;
    return v.size() >= 2 && v.front() == '"' && v.back() == '"';
}

std::string lineTag(std::string_view tag, int k) {
    char suffix[32];
    std::snprintf(suffix, sizeof suffix, "%s%04d", kLineSuffix.data(), k);
    std::string t(tag.substr(0, kMaxContinuationTag));
    t += suffix;
    return t;
}

struct Piece {
    std::size_t offset, length;
};

// Splits a long value into the pieces of its continuation lines. A piece never ends inside a
// UTF-8 character (unless that character alone fills it), so every line stays valid UTF-8;
// the pieces join back byte for byte whatever the encoding.
std::vector<Piece> splitValue(const IniStore *ini, std::string_view tag, std::string_view value, bool quoted) {
    std::vector<Piece> pieces;
    std::size_t offset = 0;
    for (int k = 1; offset < value.size(); ++k) {
        const std::size_t tagLength = lineTag(tag, k).size();
        const std::size_t overhead = tagLength + ini->writeSeparator.size() + (quoted ? 2 : 0);
        std::size_t room = overhead < kMaxLine ? kMaxLine - overhead : 1;
        room = std::min(room, ini->maxValueLineLength);
        std::size_t length = std::min(room, value.size() - offset);
        if (offset + length < value.size()) {
            std::size_t back = 0;
            while (back < 3 && back + 1 < length &&
                   (static_cast<unsigned char>(value[offset + length - back]) & 0xC0) == 0x80) {
                ++back;
            }
            if ((static_cast<unsigned char>(value[offset + length - back]) & 0xC0) != 0x80) length -= back;
        }
        pieces.push_back({offset, length});
        offset += length;
    }
    return pieces;
}

void writeLine(std::string &out, std::string_view tag, const IniStore *ini, std::string_view value, bool quoted) {
    out += tag;
    out += ini->writeSeparator;
    if (quoted) out += '"';
    out += value;
    if (quoted) out += '"';
    out += kCrLf;
}

void writeItem(std::string &out, const IniStore *ini, const IniItem &item) {
    if (!item.comment.empty()) {
        out += item.comment;
        out += kCrLf;
    }
    const std::string_view value = item.value;
    bool quoted = item.quoted;
    if (ini->maxValueLineLength == 0 || value.size() <= ini->maxValueLineLength) {
        const std::string_view tag = std::string_view(item.tag).substr(0, kMaxName);
        if (!quoted && needsQuotes(value)) quoted = true;
        const std::size_t room = kMaxLine - tag.size() - ini->writeSeparator.size() - (quoted ? 2 : 0);
        writeLine(out, tag, ini, value.substr(0, room), quoted);
        return;
    }
    std::vector<Piece> pieces = splitValue(ini, item.tag, value, quoted);
    if (!quoted && std::any_of(pieces.begin(), pieces.end(),
                               [&](const Piece &p) { return needsQuotes(value.substr(p.offset, p.length)); })) {
        quoted = true;
        pieces = splitValue(ini, item.tag, value, quoted);
    }
    int k = 1;
    for (const Piece &p : pieces) writeLine(out, lineTag(item.tag, k++), ini, value.substr(p.offset, p.length), quoted);
}

std::string storeText(const IniStore *ini) {
    std::string out;
    if (!ini->headComment.empty()) {
        out += ini->headComment;
        out += kCrLf;
        out += kCrLf;
    }
    for (const auto &sec : ini->sections) {
        if (!sec->comment.empty()) {
            out += sec->comment;
            out += kCrLf;
        }
        out += ini->sectionStart;
        out += sec->name;
        out += ini->sectionEnd;
        out += kCrLf;
        for (const auto &item : sec->items) writeItem(out, ini, *item);
        out += kCrLf;
    }
    if (!ini->tailComment.empty()) {
        out += ini->tailComment;
        out += kCrLf;
    }
    return out;
}

int writeErrorCode(int err) {
    switch (err) {
        case EACCES:
        case EPERM:
#ifdef EROFS
        case EROFS:
#endif
            return INI_ERR_ACCESS;
        case ENOMEM: return INI_ERR_NO_MEMORY;
        case ENOSPC:
#ifdef EDQUOT
        case EDQUOT:
#endif
            return INI_ERR_DISK_FULL;
        default: return INI_ERR_IO;
    }
}

}   // namespace

// ---------------------------------------------------------------------------------------
// The interface

IniHandle Ini_New(int automaticSorting) {
    IniStore *ini = new (std::nothrow) IniStore;
    if (ini != nullptr) ini->sorted = automaticSorting != 0;
    return ini;
}

void Ini_Dispose(IniHandle ini) { delete ini; }

int Ini_ReadFromText(IniHandle ini, const char *text, std::size_t length) {
    if (ini == nullptr || (text == nullptr && length > 0)) return INI_ERR_NULL_ARGUMENT;
    LineFile reader(text, length);
    return readLines(ini, reader);
}

int Ini_ReadFromFile(IniHandle ini, const char *path) {
    if (ini == nullptr || path == nullptr) return INI_ERR_NULL_ARGUMENT;
    std::FILE *f = std::fopen(path, "rb");
    if (f == nullptr) return INI_ERR_OPEN;
    int rc = 0;
    try {
        auto reader = std::make_unique<LineFile>(f);
        rc = readLines(ini, *reader);
    } catch (const std::bad_alloc &) {
        rc = INI_ERR_NO_MEMORY;
    }
    std::fclose(f);
    return rc;
}

int Ini_WriteToText(IniHandle ini, std::string &text) {
    text.clear();
    if (ini == nullptr) return INI_ERR_NULL_ARGUMENT;
    try {
        text = storeText(ini);
    } catch (const std::bad_alloc &) {
        text.clear();
        return INI_ERR_NO_MEMORY;
    }
    return 0;
}

int Ini_WriteToFile(IniHandle ini, const char *path) {
    if (ini == nullptr || path == nullptr || *path == '\0') return INI_ERR_NULL_ARGUMENT;
    std::string text;
    const int made = Ini_WriteToText(ini, text);
    if (made != 0) return made;
    // The whole text replaces the target through a temporary file beside it: whatever
    // happens, the target holds either its old or its new contents.
    int err = 0;
    switch (rt::replaceFile(path, kReplace, text, &err)) {
        case 0: return 0;
        case rt::REPLACE_ERR_TARGET: return INI_ERR_ACCESS;
        case rt::REPLACE_ERR_TEMP: return err != 0 ? writeErrorCode(err) : INI_ERR_IO;   // 0: every name taken
        default: return writeErrorCode(err);
    }
}

int Ini_NumberOfSections(IniHandle ini) {
    if (ini == nullptr) return INI_ERR_NULL_ARGUMENT;
    return static_cast<int>(ini->sections.size());
}

int Ini_NumberOfItems(IniHandle ini, const char *section) {
    if (ini == nullptr) return 0;
    const IniSection *sec = findSection(ini, section);
    return sec == nullptr ? 0 : static_cast<int>(sec->items.size());
}

int Ini_SectionExists(IniHandle ini, const char *section) {
    if (ini == nullptr) return 0;
    return findSection(ini, section) != nullptr ? 1 : 0;
}

int Ini_GetPointerToRawString(IniHandle ini, const char *section, const char *tag, const char **value) {
    if (value != nullptr) *value = nullptr;
    if (ini == nullptr || value == nullptr) return INI_ERR_NULL_ARGUMENT;
    const IniItem *item = findItem(findSection(ini, section), tag);
    if (item == nullptr) return 0;
    *value = item->value.c_str();
    return 1;
}

int Ini_GetPointerToRawString(IniHandle ini, const char *section, const char *tag, char **value) {
    const char *p = nullptr;
    const int rc = Ini_GetPointerToRawString(ini, section, tag, value != nullptr ? &p : nullptr);
    if (value != nullptr) *value = const_cast<char *>(p);
    return rc;
}

int Ini_GetInt(IniHandle ini, const char *section, const char *tag, int *value) {
    if (ini == nullptr || value == nullptr) return INI_ERR_NULL_ARGUMENT;
    const IniItem *item = findItem(findSection(ini, section), tag);
    if (item == nullptr || onlyWhite(item->value)) return 0;
    int v = 0;
    if (!strToInt(item->value, v)) return INI_ERR_NOT_INTEGER;
    *value = v;
    return 1;
}

int Ini_GetDouble(IniHandle ini, const char *section, const char *tag, double *value) {
    if (ini == nullptr || value == nullptr) return INI_ERR_NULL_ARGUMENT;
    const IniItem *item = findItem(findSection(ini, section), tag);
    if (item == nullptr || onlyWhite(item->value)) return 0;
    const std::string_view v = item->value;
    if (equalsNoCase(v, "Inf") || equalsNoCase(v, "+Inf")) {
        *value = HUGE_VAL;
        return 1;
    }
    if (equalsNoCase(v, "-Inf")) {
        *value = -HUGE_VAL;
        return 1;
    }
    return textToDouble(v, *value);
}

int Ini_PutInt(IniHandle ini, const char *section, const char *tag, int value) {
    char text[16];
    const auto r = std::to_chars(text, text + sizeof text, value);
    return put(ini, section, tag, std::string_view(text, static_cast<std::size_t>(r.ptr - text)));
}

int Ini_PutDouble(IniHandle ini, const char *section, const char *tag, double value) {
    // "%.16g" in the C notation, whatever the process locale. Near the largest double the 16
    // digits round up past it and would read back as out of range: 17 digits always read back.
    char text[64];
    auto r = std::to_chars(text, text + sizeof text, value, std::chars_format::general, 16);
    if (std::isfinite(value)) {
        double back = 0.0;
        if (std::from_chars(text, r.ptr, back).ec == std::errc::result_out_of_range) {
            r = std::to_chars(text, text + sizeof text, value, std::chars_format::general, 17);
        }
    }
    return put(ini, section, tag, std::string_view(text, static_cast<std::size_t>(r.ptr - text)));
}

int Ini_PutString(IniHandle ini, const char *section, const char *tag, const char *value) {
    if (value == nullptr) return INI_ERR_NULL_ARGUMENT;
    const std::string_view text(value);
    // a line end would split the item and could never be read back as one value
    if (text.find_first_of("\r\n") != std::string_view::npos) return INI_ERR_NULL_ARGUMENT;
    return put(ini, section, tag, text, true);
}
