// The document opener: hands a document to the desktop's own opener, xdg-open, and turns its
// answer into the run-time's result codes. Qt's desktop services are not used: they cannot say
// why they failed, and they open nothing on the offscreen platform.
#include "runtime/ui.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QString>
#include <QStringList>

namespace {

constexpr const char *kOpener = "xdg-open";
// xdg-open's exit statuses
constexpr int kOpenerFileMissing = 2;
constexpr int kOpenerNoTool = 3;

int resultOfExitStatus(int status) {
    switch (status) {
        case 0: return 0;
        case kOpenerFileMissing: return OPEN_DOCUMENT_NOT_FOUND;
        case kOpenerNoTool: return OPEN_DOCUMENT_NO_VIEWER;
        default: return OPEN_DOCUMENT_FAILED;
    }
}

}   // namespace

int OpenDocumentInDefaultViewer(const char *path, int showMode, OpenFailureCallback onFailure) {
    // xdg-open has no way to ask for a minimized or maximized viewer: every show mode opens
    // the viewer in its normal state.
    (void)showMode;
    if (!path || !*path) return OPEN_DOCUMENT_NOT_FOUND;
    const QString file = QString::fromLocal8Bit(path);
    const QFileInfo info(file);
    if (!info.exists()) return OPEN_DOCUMENT_NOT_FOUND;
    // A folder is no document; a file the user may not read is refused before any viewer
    // would show an error of its own.
    if (!info.isFile() || !info.isReadable()) return OPEN_DOCUMENT_ACCESS_DENIED;

    auto *opener = new QProcess(QCoreApplication::instance());
    opener->setProgram(QString::fromLatin1(kOpener));
    opener->setArguments({info.absoluteFilePath()});
    opener->setStandardInputFile(QProcess::nullDevice());
    opener->setStandardOutputFile(QProcess::nullDevice());
    opener->setStandardErrorFile(QProcess::nullDevice());
    // Some desktops' openers run the viewer in the foreground and end only when it closes:
    // the opener's end is heard from the event loop, however long the viewer stays.
    QObject::connect(opener, &QProcess::finished, opener, [opener, onFailure](int code, QProcess::ExitStatus status) {
        const int result = status == QProcess::NormalExit ? resultOfExitStatus(code) : OPEN_DOCUMENT_FAILED;
        opener->deleteLater();
        if (result != 0 && onFailure) onFailure(result);
    });
    opener->start();
    // A program that cannot be started at all says so at once.
    if (opener->state() == QProcess::NotRunning && opener->error() == QProcess::FailedToStart) {
        opener->disconnect();
        opener->deleteLater();
        return OPEN_DOCUMENT_NO_VIEWER;
    }
    // ... or, where starting is reported later, from the event loop.
    QObject::connect(opener, &QProcess::errorOccurred, opener, [opener, onFailure](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart) return;
        opener->deleteLater();
        if (onFailure) onFailure(OPEN_DOCUMENT_NO_VIEWER);
    });
    return 0;
}
