// The data table with the largest data the store holds, on the offscreen platform with the
// main window and the table window shown: a cursor move with the table open (the cursors and
// their read-outs, then the 1000-row page formatted and handed to the table column by column),
// with and without the event loop's turn that follows (the repaint of what changed); and the CSV export of
// 16000 records (the text alone, and written through the temporary file with its flush to disk).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "BenchMain.h"
#include "app/Tavix.h"
#include "display/Display.h"
#include "model/Models.h"
#include "model/Records.h"
#include "panels/Panels.h"
#include "runtime/inspect.h"
#include "runtime/ui.h"
#include "table/Csv.h"
#include "table/Table.h"

namespace {

// The chart shows every record and the table window is open for the model.
void showAll(int model, int records) {
    fillBenchStore(model, records);
    SetCtrlVal(idMonitor, MONITOR_OFFSET, 0);
    SetCtrlVal(idMonitor, MONITOR_RANGE, 16000);
    updateTemperatureChart();
    rt::ReplotNow(idMonitor, MONITOR_GRAPH);
    flagOfDataTableOn = 1;
    updatePanelTable();
    DisplayPanel(idTable);
    updateTable();
    ProcessSystemEvents();
}

// One cursor move as the user drags cursor 1 across the data: the cursor snaps to its point,
// the graph commits, the read-outs and the table page follow (a new page every 100 records).
void cursorMove(benchmark::State &state, int model, int records, bool repaint, bool table = true) {
    showAll(model, records);
    if (!table) {
        flagOfDataTableOn = 0;
        HidePanel(idTable);
    }
    double x = 0;
    for (auto _ : state) {
        x = x >= records - 200 ? 0 : x + 137;
        SetGraphCursor(idMonitor, MONITOR_GRAPH, 1, x, 0);
        rt::FireCtrlEvent(idMonitor, MONITOR_GRAPH, EVENT_COMMIT);
        if (repaint) ProcessSystemEvents();
    }
    state.counters["cursor1X"] = cursor1X;
    flagOfDataTableOn = 0;
    HidePanel(idTable);
}

void BM_CursorMoveTable16000x1(benchmark::State &state) { cursorMove(state, 5, 16000, false); }
void BM_CursorMoveTable5333x3(benchmark::State &state) { cursorMove(state, 10, 5333, false); }
void BM_CursorMoveTableRepaint16000x1(benchmark::State &state) { cursorMove(state, 5, 16000, true); }
void BM_CursorMoveTableRepaint5333x3(benchmark::State &state) { cursorMove(state, 10, 5333, true); }
// The same without the table, for comparison: what the chart's own cursor move costs.
void BM_CursorMoveNoTableRepaint16000x1(benchmark::State &state) { cursorMove(state, 5, 16000, true, false); }

void BM_CsvText16000x1(benchmark::State &state) {
    fillBenchStore(5, 16000);
    std::string text;
    for (auto _ : state) {
        if (!formatCsv(text)) state.SkipWithError("no memory");
        benchmark::DoNotOptimize(text.data());
    }
    state.counters["bytes"] = static_cast<double>(text.size());
}

void BM_CsvExport16000x1(benchmark::State &state) {
    fillBenchStore(5, 16000);
    const std::string file = benchFolder() + "/export.csv";
    for (auto _ : state)
        if (writeCsvFile(file.c_str()) != 0) state.SkipWithError("export failed");
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(file));
}

void BM_CsvExport5333x3(benchmark::State &state) {
    fillBenchStore(10, 5333);
    const std::string file = benchFolder() + "/export3.csv";
    for (auto _ : state)
        if (writeCsvFile(file.c_str()) != 0) state.SkipWithError("export failed");
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(file));
}

BENCHMARK(BM_CursorMoveTable16000x1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CursorMoveTable5333x3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CursorMoveTableRepaint16000x1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CursorMoveTableRepaint5333x3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CursorMoveNoTableRepaint16000x1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CsvText16000x1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CsvExport16000x1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CsvExport5333x3)->Unit(benchmark::kMillisecond);

}   // namespace

bool benchSetUp() {
    idMonitor = LoadPanel(0, MONITOR);
    idTable = LoadPanel(0, TABLE);
    idStatistic = LoadPanel(0, STATISTIC);
    scalMenuHandle = LoadMenuBar(0, SCALMENU);
    if (idMonitor < 0 || idTable < 0 || idStatistic < 0) return false;
    InsertTableRows(idTable, TABLE_DATA, -1, TABLE_PAGE_ROWS, VAL_USE_MASTER_CELL_TYPE);
    DisplayPanel(idMonitor);
    return true;
}

int benchTearDown() { return 0; }
