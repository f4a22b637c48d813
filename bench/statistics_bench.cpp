// The statistics window with the largest data the store holds, on the offscreen platform: the
// window opened by its command over 16000 values in both sections (texts from the language
// file, title, channel list, both sections with their read-outs, mean kinetic temperatures and
// histograms, and the two graphs' own drawing and painting), a recomputed section (an interval
// count changed), and the analysis alone.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <vector>

#include "BenchMain.h"
#include "app/Tavix.h"
#include "display/Display.h"
#include "local/Local.h"
#include "model/Models.h"
#include "model/Records.h"
#include "panels/Panels.h"
#include "runtime/agent.h"
#include "runtime/inspect.h"
#include "runtime/ui.h"
#include "analysis/Analysis.h"
#include "table/Table.h"

namespace {

constexpr int kRecords = 16000;
constexpr int kOneChannel = 7;   // one temperature: the store holds 16000 records

// a language-file problem is answered by the script, never by a dialog
rt::ScriptedAgent agent;

// A slow saw-tooth around 20 degrees, a sensor error every 500 records; cursors around all.
void fill() {
    resetModelState();
    currDeviceId = kOneChannel;
    eUnit = 'C';
    ValPtrInit(kOneChannel);
    clearLoggedData();
    loggedLength = 0;
    for (int i = 0; i < kRecords; ++i) {
        const double t = 15.0 + (i % 200) / 10.0;
        storeRecord(1000000u + 60u * static_cast<cRtc>(i), i % 500 == 499 ? 10003.00001 : t, 10000, 10000);
    }
    cursor1X = 0;
    cursor2X = kRecords;
}

void replotHistograms() {
    rt::ReplotNow(idStatistic, STATISTIC_HISTOGRAM1);
    rt::ReplotNow(idStatistic, STATISTIC_HISTOGRAM2);
}

void BM_OpenStatistics16000(benchmark::State &state) {
    fill();
    for (auto _ : state) {
        rt::FireCtrlEvent(idMonitor, MONITOR_MENU5, EVENT_COMMIT);
        replotHistograms();
    }
    int n = 0;
    GetCtrlVal(idStatistic, STATISTIC_NUM2, &n);
    state.counters["values"] = n;
}

void BM_IntervalCountChanged16000(benchmark::State &state) {
    fill();
    rt::FireCtrlEvent(idMonitor, MONITOR_MENU5, EVENT_COMMIT);
    int k = 20;
    for (auto _ : state) {
        k = k == 132 ? 20 : k + 1;
        SetCtrlVal(idStatistic, STATISTIC_INTERVALS1, k);
        rt::FireCtrlEvent(idStatistic, STATISTIC_INTERVALS1, EVENT_VAL_CHANGED);
        rt::ReplotNow(idStatistic, STATISTIC_HISTOGRAM1);
    }
}

// Mean, deviation, extremes, a 132-interval histogram and the mean kinetic temperature.
void BM_AnalysisAlone16000(benchmark::State &state) {
    std::vector<double> store(kRecords);
    for (int i = 0; i < kRecords; ++i) store[i] = 15.0 + (i % 200) / 10.0;
    const double *values = store.data();
    int counts[HISTOGRAM_MAX_INTERVALS];
    double axis[HISTOGRAM_MAX_INTERVALS];
    for (auto _ : state) {
        double mean = 0, sd = 0, max = 0, min = 0, mkt = 0;
        StdDev(values, kRecords, &mean, &sd);
        MaxMin1D(values, kRecords, &max, nullptr, &min, nullptr);
        Histogram(values, kRecords, min - 1, max + 1, counts, axis, HISTOGRAM_MAX_INTERVALS);
        MeanKineticTemp(values, kRecords, 'C', &mkt);
        benchmark::DoNotOptimize(mkt);
    }
}

BENCHMARK(BM_OpenStatistics16000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IntervalCountChanged16000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AnalysisAlone16000)->Unit(benchmark::kMicrosecond);

}   // namespace

bool benchSetUp() {
    rt::SetUserAgent(&agent);
    std::snprintf(languagePath, sizeof languagePath, "%s/English.ini", TAVIX_BIN_DIR);
    idMonitor = LoadPanel(0, MONITOR);
    idStatistic = LoadPanel(0, STATISTIC);
    if (idMonitor < 0 || idStatistic < 0) return false;
    DisplayPanel(idMonitor);
    return true;
}

int benchTearDown() {
    rt::SetUserAgent(nullptr);
    return agent.count("message") == 0 ? 0 : 1;
}
