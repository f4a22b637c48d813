// The INI store: finding sections and items by name.

#include "ini/inifile_internal.h"

#include <cstddef>
#include <string_view>
#include <vector>

using namespace ini_detail;

namespace {

// The entry of a list of sections or items whose name (member) equals want, ignoring case:
// binary search in a sorted list, else the first in file order. Stored names carry no
// surrounding white space and want is in its stored form too (storedName), so names compare
// as they sort, with no trimming on the way.
template <class T>
T *findByName(const std::vector<T *> &list, std::string_view T::*member, std::string_view want, bool sorted) {
    if (sorted) {
        std::size_t lo = 0;
        std::size_t hi = list.size();
        while (lo < hi) {
            const std::size_t mid = lo + (hi - lo) / 2;
            const int c = sortCompare(list[mid]->*member, want);
            if (c < 0)
                lo = mid + 1;
            else if (c > 0)
                hi = mid;
            else
                return list[mid];
        }
        return nullptr;
    }
    for (T *entry : list)
        if (equalsNoCase(entry->*member, want)) return entry;
    return nullptr;
}

}   // namespace

namespace ini_detail {

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
}   // namespace ini_detail

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
    *value = item->value.data();   // followed by a zero byte in the arena
    return 1;
}

int Ini_GetPointerToRawString(IniHandle ini, const char *section, const char *tag, char **value) {
    const char *p = nullptr;
    const int rc = Ini_GetPointerToRawString(ini, section, tag, value != nullptr ? &p : nullptr);
    if (value != nullptr) *value = const_cast<char *>(p);
    return rc;
}
