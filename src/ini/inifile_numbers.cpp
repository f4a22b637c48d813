// The INI store: integers and reals, read from values and put as values, in the C notation
// whatever the process locale.

#include "ini/inifile_internal.h"

#include <charconv>
#include <cmath>
#include <cstddef>
#include <string_view>
#include <system_error>

using namespace ini_detail;

namespace {

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

}   // namespace

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
