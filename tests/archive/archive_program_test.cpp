// The archive in the running program: every way a download can end keeps what arrived, the same
// download twice is one recording, Discard at Exit loses nothing, a refused store costs nothing
// but the archive's copy, a file read is checked against the archive, and the preferences
// window's changes go into the trail. The real program in-process on a simulated logger.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "FileSizeLimit.h"
#include "LinkFixture.h"
#include "PgCluster.h"
#include "Programs.h"
#include "archive/ArchiveWindow.h"
#include "archive/Archiving.h"
#include "files/Group.h"
#include "runtime/inspect.h"
#include "local/ArchiveTexts.h"
#include "local/Local.h"
#include "local/PreferencesWindow.h"
#include "panels/Controls.h"
#include "report/Report.h"
#include "sim/SimLogger.h"
#include "store/Archive.h"
#include "store/Audit.h"
#include "store/Fingerprint.h"
#include "store/Sync.h"

namespace {

namespace fs = std::filesystem;

class ArchiveProgram : public LinkProgram {
protected:
    void SetUp() override {
        LinkProgram::SetUp();
        chooseArchive(archiveFile(), false);
    }

    std::string archiveFile() const { return (dir_ / "TavixArchive.db").string(); }
    std::string path(const std::string &name) const { return (dir_ / name).string(); }

    // The program started on a simulated logger, the archive's texts named by their keys.
    void connect(sim::LoggerConfig config) {
        config.firstRecord = sim::makeCRtc(2026, 12, 1, 8, 0, 0);
        logger_ = std::make_unique<sim::SimLogger>(std::move(config));
        ASSERT_TRUE(logger_->start());
        stillSending_ = [this] { return logger_->dataPending(); };
        startProgram(logger_->devicePath());
        ASSERT_EQ(archiveUse, ArchiveUse::Open) << archiveOpenError;
        struct Text {
            char *text;
            const char *key;
        } texts[] = {{msgArchiveStored, "stored %1"},          {msgArchiveExtended, "extended %1 by %2"},
                     {msgArchiveAlready, "already %1"},        {msgArchiveFlagged, "flagged %1"},
                     {msgArchiveNotKept, "msgArchiveNotKept"}, {msgArchiveOriginal, "original from %1 on %2"},
                     {msgArchiveImported, "imported %1"},      {msgArchiveChanged, "changed record %1 (%2)"},
                     {msgArchiveUnknown, "unknown"},           {msgArchiveOff, "archive off"}};
        for (const Text &t : texts) std::snprintf(t.text, MSG_TEXT_SIZE, "%s", t.key);
    }
    void download() {
        rt::FireCtrlEvent(idMonitor, MONITOR_START_BUTTON, EVENT_COMMIT);
        ASSERT_TRUE(tickUntil([] { return fDownloadNow == 0; }, 600));
    }
    void save(const std::string &file) {
        agent_.fileAnswers.push_back(file);
        rt::FireCtrlEvent(idMonitor, MONITOR_MENU2, EVENT_COMMIT);
    }
    void retrieve(const std::string &file) {
        agent_.fileAnswers.push_back(file);
        rt::FireCtrlEvent(idMonitor, MONITOR_MENU1, EVENT_COMMIT);
    }
    static std::string title() {
        char text[512] = "";
        GetPanelAttribute(idMonitor, ATTR_TITLE, text, sizeof text);
        return text;
    }
    static std::vector<RecordingInfo> recordings() {
        std::vector<RecordingInfo> found;
        std::string error;
        EXPECT_TRUE(listRecordings({}, found, error)) << error;
        return found;
    }
    // The archived records of a recording are the records held, time by time.
    static void expectHeldRecordsArchived(std::int64_t id) {
        std::vector<ArchivedReading> readings;
        ASSERT_TRUE(recordingReadings(id, readings));
        ASSERT_EQ(static_cast<int>(readings.size()), loggedLength);
        for (int i = 0; i < loggedLength; ++i) {
            ASSERT_EQ(readings[i].number, i + 1);
            ASSERT_EQ(readings[i].time, rtcPtr[i]) << "record " << i + 1;
            ASSERT_TRUE(readings[i].temperature.has_value());
            ASSERT_NEAR(*readings[i].temperature, vTemPtr[i], 0.051) << "record " << i + 1;
        }
    }
    static std::vector<std::string> trailActions() {
        std::vector<AuditEntry> entries;
        std::string error;
        EXPECT_TRUE(listAudit(std::nullopt, std::nullopt, entries, error)) << error;
        std::vector<std::string> actions;
        for (const AuditEntry &e : entries) actions.push_back(e.action + ": " + e.details);
        return actions;
    }
    static bool trailHas(const std::string &start) {
        for (const std::string &a : trailActions())
            if (a.rfind(start, 0) == 0) return true;
        return false;
    }

