// tavix-cli retrieve: press Retrieve File with the data file, print what the program loaded,
// and write the CSV as the data table's Export CSV does (or to standard output).
#include <cstdio>
#include <cstring>
#include <string>

#include "cli/Common.h"
#include "files/DataFile.h"
#include "local/Texts.h"
#include "model/Clock.h"
#include "model/Models.h"
#include "model/Records.h"
#include "panels/Panels.h"
#include "runtime/inspect.h"
#include "runtime/ui.h"
#include "table/Csv.h"

namespace cli {

namespace {

// The title of the Retrieve File command's pop-up for a file that cannot be opened.
constexpr char kFileOpenError[] = "File Open Error! ";
// The main window shows the identifier read as "ID=<identifier>".
constexpr char kIdPrefix[] = "ID=";

// Retrieve File, as the user clicks it: the file dialog is answered with path. EXIT_OK, or
// EXIT_UNREADABLE after the program's pop-up (or a path the dialog refuses).
int retrieveFile(const std::string &path, rt::ScriptedAgent &agent) {
    showFileAnswer(path);
    agent.fileAnswers = {path};
    const std::size_t before = agent.shown.size();
    rt::FireCtrlEvent(idMonitor, MONITOR_MENU1, EVENT_COMMIT);
    for (std::size_t k = before; k < agent.shown.size(); ++k) {
        const auto &shown = agent.shown[k];
        if (shown.kind != "message") continue;
        if (shown.title == kFileOpenError) return EXIT_UNREADABLE;
        // a file without a record line is refused and nothing is loaded
        if (shown.title == warn15 && shown.text.rfind(msgFileNoRecords, 0) == 0) {
            std::fprintf(stderr, "tavix-cli: %s: %s\n", path.c_str(), msgFileNoRecords);
            return EXIT_UNREADABLE;
        }
    }
    if (path != fileName) {   // the dialog refused the path (too long): nothing was read
        std::fprintf(stderr, "%s: %s\n", warn15, path.c_str());   // "The data file cannot be opened"
        return EXIT_UNREADABLE;
    }
    return EXIT_OK;
}

// What the program loaded: the identifier as the main window shows it (the program forgets it
// once the file is read), the model by the name of its first identifier, the description and
// the first and last record's time in the date-format preference.
void printSummary(std::FILE *out) {
    char shownId[64] = "";
    GetCtrlVal(idMonitor, MONITOR_ID, shownId);
    const char *id =
        std::strncmp(shownId, kIdPrefix, sizeof kIdPrefix - 1) == 0 ? shownId + sizeof kIdPrefix - 1 : shownId;
    const ModelRow *row = modelRow(currDeviceId);
    const char *model = row != nullptr && row->identifiers[0] != nullptr ? row->identifiers[0] : "-";
    int held = loggedLength < recordCapacity() ? loggedLength : recordCapacity();
    if (held < 0) held = 0;

    std::fprintf(out, "Model:         %s (index %d)\n", model, currDeviceId);
    std::fprintf(out, "Identifier:    %s\n", id);
    std::fprintf(out, "Interval:      %02d:%02d:%02d\n", eSampleRate / 3600, eSampleRate % 3600 / 60, eSampleRate % 60);
    std::fprintf(out, "Unit:          %c\n", eUnit);
    std::fprintf(out, "Records held:  %d\n", held);
    char date[sizeof rtcDate], time[sizeof rtcTime];
    const int ends[] = {0, held - 1};
    const char *labels[] = {"First record:  ", "Last record:   "};
    for (int k = 0; k < 2; ++k) {
        if (held == 0) {
            std::fprintf(out, "%s-\n", labels[k]);
            continue;
        }
        cRtc2Rtc(rtcPtr[ends[k]], date, time);
        std::fprintf(out, "%s%s %s\n", labels[k], date, time);
    }
    std::fflush(out);
}

// The CSV on standard output; EXIT_NOT_WRITTEN when it cannot be written.
int csvToStandardOutput() {
    std::string text;
    const bool made = formatCsv(text);
    if (made && std::fwrite(text.data(), 1, text.size(), stdout) == text.size() && std::fflush(stdout) == 0)
        return EXIT_OK;
    std::fprintf(stderr, "%s: %s\n", warn6, "standard output");   // "cannot be written"
    return EXIT_NOT_WRITTEN;
}

}   // namespace

int retrieve(const Options &options, rt::ScriptedAgent &agent) {
    if (const int result = retrieveFile(options.file, agent); result != EXIT_OK) return result;
    const bool csvOut = options.csv == "-";
    printSummary(csvOut ? stderr : stdout);
    // Dates that read in no order: the records are dated from today, as the status line says.
    if (!fileDates.fits) std::fprintf(stderr, "tavix-cli: %s %d\n", msgFileDatesUnread, fileDates.firstUnread);
    // The program refuses record lines silently (a number outside the store, the store full).
    if (fileRefusedRecords > 0)
        std::fprintf(stderr,
                     "tavix-cli: %d record lines were not stored (a record number outside 1 to %d, or more "
                     "lines than the store holds)\n",
                     fileRefusedRecords, recordCapacity());
    if (options.csv.empty()) return EXIT_OK;
    if (csvOut) return csvToStandardOutput();
    const int result = exportCsv(options.csv, agent);
    if (result == EXIT_OK) std::printf("CSV saved to %s\n", options.csv.c_str());
    return result;
}

}   // namespace cli
