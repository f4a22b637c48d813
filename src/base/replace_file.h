// Replacing a file as a whole, the one way the program writes its files (data files, the INI
// store's files): the new contents go to a temporary file in the target's folder, are flushed
// to the disk and renamed over the target in one step. Whatever fails, the previous file is
// left as it was and no temporary file remains.
//
// The target is the file a path finally names: a symbolic link (or a chain of them) is
// followed, the file it points to is replaced and the link stays a link. Only a regular file
// is replaced; a folder, a FIFO, a device or a socket is refused untouched, as is an existing
// file that may not be written. The replacement keeps the previous file's permissions.
//
// No Qt, only the standard library; the calls that only some platforms have are kept here.
#pragma once

#include <cstdio>
#include <functional>
#include <string_view>

namespace rt {

// Results of replaceFile.
enum {
    REPLACE_ERR_TARGET = -1,   // the target is refused: not a regular file, not writable, its
                               // folder missing, or a symbolic link that leads nowhere usable
    REPLACE_ERR_TEMP = -2,     // no temporary file can be made beside the target
    REPLACE_ERR_WRITE = -3,    // writing, flushing or renaming failed (or memory ran out)
};

// How a file is replaced. The temporary file is named in the target's folder stem + n +
// suffix for n = 0 .. count - 1, the first name that is free; a null stem stands for the
// target's own file name and a dot ("data.txt.0.tmp").
struct ReplaceOptions {
    const char *stem;
    const char *suffix;
    int count;
    bool textMode;   // written in the platform's text mode (CR LF line ends on Windows)
};

// Writes the contents into an open file; false when a write failed.
using ContentWriter = std::function<bool(std::FILE *file)>;

// Replaces the file that path names by what write puts into the temporary file. 0, or a
// REPLACE_ERR code with *error (when given) set to the errno of the failure (0 when there is
// none to tell, e.g. every temporary name taken).
int replaceFile(const char *path, const ReplaceOptions &options, const ContentWriter &write, int *error = nullptr);

// The same with contents given as a whole.
int replaceFile(const char *path, const ReplaceOptions &options, std::string_view contents, int *error = nullptr);

}   // namespace rt
