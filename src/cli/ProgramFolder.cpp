// The folder tavix-cli runs the program in, and the port it has the program open there.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <filesystem>

#include "cli/Common.h"
#include "panels/Panels.h"
#include "runtime/folder.h"
#include "runtime/serial.h"
#include "runtime/ui.h"

namespace cli {

namespace {

// Copy the preference, profile and language files of the first of the sources that has
// preferences into dir (never the state or settings file).
void seedFolder(const QString &dir, const QStringList &sources) {
    for (const QString &from : sources) {
        const QDir source(from);
        if (!source.exists(QStringLiteral("localORM.ini"))) continue;
        for (const QString &name : source.entryList({"*.ini"}, QDir::Files | QDir::Readable)) {
            const bool profiles = name.compare(QStringLiteral("TavixProfiles.ini"), Qt::CaseInsensitive) == 0;
            if (!profiles && name.startsWith(QStringLiteral("Tavix"), Qt::CaseInsensitive))
                continue;   // state, settings
            QFile::copy(source.filePath(name), dir + "/" + name);
        }
        return;
    }
}

// The shipped files: beside the executable, or in the shared data folder of an installation.
QStringList shippedFolders() {
    const QString exe = QCoreApplication::applicationDirPath();
    return {exe, exe + "/../share/tavix"};
}

}   // namespace

bool needsLogger(const Options &options) {
    for (const char *fileOnly :
         {"retrieve", "stats", "report", "chart", "summary", "archive", "verify", "audit", "fleet"})
        if (options.command == fileOnly) return false;
    return true;
}

std::string prepareProgramFolder(const Options &options, std::unique_ptr<QTemporaryDir> &temporary) {
    std::string folder = options.appDir;
    if (folder.empty() || !needsLogger(options)) {
        temporary = std::make_unique<QTemporaryDir>(QDir::tempPath() + "/tavix-cli-XXXXXX");
        if (!temporary->isValid()) {
            std::fprintf(stderr, "tavix-cli: cannot make a temporary folder\n");
            return {};
        }
        // the preferences of DIR, else the shipped ones
        QStringList sources = shippedFolders();
        if (!options.appDir.empty()) sources.prepend(QString::fromStdString(options.appDir));
        seedFolder(temporary->path(), sources);
        folder = temporary->path().toStdString();
    }
    folder = rt::ChooseProgramFolder(folder.c_str());
    if (folder.empty()) std::fprintf(stderr, "tavix-cli: cannot work in the folder %s\n", options.appDir.c_str());
    return folder;
}

// The state file then names the port, so start-up never runs the port detection (which it
// does for a port not chosen yet). The other communication settings stay as the state file
// has them.
bool choosePort(const Options &given) {
    Options options = given;
    if (!needsLogger(given)) {
        // a port that never opens, in the temporary folder
        hidePortFailure();
        options.port = DEVICE_PORT;
        options.device = (std::filesystem::current_path() / "no-logger").string();
    }
    int port = options.port;
    if (!options.device.empty()) {
        if (port == 0) port = DEVICE_PORT;
        if (rt::BindComPort(port, options.device) < 0) {
            std::fprintf(stderr, "tavix-cli: cannot keep the binding in %s\n", TAVIX_STATE_FILE);
            return false;
        }
    }
    const int panel = LoadPanel(0, SETTING);
    if (panel < 0) return false;
    if (RecallPanelState(panel, TAVIX_STATE_FILE, COMM_SETTINGS_STATE) < 0) showDefaultCommSettings(panel);
    if (port != 0)
        SetCtrlVal(panel, SETTING_PORT, port);
    else
        GetCtrlVal(panel, SETTING_PORT, &port);
    const bool ok = port > PORT_NOT_CHOSEN && SavePanelState(panel, TAVIX_STATE_FILE, COMM_SETTINGS_STATE) >= 0;
    DiscardPanel(panel);
    if (port <= PORT_NOT_CHOSEN)
        std::fprintf(stderr, "tavix-cli: no port chosen: give --port N or --device PATH (see --help)\n");
    else if (!ok)
        std::fprintf(stderr, "tavix-cli: cannot write %s\n", TAVIX_STATE_FILE);
    return ok;
}

}   // namespace cli
