// The response tokenizer. A received line is split in place: the delimiter after a token is
// overwritten with a zero. Exactly one delimiter separates two fields, so a second delimiter
// in a row is an empty field; a token holds at most ten characters (the eleventh is lost).
// The scan never goes past the first zero byte, the end of the line: rxBuf always holds three
// zeros after the line, and the scan position stops on the first of them.
#include <cstdint>
#include <cstring>

#include "protocol/Protocol.h"

const char ev1[2] = ">";
const char ev2[2] = "i";
const char ev3[2] = "m";
const char ev4[2] = "d";
const char ev6[2] = "r";
const char ev7[2] = "t";

namespace {

// Hexadecimal digits of a number field that count (a 16-bit word).
constexpr int kHexDigitsMax = 4;

// The leading decimal integer of a text (optional sign; stops at the first non-digit; no digits
// give 0). A token has at most ten digits; the value wraps to 32 bits as the logger's own
// integer type does.
int leadingInt(const char *text) {
    const char *p = text;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = *p++ == '-';
    std::uint32_t value = 0;
    for (; *p >= '0' && *p <= '9'; ++p) value = value * 10u + static_cast<std::uint32_t>(*p - '0');
    if (negative) value = 0u - value;
    return static_cast<int>(value);
}

}   // namespace

void setRxLine(const char *line, int length) {
    if (length < 0) length = 0;
    if (length > RX_LINE_MAX) length = RX_LINE_MAX;
    if (length > 0) std::memcpy(rxBuf, line, static_cast<std::size_t>(length));
    // The scan stops at the first zero: what lies beyond the three is never read.
    rxBuf[length] = rxBuf[length + 1] = rxBuf[length + 2] = 0;
    rxLen = length;
}

unsigned char delimits(char c) {
    switch (c) {
        case 0: endOfBuf = 1; return 1;
        case '\t':
        case '\n':
        case '\r':
        case ' ': return 1;
        default: return 0;
    }
}

char *nextToken(int restart) {
    if (restart || mLast < rxBuf || mLast >= rxBuf + RX_BUF_SIZE) mLast = rxBuf;
    mPre = mLast;
    int count = 0;
    while (count < TOKEN_MAX && !delimits(*mLast)) {
        ++mLast;
        ++count;
    }
    if (mLast == mPre) {
        // An empty field: step over its one delimiter, but never over the end of the line.
        if (*mLast != 0) ++mLast;
        return nullptr;
    }
    const bool atEnd = *mLast == 0;
    *mLast = 0;
    if (!atEnd) ++mLast;
    return mPre;
}

int lookupCommand(const char *token, const char *word) {
    const unsigned char length = static_cast<unsigned char>(std::strlen(token));
    for (unsigned i = 0; i < length; ++i) {
        // The word ends with its zero; a longer token differs there and stops the comparison.
        if (token[i] != word[i]) return 0;
    }
    return 1;
}

char isCommand() {
    pToken = nextToken(istEvent);
    istEvent = 0;
    if (pToken == nullptr) return 0;
    if (lookupCommand(pToken, ev1)) return '>';
    if (lookupCommand(pToken, ev2)) return 'i';
    if (lookupCommand(pToken, ev3)) return 'm';
    if (lookupCommand(pToken, ev4)) return 'd';
    if (lookupCommand(pToken, ev6)) return 'r';
    if (lookupCommand(pToken, ev7)) return 't';
    return 0;
}

int isNumber() {
    pToken = nextToken(0);
    if (pToken == nullptr) return 0;
    if (pToken[0] == 'E') {
        // A sensor error code: 100000 + 10 n, computed in 32 bits without overflow traps.
        const std::uint32_t n = static_cast<std::uint32_t>(leadingInt(pToken + 1));
        return static_cast<int>(100000u + 10u * n);
    }
    return leadingInt(pToken);
}

char isCharacter() {
    pToken = nextToken(0);
    return pToken == nullptr ? 0 : pToken[0];
}

int hex2Dec(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return 0;
}

int isHexNumber() {
    pToken = nextToken(0);
    if (pToken == nullptr) return 0;
    int value = 0;
    for (int i = 0; i < kHexDigitsMax && pToken[i] != 0; ++i) value = value * 16 + hex2Dec(pToken[i]);
    return value;
}

void isString(char *dest, std::size_t capacity) {
    pToken = nextToken(0);
    if (capacity == 0) return;
    std::size_t i = 0;
    if (pToken != nullptr)
        for (; i + 1 < capacity && pToken[i] != 0; ++i) dest[i] = pToken[i];
    dest[i] = 0;
}