    std::unique_ptr<sim::SimLogger> logger_;
};

// ---------------------------------------------------------------- the ways a download ends

struct EndingCase {
    const char *name;
    void (*setUp)(sim::LoggerConfig &config);
    bool pressEnd;   // End is pressed once 30 records have arrived
    bool complete;
};

class DownloadEnding : public ArchiveProgram, public ::testing::WithParamInterface<EndingCase> {};

TEST_P(DownloadEnding, KeepsWhatArrivedBeforeAnythingIsAsked) {
    const EndingCase &c = GetParam();
    sim::LoggerConfig config;
    config.id = "END-1";
    config.records = 200;
    config.baud = 9600;
    c.setUp(config);
    connect(config);
    rt::FireCtrlEvent(idMonitor, MONITOR_START_BUTTON, EVENT_COMMIT);
    if (c.pressEnd) {
        ASSERT_TRUE(tickUntil([] { return loggedLength >= 30; }, 600));
        rt::FireCtrlEvent(idMonitor, MONITOR_END_BUTTON, EVENT_COMMIT);
    }
    ASSERT_TRUE(tickUntil([] { return fDownloadNow == 0; }, 600));
    ASSERT_GT(loggedLength, 0);
    EXPECT_EQ(loggedLength == 200, c.complete);

    ASSERT_TRUE(lastDownloadKept);
    EXPECT_EQ(lastDownloadResult.outcome, ArchiveOutcome::StoredNew) << lastDownloadResult.error;
    const std::vector<RecordingInfo> found = recordings();
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].loggerId, "END-1");
    EXPECT_EQ(found[0].complete, c.complete);
    expectHeldRecordsArchived(found[0].id);
    EXPECT_NE(status().find("stored " + std::to_string(found[0].id)), std::string::npos) << status();
    // the records still wait to be saved
    EXPECT_TRUE(gFlag & GFLAG_NOT_SAVED);
}

INSTANTIATE_TEST_SUITE_P(Archive, DownloadEnding,
                         ::testing::Values(EndingCase{"complete", [](sim::LoggerConfig &) {}, false, true},
                                           EndingCase{"stopped by the user", [](sim::LoggerConfig &) {}, true, false},
                                           EndingCase{"port closed",
                                                      [](sim::LoggerConfig &c) {
                                                          c.fault.disconnectAfterLines =
                                                              3 * 2 + 40;   // I, M, t and 40 records
                                                      },
                                                      false, false},
                                           EndingCase{"logger fell silent",
                                                      [](sim::LoggerConfig &c) { c.fault.extraRecords = -60; }, false,
                                                      false}),
                         [](const auto &info) { return caseName(info.param.name); });

// ---------------------------------------------------------------- one recording per download

TEST_F(ArchiveProgram, TheSameDownloadTwiceIsOneRecording) {
    sim::LoggerConfig config;
    config.id = "TWICE";
    config.records = 120;
    connect(config);
    download();
    ASSERT_EQ(lastDownloadResult.outcome, ArchiveOutcome::StoredNew) << lastDownloadResult.error;
    agent_.defaultConfirm = true;
    agent_.saveDiscardCancelAnswers = {VAL_DISCARD_ANSWER};
    download();
    EXPECT_EQ(lastDownloadResult.outcome, ArchiveOutcome::AlreadyArchived);
    EXPECT_NE(status().find("already"), std::string::npos) << status();
    ASSERT_EQ(recordings().size(), 1u);
    EXPECT_EQ(recordings()[0].records, 120);
}

