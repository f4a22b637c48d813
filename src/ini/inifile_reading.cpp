// The INI store: reading a file or a text into the store.

#include "ini/inifile_internal.h"

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

using namespace ini_detail;

namespace {

constexpr std::size_t kBlockSize = 2048;

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

    // The next line (at most kMaxLine bytes, no line end), valid until the next call: a view
    // of the input where the line lies whole in it, else gathered across the blocks of a
    // file. False at the end of the input or after a read error (see failed()).
    bool next(std::string_view &line) {
        line = {};
        if (!available()) return false;
        // The second character of a CR LF (or LF CR) pair: a line-end character other than
        // the one that ended the previous line is skipped.
        const unsigned char c = data_[pos_];
        if (isLineEnd(c) && prevEnd_ >= 0 && c != prevEnd_) {
            ++pos_;
            if (!available()) return false;
        }
        std::size_t length = 0;   // gathered in line_
        bool gathered = false;
        for (;;) {
            const std::size_t n = textLength(data_ + pos_, len_ - pos_);
            const char *piece = reinterpret_cast<const char *>(data_ + pos_);
            pos_ += n;
            const bool ended = pos_ < len_;
            if (ended) prevEnd_ = data_[pos_++];
            if (!gathered && (ended || eof_)) {
                line = std::string_view(piece, std::min(n, kMaxLine));   // the rest is dropped
                return true;
            }
            const std::size_t take = std::min(n, kMaxLine - length);
            std::memcpy(line_ + length, piece, take);
            length += take;
            gathered = true;
            if (ended || !available()) {   // the end of the input ends the line
                line = std::string_view(line_, length);
                return true;
            }
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

    std::FILE *file_ = nullptr;         // null for a text in memory
    unsigned char block_[kBlockSize];   // filled by each read, never read beyond
    char line_[kMaxLine];               // a line that crosses blocks, gathered
    const unsigned char *data_;         // the block, or the text in memory
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
        const char *start = text.data();
        const char *end = start + text.size();
        while (start != end && isWhite(static_cast<unsigned char>(*start))) ++start;
        const std::string_view rest(start, static_cast<std::size_t>(end - start));

        // 1. A comment line, kept whole (leading white space included).
        const std::string &marker = ini_->commentMarker;
        if (rest.size() >= marker.size() && std::memcmp(rest.data(), marker.data(), marker.size()) == 0) {
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
        const std::string &separator = ini_->separator;
        const void *at = memmem(rest.data(), rest.size(), separator.data(), separator.size());
        if (at != nullptr) {
            const auto sep = static_cast<std::size_t>(static_cast<const char *>(at) - rest.data());
            const std::size_t valueAt = sep + separator.size();
            const std::string_view tag = storedName(std::string_view(rest.data(), sep));
            std::string_view value = trim(std::string_view(rest.data() + valueAt, rest.size() - valueAt));
            if (!tag.empty() && !value.empty()) {
                if (current_ == nullptr) {   // before the first section: dropped
                    pending_.clear();
                    return;
                }
                bool quoted = false;
                if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
                    value = std::string_view(value.data() + 1, value.size() - 2);
                    quoted = true;
                }
                Arena &arena = ini_->arena;
                auto &items = current_->items;
                if (items.empty()) items.reserve(8);   // most sections have a few items
                makeRoom(items);
                auto *item = new (arena.allocate(sizeof(IniItem))) IniItem;
                item->tag = arena.copy(tag);
                item->value = arena.copy(value);
                item->quoted = quoted;
                item->comment = arena.copy(pending_);
                pending_.clear();   // its room is kept for the next comment
                items.push_back(item);
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
        // memrchr rather than rfind: a long line is searched without a step per byte
        const void *last = memrchr(rest.data(), ini_->sectionEnd, rest.size());
        const std::size_t close = last != nullptr
                                      ? static_cast<std::size_t>(static_cast<const char *>(last) - rest.data())
                                      : std::string_view::npos;
        if (close == std::string_view::npos || close == 0) return false;
        if (!onlyWhite(rest.substr(close + 1))) return false;
        const std::string_view name = storedName(rest.substr(1, close - 1));
        if (name.empty()) return false;
        makeRoom(ini_->sections);
        const std::string_view comment = ini_->arena.copy(pending_);
        IniSection *sec = newSection(ini_, name);
        sec->comment = comment;
        pending_.clear();
        ini_->sections.push_back(sec);
        current_ = sec;
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
void joinLongValues(IniSection &sec, Arena &arena) {
    struct Run {
        std::size_t begin, end;
        std::string_view tag, value;
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
        char *joined = static_cast<char *>(arena.allocate(total + 1));
        std::size_t length = 0;
        for (std::size_t k = i; k < j; ++k) {
            const std::string_view piece = items[k]->value;
            if (!piece.empty()) std::memcpy(joined + length, piece.data(), piece.size());
            length += piece.size();
        }
        joined[length] = '\0';
        // the tag is the first item's own without its suffix: a view of it needs no room
        runs.push_back({i, j, trim(items[i]->tag.substr(0, prefix)), std::string_view(joined, length)});
        i = j;
    }
    if (runs.empty()) return;
    std::size_t w = 0;
    std::size_t r = 0;
    for (std::size_t i = 0; i < items.size();) {
        if (r < runs.size() && runs[r].begin == i) {
            IniItem *head = items[i];
            arena.release(head->value);
            head->tag = runs[r].tag;
            head->value = runs[r].value;
            items[w++] = head;
            for (std::size_t k = i + 1; k < runs[r].end; ++k) {
                IniItem *gone = items[k];
                arena.release(gone->tag);
                arena.release(gone->value);
                arena.release(gone->comment);
                arena.release(gone, sizeof(IniItem));
            }
            i = runs[r].end;
            ++r;
        } else {
            items[w++] = items[i];
            ++i;
        }
    }
    items.resize(w);
}

// Puts the store in order after a read. The sections before firstNew are in order already
// (read earlier, or put at their sorted place), so only the new ones are sorted, each only
// when it is out of order, and then merged in: the same order as a stable sort of the whole
// store, without its cost when a sorted file is read.
void sortStore(IniStore *ini, std::size_t firstNew) {
    const auto byTag = [](const auto &a, const auto &b) { return sortCompare(a->tag, b->tag) < 0; };
    const auto byName = [](const auto &a, const auto &b) { return sortCompare(a->name, b->name) < 0; };
    auto &secs = ini->sections;
    for (std::size_t i = firstNew; i < secs.size(); ++i) {
        auto &items = secs[i]->items;
        if (!std::is_sorted(items.begin(), items.end(), byTag)) std::stable_sort(items.begin(), items.end(), byTag);
        secs[i]->sorted = true;
    }
    const auto mid = secs.begin() + static_cast<std::ptrdiff_t>(std::min(firstNew, secs.size()));
    if (!std::is_sorted(mid, secs.end(), byName)) std::stable_sort(mid, secs.end(), byName);
    if (mid != secs.begin() && mid != secs.end() && byName(*mid, *(mid - 1)))
        std::inplace_merge(secs.begin(), mid, secs.end(), byName);
}

// Reads the lines into the store: appended sections, long values joined, sorted when the
// store sorts. 0, INI_ERR_READ or INI_ERR_NO_MEMORY; after a failure the store keeps what was
// read so far.
int readLines(IniStore *ini, LineFile &reader) {
    const std::size_t firstNew = ini->sections.size();
    int rc = 0;
    try {
        Parser parser(ini);
        std::string_view line;
        while (reader.next(line)) parser.line(line);
        if (reader.failed()) rc = INI_ERR_READ;
        parser.finish();
    } catch (const std::bad_alloc &) {
        rc = INI_ERR_NO_MEMORY;
    }
    // Whatever was read is joined and sorted, so that lookups stay correct after a failure.
    try {
        for (std::size_t i = firstNew; i < ini->sections.size(); ++i) joinLongValues(*ini->sections[i], ini->arena);
    } catch (const std::bad_alloc &) {
        if (rc == 0) rc = INI_ERR_NO_MEMORY;
    }
    if (ini->sorted) sortStore(ini, firstNew);
    return rc;
}

}   // namespace

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
