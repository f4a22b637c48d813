// Notes in the archive's audit trail for the windows.
#include "local/Trail.h"

#include <fstream>
#include <iterator>

#include "store/Archive.h"
#include "store/Audit.h"
#include "store/Fingerprint.h"

namespace {

// The whole file as bytes; false when it cannot be read.
bool readBytes(const std::string &path, std::string &bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

}   // namespace

void noteInTrail(const char *action, const std::string &details) {
    if (!archiveOpen()) return;
    std::string error;
    auditAppend(action, details, error);
}

void noteFileWritten(const char *action, const std::string &path, bool fingerprint) {
    if (!archiveOpen()) return;
    std::string bytes;
    std::string details = path;
    std::string error;
    if (readBytes(path, bytes)) {
        const std::string sha = sha256Hex(bytes);
        recordFileWritten(path, sha, error);
        details += "; sha256 " + sha;
    }
    if (fingerprint) details += "; fingerprint " + recordsFingerprint();
    auditAppend(action, details, error);
}

void notePrinted(const char *action, const std::string &what) {
    if (!archiveOpen()) return;
    std::string error;
    auditAppend(action, what + "; fingerprint " + recordsFingerprint(), error);
}