// Exit answered with Discard: nothing downloaded is lost, the archive has it.
TEST_F(ArchiveProgram, DiscardAtExitLosesNothing) {
    sim::LoggerConfig config;
    config.id = "EXIT-1";
    config.records = 80;
    connect(config);
    download();
    agent_.saveDiscardCancelAnswers = {VAL_DISCARD_ANSWER};
    rt::FireCtrlEvent(idMonitor, MONITOR_EXIT, EVENT_COMMIT);
    ASSERT_TRUE(rt::QuitPending());
    const std::vector<RecordingInfo> found = recordings();
    ASSERT_EQ(found.size(), 1u);
    expectHeldRecordsArchived(found[0].id);
    // the archive's text is the file Save File would have written
    std::string text, error;
    ASSERT_TRUE(recordingText(found[0].id, text, error)) << error;
    std::string made;
    ASSERT_TRUE(formatDataFile(made));
    EXPECT_EQ(text, made);
}

// A full disk or a read-only archive: a warning, the records shown and saveable.
struct RefusalCase {
    const char *name;
    bool readOnly;   // else the disk is full
};

class RefusedStore : public ArchiveProgram, public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(RefusedStore, TheDownloadIsShownAndSaveable) {
    const RefusalCase &c = GetParam();
    // an archive that holds something already, then made unwritable
    {
        sim::LoggerConfig config;
        config.records = 400;
        connect(config);
    }
    std::unique_ptr<FileSizeLimit> full;
    // root writes any file whatever its mode: the file is made immutable for it (and back)
    struct Immutable {
        std::string file;
        ~Immutable() {
            if (!file.empty()) programs::run({"/usr/bin/chattr", "-i", file}, fs::path(file).parent_path());
        }
    } immutable;
    if (c.readOnly) {
        tavixStop();
        fs::permissions(archiveFile(), fs::perms::owner_read | fs::perms::group_read);
        if (::geteuid() == 0) {
            if (programs::run({"/usr/bin/chattr", "+i", archiveFile()}, dir_).status != 0)
                GTEST_SKIP() << "no read-only file for root here";
            immutable.file = archiveFile();
        }
        startProgram(logger_->devicePath());
        ASSERT_EQ(archiveUse, ArchiveUse::Open) << archiveOpenError;
    } else {
        full = std::make_unique<FileSizeLimit>(fs::file_size(archiveFile()));
        ASSERT_TRUE(full->ok());
    }
    download();
    full.reset();
    ASSERT_EQ(loggedLength, 400);
    EXPECT_EQ(lastDownloadResult.outcome, ArchiveOutcome::Failed);
    ASSERT_GE(agent_.count("message"), 1);
    EXPECT_EQ(agent_.shown[0].text.rfind("msgArchiveNotKept", 0), 0u) << agent_.shown[0].text;
    EXPECT_EQ(statusColor(), VAL_RED);
    EXPECT_TRUE(gFlag & GFLAG_NOT_SAVED);
    const std::string file = path("kept.txt");
    save(file);
    EXPECT_EQ(gFlag & GFLAG_NOT_SAVED, 0);
    EXPECT_EQ(programs::lines(programs::readFile(file)).size(), 6u + 400u);
}

INSTANTIATE_TEST_SUITE_P(Archive, RefusedStore,
                         ::testing::Values(RefusalCase{"full disk", false}, RefusalCase{"read-only archive", true}),
                         [](const auto &info) { return caseName(info.param.name); });

// ---------------------------------------------------------------- Retrieve File checks the file

struct CheckCase {
    const char *name;
    // the saved file's text changed before it is read back
    std::string (*change)(const std::string &text);
    const char *note;   // what the title and status line say
};

