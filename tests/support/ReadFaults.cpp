#include "ReadFaults.h"

#include <dlfcn.h>
#include <limits.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <mutex>

namespace {

struct Arrangement {
    std::string device;
    int first = 0, count = 0, result = 0, err = 0;
    int seen = 0, failed = 0;
};

std::mutex gMutex;
Arrangement gArr;
// Set while an arrangement stands: an ordinary read() never takes the lock.
std::atomic_bool gArmed{false};

using ReadFn = ssize_t (*)(int, void *, size_t);

ReadFn realRead() {
    static const ReadFn fn = reinterpret_cast<ReadFn>(dlsym(RTLD_NEXT, "read"));
    return fn;
}

bool isDevice(int fd, const std::string &device) {
    char link[64];
    char target[PATH_MAX];
    std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    const ssize_t n = ::readlink(link, target, sizeof target - 1);
    return n > 0 && device.compare(0, std::string::npos, target, static_cast<std::size_t>(n)) == 0;
}

// True when this read is to fail; errno and the result are then set for it.
bool failThisRead(int fd, ssize_t *result) {
    std::lock_guard<std::mutex> lock(gMutex);
    if (!isDevice(fd, gArr.device)) return false;
    const int n = ++gArr.seen;
    if (n < gArr.first || n >= gArr.first + gArr.count) return false;
    ++gArr.failed;
    *result = gArr.result;
    errno = gArr.err;
    return true;
}

}   // namespace

namespace readfaults {

void failReads(const std::string &devicePath, int first, int count, int result, int err) {
    std::lock_guard<std::mutex> lock(gMutex);
    gArr = Arrangement{devicePath, first, count, result, err};
    gArmed = true;
}

int readsSeen() {
    std::lock_guard<std::mutex> lock(gMutex);
    return gArr.seen;
}

int readsFailed() {
    std::lock_guard<std::mutex> lock(gMutex);
    return gArr.failed;
}

void clear() {
    std::lock_guard<std::mutex> lock(gMutex);
    gArr = Arrangement{};
    gArmed = false;
}

}   // namespace readfaults

extern "C" ssize_t read(int fd, void *buffer, size_t count) {
    if (gArmed) {
        ssize_t result = 0;
        if (failThisRead(fd, &result)) return result;
    }
    return realRead()(fd, buffer, count);
}
