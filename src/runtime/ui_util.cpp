// Utility services of the run-time: date and time texts from the settable clock, waiting,
// the program's folder, path names, string comparison, folders, the user's name.
#include "base/clock.h"
#include "runtime/ui_internal.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QStandardPaths>
#include <QThread>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

std::string g_projectDir;   // empty = not set
double g_delayRemainder = 0;

}   // namespace

using namespace rt::detail;

const char *DateStr() {
    static char buf[16];
    const rt::LocalTime t = rt::Now();
    std::snprintf(buf, sizeof buf, "%02d-%02d-%04d", t.month % 100, t.day % 100, t.year % 10000);
    return buf;
}

const char *TimeStr() {
    static char buf[16];
    const rt::LocalTime t = rt::Now();
    std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", t.hour % 100, t.minute % 100, t.second % 100);
    return buf;
}

void Delay(double seconds) {
    if (!(seconds > 0)) return;
    if (rt::ClockIsSet()) {
        // A frozen clock moves on by the waited time; fractions add up.
        g_delayRemainder += seconds;
        const double whole = std::floor(g_delayRemainder);
        g_delayRemainder -= whole;
        rt::AdvanceClock(static_cast<int>(std::min(whole, 1e9)));
        return;
    }
    QElapsedTimer timer;
    timer.start();
    const qint64 total = static_cast<qint64>(seconds * 1000.0);
    for (;;) {
        const qint64 left = total - timer.elapsed();
        if (left <= 0) break;
        QThread::msleep(static_cast<unsigned long>(std::min<qint64>(left, 10)));
        ProcessDrawEvents();
    }
}

int GetProjectDir(char *dir, std::size_t capacity) {
    std::string d = g_projectDir;
    if (d.empty())
        d = QCoreApplication::instance() ? QCoreApplication::applicationDirPath().toStdString()
                                         : QDir::currentPath().toStdString();
    if (!dir || capacity == 0) return kErrNullArg;
    if (d.size() + 1 > capacity) {
        dir[0] = '\0';
        return kErrTooLong;
    }
    std::memcpy(dir, d.c_str(), d.size() + 1);
    return 0;
}

void SetProjectDir(const char *dir) { g_projectDir = dir ? dir : ""; }

int MakePathname(const char *dir, const char *file, char *path, std::size_t capacity) {
    if (!path || capacity == 0) return kErrNullArg;
    path[0] = '\0';
    if (!dir || !file) return kErrNullArg;
    std::string out = dir;
#ifdef _WIN32
    const char sep = '\\';
#else
    const char sep = '/';
#endif
    if (!out.empty() && out.back() != '/' && out.back() != '\\') out += sep;
    out += file;
    if (out.size() + 1 > capacity) return kErrTooLong;
    std::memcpy(path, out.c_str(), out.size() + 1);
    return 0;
}

int CompareStrings(const char *s1, int start1, const char *s2, int start2, int caseSensitive) {
    const char *a = s1 ? s1 : "";
    const char *b = s2 ? s2 : "";
    // a start beyond the end compares as the empty text
    a += std::min<std::size_t>(static_cast<std::size_t>(std::max(start1, 0)), std::strlen(a));
    b += std::min<std::size_t>(static_cast<std::size_t>(std::max(start2, 0)), std::strlen(b));
    for (;; ++a, ++b) {
        int ca = static_cast<unsigned char>(*a);
        int cb = static_cast<unsigned char>(*b);
        if (!caseSensitive) {
            ca = std::tolower(ca);
            cb = std::tolower(cb);
        }
        if (ca != cb) return ca < cb ? -1 : 1;
        if (ca == 0) return 0;
    }
}

int MakeDir(const char *path) {
    if (!path || !*path) return kErrNullArg;
    const QString p = QString::fromUtf8(path);
    if (QFileInfo(p).isDir()) return kErrExists;
    return QDir().mkpath(p) ? 0 : kErrFileWrite;
}

int GetUserName(char *name, std::size_t capacity) {
    std::string user;
    for (const char *var : {"USER", "USERNAME", "LOGNAME"}) {
        const char *v = std::getenv(var);
        if (v && *v) {
            user = v;
            break;
        }
    }
    if (user.empty()) user = QDir::home().dirName().toStdString();
    if (!name || capacity == 0) return kErrNullArg;
    if (user.size() + 1 > capacity) {
        name[0] = '\0';
        return kErrTooLong;
    }
    std::memcpy(name, user.c_str(), user.size() + 1);
    return 0;
}

int GetDocumentsDir(char *dir, std::size_t capacity) {
    QString d = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (d.isEmpty()) d = QDir::home().filePath(QStringLiteral("Documents"));
    const std::string s = d.toStdString();
    if (!dir || capacity == 0) return kErrNullArg;
    if (s.size() + 1 > capacity) {
        dir[0] = '\0';
        return kErrTooLong;
    }
    std::memcpy(dir, s.c_str(), s.size() + 1);
    return 0;
}