class RetrievedFile : public ArchiveProgram, public ::testing::WithParamInterface<CheckCase> {};

TEST_P(RetrievedFile, TitleAndStatusSayWhatTheArchiveFound) {
    const CheckCase &c = GetParam();
    sim::LoggerConfig config;
    config.id = "CHECK-1";
    config.records = 30;
    connect(config);
    download();
    const std::string saved = path("saved.txt");
    save(saved);
    const std::string file = path("read.txt");
    std::ofstream(file, std::ios::binary) << c.change(programs::readFile(saved));
    retrieve(file);
    ASSERT_EQ(loggedLength, 30);
    EXPECT_NE(title().find(std::string("(") + c.note), std::string::npos) << title();
    EXPECT_NE(status().find(c.note), std::string::npos) << status();
    EXPECT_TRUE(trailHas("verify: " + file)) << ::testing::PrintToString(trailActions());
}

std::string unchanged(const std::string &text) { return text; }
// Record 5's first value one tenth higher.
std::string oneValueChanged(const std::string &text) {
    std::vector<std::string> lines = programs::lines(text);
    std::string &line = lines[6 + 4];
    const std::size_t dot = line.find('.');
    line[dot + 1] = line[dot + 1] == '9' ? '8' : static_cast<char>(line[dot + 1] + 1);
    std::string out;
    for (const std::string &l : lines) out += l + "\n";
    return out;
}
std::string otherLogger(const std::string &text) {
    std::string out = text;
    out.replace(out.find("CHECK-1"), 7, "OTHER-9");
    return out;
}

INSTANTIATE_TEST_SUITE_P(Archive, RetrievedFile,
                         ::testing::Values(CheckCase{"original", unchanged, "original from CHECK-1 on 20"},
                                           CheckCase{"one value changed", oneValueChanged,
                                                     "changed record 5 (temperature)"},
                                           CheckCase{"another logger", otherLogger, "unknown"}),
                         [](const auto &info) { return caseName(info.param.name); });

TEST_F(ArchiveProgram, AFileReadWithoutTheArchiveSaysSo) {
    chooseArchive("", true);
    startProgram();
    std::snprintf(msgArchiveOff, MSG_TEXT_SIZE, "archive off");
    const std::string file = path("plain.txt");
    std::ofstream(file) << "   #10\nDate: 2026-12-01\nID= X\nSample_Rate= 00:01:00\nTotal_Records= 1\nUnit: C\n"
                           "    1  2026-12-01 08:00:00   21.5 \n";
    retrieve(file);
    ASSERT_EQ(loggedLength, 1);
    EXPECT_NE(title().find("(archive off)"), std::string::npos) << title();
}

// ---------------------------------------------------------------- the trail

TEST_F(ArchiveProgram, SavingAndPreferencesGoIntoTheTrail) {
    sim::LoggerConfig config;
    config.id = "TRAIL-1";
    config.records = 10;
    connect(config);
    download();
    const std::string file = path("trail.txt");
    save(file);
    EXPECT_TRUE(trailHas("download: ")) << ::testing::PrintToString(trailActions());
    EXPECT_TRUE(trailHas("save: " + file + "; sha256 ")) << ::testing::PrintToString(trailActions());
    std::vector<WrittenFile> written = filesWritten(sha256Hex(programs::readFile(file)));
    ASSERT_EQ(written.size(), 1u);
    EXPECT_EQ(written[0].path, file);

    // the preferences window: the date format and the archive switched
    std::ofstream(localPath) << "[General]\nDate Format = Y-M-D\nLanguage File = English.ini\nArchive = ON\n"
                                "[TableProcess]\ndefaultHigh = 30\ndefaultLow = 10\n";
    rt::FireCtrlEvent(idMonitor, MONITOR_MENU8, EVENT_COMMIT);
    rt::FireCtrlEvent(idSetting, SETTING_PREFERENCES, EVENT_COMMIT);
    ASSERT_GT(idPreferences, 0);
    SetCtrlVal(idPreferences, PREFERENCES_DATE_FORMAT, 1);
    SetCtrlVal(idPreferences, PREFERENCES_ARCHIVE, 0);
    rt::FireCtrlEvent(idPreferences, PREFERENCES_OK, EVENT_COMMIT);
    EXPECT_TRUE(trailHas("preferences: Date Format: Y-M-D -> D-M-Y")) << ::testing::PrintToString(trailActions());
    EXPECT_TRUE(trailHas("preferences: Archive: ON -> OFF")) << ::testing::PrintToString(trailActions());
    EXPECT_NE(programs::readFile(localPath).find("Archive = OFF"), std::string::npos);
    EXPECT_EQ(verifyAuditTrail().fault, AuditFault::None);
}

