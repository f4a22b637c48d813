// The INI store: making and disposing of a store, the room its items live in, counting its
// sections, and puts.

#include "ini/inifile_internal.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <new>
#include <string_view>
#include <vector>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TAVIX_INI_ASAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__) && !defined(TAVIX_INI_ASAN)
#define TAVIX_INI_ASAN 1
#endif
#ifdef TAVIX_INI_ASAN
#include <sanitizer/asan_interface.h>
#endif

using namespace ini_detail;

namespace {

// Every piece starts at a multiple of eight: enough for the items, and the granule of the
// address sanitizer's shadow memory, so that each piece can be fenced on its own.
constexpr std::size_t kAlign = 8;
static_assert(alignof(IniItem) <= kAlign && alignof(IniSection) <= kAlign);
constexpr std::size_t kMaxBlock = 64 * 1024;

#ifdef TAVIX_INI_ASAN
constexpr std::size_t kFence = 8;   // at least one poisoned granule after each piece
void poison(const void *p, std::size_t n) { ASAN_POISON_MEMORY_REGION(p, n); }
void unpoison(const void *p, std::size_t n) { ASAN_UNPOISON_MEMORY_REGION(p, n); }
#else
constexpr std::size_t kFence = 0;
void poison(const void *, std::size_t) {}
void unpoison(const void *, std::size_t) {}
#endif

// The room a piece of n bytes takes in a block.
std::size_t footprint(std::size_t n) { return ((std::max<std::size_t>(n, 1) + kAlign - 1) & ~(kAlign - 1)) + kFence; }

void releaseItem(Arena &arena, IniItem *item) {
    arena.release(item->tag);
    arena.release(item->value);
    arena.release(item->comment);
    arena.release(item, sizeof(IniItem));
}

}   // namespace

namespace ini_detail {

Arena::~Arena() {
    while (blocks_ != nullptr) {
        Block *b = blocks_;
        blocks_ = b->next;
        unpoison(b + 1, b->size);
        ::operator delete(b);
    }
}

char *Arena::newBlock(std::size_t size) {
    static_assert(sizeof(Block) % kAlign == 0);
    Block *b = new (::operator new(sizeof(Block) + size)) Block{blocks_, size};
    blocks_ = b;
    char *data = reinterpret_cast<char *>(b + 1);
    poison(data, size);
    return data;
}

// Small pieces are cut from the newest block; a piece larger than a quarter of the next block
// gets a block of its own, so that a long comment wastes no room and the newest block stays
// in use. Blocks double in size up to kMaxBlock.
void *Arena::allocate(std::size_t n) {
    const std::size_t need = footprint(n);
    char *p = nullptr;
    if (need <= left_) {
        p = free_;
        free_ += need;
        left_ -= need;
    } else if (need > nextSize_ / 4) {
        p = newBlock(need);
    } else {
        free_ = newBlock(nextSize_);
        left_ = nextSize_;
        nextSize_ = std::min(nextSize_ * 2, kMaxBlock);
        p = free_;
        free_ += need;
        left_ -= need;
    }
    unpoison(p, n);
    return p;
}

std::string_view Arena::copy(std::string_view text) {
    if (text.empty()) return std::string_view("", 0);
    char *p = static_cast<char *>(allocate(text.size() + 1));
    std::memcpy(p, text.data(), text.size());
    p[text.size()] = '\0';
    return std::string_view(p, text.size());
}

void Arena::release(const void *p, std::size_t n) { poison(p, n); }

IniSection *newSection(IniStore *ini, std::string_view name) {
    const std::string_view stored = ini->arena.copy(name);
    auto *sec = new (ini->arena.allocate(sizeof(IniSection))) IniSection;
    sec->name = stored;
    sec->sorted = ini->sorted;
    return sec;
}

}   // namespace ini_detail

IniHandle Ini_New(int automaticSorting) {
    IniStore *ini = new (std::nothrow) IniStore;
    if (ini != nullptr) ini->sorted = automaticSorting != 0;
    return ini;
}

void Ini_Dispose(IniHandle ini) { delete ini; }

int Ini_NumberOfSections(IniHandle ini) {
    if (ini == nullptr) return INI_ERR_NULL_ARGUMENT;
    return static_cast<int>(ini->sections.size());
}

namespace ini_detail {

// Replacing an item puts the new one at the first old one's place; keepComment hands the old
// one's comment lines on to it, else they go with it. Everything that may fail is done before
// the store changes; after that only the copies in the arena are used, so that the arguments
// may even point into an item being replaced.
int put(IniHandle ini, const char *section, const char *tag, std::string_view text, bool keepComment) {
    if (ini == nullptr || section == nullptr || tag == nullptr) return INI_ERR_NULL_ARGUMENT;
    const std::string_view secName = storedName(section);
    const std::string_view tagName = storedName(tag);
    if (secName.empty() || tagName.empty()) return INI_ERR_NULL_ARGUMENT;   // could never be read back
    try {
        Arena &arena = ini->arena;
        IniSection *sec = findSection(ini, section);
        if (sec != nullptr) {
            makeRoom(sec->items);   // the insertion below can no longer fail
        } else {
            makeRoom(ini->sections);
        }
        auto *item = new (arena.allocate(sizeof(IniItem))) IniItem;
        item->tag = arena.copy(tagName);
        item->value = arena.copy(text);
        if (sec != nullptr) {
            auto &items = sec->items;
            std::size_t at = items.size();
            if (ini->duplicateChecking) {
                bool removed = false;
                std::size_t w = 0;
                for (std::size_t i = 0; i < items.size(); ++i) {
                    IniItem *old = items[i];
                    if (equalsNoCase(old->tag, item->tag)) {
                        if (!removed) {
                            at = w;
                            if (keepComment) {
                                item->comment = old->comment;
                                old->comment = {};
                            }
                        }
                        removed = true;
                        releaseItem(arena, old);
                        continue;
                    }
                    items[w++] = old;
                }
                items.resize(w);
                if (!removed) at = items.size();
            }
            if (sec->sorted) {
                auto pos =
                    std::upper_bound(items.begin(), items.end(), item->tag,
                                     [](std::string_view t, const IniItem *it) { return sortCompare(t, it->tag) < 0; });
                at = static_cast<std::size_t>(pos - items.begin());
            }
            items.insert(items.begin() + static_cast<std::ptrdiff_t>(at), item);
            return 0;
        }
        IniSection *newSec = newSection(ini, secName);
        try {
            newSec->items.reserve(4);
        } catch (const std::bad_alloc &) {
            newSec->~IniSection();
            throw;
        }
        newSec->items.push_back(item);
        auto &secs = ini->sections;
        auto pos = secs.end();
        if (ini->sorted) {
            pos = std::upper_bound(secs.begin(), secs.end(), newSec->name,
                                   [](std::string_view n, const IniSection *s) { return sortCompare(n, s->name) < 0; });
        }
        secs.insert(pos, newSec);
        return 0;
    } catch (const std::bad_alloc &) {
        return INI_ERR_NO_MEMORY;
    }
}

}   // namespace ini_detail

int Ini_PutString(IniHandle ini, const char *section, const char *tag, const char *value) {
    if (value == nullptr) return INI_ERR_NULL_ARGUMENT;
    const std::string_view text(value);
    // a line end would split the item and could never be read back as one value
    if (text.find_first_of("\r\n") != std::string_view::npos) return INI_ERR_NULL_ARGUMENT;
    return put(ini, section, tag, text, true);
}
