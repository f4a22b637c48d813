// tavix-cli chart: read a data file as Retrieve File does and write the main chart as it is
// drawn then, as a picture (.png), or as an A4 landscape PDF page in vector graphics (.pdf)
// headed by where the records came from and the times of the first and the last record.
#include <strings.h>

#include <cstdio>
#include <string>

#include "cli/Common.h"
#include "local/Trail.h"
#include "link/Link.h"
#include "model/Clock.h"
#include "model/Records.h"
#include "panels/Panels.h"
#include "runtime/inspect.h"

namespace cli {

namespace {

constexpr int kChartWidth = 830;   // the main window's chart, as download --chart writes it
constexpr int kChartHeight = 430;

bool isPdf(const std::string &file) {
    return file.size() > 4 && strcasecmp(file.c_str() + file.size() - 4, ".pdf") == 0;
}

// The page's heading: the data file as the window's title names it (or the logger's
// identifier), then the first and the last record's date and time as the window shows them.
std::string pageHeading() {
    std::string heading;
    if (dataOrigin == DataOrigin::File)
        heading = dataFileShown;
    else
        heading = std::string("ID=") + recordsShownId();
    if (loggedLength > 0 && rtcPtr != nullptr) {
        char firstDate[11], firstTime[9], lastDate[11], lastTime[9];
        cRtc2Rtc(rtcPtr[0], firstDate, firstTime);
        cRtc2Rtc(rtcPtr[loggedLength - 1], lastDate, lastTime);
        heading += std::string("\n") + firstDate + ' ' + firstTime + " - " + lastDate + ' ' + lastTime;
    }
    return heading;
}

}   // namespace

int chart(const Options &options, rt::ScriptedAgent &agent) {
    if (const int result = loadDataFile(options.input, agent); result != EXIT_OK) return result;
    const char *out = options.output.c_str();
    const int status =
        isPdf(options.output)
            ? rt::SaveGraphPdfPage(idMonitor, MONITOR_GRAPH, out, pageHeading().c_str(), kChartWidth, kChartHeight)
            : rt::SaveGraphImage(idMonitor, MONITOR_GRAPH, out, kChartWidth, kChartHeight);
    if (status != 0) {
        std::fprintf(stderr, "tavix-cli: the chart cannot be written: %s\n", out);
        return EXIT_NOT_WRITTEN;
    }
    std::printf("chart saved to %s\n", out);
    noteFileWritten("export", out);
    return EXIT_OK;
}

}   // namespace cli
