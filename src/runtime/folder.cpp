#include "runtime/folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <filesystem>
#include <system_error>

#include "runtime/ui.h"

namespace rt {
namespace {

bool writableFolderWithPreferences(const QString &dir) {
    const QFileInfo folder(dir);
    return QFileInfo::exists(dir + "/localORM.ini") && folder.isDir() && folder.isWritable();
}

bool sameName(const QString &name, const char *other) {
    return name.compare(QLatin1String(other), Qt::CaseInsensitive) == 0;
}

// The program's own state files: never copied from a shipped folder.
bool stateFile(const QString &name) {
    return sameName(name, "Tavix.ini") || sameName(name, "TavixSetting.ini") || sameName(name, "TavixWindows.ini");
}

// Shipped files that a newer installation brings to existing users: the language files (new
// keys) and the help document. The preferences and the profiles are the user's and stay as
// they are.
bool refreshedFile(const QString &name) {
    if (sameName(name, "localORM.ini") || sameName(name, "TavixProfiles.ini") || stateFile(name)) return false;
    return name.endsWith(QLatin1String(".ini"), Qt::CaseInsensitive) ||
           name.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive);
}

// Copy from to to through a temporary file renamed over it; the copy keeps the time of the
// shipped file, so that only a newer installation replaces it again.
bool copyShippedFile(const QString &from, const QString &to) {
    const QString temp = to + QStringLiteral(".new");
    QFile::remove(temp);
    if (!QFile::copy(from, temp)) return false;
    QFile copy(temp);
    if (copy.open(QIODevice::Append)) {
        copy.setFileTime(QFileInfo(from).lastModified(), QFileDevice::FileModificationTime);
        copy.close();
    }
    std::error_code error;
    std::filesystem::rename(temp.toStdString(), to.toStdString(), error);
    if (error) QFile::remove(temp);
    return !error;
}

// Copy the shipped files (preferences, languages, logo, help) that the folder lacks, and
// replace its language files and help document where the installed ones are newer.
void seedFolder(const QString &target, const QStringList &sources) {
    for (const QString &source : sources) {
        const QDir dir(source);
        if (!dir.exists(QStringLiteral("localORM.ini"))) continue;
        const QStringList files = dir.entryList({"*.ini", "*.bmp", "*.pdf"}, QDir::Files | QDir::Readable, QDir::Name);
        for (const QString &name : files) {
            const QFileInfo shipped(dir.filePath(name));
            const QFileInfo copy(target + "/" + name);
            if (stateFile(name)) continue;
            const bool newer = refreshedFile(name) && shipped.lastModified() > copy.lastModified();
            if (!copy.exists() || newer) copyShippedFile(shipped.filePath(), copy.filePath());
        }
        return;
    }
}

// Where the shipped files are: beside the executable, or in the shared data folder.
QStringList shippedFolders() {
    const QString exeDir = QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QDir::currentPath();
    QStringList sources{exeDir, exeDir + "/../share/tavix"};
    for (const QString &d : QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
        sources << d + "/tavix";
    return sources;
}

}   // namespace

bool SeedShippedFile(const char *name) {
    if (!name || !*name) return false;
    const QString file = QString::fromUtf8(name);
    const QString target = QDir::current().filePath(file);
    if (QFileInfo::exists(target)) return true;
    for (const QString &source : shippedFolders()) {
        const QFileInfo shipped(QDir(source).filePath(file));
        if (shipped.isFile() && shipped.isReadable()) return copyShippedFile(shipped.filePath(), target);
    }
    return false;
}

std::string ChooseProgramFolder(const char *appDir) {
    QString folder;
    if (appDir && *appDir) {
        folder = QDir(QString::fromLocal8Bit(appDir)).absolutePath();
        QDir().mkpath(folder);
    } else {
        const QString exeDir =
            QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QDir::currentPath();
        if (writableFolderWithPreferences(exeDir)) {
            folder = exeDir;
        } else {
            folder = QDir::homePath() + "/.local/share/Tavix";
            if (!QDir().mkpath(folder)) return {};
            seedFolder(folder, shippedFolders());
        }
    }
    if (!QDir::setCurrent(folder)) return {};
    const QByteArray path = folder.toLocal8Bit();
    SetProjectDir(path.constData());
    return path.toStdString();
}

std::string UserProgramFolder() {
    const QString exeDir = QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QDir::currentPath();
    const QString folder =
        writableFolderWithPreferences(exeDir) ? exeDir : QDir::homePath() + QStringLiteral("/.local/share/Tavix");
    return folder.toLocal8Bit().toStdString();
}

}   // namespace rt
