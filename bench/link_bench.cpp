// Data lines received from a logger per second: each line is put into the receive buffer,
// tokenised, decoded by the model's rule and stored in the record store, exactly as the
// serial notification hands it to the interpreter (the status-line progress included; with no
// window loaded the run-time refuses it at once).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "link/Link.h"
#include "model/Models.h"
#include "model/Records.h"

namespace {

// Ready to receive the data lines of a model: identified, a download running.
void prepare(int model) {
    static const bool once = [] {
        resetModelState();
        return true;
    }();
    (void)once;
    resetLinkState();
    currDeviceId = model;
    ValPtrInit(model);
    clearLoggedData();
    loggedLength = 0;
    eUnit = 'C';
    eSampleTime = 100;
    eSampleRate = 60;
    fDownloadNow = 1;
}

// 1000 distinct data lines of the model (values per line of the model).
std::vector<std::string> lines(int model) {
    std::vector<std::string> out;
    const int n = loggerDataNum(model);
    for (int k = 0; k < 1000; ++k) {
        char line[64];
        if (n == 1) std::snprintf(line, sizeof line, "d %d", model == 1 ? 1500 + k : 200 + k % 50);
        if (n == 2) std::snprintf(line, sizeof line, "d %d %d", 200 + k % 50, 450 + k % 100);
        if (n == 3) std::snprintf(line, sizeof line, "d %d %d %d", 251 + k % 50, -48 + k % 40, 655 - k % 100);
        out.push_back(line);
    }
    return out;
}

void BM_DataLines(benchmark::State &state) {
    const int model = static_cast<int>(state.range(0));
    prepare(model);
    const std::vector<std::string> data = lines(model);
    const int capacity = recordCapacity();
    std::size_t i = 0;
    for (auto _ : state) {
        const std::string &line = data[i];
        setRxLine(line.data(), static_cast<int>(line.size()));
        analysisComPortData();
        if (++i == data.size()) i = 0;
        if (loggedLength >= capacity) loggedLength = 0;   // keep storing, never refusing
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
    state.SetLabel(std::to_string(loggerDataNum(model)) + " values per line");
}

}  // namespace

// Model 10 (three values), 9 (two), 6 (one value) and 1 (thermistor).
BENCHMARK(BM_DataLines)->Arg(10)->Arg(9)->Arg(6)->Arg(1);
