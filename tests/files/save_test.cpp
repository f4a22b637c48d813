// The Save File command: the exact bytes of the file for each channel layout, the dialog, the
// overwrite question and the failures (the previous file always survives).
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <array>
#include <filesystem>
#include <map>
#include <optional>
#include <regex>

#include "CaseName.h"
#include "FileSizeLimit.h"
#include "FilesFixture.h"

namespace {

namespace fs = std::filesystem;

struct GoldenCase {
    const char *fixture;
    int model;
    int dateMode;
    const char *id;
    int rate;
    int length;
    char unit;
    std::vector<std::array<double, 3>> rows;   // values in the order of the record line
};

class GoldenFile : public FilesProgram, public ::testing::WithParamInterface<GoldenCase> {};

const cRtc kFirst = sim::makeCRtc(2026, 12, 1, 8, 0, 0);

void fillStore(const GoldenCase &c) {
    currDeviceId = c.model;
    ValPtrInit(c.model);
    clearLoggedData();
    loggedLength = 0;
    for (std::size_t i = 0; i < c.rows.size(); ++i)
        ASSERT_GT(storeLineAt(static_cast<int>(i), kFirst + static_cast<cRtc>(c.rate) * static_cast<cRtc>(i),
                              c.rows[i].data()),
                  0);
    setEId(c.id);
    eSampleRate = c.rate;
    eLength = c.length;
    eUnit = c.unit;
    describeRecords();   // as a download does with its first record
}

TEST_P(GoldenFile, WritesExactlyTheFixture) {
    const GoldenCase &c = GetParam();
    start();
    sLocal.dateFormat = static_cast<signed char>(c.dateMode);
    fillStore(c);
    gFlag |= GFLAG_NOT_SAVED;

    const std::string out = path("saved.txt");
    save(out);

    EXPECT_EQ(readText(out), readText(std::string(TAVIX_FILES_FIXTURES) + "/" + c.fixture)) << c.fixture;
    EXPECT_EQ(gFlag & GFLAG_NOT_SAVED, 0);
    EXPECT_EQ(status(), "msg5");
    EXPECT_EQ(ctrlText(idMonitor, MONITOR_INFO), out);
    EXPECT_STREQ(fileName, out.c_str());
    EXPECT_EQ(agent_.count("message"), 0);
    EXPECT_EQ(agent_.count("confirm"), 0);
    // nothing but the file is left in the folder
    int files = 0;
    for (const auto &e : fs::directory_iterator(dir_)) files += e.path().extension() == ".tmp";
    EXPECT_EQ(files, 0);

    // the dialog: the default data folder (made), today's name, the text-file type
    ASSERT_EQ(recorder_.requests.size(), 1u);
    const rt::FileRequest &r = recorder_.requests[0];
    EXPECT_EQ(r.defaultDirectory, documentsTavix());
    EXPECT_TRUE(fs::is_directory(documentsTavix()));
    EXPECT_EQ(r.defaultFileSpec, "20261210.txt");
    EXPECT_EQ(r.fileTypeList, "ASCII files(*.txt)");
    EXPECT_EQ(r.title, "Save File");
    EXPECT_EQ(r.buttonLabel, VAL_SAVE_BUTTON);
    EXPECT_TRUE(r.restrictExtension);
}

// Each fixture has a negative value, 10000.0 and the error codes 00, 05 and 123; the interval
// is written with two-digit fields (three-digit hours from 100 hours on).
INSTANTIATE_TEST_SUITE_P(Layouts, GoldenFile,
                         ::testing::Values(GoldenCase{"layout0.txt",
                                                      6,
                                                      0,
                                                      "LOG-42",
                                                      90,
                                                      7,
                                                      'C',
                                                      {{measured(-5.0)},
                                                       {10000.0},
                                                       {errorCode(0)},
                                                       {errorCode(5)},
                                                       {errorCode(123)},
                                                       {measured(-123.4)},
                                                       {measured(21.5)}}},
                                           GoldenCase{"layout1.txt",
                                                      19,
                                                      1,
                                                      "",
                                                      3725,
                                                      14,
                                                      'F',
                                                      {{measured(-5.0), measured(55.1)},
                                                       {10000.0, errorCode(5)},
                                                       {errorCode(0), errorCode(123)},
                                                       {measured(21.5), measured(100.0)}}},
                                           GoldenCase{"layout2.txt",
                                                      11,
                                                      2,
                                                      "A",
                                                      43200,
                                                      999,
                                                      'C',
                                                      {{measured(-5.0), measured(-123.4)},
                                                       {errorCode(123), 10000.0},
                                                       {errorCode(0), errorCode(5)}}},
                                           GoldenCase{"layout3.txt",
                                                      10,
                                                      0,
                                                      "ZONE 7",
                                                      360000,
                                                      15,
                                                      'C',
                                                      {{measured(-5.0), measured(0.0), measured(45.0)},
                                                       {10000.0, errorCode(5), errorCode(0)},
                                                       {errorCode(123), measured(-0.1), measured(99.9)}}}),
                         [](const auto &info) { return caseName(withoutExtension(info.param.fixture)); });

class SaveFile : public FilesProgram {
protected:
    void SetUp() override {
        FilesProgram::SetUp();
        start();
        sLocal.dateFormat = 2;
        emptyStore(10);
        const double row[3] = {measured(20.0), measured(21.0), measured(50.0)};
        for (int i = 0; i < 40; ++i) storeLineAt(i, kFirst + 60u * static_cast<cRtc>(i), row);
        setEId("LOG");
        eSampleRate = 60;
        eLength = 120;
        describeRecords();   // as a download does with its first record
        gFlag |= GFLAG_NOT_SAVED;
        agent_.clear();
    }
    std::string oldFile() {
        const std::string file = path("old.txt");
        writeText(file, std::string(2000, 'x') + "\n");
        return file;
    }
    int tempFiles() const {
        int n = 0;
        for (const auto &e : fs::directory_iterator(dir_)) n += e.path().extension() == ".tmp";
        return n;
    }
};

TEST_F(SaveFile, CancelChangesNothing) {
    std::snprintf(fileName, sizeof fileName, "before");
    save("");
    EXPECT_STREQ(fileName, "before");
    EXPECT_NE(gFlag & GFLAG_NOT_SAVED, 0);
    EXPECT_EQ(agent_.count("confirm"), 0);
    for (const auto &e : fs::directory_iterator(dir_)) EXPECT_NE(e.path().extension(), ".txt") << e.path();
    EXPECT_EQ(tempFiles(), 0);
}

TEST_F(SaveFile, AnExistingFileIsReplacedOnlyAfterYes) {
    const std::string file = oldFile();
    const std::string before = readText(file);

    agent_.confirmAnswers.push_back(false);
    save(file);
    ASSERT_EQ(agent_.shown.size(), 2u);
    EXPECT_EQ(agent_.shown[1].kind, "confirm");
    EXPECT_EQ(agent_.shown[1].title, "warn9");
    EXPECT_EQ(agent_.shown[1].text, "warn21 " + file + " warn22");
    EXPECT_EQ(agent_.shown[1].defaultButton, "no") << "replacing a file is never the default";
    EXPECT_EQ(readText(file), before);
    EXPECT_NE(gFlag & GFLAG_NOT_SAVED, 0);
    // the chosen path is kept and shown all the same
    EXPECT_STREQ(fileName, file.c_str());
    EXPECT_EQ(ctrlText(idMonitor, MONITOR_INFO), file);

    agent_.confirmAnswers.push_back(true);
    save(file);
    const std::string after = readText(file);
    EXPECT_EQ(after.substr(0, 8), "   #10\nD");
    EXPECT_EQ(std::count(after.begin(), after.end(), '\n'), 6 + 40);
    EXPECT_EQ(gFlag & GFLAG_NOT_SAVED, 0);
    EXPECT_EQ(tempFiles(), 0);
}

TEST_F(SaveFile, AFileThatCannotBeCreatedIsReported) {
    const std::string file = path("no-such-folder/data.txt");
    save(file);
    EXPECT_EQ(agent_.count("confirm"), 0);
    ASSERT_EQ(agent_.count("message"), 1);
    EXPECT_EQ(agent_.shown.back().title, "warn6");
    EXPECT_EQ(agent_.shown.back().text, file);
    EXPECT_NE(gFlag & GFLAG_NOT_SAVED, 0);
    EXPECT_NE(status(), "msg5");
    EXPECT_FALSE(fs::exists(file));
}

TEST_F(SaveFile, AWriteErrorKeepsThePreviousFileAndTheUnsavedMark) {
    const std::string file = oldFile();
    const std::string before = readText(file);

    // The file system refuses everything past 300 bytes.
    {
        const FileSizeLimit limit(300);
        ASSERT_TRUE(limit.ok());
        agent_.confirmAnswers.push_back(true);
        save(file);
    }

    ASSERT_EQ(agent_.count("message"), 1);
    EXPECT_EQ(agent_.shown.back().title, "warn6");
    EXPECT_EQ(agent_.shown.back().text, file);
    EXPECT_EQ(readText(file), before);
    EXPECT_NE(gFlag & GFLAG_NOT_SAVED, 0);
    EXPECT_EQ(tempFiles(), 0);
    // no msg5; the status line holds the progress "<label>: <count in 4 columns> <points>."
    EXPECT_TRUE(std::regex_match(status(), std::regex("Save File: [ 0-9]{3}[0-9] points\\."))) << status();
}

TEST_F(SaveFile, NoRecordsWritesTheHeaderOnly) {
    loggedLength = 0;
    eId[0] = '\0';
    const std::string file = path("empty.txt");
    save(file);
    EXPECT_EQ(readText(file), "   #10\nDate: 2026-12-10\nID= \nSample_Rate= 00:01:00\nTotal_Records= 120\nUnit: C\n");
    EXPECT_EQ(status(), "msg5");
}

// The records read keep the identifier they came with: saving them again writes the same file.
TEST_F(SaveFile, DataReadFromAFileAreSavedWithTheirIdentifier) {
    const std::string first = path("first.txt");
    save(first);
    retrieve(first);
    EXPECT_EQ(ctrlText(idMonitor, MONITOR_ID), "ID=LOG");
    const std::string second = path("second.txt");
    save(second);
    const std::string a = readText(first), b = readText(second);
    EXPECT_NE(a.find("\nID= LOG\n"), std::string::npos);
    EXPECT_EQ(a, b);
}

// What the user chooses need not be a plain file. A symbolic link is followed: the file it
// finally points to gets the data and the link stays a link. Anything but a regular file is
// refused with warn6 and left as it was, and so is the previous file when writing fails.
struct TargetCase {
    const char *name;
    // Makes "chosen.txt" in dir and what it leads to; false when this system cannot.
    bool (*make)(const fs::path &dir);
    const char *written;   // the file (in dir) that receives the data; nullptr: refused
    rlim_t sizeLimit;      // the file system refuses the bytes past this many (0: no limit)
};

void PrintTo(const TargetCase &c, std::ostream *os) { *os << c.name; }

class SaveTarget : public SaveFile, public ::testing::WithParamInterface<TargetCase> {
protected:
    // Every entry below root: a link's text, a file's bytes, the kind of anything else.
    static std::map<std::string, std::string> entries(const fs::path &root) {
        std::map<std::string, std::string> m;
        for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator(); ++it) {
            const fs::path &p = it->path();
            std::string &e = m[p.lexically_relative(root).string()];
            switch (fs::symlink_status(p).type()) {
                case fs::file_type::symlink: e = "link to " + fs::read_symlink(p).string(); break;
                case fs::file_type::regular: e = "file " + readText(p.string()); break;
                case fs::file_type::directory: e = "folder"; break;
                case fs::file_type::fifo: e = "fifo"; break;
                case fs::file_type::character: e = "device"; break;
                default: e = "other"; break;
            }
        }
        return m;
    }
};

