// Saving and retrieving the largest data files: 16000 one-channel records and 5333
// three-channel records, written to a data file and read back into the record store.
//
// Each case runs twice: with no window loaded (the file and the store alone: formatting,
// writing through the temporary file with its flush to disk, reading and parsing) and with the
// main window shown on the offscreen platform (the progress text in the status line after
// every record and, for the retrieval, the identifier, the window set-up and the chart redraw).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "BenchMain.h"
#include "app/Tavix.h"
#include "files/DataFile.h"
#include "link/Link.h"
#include "model/Models.h"
#include "model/Records.h"
#include "panels/Panels.h"
#include "base/clock.h"
#include "runtime/ui.h"
#include "table/Table.h"

namespace {

int mainWindow = 0;

// The store of a model index with the description a download leaves.
void fill(int model, int records) {
    fillBenchStore(model, records);
    setEId("BENCH");
    eSampleRate = 60;
    eLength = records * loggerDataNum(model);
}

void save(benchmark::State &state, int model, int records, bool window) {
    idMonitor = window ? mainWindow : 0;
    fill(model, records);
    const std::string file = benchFolder() + "/save-" + std::to_string(model) + ".txt";
    for (auto _ : state)
        if (saveDataFile(file.c_str()) != 0) state.SkipWithError("save failed");
    state.counters["records"] = loggedLength;
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(file));
}

void retrieve(benchmark::State &state, int model, int records, bool window) {
    idMonitor = 0;
    fill(model, records);
    const std::string file = benchFolder() + "/retrieve-" + std::to_string(model) + ".txt";
    if (saveDataFile(file.c_str()) != 0) state.SkipWithError("save failed");
    idMonitor = window ? mainWindow : 0;
    for (auto _ : state)
        if (readDataFile(file.c_str()) != records) state.SkipWithError("retrieve failed");
    state.counters["records"] = loggedLength;
}

void BM_Save16000x1(benchmark::State &s) { save(s, 5, 16000, false); }
void BM_Save5333x3(benchmark::State &s) { save(s, 10, 5333, false); }
void BM_Retrieve16000x1(benchmark::State &s) { retrieve(s, 5, 16000, false); }
void BM_Retrieve5333x3(benchmark::State &s) { retrieve(s, 10, 5333, false); }
void BM_Save16000x1_Window(benchmark::State &s) { save(s, 5, 16000, true); }
void BM_Save5333x3_Window(benchmark::State &s) { save(s, 10, 5333, true); }
void BM_Retrieve16000x1_Window(benchmark::State &s) { retrieve(s, 5, 16000, true); }
void BM_Retrieve5333x3_Window(benchmark::State &s) { retrieve(s, 10, 5333, true); }

BENCHMARK(BM_Save16000x1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Save5333x3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Retrieve16000x1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Retrieve5333x3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Save16000x1_Window)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Save5333x3_Window)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Retrieve16000x1_Window)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Retrieve5333x3_Window)->Unit(benchmark::kMillisecond);

}   // namespace

bool benchSetUp() {
    rt::SetClock({2026, 12, 10, 9, 30, 0});
    mainWindow = LoadPanel(0, MONITOR);
    scalMenuHandle = LoadMenuBar(0, SCALMENU);
    if (mainWindow < 0) return false;
    DisplayPanel(mainWindow);
    flagOfDataTableOn = 0;
    return true;
}

int benchTearDown() { return 0; }
