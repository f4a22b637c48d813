// The text report of the largest store to a PDF file: 16000 one-channel records (model index 5)
// and 5333 three-channel records (model index 10), through the data table's print button with a
// PDF file standing in for the printer, exactly as the user's report runs: the question
// answered, the header, one line per record laid out in columns and broken into numbered pages,
// the status line's progress after every record, and the PDF written through its temporary file
// and renamed over the target when the job ends.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "BenchMain.h"
#include "app/Tavix.h"
#include "model/Models.h"
#include "model/Records.h"
#include "panels/Panels.h"
#include "runtime/agent.h"
#include "base/clock.h"
#include "runtime/inspect.h"
#include "runtime/ui.h"
#include "table/Table.h"

namespace {

// The store of a model index with the description a download leaves.
void fill(int model, int records) {
    fillBenchStore(model, records);
    setEId("BENCH");
    eSampleRate = 60;
    eLength = records * loggerDataNum(model);
    eUnit = 'C';
}

void report(benchmark::State &state, int model, int records) {
    fill(model, records);
    const std::string pdf = benchFolder() + "/report-" + std::to_string(model) + ".pdf";
    rt::ScriptedAgent agent;
    rt::SetUserAgent(&agent);
    SetPrintAttribute(ATTR_PRINT_PDF_FILE, pdf.c_str());
    for (auto _ : state) {
        agent.promptAnswers = {"1-" + std::to_string(records)};
        agent.clear();
        rt::FireCtrlEvent(idTable, TABLE_PRINT, EVENT_COMMIT);
        if (agent.count("message") != 1 || agent.count("message", "Printing") != 0)
            state.SkipWithError("the report did not complete");
    }
    SetPrintAttribute(ATTR_PRINT_PDF_FILE, "");
    rt::SetUserAgent(nullptr);
    state.counters["records"] = records;
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(pdf));
}

void BM_Report16000x1(benchmark::State &s) { report(s, 5, 16000); }
void BM_Report5333x3(benchmark::State &s) { report(s, 10, 5333); }

}   // namespace

BENCHMARK(BM_Report16000x1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Report5333x3)->Unit(benchmark::kMillisecond);

bool benchSetUp() {
    rt::SetClock({2026, 12, 10, 9, 30, 0});
    // the main window (its status line shows the progress) and the data table with the button
    idMonitor = LoadPanel(0, MONITOR);
    idTable = LoadPanel(0, TABLE);
    if (idMonitor < 0 || idTable < 0) return false;
    DisplayPanel(idMonitor);
    rt::CapturePrinting(true);
    return true;
}

int benchTearDown() { return 0; }
