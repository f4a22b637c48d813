// Reads that find nothing, on demand.
//
// On a busy machine a read of a serial device can come back empty although the device is
// fine: the bytes were taken by an earlier read between the event loop's poll and the read
// notifier, and the empty read then carries whatever errno was left over (EAGAIN, EIO). Such a
// read happens inside Qt, out of the program's reach, so a test program that links this file
// replaces the C library's read() with one that passes every call through, except on the
// device chosen here, where it can make chosen reads return nothing with a chosen errno, the
// bytes staying where they are. Used by the tests of the serial layer, of the link and of the
// chart; it works in the sanitizer builds as well.
#pragma once

#include <string>

namespace readfaults {

// From now on, reads of the device at devicePath (the path the program opened, resolved
// through /proc/self/fd) are counted; the reads numbered first .. first + count - 1 (1-based,
// counted from this call) return result (0 or -1) with errno set to err. Replaces an earlier
// arrangement.
void failReads(const std::string &devicePath, int first, int count, int result, int err);
// Reads of that device from now on (the count restarts at 0).
int readsSeen();
// Reads made to fail so far.
int readsFailed();
// Every read passes through again.
void clear();

}   // namespace readfaults
