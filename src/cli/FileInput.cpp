// What report and chart share: the data file read as Retrieve File does.
#include <cstdio>
#include <string>

#include "cli/Common.h"
#include "files/DataFile.h"
#include "model/Records.h"
#include "panels/Panels.h"
#include "runtime/inspect.h"
#include "runtime/ui.h"

namespace cli {

int loadDataFile(const std::string &path, rt::ScriptedAgent &agent) {
    showFileAnswer(path);
    agent.fileAnswers = {path};
    rt::FireCtrlEvent(idMonitor, MONITOR_MENU1, EVENT_COMMIT);
    if (path != fileName || loggedLength <= 0) {   // refused by the dialog (too long), unreadable or empty
        std::fprintf(stderr, "tavix-cli: no record could be read from %s\n", path.c_str());
        return EXIT_UNREADABLE;
    }
    if (fileRefusedRecords > 0)
        std::fprintf(stderr, "tavix-cli: %d record lines of %s were refused (numbered beyond the store)\n",
                     fileRefusedRecords, path.c_str());
    return EXIT_OK;
}

}   // namespace cli
