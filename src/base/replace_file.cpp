// Replacing a file through a temporary file beside it and a rename over it.
//
// The rename is the only step that touches the target, and it either happens whole or not at
// all: before it, every failure leaves the target as it was; the temporary file is removed on
// every way out (a guard owns it from its creation until the rename).
#include "base/replace_file.h"

#include <cerrno>
#include <exception>
#include <filesystem>
#include <new>
#include <string>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace rt {
namespace {

namespace fs = std::filesystem;

// Links followed in one path before the chain counts as a loop, as the kernel does.
constexpr int kMaxLinks = 40;

// The errno-like value of a file-system error, on every platform.
int errnoOf(const std::error_code &ec) { return ec.default_error_condition().value(); }

int fail(int code, int err, int *error) {
    if (error != nullptr) *error = err;
    return code;
}

// The name path finally stands for: every symbolic link replaced by what it points to (a
// relative link counts from the link's own folder). The result may not exist yet (a link to a
// file still to be made). False with *err for a chain that does not end or cannot be read.
bool followLinks(const fs::path &path, fs::path *target, int *err) {
    fs::path p = path;
    for (int hops = 0; hops <= kMaxLinks; ++hops) {
        std::error_code ec;
        if (!fs::is_symlink(fs::symlink_status(p, ec))) {
            *target = p;
            return true;
        }
        const fs::path next = fs::read_symlink(p, ec);
        if (ec) {
            *err = errnoOf(ec);
            return false;
        }
        p = next.is_absolute() ? next : p.parent_path() / next;
    }
    *err = ELOOP;
    return false;
}

// The temporary file from its creation to the rename: closed and removed unless kept.
struct TempFile {
    std::FILE *file = nullptr;
    fs::path path;
    bool made = false;

    bool close() {
        if (file == nullptr) return true;
        const bool ok = std::fclose(file) == 0;
        file = nullptr;
        return ok;
    }
    ~TempFile() {
        close();
        if (made) {
            std::error_code ec;
            fs::remove(path, ec);
        }
    }
};

// Makes a new temporary file in dir under the first free name; false with *err (0 when every
// name is taken). An existing name, a dangling link included, is never opened.
bool openTemp(const fs::path &dir, const std::string &stem, const ReplaceOptions &options, TempFile *temp, int *err) {
    const char *suffix = options.suffix != nullptr ? options.suffix : "";
    for (int n = 0; n < options.count; ++n) {
        temp->path = dir / (stem + std::to_string(n) + suffix);
        std::error_code ec;
        if (fs::exists(fs::symlink_status(temp->path, ec))) continue;
        errno = 0;
        // "x": never a file made meanwhile, never through a link
        temp->file = std::fopen(temp->path.string().c_str(), options.textMode ? "wx" : "wbx");
        if (temp->file != nullptr) {
            temp->made = true;
            return true;
        }
        if (errno != EEXIST) {
            *err = errno;
            return false;
        }
    }
    *err = 0;
    return false;
}

// Pushes the file's data to the disk before it replaces the target.
bool syncToDisk(std::FILE *f) {
    if (std::fflush(f) != 0) return false;
#ifdef _WIN32
    return _commit(_fileno(f)) == 0;
#else
    if (fsync(fileno(f)) == 0) return true;
    return errno == EINVAL || errno == ENOTSUP;   // a file system without the notion
#endif
}

// The new file takes the previous one's owner and group where the platform has them. A
// failure (a user who may not give files away) leaves the writer's own: not an error.
void keepOwner(std::FILE *f, const fs::path &previous) {
#ifdef _WIN32
    (void)f;
    (void)previous;
#else
    struct stat st {};
    if (::stat(previous.string().c_str(), &st) == 0 && fchown(fileno(f), st.st_uid, st.st_gid) != 0) errno = 0;
#endif
}

// Makes the rename itself durable where a folder can be synced; a failure changes nothing
// that has happened.
void syncFolder(const fs::path &dir) {
#ifdef _WIN32
    (void)dir;
#else
    const int fd = ::open(dir.string().c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) return;
    (void)fsync(fd);
    ::close(fd);
#endif
}

int replace(const char *path, const ReplaceOptions &options, const ContentWriter &write, int *error) {
    if (path == nullptr || *path == '\0' || !write) return fail(REPLACE_ERR_TARGET, ENOENT, error);
    int err = 0;

    // 1. The file the path finally names: a regular file that may be written, or a new name
    //    in an existing folder. A folder, FIFO, device or socket is never opened.
    fs::path target;
    if (!followLinks(fs::path(path), &target, &err)) return fail(REPLACE_ERR_TARGET, err, error);
    std::error_code ec;
    const fs::file_status status = fs::status(target, ec);
    if (ec && status.type() != fs::file_type::not_found) return fail(REPLACE_ERR_TARGET, errnoOf(ec), error);
    const bool exists = fs::exists(status);
    fs::path dir = target.parent_path();
    if (dir.empty()) dir = ".";
    if (exists) {
        if (!fs::is_regular_file(status))
            return fail(REPLACE_ERR_TARGET, fs::is_directory(status) ? EISDIR : EINVAL, error);
        errno = 0;
        std::FILE *probe = std::fopen(target.string().c_str(), "r+b");
        if (probe == nullptr) return fail(REPLACE_ERR_TARGET, errno, error);
        std::fclose(probe);
    } else if (!fs::is_directory(dir, ec)) {
        return fail(REPLACE_ERR_TARGET, ENOENT, error);
    }

    // 2. The contents into a new temporary file beside the target, pushed to the disk.
    TempFile temp;
    const std::string stem = options.stem != nullptr ? std::string(options.stem) : target.filename().string() + ".";
    if (!openTemp(dir, stem, options, &temp, &err)) return fail(REPLACE_ERR_TEMP, err, error);
    if (exists) keepOwner(temp.file, target);
    errno = 0;
    bool ok = write(temp.file);
    if (ok && std::ferror(temp.file) != 0) ok = false;
    ok = ok && syncToDisk(temp.file);
    if (!ok) err = errno;
    if (!temp.close() && ok) {
        ok = false;
        err = errno;
    }
    if (!ok) return fail(REPLACE_ERR_WRITE, err, error);

    // 3. The temporary file takes the target's place in one step, with its permissions.
    if (exists) fs::permissions(temp.path, status.permissions(), ec);   // a file system without them: kept as made
    fs::rename(temp.path, target, ec);
    if (ec) return fail(REPLACE_ERR_WRITE, errnoOf(ec), error);
    temp.made = false;
    syncFolder(dir);
    return 0;
}

}   // namespace

int replaceFile(const char *path, const ReplaceOptions &options, const ContentWriter &write, int *error) {
    try {
        return replace(path, options, write, error);
    } catch (const std::bad_alloc &) {
        return fail(REPLACE_ERR_WRITE, ENOMEM, error);
    } catch (const std::exception &) {
        return fail(REPLACE_ERR_WRITE, 0, error);
    }
}

int replaceFile(const char *path, const ReplaceOptions &options, std::string_view contents, int *error) {
    return replaceFile(
        path, options,
        [contents](std::FILE *f) {
            return contents.empty() || std::fwrite(contents.data(), 1, contents.size(), f) == contents.size();
        },
        error);
}

}   // namespace rt
