// The data table's Export CSV, clicked as the user does, for download and retrieve.
#include <cstdio>
#include <string>

#include "cli/Common.h"
#include "files/DataFile.h"
#include "local/Texts.h"
#include "panels/Panels.h"
#include "runtime/inspect.h"
#include "runtime/ui.h"

namespace cli {

int exportCsv(const std::string &path, rt::ScriptedAgent &agent) {
    if (!rt::PanelVisible(idTable)) rt::FireCtrlEvent(idMonitor, MONITOR_MENU3, EVENT_COMMIT);
    showFileAnswer(path);
    agent.fileAnswers = {path};
    agent.confirmAnswers = {true};
    const std::size_t before = agent.shown.size();
    rt::FireCtrlEvent(idTable, TABLE_EXPORT_CSV, EVENT_COMMIT);
    // a pop-up titled "The data file cannot be written" (warn6): the export failed
    for (std::size_t k = before; k < agent.shown.size(); ++k)
        if (agent.shown[k].kind == "message" && agent.shown[k].title == warn6) return EXIT_NOT_WRITTEN;
    if (path.size() + 1 > FILE_NAME_SIZE) {                      // the dialog refused the path: nothing was written
        std::fprintf(stderr, "%s: %s\n", warn6, path.c_str());   // "cannot be written"
        return EXIT_NOT_WRITTEN;
    }
    return EXIT_OK;
}

}   // namespace cli
