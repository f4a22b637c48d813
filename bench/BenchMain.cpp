#include "BenchMain.h"

#include <benchmark/benchmark.h>

#include <QApplication>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "app/Tavix.h"
#include "model/Models.h"
#include "model/Records.h"
#include "runtime/ui.h"

namespace {

std::string folder;

}   // namespace

const std::string &benchFolder() {
    if (folder.empty()) {
        folder = (std::filesystem::temp_directory_path() / ("tavix-bench-" + std::to_string(::getpid()))).string();
        std::filesystem::create_directories(folder);
    }
    return folder;
}

void fillBenchStore(int model, int records, double low, int steps, double mark) {
    resetModelState();
    currDeviceId = model;
    ValPtrInit(model);
    clearLoggedData();
    loggedLength = 0;
    for (int i = 0; i < records; ++i) {
        const double t = low + (i % steps) / 10.0 + mark;
        const double error = 10000 + 3 + 0.00001;
        storeRecord(1000000u + 60u * static_cast<cRtc>(i), i % 500 == 499 ? error : t, t - 10.0,
                    40.0 + (i % 300) / 10.0 + mark);
    }
}

int main(int argc, char **argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    RegisterLayouts();
    if (!benchSetUp()) return 1;
    ProcessSystemEvents();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    const int status = benchTearDown();
    if (!folder.empty()) std::filesystem::remove_all(folder);
    return status;
}
