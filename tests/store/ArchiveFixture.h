// The archive's tests share this: each test opens a new archive (a real SQLite file) in a
// folder of its own, with the record store and the date format at their start-up state; the
// sqlite3 shell looks at the file from outside.
#pragma once

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "Programs.h"
#include "TestFolder.h"
#include "base/Prefs.h"
#include "datafile/DataFileText.h"
#include "model/Records.h"
#include "store/Archive.h"

// The sqlite3 shell, found on the PATH.
inline std::string sqliteShell() {
    const char *path = std::getenv("PATH");
    std::string folders = path != nullptr ? path : "/usr/bin";
    for (std::size_t at = 0; at <= folders.size();) {
        std::size_t end = folders.find(':', at);
        if (end == std::string::npos) end = folders.size();
        const std::filesystem::path candidate = std::filesystem::path(folders.substr(at, end - at)) / "sqlite3";
        if (::access(candidate.c_str(), X_OK) == 0) return candidate.string();
        at = end + 1;
    }
    return "sqlite3";
}

// The sqlite3 shell on an archive: its output without the line end.
inline std::string shell(const std::filesystem::path &db, const std::string &sql) {
    const programs::Outcome out = programs::run({sqliteShell(), db.string(), sql}, db.parent_path());
    std::string text = out.out;
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    return out.status == 0 ? text : "sqlite3 failed: " + out.err;
}

class Archive : public ::testing::Test {
protected:
    void SetUp() override {
        resetModelState();
        resetDataFileState();
        resetArchiveState();
        sLocal.dateFormat = DATE_ORDER_MDY;
        dir_ = makeTestFolder("store");
        db_ = dir_ / ARCHIVE_FILE_NAME;
        std::string error;
        ASSERT_TRUE(openArchive(db_.string(), error)) << error;
    }
    void TearDown() override {
        closeArchive();
        sLocal.dateFormat = DATE_ORDER_MDY;
        ::chmod(dir_.c_str(), 0755);
        std::filesystem::remove_all(dir_);
    }

    std::vector<RecordingInfo> recordings(RecordingFilter filter = {}) {
        std::vector<RecordingInfo> list;
        std::string error;
        EXPECT_TRUE(listRecordings(filter, list, error)) << error;
        return list;
    }
    // The records held saved as a data file and read back, as Retrieve File holds them.
    std::string savedText() {
        std::string text;
        EXPECT_TRUE(formatDataFile(text));
        return text;
    }
    void readBack(const std::string &text) { ASSERT_GT(parseDataFile(text.data(), text.size()), 0); }

    std::filesystem::path dir_, db_;
};
