// Names: the display form of a path.
#include <cstring>

#include "datafile/CText.h"
#include "datafile/DataFileText.h"

using datafile::append;

void FileNamePrintOut(char *destination, const char *path) {
    if (destination == nullptr) return;
    destination[0] = '\0';
    if (path == nullptr) return;
    const std::size_t n = std::strlen(path);
    std::size_t len = 0;
    if (n < 37) {
        append(destination, FILE_NAME_SHOWN_SIZE, &len, path, n);
        return;
    }
    const char *slash = std::strrchr(path, '/');
    const char *backslash = std::strrchr(path, '\\');
    const char *sep = slash == nullptr ? backslash : (backslash == nullptr || slash > backslash ? slash : backslash);
    const char *name = sep != nullptr ? sep + 1 : path;
    const std::size_t m = std::strlen(name);
    // A cut never splits a UTF-8 character: it moves back to the character's first byte.
    auto cut = [](const char *s, std::size_t k) {
        while (k > 0 && (static_cast<unsigned char>(s[k]) & 0xC0) == 0x80) --k;
        return k;
    };
    if (m >= 33) {
        append(destination, FILE_NAME_SHOWN_SIZE, &len, name, cut(name, 29));
        append(destination, FILE_NAME_SHOWN_SIZE, &len, "...", 3);
        return;
    }
    append(destination, FILE_NAME_SHOWN_SIZE, &len, path, cut(path, 32 - m));
    append(destination, FILE_NAME_SHOWN_SIZE, &len, "...", 3);
    append(destination, FILE_NAME_SHOWN_SIZE, &len, sep, 1);
    append(destination, FILE_NAME_SHOWN_SIZE, &len, name, m);
}
