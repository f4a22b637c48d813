#include "runtime/folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include "runtime/ui.h"

namespace rt {
namespace {

bool writableFolderWithPreferences(const QString &dir) {
    const QFileInfo folder(dir);
    return QFileInfo::exists(dir + "/localORM.ini") && folder.isDir() && folder.isWritable();
}

// Copy the shipped files (preferences, languages, logo, help) that the folder lacks.
void seedFolder(const QString &target, const QStringList &sources) {
    for (const QString &source : sources) {
        const QDir dir(source);
        if (!dir.exists(QStringLiteral("localORM.ini"))) continue;
        const QStringList files = dir.entryList({"*.ini", "*.bmp", "*.pdf"}, QDir::Files | QDir::Readable, QDir::Name);
        for (const QString &name : files) {
            if (name.compare(QStringLiteral("Tavix.ini"), Qt::CaseInsensitive) == 0) continue;
            if (name.compare(QStringLiteral("TavixSetting.ini"), Qt::CaseInsensitive) == 0) continue;
            const QString to = target + "/" + name;
            if (!QFileInfo::exists(to)) QFile::copy(dir.filePath(name), to);
        }
        return;
    }
}

}   // namespace

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
            QStringList sources{exeDir, exeDir + "/../share/tavix"};
            for (const QString &d : QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
                sources << d + "/tavix";
            seedFolder(folder, sources);
        }
    }
    if (!QDir::setCurrent(folder)) return {};
    const QByteArray path = folder.toLocal8Bit();
    SetProjectDir(path.constData());
    return path.toStdString();
}

}   // namespace rt
