// The main chart with the largest data the store holds, on the offscreen platform with the
// main window shown: a full redraw (display series, plots, error markers, labels, cursors and
// the graph's own drawing and painting) of 16000 one-channel records and of 5333 three-channel
// records, and one cursor move (the record under the cursor and the read-outs).
#include <benchmark/benchmark.h>

#include "BenchMain.h"
#include "app/Tavix.h"
#include "display/Display.h"
#include "link/Link.h"
#include "model/Models.h"
#include "model/Records.h"
#include "panels/Panels.h"
#include "runtime/inspect.h"
#include "runtime/ui.h"
#include "table/Table.h"

namespace {

void setWindow(int offset, int range) {
    SetCtrlVal(idMonitor, MONITOR_OFFSET, offset);
    SetCtrlVal(idMonitor, MONITOR_RANGE, range);
}

void fullRedraw(benchmark::State &state, int model, int records) {
    fillBenchStore(model, records, 15.0, 200, 0.0);   // from 15 °C, a tooth of 200 records
    setWindow(0, 16000);
    for (auto _ : state) {
        updateTemperatureChart();
        rt::ReplotNow(idMonitor, MONITOR_GRAPH);
    }
    state.counters["records"] = loggedLength;
    state.counters["plots"] = static_cast<double>(rt::GraphPlots(idMonitor, MONITOR_GRAPH).size());
}

void BM_FullRedraw16000x1(benchmark::State &state) { fullRedraw(state, 5, 16000); }
void BM_FullRedraw5333x3(benchmark::State &state) { fullRedraw(state, 10, 5333); }

// One cursor move: the cursor snaps to its new point, then the graph's commit recomputes both
// cursors, the read-outs and the window's time texts (the data table is closed).
void BM_CursorMove(benchmark::State &state) {
    fillBenchStore(10, 5333, 15.0, 200, 0.0);
    setWindow(0, 16000);
    updateTemperatureChart();
    rt::ReplotNow(idMonitor, MONITOR_GRAPH);
    double x = 0;
    for (auto _ : state) {
        x = x >= 5000 ? 0 : x + 37;
        SetGraphCursor(idMonitor, MONITOR_GRAPH, 1, x, 0);
        rt::FireCtrlEvent(idMonitor, MONITOR_GRAPH, EVENT_COMMIT);
    }
    state.counters["cursor1X"] = cursor1X;
}

BENCHMARK(BM_FullRedraw16000x1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FullRedraw5333x3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CursorMove)->Unit(benchmark::kMicrosecond);

}   // namespace

bool benchSetUp() {
    idMonitor = LoadPanel(0, MONITOR);
    idStatistic = LoadPanel(0, STATISTIC);
    idSetLogger = LoadPanel(0, SETLOGGER);
    scalMenuHandle = LoadMenuBar(0, SCALMENU);
    if (idMonitor < 0 || idStatistic < 0 || idSetLogger < 0) return false;
    DisplayPanel(idMonitor);
    flagOfDataTableOn = 0;
    return true;
}

int benchTearDown() { return 0; }
