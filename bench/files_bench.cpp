// Saving and retrieving the largest data files: 16000 one-channel records and 5333
// three-channel records, written to a data file and read back into the record store.
//
// Each case runs twice: with no window loaded (the file and the store alone: formatting,
// writing through the temporary file with its flush to disk, reading and parsing) and with the
// main window shown on the offscreen platform (the progress text in the status line after
// every record and, for the retrieval, the identifier, the window set-up and the chart redraw).
#include <benchmark/benchmark.h>

#include <QApplication>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

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
std::string folder;

// Records of a model index: a saw-tooth per channel with negative values, an error every 500.
void fill(int model, int records) {
    resetModelState();
    currDeviceId = model;
    ValPtrInit(model);
    clearLoggedData();
    loggedLength = 0;
    for (int i = 0; i < records; ++i) {
        const double t = -15.0 + (i % 400) / 10.0 + 0.00001;
        const double error = 10000 + 3 + 0.00001;
        storeRecord(1000000u + 60u * static_cast<cRtc>(i), i % 500 == 499 ? error : t, t - 10.0,
                    40.0 + (i % 300) / 10.0 + 0.00001);
    }
    setEId("BENCH");
    eSampleRate = 60;
    eLength = records * loggerDataNum(model);
}

void save(benchmark::State &state, int model, int records, bool window) {
    idMonitor = window ? mainWindow : 0;
    fill(model, records);
    const std::string file = folder + "/save-" + std::to_string(model) + ".txt";
    for (auto _ : state)
        if (saveDataFile(file.c_str()) != 0) state.SkipWithError("save failed");
    state.counters["records"] = loggedLength;
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(file));
}

void retrieve(benchmark::State &state, int model, int records, bool window) {
    idMonitor = 0;
    fill(model, records);
    const std::string file = folder + "/retrieve-" + std::to_string(model) + ".txt";
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

int main(int argc, char **argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    rt::SetClock({2026, 12, 10, 9, 30, 0});
    folder = (std::filesystem::temp_directory_path() / ("tavix-files-bench-" + std::to_string(::getpid()))).string();
    std::filesystem::create_directories(folder);
    RegisterLayouts();
    mainWindow = LoadPanel(0, MONITOR);
    scalMenuHandle = LoadMenuBar(0, SCALMENU);
    if (mainWindow < 0) return 1;
    DisplayPanel(mainWindow);
    ProcessSystemEvents();
    flagOfDataTableOn = 0;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all(folder);
    return 0;
}
