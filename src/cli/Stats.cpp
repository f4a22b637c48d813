// tavix-cli stats: read a data file as Retrieve File does, open the statistics window and print
// what it shows for every channel of the file's model, over all records or over the records
// between the window's cursors; optionally keep a picture of the window. No logger is needed
// (needsLogger in ProgramFolder.cpp).
//
// Reading a data file for the tool (retrieveFile below) is the Retrieve File command pressed
// with the file dialog answered; a later command that reads data files can share it.
#include <charconv>
#include <cstdio>
#include <string>

#include "cli/Common.h"
#include "local/Trail.h"
#include "display/Display.h"
#include "files/DataFile.h"
#include "local/Texts.h"
#include "model/Records.h"
#include "panels/Panels.h"
#include "runtime/inspect.h"
#include "runtime/ui.h"

namespace cli {

namespace {

constexpr int kDecimals = 2;   // of every number printed
constexpr int kHumidity = 2;   // channels: 0, 1 temperatures, 2 humidity

// The read-outs of one section of the window.
struct Readouts {
    int max, min, mean, stdDev, num, cursorX, mkt;
};
constexpr Readouts kWhole = {STATISTIC_MAX1, STATISTIC_MIN1,      STATISTIC_MEAN1, STATISTIC_STDDEV1,
                             STATISTIC_NUM1, STATISTIC_CURSOR_X1, STATISTIC_MKT1};
constexpr Readouts kBetween = {STATISTIC_MAX2, STATISTIC_MIN2,      STATISTIC_MEAN2, STATISTIC_STDDEV2,
                               STATISTIC_NUM2, STATISTIC_CURSOR_X2, STATISTIC_MKT2};

// ---------------------------------------------------------------- reading the file

// Retrieve File, as the user clicks it: the file dialog is answered with path. EXIT_OK, or
// EXIT_UNREADABLE when the file cannot be read (the program's message has been echoed) or
// holds no record (said).
int retrieveFile(const std::string &path, rt::ScriptedAgent &agent) {
    showFileAnswer(path);
    agent.fileAnswers = {path};
    const std::size_t before = agent.shown.size();
    rt::FireCtrlEvent(idMonitor, MONITOR_MENU1, EVENT_COMMIT);
    for (std::size_t k = before; k < agent.shown.size(); ++k) {
        if (agent.shown[k].kind != "message") continue;
        // a file without a record line is refused: no records, and why
        if (agent.shown[k].text.rfind(msgFileNoRecords, 0) == 0)
            std::fprintf(stderr, "tavix-cli: no records in %s: %s\n", path.c_str(), msgFileNoRecords);
        return EXIT_UNREADABLE;   // "File Open Error! " or the refusal
    }
    if (path != fileName) {   // the dialog refused the path (too long): nothing was read
        std::fprintf(stderr, "tavix-cli: the path is too long: %s\n", path.c_str());
        return EXIT_UNREADABLE;
    }
    if (loggedLength <= 0) {
        std::fprintf(stderr, "tavix-cli: no records in %s\n", path.c_str());
        return EXIT_UNREADABLE;
    }
    if (!fileDates.fits) std::fprintf(stderr, "tavix-cli: %s %d\n", msgFileDatesUnread, fileDates.firstUnread);
    return EXIT_OK;
}

// ---------------------------------------------------------------- the window

// Records N to M (1-based, both included) lie between chart cursors on record indexes N - 1
// and M; the window itself ends a range beyond the records held with the last one.
void placeCursors(const Options &options) {
    const int first = options.from != 0 ? options.from : 1;
    const int last = options.to != 0 ? options.to : loggedLength;
    if (last > loggedLength)
        std::fprintf(stderr, "tavix-cli: %s holds %d records; the range ends with the last one\n", options.file.c_str(),
                     loggedLength);
    cursor1X = first - 1;
    cursor2X = last;
}

std::string fixed(double value) {
    char text[400];
    const auto r = std::to_chars(text, text + sizeof text - 1, value, std::chars_format::fixed, kDecimals);
    *r.ptr = '\0';
    return text;
}

std::string readout(int ctrl) {
    double value = 0.0;
    GetCtrlVal(idStatistic, ctrl, &value);
    return fixed(value);
}

// The channel at a position of the window's list, chosen as the user does, and what the
// section shows for it: "name (unit): max=... min=... mean=... sd=... n=... [mkt=...]".
std::string channelLine(int index, const Readouts &section) {
    SetCtrlIndex(idStatistic, STATISTIC_CHANNEL, index);
    rt::FireCtrlEvent(idStatistic, STATISTIC_CHANNEL, EVENT_VAL_CHANGED);
    int channel = 0;
    GetCtrlVal(idStatistic, STATISTIC_CHANNEL, &channel);
    char name[WINDOW_TEXT_SIZE * 2] = "";
    GetLabelFromIndex(idStatistic, STATISTIC_CHANNEL, index, name, sizeof name);
    char unit[WINDOW_TEXT_SIZE * 2] = "";
    GetCtrlAttribute(idStatistic, section.cursorX, ATTR_LABEL_TEXT, unit, sizeof unit);

    std::string line = name;
    // the window labels humidity "%"; written out, the unit is named whole, as in the CSV
    const std::string unitText = channel == 2 ? std::string("%RH") : std::string(unit);
    if (unitText.find_first_not_of(' ') != std::string::npos) line += " (" + unitText + ")";
    line += ": max=" + readout(section.max) + " min=" + readout(section.min) + " mean=" + readout(section.mean) +
            " sd=" + readout(section.stdDev);
    int n = 0;
    GetCtrlVal(idStatistic, section.num, &n);
    line += " n=" + std::to_string(n);
    if (channel != kHumidity) {
        char mkt[64] = "";
        GetCtrlVal(idStatistic, section.mkt, mkt);
        line += std::string(" mkt=") + (mkt[0] ? mkt : "-");
    }
    return line;
}

}   // namespace

int stats(const Options &options, rt::ScriptedAgent &agent) {
    // 1. the records, as Retrieve File reads them
    if (const int result = retrieveFile(options.file, agent); result != EXIT_OK) return result;

    // 2. the window, as the statistics command opens it, with its cursors on the range
    const bool range = options.from != 0 || options.to != 0;
    if (range) placeCursors(options);
    rt::FireCtrlEvent(idMonitor, MONITOR_MENU5, EVENT_COMMIT);

    // 3. the picture shows the window as it opened (its first channel)
    const bool pictured = options.picture.empty() || rt::SavePanelImage(idStatistic, options.picture.c_str()) == 0;

    // 4. every channel of the list in turn
    int channels = 0;
    GetNumListItems(idStatistic, STATISTIC_CHANNEL, &channels);
    for (int index = 0; index < channels; ++index)
        std::printf("%s\n", channelLine(index, range ? kBetween : kWhole).c_str());
    std::fflush(stdout);
    if (!pictured) {
        std::fprintf(stderr, "tavix-cli: the picture cannot be written: %s\n", options.picture.c_str());
        return EXIT_NOT_WRITTEN;
    }
    if (!options.picture.empty()) {
        std::fprintf(stderr, "statistics window saved to %s\n", options.picture.c_str());
        noteFileWritten("export", options.picture);
    }
    return EXIT_OK;
}

}   // namespace cli
