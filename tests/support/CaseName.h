// The name a table case gives its test: GoogleTest and CTest take only letters, digits and
// underscores there, so every other run of characters becomes one underscore and none is left
// at either end ("close box, yes deletes" -> close_box_yes_deletes). A text with nothing
// usable in it gives "unnamed"; the table's own names must stay distinct after the change.
// A table of files names its cases by the file name without its extension.
#pragma once

#include <string>
#include <string_view>

inline std::string caseName(std::string_view text) {
    std::string name;
    bool gap = false;
    for (const char c : text) {
        const bool usable = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
        if (!usable) {
            gap = !name.empty();
            continue;
        }
        if (gap) name += '_';
        gap = false;
        name += c;
    }
    return name.empty() ? "unnamed" : name;
}

inline std::string_view withoutExtension(std::string_view file) { return file.substr(0, file.rfind('.')); }
