// The group-files window with the largest files it takes, on the offscreen platform with the
// window shown: loading one 16000-record file into a slot (the file read into the slot's block,
// the slot's curve and label drawn, the read-outs, and the graph's own drawing and painting),
// and redrawing all eight slots of 16000 records each (display series, plots, labels, read-outs,
// drawing and painting).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "BenchMain.h"
#include "app/Tavix.h"
#include "files/DataFile.h"
#include "files/Group.h"
#include "model/Clock.h"
#include "panels/Panels.h"
#include "runtime/inspect.h"
#include "runtime/ui.h"

namespace {

constexpr int kRecords = 16000;

// A one-channel data file (model index 5) of 16000 records, one a minute, a saw-tooth with a
// sensor error every 500 records; the slot number shifts the values so the curves differ.
std::string writeFile(int slot) {
    const std::string path = benchFolder() + "/slot-" + std::to_string(slot) + ".txt";
    std::FILE *f = std::fopen(path.c_str(), "w");
    if (f == nullptr) std::abort();
    std::fprintf(f, "   #5\nDate: 12-10-2026\nID= BENCH\nSample_Rate= 00:01:00\nTotal_Records= %d\nUnit: C\n",
                 kRecords);
    for (int i = 0; i < kRecords; ++i) {
        char date[11], time[9];
        cRtc2Rtc(300000000u + 60u * static_cast<cRtc>(i), date, time);
        char value[32];
        formatFileVal(value, sizeof value, i % 500 == 499 ? 10003.00001 : 15.0 + slot + (i % 200) / 10.0);
        std::fprintf(f, "%5d  %10s %8s %s\n", i + 1, date, time, value);
    }
    std::fclose(f);
    return path;
}

// Empty slots and an empty chart.
void emptyWindow() {
    resetFilesState();
    DeleteGraphPlot(idMonitors, MONITORS_GRAPH, -1, VAL_IMMEDIATE_DRAW);
}

void BM_LoadSlot16000(benchmark::State &state) {
    emptyWindow();
    const std::string path = writeFile(0);
    for (auto _ : state) {
        if (loadGroupFile(0, path.c_str()) != kRecords) state.SkipWithError("the file was not read");
        rt::ReplotNow(idMonitors, MONITORS_GRAPH);
    }
    state.counters["records"] = groupLength[0];
    std::filesystem::remove(path);
}

void BM_RedrawEightSlots16000(benchmark::State &state) {
    emptyWindow();
    for (int k = 0; k < GROUP_SLOTS; ++k) {
        const std::string path = writeFile(k);
        loadGroupFile(k, path.c_str());
        std::filesystem::remove(path);
    }
    for (auto _ : state) {
        updateMTempChart(true);
        rt::ReplotNow(idMonitors, MONITORS_GRAPH);
    }
    state.counters["plots"] = static_cast<double>(rt::GraphPlots(idMonitors, MONITORS_GRAPH).size());
}

BENCHMARK(BM_LoadSlot16000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RedrawEightSlots16000)->Unit(benchmark::kMillisecond);

}   // namespace

bool benchSetUp() {
    idMonitors = LoadPanel(0, MONITORS);
    if (idMonitors < 0) return false;
    DisplayPanel(idMonitors);
    return true;
}

int benchTearDown() { return 0; }