// ---------------------------------------------------------------- the archive window

// A data file of a one-channel logger: records from day at 08:00, one a minute.
std::string importText(const std::string &id, int day, int records) {
    std::string text = "   #10\nDate: 2026-12-11\nID= " + id +
                       "\nSample_Rate= 00:01:00\nTotal_Records= " + std::to_string(records) + "\nUnit: C\n";
    for (int n = 0; n < records; ++n) {
        char line[96];
        std::snprintf(line, sizeof line, "%5d  2026-11-%02d %02d:%02d:00   %4.1f \n", n + 1, day, 8 + n / 60, n % 60,
                      18.0 + (n % 40) / 10.0);
        text += line;
    }
    return text;
}

TEST_F(ArchiveProgram, WithAServerTheWindowShowsAllSitesWithTheSiteAsAColumnAndAFilter) {
    if (PgCluster::binaries().empty()) GTEST_SKIP() << "the PostgreSQL programs are not installed";
    PgCluster cluster;
    std::string error;
    ASSERT_TRUE(cluster.create(error)) << error;
    const std::string url = cluster.database("sites", error);
    ASSERT_EQ(error, "");
    ASSERT_TRUE(openServer(url, true, error)) << error;
    closeServer();
    // another site's PC: an archive of its own, pushed
    const std::string other = path("dock-2.db");
    ASSERT_TRUE(openArchive(other, error)) << error;
    setArchiveSiteName("Dock 2");
    for (const auto &[id, day] : {std::pair{"TRUCK-7", 5}, std::pair{"TRUCK-8", 6}})
        ASSERT_EQ(importDataFile(importText(id, day, 90)).outcome, ArchiveOutcome::StoredNew);
    ASSERT_EQ(syncArchive(url).outcome, SyncOutcome::Done);
    closeArchive();
    // this PC
    sim::LoggerConfig config;
    config.id = "COLD-1";
    config.records = 120;
    chooseServer(url, "Dock 1");
    connect(config);
    EXPECT_EQ(archiveSiteName(), "Dock 1");
    ASSERT_EQ(importDataFile(importText("SHELF-3", 2, 90)).outcome, ArchiveOutcome::StoredNew);
    agent_.defaultConfirm = true;
    download();
    ASSERT_EQ(syncArchive(url).outcome, SyncOutcome::Done);

    rt::FireCtrlEvent(idMonitor, MONITOR_ARCHIVE, EVENT_COMMIT);
    ASSERT_GT(idArchive, 0);
    EXPECT_EQ(archiveRows.size(), 2u) << "this PC's archive first";
    SetCtrlVal(idArchive, ARCHIVE_SITES, 1);
    rt::FireCtrlEvent(idArchive, ARCHIVE_SITES, EVENT_COMMIT);
    ASSERT_EQ(archiveRows.size(), 4u);
    std::vector<std::string> sites;
    for (int row = 1; row <= 4; ++row) {
        char cell[64] = "";
        GetTableCellVal(idArchive, ARCHIVE_LIST, MakePoint(ARCHIVE_COLUMN_COUNT, row), cell, sizeof cell);   // Site
        sites.push_back(cell);
    }
    EXPECT_EQ(std::count(sites.begin(), sites.end(), "Dock 1"), 2);
    EXPECT_EQ(std::count(sites.begin(), sites.end(), "Dock 2"), 2);
    const fs::path artifacts = fs::path(TAVIX_ARTIFACTS_DIR);
    fs::create_directories(artifacts);
    EXPECT_EQ(rt::SavePanelImage(idArchive, (artifacts / "archive-window-sites.png").string().c_str()), 0);

    SetCtrlVal(idArchive, ARCHIVE_SITE, "Dock 2");
    rt::FireCtrlEvent(idArchive, ARCHIVE_FILTER, EVENT_COMMIT);
    EXPECT_EQ(archiveRows.size(), 2u);
    SetCtrlVal(idArchive, ARCHIVE_LOGGER, "TRUCK-8");
    rt::FireCtrlEvent(idArchive, ARCHIVE_FILTER, EVENT_COMMIT);
    EXPECT_EQ(archiveRows.size(), 1u);
    // the server gone: the list says why, the program goes on
    cluster.stop();
    rt::FireCtrlEvent(idArchive, ARCHIVE_FILTER, EVENT_COMMIT);
    EXPECT_EQ(archiveRows.size(), 0u);
    char said[512] = "";
    GetCtrlVal(idArchive, ARCHIVE_TRAIL_TEXT, said);
    EXPECT_NE(std::string(said).find("cannot be reached"), std::string::npos) << said;
    chooseServer("", "");
}

