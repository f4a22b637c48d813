// Numbers in the C locale: the bounded appends the writer builds its lines with, the leading
// numbers of the reader's words, and the value fields of a record line.
#include "datafile/CText.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <system_error>

#include "datafile/DataFileText.h"
#include "model/Records.h"

namespace datafile {

void append(char *out, std::size_t capacity, std::size_t *len, const char *text, std::size_t n) {
    if (*len >= capacity) return;
    const std::size_t room = capacity - 1 - *len;
    if (n > room) n = room;
    std::memcpy(out + *len, text, n);
    *len += n;
    out[*len] = '\0';
}

void appendChars(char *out, std::size_t capacity, std::size_t *len, char c, int count) {
    if (count <= 0 || *len >= capacity) return;
    const std::size_t room = capacity - 1 - *len;
    const std::size_t n = static_cast<std::size_t>(count) < room ? static_cast<std::size_t>(count) : room;
    std::memset(out + *len, c, n);
    *len += n;
    out[*len] = '\0';
}

void appendRight(char *out, std::size_t capacity, std::size_t *len, const char *text, std::size_t n, int width) {
    if (static_cast<int>(n) < width) appendChars(out, capacity, len, ' ', width - static_cast<int>(n));
    append(out, capacity, len, text, n);
}

void appendInt(char *out, std::size_t capacity, std::size_t *len, long long value, int width, bool zeroPad) {
    char digits[32];
    const auto r = std::to_chars(digits, digits + sizeof digits, value);
    const std::size_t n = static_cast<std::size_t>(r.ptr - digits);
    if (!zeroPad) {
        appendRight(out, capacity, len, digits, n, width);
        return;
    }
    const bool negative = value < 0;
    if (negative) append(out, capacity, len, "-", 1);
    const std::size_t body = negative ? n - 1 : n;
    if (static_cast<int>(n) < width) appendChars(out, capacity, len, '0', width - static_cast<int>(n));
    append(out, capacity, len, digits + (negative ? 1 : 0), body);
}

bool leadingInt(const char *text, long long *value, const char **end) {
    const char *p = text;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = *p++ == '-';
    if (!isDigit(*p)) return false;
    long long v = 0;
    for (; isDigit(*p); ++p)
        if (v < 1000000000000LL) v = v * 10 + (*p - '0');
    *value = negative ? -v : v;
    if (end != nullptr) *end = p;
    return true;
}

double leadingReal(const char *text) {
    const char *p = text;
    if (*p == '+' && p[1] != '+' && p[1] != '-') ++p;
    double v = 0.0;
    const auto r = std::from_chars(p, p + std::strlen(p), v, std::chars_format::general);
    if (r.ec != std::errc() || !std::isfinite(v)) return 0.0;
    return v;
}

}   // namespace datafile

namespace {

// An error word read back stays an error, E00 included: the value lies this far above
// 10000 + code, as the logger's decoded error values do.
constexpr double kErrorMark = 0.00001;

}   // namespace

using datafile::append;

std::size_t formatFileVal(char *out, std::size_t capacity, double value) {
    if (out == nullptr || capacity == 0) return 0;
    // The whole field is made first (it always fits field), then copied as far as out holds.
    char field[420];
    char number[400];   // the widest double in fixed notation has 309 digits
    std::size_t len = 0;
    field[len++] = ' ';
    if (value > SENSOR_ERROR_BASE) {
        // an error code, as every window shows it
        len += sensorErrorText(field + len, sizeof field - len, value);
    } else {
        // a measurement with one decimal, right-aligned in 5 columns
        const auto r = std::to_chars(number, number + sizeof number, value, std::chars_format::fixed, 1);
        const std::size_t n = r.ec == std::errc() ? static_cast<std::size_t>(r.ptr - number) : 0;
        if (n < 5) {
            std::memset(field + len, ' ', 5 - n);
            len += 5 - n;
        }
        std::memcpy(field + len, number, n);
        len += n;
    }
    field[len++] = ' ';
    if (len > capacity - 1) len = capacity - 1;
    std::memcpy(out, field, len);
    out[len] = '\0';
    return len;
}

void BuildFileValStr(std::FILE *file, double value) {
    if (file == nullptr) return;
    char field[420];
    const std::size_t n = formatFileVal(field, sizeof field, value);
    std::fwrite(field, 1, n, file);
}

double GetFileVal(const char *text) {
    if (text == nullptr) return 0.0;
    if (text[0] == 'E') {
        double code = datafile::leadingReal(text + 1);
        if (code < 0.0) code = 0.0;   // still an error
        return SENSOR_ERROR_BASE + code + kErrorMark;
    }
    return datafile::leadingReal(text);
}
