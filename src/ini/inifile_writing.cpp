// The INI store: the text of the store and replacing a file by it.

#include "ini/inifile_internal.h"

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include "base/replace_file.h"

using namespace ini_detail;

namespace {

constexpr std::size_t kMaxContinuationTag = 246;   // + " Line" + four digits = 255
// The temporary files of a write: ini$$0.TMP .. ini$$999.TMP in the target's folder.
constexpr rt::ReplaceOptions kReplace{"ini$$", ".TMP", 1000, false};

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

// At least the length of the store's text, so that the text is made in one allocation: every
// line of an item with its tag, separator, quotes and line end (long values: each piece).
std::size_t textCapacity(const IniStore *ini) {
    const std::size_t lineOverhead = ini->writeSeparator.size() + 4;
    std::size_t n = ini->headComment.size() + ini->tailComment.size() + 6;
    for (const auto &sec : ini->sections) {
        n += sec->comment.size() + sec->name.size() + 8;
        for (const auto &item : sec->items) {
            const std::size_t v = item->value.size();
            std::size_t lines = 1;
            if (ini->maxValueLineLength != 0 && v > ini->maxValueLineLength) {
                // a piece cut short to keep a UTF-8 character whole loses at most three bytes
                const std::size_t piece = ini->maxValueLineLength > 3 ? ini->maxValueLineLength - 3 : 1;
                lines = v / piece + 1;
            }
            n += item->comment.size() + 2 + v + lines * (item->tag.size() + kLineSuffix.size() + 4 + lineOverhead);
        }
    }
    return n;
}

std::string storeText(const IniStore *ini) {
    std::string out;
    out.reserve(textCapacity(ini));
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
