// What report and chart share: the data file read as Retrieve File does.
#include <cstdio>
#include <string>

#include "cli/Common.h"
#include "files/DataFile.h"
#include "local/Texts.h"
#include "model/Records.h"
#include "panels/Panels.h"
#include "runtime/inspect.h"
#include "runtime/ui.h"

namespace cli {

int loadDataFile(const std::string &path, rt::ScriptedAgent &agent) {
    showFileAnswer(path);
    agent.fileAnswers = {path};
    const std::size_t before = agent.shown.size();
    rt::FireCtrlEvent(idMonitor, MONITOR_MENU1, EVENT_COMMIT);
    // a file without a record line is refused and nothing is loaded
    for (std::size_t k = before; k < agent.shown.size(); ++k)
        if (agent.shown[k].kind == "message" && agent.shown[k].text.rfind(msgFileNoRecords, 0) == 0) {
            std::fprintf(stderr, "tavix-cli: %s: %s\n", path.c_str(), msgFileNoRecords);
            std::fprintf(stderr, "tavix-cli: no record could be read from %s\n", path.c_str());
            return EXIT_UNREADABLE;
        }
    if (path != fileName || loggedLength <= 0) {   // refused by the dialog (too long), unreadable or empty
        std::fprintf(stderr, "tavix-cli: no record could be read from %s\n", path.c_str());
        return EXIT_UNREADABLE;
    }
    if (!fileDates.fits) std::fprintf(stderr, "tavix-cli: %s %d\n", msgFileDatesUnread, fileDates.firstUnread);
    if (fileRefusedRecords > 0)
        std::fprintf(stderr, "tavix-cli: %d record lines of %s were refused (numbered beyond the store)\n",
                     fileRefusedRecords, path.c_str());
    return EXIT_OK;
}

}   // namespace cli
