// The INI store: making and disposing of a store, counting its sections, and puts.

#include "ini/inifile_internal.h"

#include <algorithm>
#include <cstddef>
#include <memory>
#include <new>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

using namespace ini_detail;

namespace {

// Room for one more entry, growing by half the size at least: reserving exactly one more, as
// a put needs before it inserts, would move the whole list at every put.
template <class T>
void makeRoom(std::vector<T> &list) {
    if (list.size() < list.capacity()) return;
    list.reserve(list.size() + std::max<std::size_t>(list.size() / 2, 4));
}

}   // namespace

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
// one's comment lines on to it, else they go with it.
int put(IniHandle ini, const char *section, const char *tag, std::string_view text, bool keepComment) {
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
            makeRoom(items);   // the insertion below can no longer fail
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
        makeRoom(secs);
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

}   // namespace ini_detail

int Ini_PutString(IniHandle ini, const char *section, const char *tag, const char *value) {
    if (value == nullptr) return INI_ERR_NULL_ARGUMENT;
    const std::string_view text(value);
    // a line end would split the item and could never be read back as one value
    if (text.find_first_of("\r\n") != std::string_view::npos) return INI_ERR_NULL_ARGUMENT;
    return put(ini, section, tag, text, true);
}
