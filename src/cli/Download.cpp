// tavix-cli download: check that every output can be written, press Start once the program
// knows the logger, show the progress, then save the records as Save File does (and a picture
// of the chart, and the CSV as the data table's Export CSV writes it). An incomplete download
// never replaces an existing file.
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <utility>

#include "cli/Common.h"
#include "local/Trail.h"
#include "files/DataFile.h"
#include "link/Link.h"
#include "local/Texts.h"
#include "model/Clock.h"
#include "model/Models.h"
#include "model/Records.h"
#include "panels/Panels.h"
#include "runtime/inspect.h"
#include "runtime/ui.h"

namespace cli {

namespace {

constexpr int kChartWidth = 830;   // the main window's chart
constexpr int kChartHeight = 430;

// ---------------------------------------------------------------- saving

// Save File, as the user clicks it: the file dialog is answered with path, replacing an
// existing file is confirmed.
int saveFile(const std::string &path, rt::ScriptedAgent &agent) {
    showFileAnswer(path);
    agent.fileAnswers = {path};
    agent.confirmAnswers = {true};
    const std::size_t before = agent.shown.size();
    rt::FireCtrlEvent(idMonitor, MONITOR_MENU2, EVENT_COMMIT);
    // a pop-up titled "The data file cannot be written" (warn6): the save failed
    for (std::size_t k = before; k < agent.shown.size(); ++k)
        if (agent.shown[k].kind == "message" && agent.shown[k].title == warn6) return EXIT_NOT_WRITTEN;
    if (path != fileName) {   // the dialog refused the path (too long): nothing was written
        std::fprintf(stderr, "%s: %s\n", warn6, path.c_str());   // "cannot be written"
        return EXIT_NOT_WRITTEN;
    }
    return EXIT_OK;
}

// ---------------------------------------------------------------- outputs

// Whether Save File (or the picture) can write path: a new file is made beside the target and
// renamed over it, and a symbolic link is followed to the file it names. So the folder must
// exist and take new files, and an existing target must be a plain file. Empty when it can,
// else why not.
std::string whyNotWritable(const std::string &path) {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::path target = fs::weakly_canonical(fs::path(path), ec);
    if (ec) target = path;
    const fs::file_status status = fs::status(target, ec);
    if (fs::exists(status) && !fs::is_regular_file(status)) return "not a plain file";
    const fs::path folder = target.parent_path();
    if (!fs::is_directory(folder, ec)) return "no such folder";
    if (::access(folder.c_str(), W_OK | X_OK) != 0) return "the folder is not writable";
    return {};
}

// Check every output before the download starts; EXIT_OK or EXIT_NOT_WRITTEN (said).
int checkOutputs(const Options &options) {
    for (const std::string *path : {&options.file, &options.chart, &options.csv}) {
        if (path->empty()) continue;
        const std::string why = whyNotWritable(*path);
        if (why.empty()) continue;
        std::fprintf(stderr, "%s: %s (%s)\n", warn6, path->c_str(), why.c_str());   // "cannot be written"
        return EXIT_NOT_WRITTEN;
    }
    return EXIT_OK;
}

// Where an incomplete download goes: the file itself when there is none yet, otherwise
// NAME.partial.EXT beside it, so that a good file is never replaced by a broken one.
std::string incompleteOutput(const std::string &path) {
    namespace fs = std::filesystem;
    std::error_code ec;
    if (!fs::exists(fs::symlink_status(path, ec))) return path;
    fs::path partial = path;
    const std::string extension = partial.extension().string();
    partial.replace_extension(".partial" + extension);
    return partial.string();
}

// A logger still logging took its last record less than one interval before the download was
// asked for, by its own clock: how far that clock is from the PC's, in seconds (positive: ahead),
// the nearest to none that fits. false when the logger is not logging or nothing arrived.
bool clockOffset(cRtc asked, long long &offset, int &interval) {
    const RecordsDescription held = recordsDescription();
    interval = held.interval;
    if (loggerStatus != 1 || loggedLength <= 0 || interval <= 0 || asked == 0 || held.firstTime == 0) return false;
    const long long last = static_cast<long long>(held.firstTime) + static_cast<long long>(loggedLength - 1) * interval;
    const long long ahead = last - static_cast<long long>(asked);
    offset = ahead > 0 ? ahead : ahead + interval < 0 ? ahead + interval : 0;
    return true;
}

}   // namespace

int download(const Options &options, rt::ScriptedAgent &agent) {
    // 1. nothing is sent before every output is known to be writable
    if (const int result = checkOutputs(options); result != EXIT_OK) return result;
    if (const int result = waitForLogger(); result != EXIT_OK) return result;

    // 2. Start, as the user presses it once the program has finished talking to the logger
    if (!runUntil([] { return sendCmdChar == 0; }, STATUS_WAIT_MS)) return stopSignal() ? EXIT_INTERRUPTED : noLogger();
    // the logger's memory is read as it stands when the download is asked for
    const cRtc asked = nowCRtc();
    rt::FireCtrlEvent(idMonitor, MONITOR_START_BUTTON, EVENT_COMMIT);
    int shown = -1;
    startProgress();
    auto progress = [&shown] {
        if (loggedLength == shown) return;
        shown = loggedLength;
        showProgress(loggedLength, readingsToRecords(currDeviceId, eLength));
    };
    runUntil([] { return fDownloadNow == 0; }, 0, progress);
    int interval = 0;
    if (stopSignal() != 0 && !options.keepOnStop) return EXIT_INTERRUPTED;
    if (stopSignal() != 0) {
        // End, as the user presses it: the logger is told to stop, what arrived stays and is
        // saved (and archived) as an incomplete download
        const int signal = takeStopSignal();
        rt::FireCtrlEvent(idMonitor, MONITOR_END_BUTTON, EVENT_COMMIT);
        runUntil([] { return fDownloadNow == 0; }, STATUS_WAIT_MS, progress);
        if (stopSignal() != 0) return EXIT_INTERRUPTED;
        endBarLine();
        std::fprintf(stderr, "tavix-cli: stopped by signal %d: the records that arrived are kept\n", signal);
    }
    progress();
    endBarLine();
    // Complete when every record the logger reported has arrived. The not-saved mark says
    // nothing here: the records of an incomplete download are kept unsaved too (it has shown
    // warn8, "the download is incomplete", or the port's loss).
    // Records beyond the model's memory layout were refused: what is kept is not the whole
    // download, and the window's own words say so.
    const bool complete = allRecordsArrived() && refusedRecords == 0;
    if (refusedRecords > 0) {
        char said[MSG_TEXT_SIZE + 64] = "";
        GetCtrlVal(idMonitor, MONITOR_MESSAGE, said);
        std::fprintf(stderr, "tavix-cli: %s\n", said);
        std::fprintf(stderr, "tavix-cli: %d more records arrived than the logger's memory layout holds\n",
                     refusedRecords);
    }

    // 3. the outputs; an incomplete download keeps existing files as they are
    const std::string file = complete ? options.file : incompleteOutput(options.file);
    const std::string chart = complete || options.chart.empty() ? options.chart : incompleteOutput(options.chart);
    const std::string csv = complete || options.csv.empty() ? options.csv : incompleteOutput(options.csv);
    if (const int result = saveFile(file, agent); result != EXIT_OK) return result;
    std::printf("%d records saved to %s\n", loggedLength, file.c_str());
    if (!chart.empty()) {
        if (rt::SaveGraphImage(idMonitor, MONITOR_GRAPH, chart.c_str(), kChartWidth, kChartHeight) != 0) {
            std::fprintf(stderr, "tavix-cli: the picture cannot be written: %s\n", chart.c_str());
            return EXIT_NOT_WRITTEN;
        }
        std::printf("chart saved to %s\n", chart.c_str());
        noteFileWritten("export", chart);
    }
    if (!csv.empty()) {
        if (const int result = exportCsv(csv, agent); result != EXIT_OK) return result;
        std::printf("CSV saved to %s\n", csv.c_str());
    }
    // the archive took the download when it ended (or said why not)
    const int archived = downloadArchived();
    if (long long offset = 0; clockOffset(asked, offset, interval)) {
        std::printf("clock offset: %+lld s (the logger's clock against the PC's, within %d s)\n", offset, interval);
        keepClockOffset(offset, interval);
    }
    if (complete) return archived;
    for (const auto &[kept, written] :
         {std::pair{&options.file, &file}, std::pair{&options.chart, &chart}, std::pair{&options.csv, &csv}})
        if (*kept != *written)
            std::fprintf(stderr, "tavix-cli: the download is incomplete: %s is kept as it was\n", kept->c_str());
    return EXIT_INCOMPLETE;
}

}   // namespace cli