const char kPrevious[] = "the previous file\n";

void writePrevious(const fs::path &file) { std::ofstream(file, std::ios::binary) << kPrevious; }

bool linkToFile(const fs::path &dir) {
    writePrevious(dir / "real.txt");
    fs::create_symlink("real.txt", dir / "chosen.txt");
    return true;
}

TEST_P(SaveTarget, ALinkIsFollowedAndAnythingButAFileIsRefused) {
    const TargetCase &c = GetParam();
    const fs::path dir = dir_ / "targets";
    fs::create_directory(dir);
    if (!c.make(dir)) GTEST_SKIP() << "cannot make " << c.name << " here";
    const std::string chosen = (dir / "chosen.txt").string();
    std::map<std::string, std::string> expected = entries(dir);
    std::string data;
    ASSERT_TRUE(formatDataFile(data));
    if (c.written != nullptr) expected[c.written] = "file " + data;

    std::error_code ec;
    if (fs::exists(chosen, ec)) agent_.confirmAnswers.push_back(true);   // the overwrite question
    {
        std::optional<FileSizeLimit> limit;
        if (c.sizeLimit > 0) {
            limit.emplace(c.sizeLimit);
            ASSERT_TRUE(limit->ok());
        }
        save(chosen);
    }

    // Nothing else changed, no temporary file is left, a link is still the same link.
    EXPECT_EQ(entries(dir), expected);
    if (c.written != nullptr) {
        EXPECT_EQ(status(), "msg5");
        EXPECT_EQ(gFlag & GFLAG_NOT_SAVED, 0);
        EXPECT_EQ(agent_.count("message"), 0);
    } else {
        ASSERT_EQ(agent_.count("message"), 1);
        EXPECT_EQ(agent_.shown.back().title, "warn6");
        EXPECT_EQ(agent_.shown.back().text, chosen);
        EXPECT_NE(status(), "msg5");
        EXPECT_NE(gFlag & GFLAG_NOT_SAVED, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Targets, SaveTarget,
    ::testing::Values(
        TargetCase{"link to a file", linkToFile, "real.txt", 0},
        TargetCase{"chain of links into another folder",
                   [](const fs::path &dir) {
                       fs::create_directory(dir / "sub");
                       writePrevious(dir / "sub" / "real.txt");
                       fs::create_symlink("real.txt", dir / "sub" / "hop");   // relative to its own folder
                       fs::create_symlink(dir / "sub" / "hop", dir / "chosen.txt");
                       return true;
                   },
                   "sub/real.txt", 0},
        TargetCase{"link to a file not made yet",
                   [](const fs::path &dir) {
                       fs::create_symlink("new.txt", dir / "chosen.txt");
                       return true;
                   },
                   "new.txt", 0},
        TargetCase{"fifo", [](const fs::path &dir) { return mkfifo((dir / "chosen.txt").c_str(), 0644) == 0; }, nullptr,
                   0},
        TargetCase{"link to a fifo",
                   [](const fs::path &dir) {
                       fs::create_symlink("fifo", dir / "chosen.txt");
                       return mkfifo((dir / "fifo").c_str(), 0644) == 0;
                   },
                   nullptr, 0},
        TargetCase{
            "device",
            [](const fs::path &dir) { return mknod((dir / "chosen.txt").c_str(), S_IFCHR | 0644, makedev(1, 3)) == 0; },
            nullptr, 0},
        TargetCase{"folder", [](const fs::path &dir) { return fs::create_directory(dir / "chosen.txt"); }, nullptr, 0},
        TargetCase{"link that points at itself",
                   [](const fs::path &dir) {
                       fs::create_symlink("chosen.txt", dir / "chosen.txt");
                       return true;
                   },
                   nullptr, 0},
        TargetCase{"write error through a link", linkToFile, nullptr, 300}),
    [](const auto &info) {
        std::string name = info.param.name;
        for (char &ch : name)
            if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
        return name;
    });

}   // namespace
