// tavix-cli chart: read a data file as Retrieve File does and write the main chart as it is
// drawn then, as a picture (.png) or as a PDF page in vector graphics (.pdf).
#include <strings.h>

#include <cstdio>
#include <string>

#include "cli/Common.h"
#include "panels/Panels.h"
#include "runtime/inspect.h"

namespace cli {

namespace {

constexpr int kChartWidth = 830;   // the main window's chart, as download --chart writes it
constexpr int kChartHeight = 430;

bool isPdf(const std::string &file) {
    return file.size() > 4 && strcasecmp(file.c_str() + file.size() - 4, ".pdf") == 0;
}

}   // namespace

int chart(const Options &options, rt::ScriptedAgent &agent) {
    if (const int result = loadDataFile(options.input, agent); result != EXIT_OK) return result;
    const char *out = options.output.c_str();
    const int status = isPdf(options.output)
                           ? rt::SaveGraphPdf(idMonitor, MONITOR_GRAPH, out, kChartWidth, kChartHeight)
                           : rt::SaveGraphImage(idMonitor, MONITOR_GRAPH, out, kChartWidth, kChartHeight);
    if (status != 0) {
        std::fprintf(stderr, "tavix-cli: the chart cannot be written: %s\n", out);
        return EXIT_NOT_WRITTEN;
    }
    std::printf("chart saved to %s\n", out);
    return EXIT_OK;
}

}   // namespace cli
