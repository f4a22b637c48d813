// The per-user program folder of an installed Tavix: seeded at the first start from the
// shared data folder, and brought up to date where a newer installation ships newer language
// files or a newer help document; the preferences, the profiles and the state files stay the
// user's.
#include <gtest/gtest.h>

#include <QCoreApplication>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "Programs.h"
#include "TestFolder.h"
#include "runtime/folder.h"

namespace fs = std::filesystem;

namespace {

using programs::readFile;

void write(const fs::path &file, const std::string &text) { std::ofstream(file) << text; }

// HOME and the shared data folders point into a folder of the test's own: "shared/tavix" plays
// the installed share/tavix, "home/.local/share/Tavix" the per-user folder.
class ProgramFolder : public ::testing::Test {
protected:
    void SetUp() override {
        dir = makeTestFolder("tavix-folder");
        fs::create_directories(shipped());
        fs::create_directories(dir / "home");
        for (const char *name : {"HOME", "XDG_DATA_HOME", "XDG_DATA_DIRS"})
            saved.push_back(std::getenv(name) ? std::getenv(name) : "");
        setenv("HOME", (dir / "home").c_str(), 1);
        setenv("XDG_DATA_HOME", (dir / "home" / "data").c_str(), 1);
        setenv("XDG_DATA_DIRS", (dir / "shared").c_str(), 1);
        for (const char *name :
             {"localORM.ini", "English.ini", "German.ini", "TavixProfiles.ini", "1QZRT7205918C_TavixDesk.pdf"})
            write(shipped() / name, std::string("shipped ") + name);
        // a state file in the shared folder is never taken over
        write(shipped() / "Tavix.ini", "shipped state");
    }
    void TearDown() override {
        const char *names[] = {"HOME", "XDG_DATA_HOME", "XDG_DATA_DIRS"};
        for (std::size_t k = 0; k < saved.size(); ++k) setenv(names[k], saved[k].c_str(), 1);
        fs::current_path(fs::temp_directory_path());
        fs::remove_all(dir);
    }
    fs::path shipped() const { return dir / "shared" / "tavix"; }
    fs::path user() const { return dir / "home" / ".local" / "share" / "Tavix"; }
    // Make a file look written an hour before or after the shipped ones.
    void age(const fs::path &file, int hours) {
        fs::last_write_time(file, fs::last_write_time(shipped() / "English.ini") + std::chrono::hours(hours));
    }

    fs::path dir;
    std::vector<std::string> saved;
};

TEST_F(ProgramFolder, AFirstStartSeedsTheUsersFolder) {
    EXPECT_EQ(rt::ChooseProgramFolder(nullptr), user().string());
    EXPECT_EQ(fs::current_path(), user());
    for (const char *name :
         {"localORM.ini", "English.ini", "German.ini", "TavixProfiles.ini", "1QZRT7205918C_TavixDesk.pdf"})
        EXPECT_EQ(readFile(user() / name), std::string("shipped ") + name) << name;
    EXPECT_FALSE(fs::exists(user() / "Tavix.ini"));
    // no temporary copies are left behind
    for (const auto &entry : fs::directory_iterator(user()))
        EXPECT_EQ(entry.path().extension().string().find(".new"), std::string::npos) << entry.path();
}

TEST_F(ProgramFolder, ANewerInstallationRefreshesLanguagesAndHelpOnly) {
    fs::create_directories(user());
    for (const char *name : {"localORM.ini", "English.ini", "German.ini", "TavixProfiles.ini",
                             "1QZRT7205918C_TavixDesk.pdf", "Tavix.ini"}) {
        write(user() / name, std::string("the user's ") + name);
        age(user() / name, -1);
    }
    // a language file the user edited after the installation stays
    age(user() / "German.ini", +1);

    EXPECT_EQ(rt::ChooseProgramFolder(nullptr), user().string());
    EXPECT_EQ(readFile(user() / "English.ini"), "shipped English.ini");
    EXPECT_EQ(readFile(user() / "1QZRT7205918C_TavixDesk.pdf"), "shipped 1QZRT7205918C_TavixDesk.pdf");
    EXPECT_EQ(readFile(user() / "German.ini"), "the user's German.ini");
    EXPECT_EQ(readFile(user() / "localORM.ini"), "the user's localORM.ini");
    EXPECT_EQ(readFile(user() / "TavixProfiles.ini"), "the user's TavixProfiles.ini");
    EXPECT_EQ(readFile(user() / "Tavix.ini"), "the user's Tavix.ini");

    // the copy carries the shipped file's time: the next start copies nothing again
    write(user() / "English.ini", "edited without a new time");
    age(user() / "English.ini", 0);
    rt::ChooseProgramFolder(nullptr);
    EXPECT_EQ(readFile(user() / "English.ini"), "edited without a new time");
}

// A folder chosen otherwise (--app-dir, a portable installation) gets the profiles file when it
// has none, and keeps its own.
TEST_F(ProgramFolder, TheProfilesFileIsCopiedOnlyWhenMissing) {
    const fs::path app = dir / "app";
    ASSERT_EQ(rt::ChooseProgramFolder(app.c_str()), app.string());
    EXPECT_TRUE(rt::SeedShippedFile("TavixProfiles.ini"));
    EXPECT_EQ(readFile(app / "TavixProfiles.ini"), "shipped TavixProfiles.ini");
    write(app / "TavixProfiles.ini", "the user's profiles");
    age(app / "TavixProfiles.ini", -1);
    EXPECT_TRUE(rt::SeedShippedFile("TavixProfiles.ini"));
    EXPECT_EQ(readFile(app / "TavixProfiles.ini"), "the user's profiles");
    EXPECT_FALSE(rt::SeedShippedFile("NoSuchFile.ini"));
    EXPECT_FALSE(fs::exists(app / "NoSuchFile.ini"));
}

}   // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