TEST_F(ArchiveProgram, TheWindowListsOpensExportsAndShowsTheTrail) {
    sim::LoggerConfig config;
    config.id = "COLD-1";
    config.records = 240;
    connect(config);
    for (const auto &[id, day] : {std::pair{"SHELF-3", 2}, std::pair{"TRUCK-7", 5}, std::pair{"SHELF-4", 9}})
        ASSERT_EQ(importDataFile(importText(id, day, 90)).outcome, ArchiveOutcome::StoredNew);
    agent_.defaultConfirm = true;   // the imported records held go
    download();
    ASSERT_EQ(loggedLength, 240);

    rt::FireCtrlEvent(idMonitor, MONITOR_ARCHIVE, EVENT_COMMIT);
    ASSERT_GT(idArchive, 0);
    EXPECT_EQ(archiveRows.size(), 4u);
    char head[256] = "";
    GetCtrlVal(idArchive, ARCHIVE_HEAD, head);
    EXPECT_NE(std::string(head).find(" " + std::to_string(auditHead().sequence) + "  " + auditHead().hash),
              std::string::npos)
        << head;
    // the picture, for the eye
    const fs::path artifacts = fs::path(TAVIX_ARTIFACTS_DIR);
    fs::create_directories(artifacts);
    EXPECT_EQ(rt::SavePanelImage(idArchive, (artifacts / "archive-window.png").string().c_str()), 0);

    // the verdict column follows the profile chosen: readings of 18 to 22 degrees are fine in a
    // room and far too warm for a refrigerator
    std::ofstream(path("TavixProfiles.ini")) << "[Room]\nZone hot = temperature, > 25.0, single, 0\n"
                                                "[Fridge]\nZone warm = temperature, > 8.0, cumulative, 60 min\n";
    rt::FireCtrlEvent(idMonitor, MONITOR_ARCHIVE, EVENT_COMMIT);   // the profiles are read as it opens
    for (const auto &[profile, verdict] : {std::pair{"Room", "PASS"}, std::pair{"Fridge", "FAIL"}}) {
        const int index = reportProfileByName(profile);
        ASSERT_GE(index, 0) << profile << ": " << reportProfilesError;
        SetCtrlVal(idArchive, ARCHIVE_PROFILE, index);
        rt::FireCtrlEvent(idArchive, ARCHIVE_PROFILE, EVENT_VAL_CHANGED);
        ASSERT_EQ(archiveRows.size(), 4u);
        for (int row = 1; row <= 4; ++row) {
            char cell[32] = "";
            GetTableCellVal(idArchive, ARCHIVE_LIST, MakePoint(8, row), cell, sizeof cell);   // Verdict
            EXPECT_STREQ(cell, verdict) << profile << ", row " << row;
        }
    }

    // the filter: one logger, then a time that only the download has
    SetCtrlVal(idArchive, ARCHIVE_LOGGER, "SHELF-3");
    rt::FireCtrlEvent(idArchive, ARCHIVE_FILTER, EVENT_COMMIT);
    ASSERT_EQ(archiveRows.size(), 1u);
    SetCtrlVal(idArchive, ARCHIVE_LOGGER, "");
    SetCtrlVal(idArchive, ARCHIVE_FROM, "2026-11-30");
    rt::FireCtrlEvent(idArchive, ARCHIVE_FILTER, EVENT_COMMIT);
    ASSERT_EQ(archiveRows.size(), 1u);
    const std::int64_t downloaded = archiveRows[0];
    // every recording, most records first
    SetCtrlVal(idArchive, ARCHIVE_FROM, "");
    SetCtrlVal(idArchive, ARCHIVE_SORT, 4);
    rt::FireCtrlEvent(idArchive, ARCHIVE_FILTER, EVENT_COMMIT);
    ASSERT_EQ(archiveRows.size(), 4u);
    char cell[64] = "";
    GetTableCellVal(idArchive, ARCHIVE_LIST, MakePoint(6, 1), cell, sizeof cell);
    const bool mostFirst = std::string(cell) == "240";
    GetTableCellVal(idArchive, ARCHIVE_LIST, MakePoint(6, 4), cell, sizeof cell);
    EXPECT_TRUE(mostFirst || std::string(cell) == "240") << "sorted by records";

    // the download into the main chart: the unsaved records go on the user's word
    const int row =
        static_cast<int>(std::find(archiveRows.begin(), archiveRows.end(), downloaded) - archiveRows.begin());
    SetTableSelection(idArchive, ARCHIVE_LIST, MakeRect(row + 1, 1, 1, ARCHIVE_COLUMN_COUNT));
    ASSERT_EQ(chosenRecording(), downloaded);
    agent_.saveDiscardCancelAnswers = {VAL_DISCARD_ANSWER};
    rt::FireCtrlEvent(idArchive, ARCHIVE_OPEN, EVENT_COMMIT);
    ASSERT_EQ(loggedLength, 240);
    EXPECT_EQ(gFlag & GFLAG_NOT_SAVED, 0);
    EXPECT_NE(title().find("original from COLD-1"), std::string::npos) << title();

    // its original data file exported
    const std::string exported = path("exported.txt");
    agent_.fileAnswers.push_back(exported);
    rt::FireCtrlEvent(idArchive, ARCHIVE_EXPORT, EVENT_COMMIT);
    std::string text, error;
    ASSERT_TRUE(recordingText(downloaded, text, error)) << error;
    EXPECT_EQ(programs::readFile(exported), text);
    EXPECT_TRUE(trailHas("export: recording " + std::to_string(downloaded) + " original data file -> " + exported +
                         "; sha256 " + sha256Hex(text)))
        << ::testing::PrintToString(trailActions());

    // into slot C of the group-files window
    SetCtrlVal(idArchive, ARCHIVE_SLOT, 2);
    rt::FireCtrlEvent(idArchive, ARCHIVE_OPEN_SLOT, EVENT_COMMIT);
    EXPECT_EQ(groupLength[2], 240);

    // its trail: the download and the checks, nothing of the other recordings
    rt::FireCtrlEvent(idArchive, ARCHIVE_TRAIL, EVENT_COMMIT);
    char trail[4096] = "";
    GetCtrlVal(idArchive, ARCHIVE_TRAIL_TEXT, trail);
    EXPECT_NE(std::string(trail).find("  download  "), std::string::npos) << trail;
    EXPECT_NE(std::string(trail).find("  export  "), std::string::npos) << trail;
    EXPECT_EQ(std::string(trail).find("SHELF"), std::string::npos) << trail;
}

}   // namespace
