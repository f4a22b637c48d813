// What the commands that only read a data file share: a start-up without the logger's port,
// and the data file read as Retrieve File does.
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "cli/Common.h"
#include "files/DataFile.h"
#include "model/Records.h"
#include "panels/Panels.h"
#include "runtime/inspect.h"
#include "runtime/ui.h"

namespace cli {

namespace {

// The device a port stands for when no logger is to be found: nothing has this name.
constexpr char kNoDevice[] = "no-logger-device";

// The port the state file names, PORT_NOT_CHOSEN when it names none.
int statePort() {
    const int panel = LoadPanel(0, SETTING);
    if (panel < 0) return PORT_NOT_CHOSEN;
    int port = PORT_NOT_CHOSEN;
    if (RecallPanelState(panel, TAVIX_STATE_FILE, COMM_SETTINGS_STATE) >= 0) GetCtrlVal(panel, SETTING_PORT, &port);
    DiscardPanel(panel);
    return port;
}

}   // namespace

bool choosePortForFiles(const Options &options) {
    if (options.port != 0 || !options.device.empty()) return choosePort(options);
    if (statePort() > PORT_NOT_CHOSEN) return true;
    // The user's own folder keeps its settings as they are.
    if (!options.appDir.empty()) return choosePort(options);
    Options unplugged = options;
    std::error_code ec;
    unplugged.device = (std::filesystem::current_path(ec) / kNoDevice).string();   // the temporary folder
    return choosePort(unplugged);
}

int loadDataFile(const std::string &path, rt::ScriptedAgent &agent) {
    showFileAnswer(path);
    agent.fileAnswers = {path};
    rt::FireCtrlEvent(idMonitor, MONITOR_MENU1, EVENT_COMMIT);
    if (path != fileName || loggedLength <= 0) {   // refused by the dialog (too long), unreadable or empty
        std::fprintf(stderr, "tavix-cli: no record could be read from %s\n", path.c_str());
        return EXIT_BAD_INPUT;
    }
    if (fileRefusedRecords > 0)
        std::fprintf(stderr, "tavix-cli: %d record lines of %s were refused (numbered beyond the store)\n",
                     fileRefusedRecords, path.c_str());
    return EXIT_OK;
}

}   // namespace cli
