// Text pieces of the data-file reader and writer, in the C locale whatever the process locale
// is: appending to a bounded buffer, integers in printf's padding, and the leading numbers of
// words. Internal to the datafile module.
#pragma once

#include <cstddef>

namespace datafile {

// Appends n characters of text to out at *len (capacity bytes, always terminated); cut when
// they do not fit.
void append(char *out, std::size_t capacity, std::size_t *len, const char *text, std::size_t n);
// Appends count copies of c.
void appendChars(char *out, std::size_t capacity, std::size_t *len, char c, int count);
// A text right-aligned in width columns (wider texts take more), as "%*s" does.
void appendRight(char *out, std::size_t capacity, std::size_t *len, const char *text, std::size_t n, int width);
// An integer as "%<width>d" (blank padding) or "%0<width>d" (zero padding after the sign).
void appendInt(char *out, std::size_t capacity, std::size_t *len, long long value, int width, bool zeroPad);

// The reader looks at every byte of a file, and in the fuzz build each comparison is traced:
// blanks are skipped with the C library's span functions (no comparison per character of the
// caller's), a digit is one comparison.

// The blanks, as isspace() has them in the C locale.
inline constexpr char kBlanks[] = " \t\r\n\v\f";

inline bool isDigit(char c) { return static_cast<unsigned>(static_cast<unsigned char>(c)) - '0' < 10u; }

// The leading decimal integer of text (optional sign), saturated far outside any range the
// reader accepts; *end (when given) is the first character after it. False when text does not
// start with one.
bool leadingInt(const char *text, long long *value, const char **end = nullptr);

inline int clampInt(long long v, long long lo, long long hi) {
    return static_cast<int>(v < lo ? lo : (v > hi ? hi : v));
}

// The leading decimal number of text, as the C library reads it in the C locale; 0 when there
// is none or it is not a finite double.
double leadingReal(const char *text);

}   // namespace datafile
