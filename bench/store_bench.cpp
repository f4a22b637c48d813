// The archive on an SQLite file in a temporary folder, with no window: archiving a download of
// 16000 records (a new recording each time: readings, compressed text, fingerprint, download
// row and audit entry in one transaction, flushed to disk), verifying the records of a data file
// of 16000 records just read (an original, found by its fingerprint, and one with a value
// changed, compared with the archived readings; and the original with the reading of its text
// from memory), and listing 10000 recordings.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlQuery>

#include <unistd.h>

#include <filesystem>
#include <string>

#include "datafile/DataFileText.h"
#include "model/Models.h"
#include "model/Records.h"
#include "store/Archive.h"

namespace fs = std::filesystem;

namespace {

constexpr int kModel = 3;   // one channel, 16000 records
constexpr int kRecords = 16000;

fs::path folder;

// The record store holding a download of 16000 records whose first record lies at first.
void holdDownload(cRtc first) {
    resetModelState();
    currDeviceId = kModel;
    setEId("BENCH");
    eSampleRate = 60;
    eSampleTime = first;
    eLength = kRecords;
    ValPtrInit(kModel);
    clearLoggedData();
    loggedLength = 0;
    for (int i = 0; i < kRecords; ++i)
        storeRecord(first + 60u * static_cast<cRtc>(i), decodeTenths(150 + (i * 7) % 300), 0, 0);
    describeRecords();
}

// A fresh archive of its own for each case.
void openFresh(const std::string &name) {
    const fs::path path = folder / name;
    fs::remove(path);
    std::string error;
    if (!openArchive(path.string(), error)) std::fprintf(stderr, "%s\n", error.c_str());
}

void archiveDownload(benchmark::State &state) {
    openFresh("archive.db");
    cRtc first = 100000000u;
    for (auto _ : state) {
        state.PauseTiming();
        first += 16000u * 60u;
        holdDownload(first);
        state.ResumeTiming();
        const ArchiveResult result = archiveRecords({});
        if (result.outcome != ArchiveOutcome::StoredNew) state.SkipWithError(result.error.c_str());
    }
    closeArchive();
}

void verifyFile(benchmark::State &state, bool changed, bool read) {
    openFresh("verify.db");
    holdDownload(100000000u);
    archiveRecords({});
    std::string text;
    formatDataFile(text);
    parseDataFile(text.data(), text.size());
    if (changed) vTemPtr[kRecords - 1] += 1.0;   // as if the file's last value had been edited
    const VerifyOutcome expected = changed ? VerifyOutcome::Changed : VerifyOutcome::Original;
    for (auto _ : state) {
        if (read) parseDataFile(text.data(), text.size());
        const VerifyResult result = verifyRecords();
        if (result.outcome != expected) state.SkipWithError("unexpected outcome");
    }
    closeArchive();
}

void verifyOriginal(benchmark::State &state) { verifyFile(state, false, false); }
void verifyChanged(benchmark::State &state) { verifyFile(state, true, false); }
void readAndVerifyOriginal(benchmark::State &state) { verifyFile(state, false, true); }

// 10000 recordings: one archived, the others copies of its row with their own first record
// (listing reads the recordings, not their readings or texts).
void listRecordings10000(benchmark::State &state) {
    openFresh("list.db");
    holdDownload(100000000u);
    archiveRecords({});
    closeArchive();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("bench"));
        db.setDatabaseName(QString::fromStdString((folder / "list.db").string()));
        db.open();
        QSqlQuery q(db);
        q.exec(QStringLiteral(
            "WITH RECURSIVE n(k) AS (SELECT 1 UNION ALL SELECT k + 1 FROM n WHERE k < 9999) "
            "INSERT INTO recordings (logger, model_name, firmware, sample_interval, unit, first_time, last_time, "
            "records, readings, complete, imported, flagged, downloaded_utc, utc_offset, time_zone, pc_user, "
            "pc_host, fingerprint) SELECT logger, model_name, firmware, sample_interval, unit, "
            "first_time + k * 960000, last_time + k * 960000, records, readings, complete, imported, flagged, "
            "downloaded_utc, utc_offset, time_zone, pc_user, pc_host, fingerprint "
            "FROM recordings, n"));
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("bench"));
    std::string error;
    openArchive((folder / "list.db").string(), error);
    RecordingFilter filter;
    filter.sort = RecordingSort::FirstRecord;
    filter.descending = true;
    std::vector<RecordingInfo> list;
    for (auto _ : state) {
        if (!listRecordings(filter, list, error) || list.size() != 10000) state.SkipWithError("not 10000 listed");
    }
    closeArchive();
}

}   // namespace

BENCHMARK(archiveDownload)->Unit(benchmark::kMillisecond);
BENCHMARK(verifyOriginal)->Unit(benchmark::kMillisecond);
BENCHMARK(verifyChanged)->Unit(benchmark::kMillisecond);
BENCHMARK(readAndVerifyOriginal)->Unit(benchmark::kMillisecond);
BENCHMARK(listRecordings10000)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    folder = fs::temp_directory_path() / ("store-bench-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    fs::remove_all(folder);
    return 0;
}
