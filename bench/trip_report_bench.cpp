// The trip report's speed: one page of the largest store (16000 one-channel records) judged,
// laid out and written as a PDF, as Save PDF… does; and tavix-cli summary over 100 data files of
// 16000 records in one run (no PDFs), the real program started as a process, as a script
// starts it: start-up, every file read as Retrieve File does, judged and its line printed.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "BenchMain.h"
#include "datafile/DataFileText.h"
#include "local/Local.h"
#include "local/ReportTexts.h"
#include "model/Models.h"
#include "model/Records.h"
#include "report/Report.h"
#include "runtime/agent.h"
#include "runtime/page.h"

namespace {

constexpr int kModel = 5;   // one temperature channel, 16000 records
constexpr int kRecords = 16000;
constexpr int kFiles = 100;
const char kProfile[] =
    "Refrigerated 2\xE2\x80\x93"
    "8 \xC2\xB0"
    "C";   // with a 24-hour MKT window

rt::ScriptedAgent agent;

// The store as a download leaves it: a saw-tooth from 2.0 to 9.9 degrees, a sensor error every
// 500 records.
void fill() {
    fillBenchStore(kModel, kRecords, 2.0, 80);
    setEId("BENCH");
    eSampleRate = 60;
    eLength = kRecords * loggerDataNum(kModel);
    eUnit = 'C';
    describeRecords();
}

const Profile *profile() {
    static std::vector<Profile> profiles;
    std::string error;
    if (profiles.empty() && !readProfilesFile(std::string(TAVIX_BIN_DIR) + "/TavixProfiles.ini", profiles, error))
        return nullptr;
    return findProfile(profiles, kProfile);
}

void BM_TripReportPdf(benchmark::State &state) {
    fill();
    const Profile *p = profile();
    if (!p) {
        state.SkipWithError("no profile");
        return;
    }
    const std::string pdf = benchFolder() + "/trip-report.pdf";
    for (auto _ : state) {
        Verdict verdict;
        if (judgeRecordsHeld(*p, verdict) != 0) state.SkipWithError("not judged");
        const rt::Page page = tripReportPage(*p, verdict, factsOfRecordsHeld());
        if (rt::WritePagesPdf({page}, pdf.c_str(), rptHeading) != 0) state.SkipWithError("not written");
    }
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(pdf));
}

void BM_Summary100Files(benchmark::State &state) {
    fill();
    std::string text;
    if (!formatDataFile(text)) {
        state.SkipWithError("no text");
        return;
    }
    std::string command = std::string(TAVIX_BIN_DIR) + "/tavix-cli summary --profile '" + kProfile + "'";
    for (int k = 0; k < kFiles; ++k) {
        const std::string file = benchFolder() + "/trip-" + std::to_string(k) + ".txt";
        std::ofstream(file, std::ios::binary) << text;
        command += " " + file;
    }
    command += " >/dev/null 2>&1";
    for (auto _ : state) {
        // 0 or 11: every file judged
        const int status = std::system(command.c_str());
        if (!WIFEXITED(status) || (WEXITSTATUS(status) != 0 && WEXITSTATUS(status) != 11))
            state.SkipWithError("tavix-cli summary failed");
    }
    state.counters["files"] = kFiles;
}

}   // namespace

bool benchSetUp() {
    rt::SetUserAgent(&agent);
    std::snprintf(languagePath, sizeof languagePath, "%s/English.ini", TAVIX_BIN_DIR);
    localTripReportWindow();
    return true;
}

int benchTearDown() {
    rt::SetUserAgent(nullptr);
    return agent.count("message") == 0 ? 0 : 1;
}

BENCHMARK(BM_TripReportPdf)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Summary100Files)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
