// Leaving the program while downloaded data are not saved, the default button of every
// question that destroys something, and the main window's title: the real program in-process
// with a scripted user.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "LinkFixture.h"
#include "display/Display.h"
#include "files/DataFile.h"
#include "table/Table.h"

namespace fs = std::filesystem;

namespace {

// How the user ends the program.
enum class Ending { CloseBox, ExitButton, HiddenReset };

class Exit : public LinkProgram {
protected:
    void SetUp() override {
        LinkProgram::SetUp();
        startProgram();
    }

    // Records of a one-channel logger held as after a download, not saved yet.
    static void holdDownload(int records) {
        currDeviceId = 6;
        ValPtrInit(currDeviceId);
        clearLoggedData();
        loggedLength = 0;
        for (int n = 0; n < records; ++n) {
            const double values[3] = {20.0 + n, 0, 0};
            storeLineAt(n, 1000u + 60u * static_cast<cRtc>(n), values);
        }
        eLength = records;
        std::snprintf(eId, sizeof eId, "LOG-7");
        setDataOrigin(DataOrigin::Logger);
        gFlag |= GFLAG_NOT_SAVED;
        updateMainTitle();
    }

    static void end(Ending how) {
        switch (how) {
            case Ending::CloseBox: rt::FirePanelEvent(idMonitor, EVENT_CLOSE); break;
            case Ending::ExitButton: rt::FireCtrlEvent(idMonitor, MONITOR_EXIT, EVENT_COMMIT); break;
            case Ending::HiddenReset: rt::FireCtrlEvent(idMonitor, MONITOR_GETID, EVENT_RIGHT_DOUBLE_CLICK); break;
        }
    }

    static std::string title() {
        char text[256] = "";
        GetPanelAttribute(idMonitor, ATTR_TITLE, text, sizeof text);
        return text;
    }

    std::string dataFile(const char *name) const { return (dir_ / name).string(); }
};

// ---------------------------------------------------------------- data not saved

struct UnsavedCase {
    const char *name;
    Ending how;
    int answer;         // VAL_SAVE_ANSWER, VAL_DISCARD_ANSWER or VAL_CANCEL_ANSWER
    const char *file;   // the file chosen in Save File's dialog ("" = cancelled)
    bool ends;          // the program ends
    bool written;       // the file holds the records afterwards
};

class UnsavedData : public Exit, public ::testing::WithParamInterface<UnsavedCase> {};

TEST_P(UnsavedData, IsSavedDiscardedOrKeptOnTheUsersWord) {
    const UnsavedCase &c = GetParam();
    holdDownload(5);
    agent_.saveDiscardCancelAnswers = {c.answer};
    const std::string path = c.file[0] != '\0' ? dataFile(c.file) : "";
    agent_.fileAnswers = {path};
    agent_.clear();

    end(c.how);

    ASSERT_GE(agent_.shown.size(), 1u);
    EXPECT_EQ(agent_.shown[0].kind, "save-discard-cancel") << "asked before anything else";
    EXPECT_EQ(agent_.shown[0].title, "warn30");
    EXPECT_EQ(agent_.shown[0].text, msgUnsaved);
    EXPECT_EQ(rt::QuitPending(), c.ends);
    EXPECT_EQ(c.written, !path.empty() && fs::exists(path));
    if (c.written) {
        std::ifstream in(path);
        std::string first;
        std::getline(in, first);
        EXPECT_EQ(first, "   #6");
        EXPECT_EQ(gFlag & GFLAG_NOT_SAVED, 0);
    }
    if (!c.ends) {
        EXPECT_EQ(loggedLength, 5) << "the records stay";
        EXPECT_EQ(agent_.count("confirm"), 0) << "the ending stopped before its own question";
    }
    // the ending's own question comes after, when the ending has one
    if (c.ends && c.how != Ending::ExitButton) {
        EXPECT_EQ(agent_.shown.back().kind, "confirm");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Endings, UnsavedData,
    ::testing::Values(UnsavedCase{"close box, save", Ending::CloseBox, VAL_SAVE_ANSWER, "a.txt", true, true},
                      UnsavedCase{"close box, discard", Ending::CloseBox, VAL_DISCARD_ANSWER, "", true, false},
                      UnsavedCase{"close box, cancel", Ending::CloseBox, VAL_CANCEL_ANSWER, "", false, false},
                      UnsavedCase{"exit, save", Ending::ExitButton, VAL_SAVE_ANSWER, "b.txt", true, true},
                      UnsavedCase{"exit, save dialog cancelled", Ending::ExitButton, VAL_SAVE_ANSWER, "", false, false},
                      UnsavedCase{"exit, save fails", Ending::ExitButton, VAL_SAVE_ANSWER, "no-such-folder/c.txt",
                                  false, false},
                      UnsavedCase{"exit, discard", Ending::ExitButton, VAL_DISCARD_ANSWER, "", true, false},
                      UnsavedCase{"exit, cancel", Ending::ExitButton, VAL_CANCEL_ANSWER, "", false, false},
                      UnsavedCase{"reset, save", Ending::HiddenReset, VAL_SAVE_ANSWER, "d.txt", true, true},
                      UnsavedCase{"reset, discard", Ending::HiddenReset, VAL_DISCARD_ANSWER, "", true, false},
                      UnsavedCase{"reset, cancel", Ending::HiddenReset, VAL_CANCEL_ANSWER, "", false, false}),
    [](const auto &info) { return caseName(info.param.name); });

TEST_F(Exit, SavedDataEndWithoutTheQuestion) {
    for (const Ending how : {Ending::CloseBox, Ending::ExitButton, Ending::HiddenReset}) {
        holdDownload(3);
        gFlag &= static_cast<unsigned char>(~GFLAG_NOT_SAVED);
        rt::ClearQuitRequest();
        agent_.clear();
        end(how);
        EXPECT_EQ(agent_.count("save-discard-cancel"), 0);
        EXPECT_TRUE(rt::QuitPending());
    }
}

// ---------------------------------------------------------------- data not saved, replaced

// What replaces the records held.
enum class Replacing { RetrieveFile, Start, ChartTitle };

struct ReplaceCase {
    const char *name;
    Replacing how;
    int answer;   // VAL_SAVE_ANSWER, VAL_DISCARD_ANSWER or VAL_CANCEL_ANSWER
    int after;    // records held afterwards (5 kept, 3 from the file, 0 emptied)
};

class ReplacingUnsavedData : public Exit, public ::testing::WithParamInterface<ReplaceCase> {
protected:
    // A saved file of three records, then five downloaded ones not saved yet.
    std::string prepare() {
        holdDownload(3);
        const std::string file = dataFile("three.txt");
        EXPECT_EQ(saveDataFile(file.c_str()), 0);
        holdDownload(5);
        return file;
    }

    static void replace(Replacing how) {
        switch (how) {
            case Replacing::RetrieveFile: rt::FireCtrlEvent(idMonitor, MONITOR_MENU1, EVENT_COMMIT); break;
            case Replacing::Start: rt::FireCtrlEvent(idMonitor, MONITOR_START_BUTTON, EVENT_COMMIT); break;
            case Replacing::ChartTitle:
                tTitle1CallBack(idMonitor, MONITOR_GRAPH, EVENT_LEFT_CLICK, nullptr, 0, 0);
                break;
        }
    }
};

TEST_P(ReplacingUnsavedData, AsksSaveDiscardOrCancelFirst) {
    const ReplaceCase &c = GetParam();
    const std::string file = prepare();
    const std::string saved = dataFile("five.txt");
    agent_.saveDiscardCancelAnswers = {c.answer};
    agent_.fileAnswers.clear();
    if (c.answer == VAL_SAVE_ANSWER) agent_.fileAnswers.push_back(saved);
    if (c.how == Replacing::RetrieveFile) agent_.fileAnswers.push_back(file);
    agent_.clear();

    replace(c.how);

    ASSERT_GE(agent_.shown.size(), 1u);
    EXPECT_EQ(agent_.shown[0].kind, "save-discard-cancel") << "asked before anything else";
    EXPECT_EQ(agent_.shown[0].title, warn9);
    EXPECT_EQ(agent_.shown[0].text, msgUnsavedReplace);
    EXPECT_EQ(agent_.count("confirm"), 0) << "the one question takes the place of warn10";
    EXPECT_EQ(loggedLength, c.after);
    EXPECT_EQ(c.answer == VAL_SAVE_ANSWER, fs::exists(saved));
    const bool kept = c.answer == VAL_CANCEL_ANSWER;
    EXPECT_EQ((gFlag & GFLAG_NOT_SAVED) != 0, kept) << "the reminder speaks only of data held";
    EXPECT_EQ(title().ends_with(" *"), kept);
    if (kept) {
        EXPECT_EQ(vTemPtr[4], 24.0) << "the records stay as they were";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Actions, ReplacingUnsavedData,
    ::testing::Values(ReplaceCase{"retrieve, save", Replacing::RetrieveFile, VAL_SAVE_ANSWER, 3},
                      ReplaceCase{"retrieve, discard", Replacing::RetrieveFile, VAL_DISCARD_ANSWER, 3},
                      ReplaceCase{"retrieve, cancel", Replacing::RetrieveFile, VAL_CANCEL_ANSWER, 5},
                      ReplaceCase{"start, save", Replacing::Start, VAL_SAVE_ANSWER, 0},
                      ReplaceCase{"start, discard", Replacing::Start, VAL_DISCARD_ANSWER, 0},
                      ReplaceCase{"start, cancel", Replacing::Start, VAL_CANCEL_ANSWER, 5},
                      ReplaceCase{"chart title, save", Replacing::ChartTitle, VAL_SAVE_ANSWER, 0},
                      ReplaceCase{"chart title, discard", Replacing::ChartTitle, VAL_DISCARD_ANSWER, 0},
                      ReplaceCase{"chart title, cancel", Replacing::ChartTitle, VAL_CANCEL_ANSWER, 5}),
    [](const auto &info) { return caseName(info.param.name); });

// Saved records are replaced as before: Retrieve File without a question, Start and the chart
// title after their own warn10 question.
TEST_F(ReplacingUnsavedData, RightAfterSaveOnlyTheUsualQuestion) {
    const struct {
        Replacing how;
        int confirms;
        int after;
    } actions[] = {{Replacing::RetrieveFile, 0, 3}, {Replacing::Start, 1, 0}, {Replacing::ChartTitle, 1, 0}};
    for (const auto &a : actions) {
        const std::string file = prepare();
        agent_.fileAnswers = {dataFile("five.txt")};
        agent_.confirmAnswers = {true};   // replacing five.txt of the round before
        rt::FireCtrlEvent(idMonitor, MONITOR_MENU2, EVENT_COMMIT);
        ASSERT_EQ(gFlag & GFLAG_NOT_SAVED, 0);
        agent_.fileAnswers = {file};
        agent_.confirmAnswers = {true};
        agent_.clear();

        replace(a.how);

        EXPECT_EQ(agent_.count("save-discard-cancel"), 0);
        EXPECT_EQ(agent_.count("confirm"), a.confirms);
        if (a.confirms > 0) {
            EXPECT_EQ(agent_.shown.back().text, warn10);
        }
        EXPECT_EQ(loggedLength, a.after);
    }
}

// ---------------------------------------------------------------- the default button

struct DestroyingCase {
    const char *name;
    void (*act)(const std::string &existingFile, rt::ScriptedAgent &agent);
};

class DestroyingQuestion : public Exit, public ::testing::WithParamInterface<DestroyingCase> {};

TEST_P(DestroyingQuestion, HasNoAsItsDefault) {
    holdDownload(4);
    gFlag &= static_cast<unsigned char>(~GFLAG_NOT_SAVED);
    const std::string existing = dataFile("old.txt");
    std::ofstream(existing) << "old\n";
    agent_.clear();
    GetParam().act(existing, agent_);
    ASSERT_GE(agent_.count("confirm"), 1) << GetParam().name;
    EXPECT_EQ(agent_.shown.back().kind, "confirm");
    EXPECT_EQ(agent_.shown.back().defaultButton, "no") << agent_.shown.back().text;
    // unanswered (Enter): nothing is destroyed
    std::ifstream in(existing);
    std::string content;
    std::getline(in, content);
    EXPECT_EQ(content, "old");
}

INSTANTIATE_TEST_SUITE_P(
    Questions, DestroyingQuestion,
    ::testing::Values(DestroyingCase{"start discards the records",
                                     [](const std::string &, rt::ScriptedAgent &) {
                                         rt::FireCtrlEvent(idMonitor, MONITOR_START_BUTTON, EVENT_COMMIT);
                                         EXPECT_EQ(loggedLength, 4);
                                     }},
                      DestroyingCase{"chart title discards the records",
                                     [](const std::string &, rt::ScriptedAgent &) {
                                         tTitle1CallBack(idMonitor, MONITOR_GRAPH, EVENT_LEFT_CLICK, nullptr, 0, 0);
                                         EXPECT_EQ(loggedLength, 4);
                                     }},
                      DestroyingCase{"save file replaces a file",
                                     [](const std::string &file, rt::ScriptedAgent &agent) {
                                         agent.fileAnswers = {file};
                                         rt::FireCtrlEvent(idMonitor, MONITOR_MENU2, EVENT_COMMIT);
                                     }},
                      DestroyingCase{"csv export replaces a file",
                                     [](const std::string &file, rt::ScriptedAgent &agent) {
                                         agent.fileAnswers = {file};
                                         cTableExportCsvCallBack(idTable, 0, EVENT_COMMIT, nullptr, 0, 0);
                                     }},
                      DestroyingCase{"print as pdf replaces a file",
                                     [](const std::string &file, rt::ScriptedAgent &agent) {
                                         rt::CapturePrinting(true, false);   // no printer: the PDF is offered
                                         agent.confirmAnswers = {true};
                                         agent.fileAnswers = {file};
                                         rt::FireCtrlEvent(idMonitor, MONITOR_MENU7, EVENT_COMMIT);
                                         rt::CapturePrinting(false);
                                     }},
                      DestroyingCase{"close box deletes the settings",
                                     [](const std::string &, rt::ScriptedAgent &) {
                                         rt::FirePanelEvent(idMonitor, EVENT_CLOSE);
                                         EXPECT_TRUE(fs::exists(TAVIX_STATE_FILE));
                                     }},
                      DestroyingCase{"software reset deletes the settings",
                                     [](const std::string &, rt::ScriptedAgent &) {
                                         rt::FireCtrlEvent(idMonitor, MONITOR_GETID, EVENT_RIGHT_DOUBLE_CLICK);
                                         EXPECT_TRUE(fs::exists(TAVIX_STATE_FILE));
                                     }}),
    [](const auto &info) { return caseName(info.param.name); });

// ---------------------------------------------------------------- the title

TEST_F(Exit, TheTitleNamesTheDataAndMarksThemUnsaved) {
    const std::string longPath = dataFile("a-long-name-for-the-records-of-december.txt");
    char shownLong[FILE_NAME_SHOWN_SIZE];
    FileNamePrintOut(shownLong, longPath.c_str());
    const std::string dash = " \u2014 ";
    struct Step {
        const char *name;
        void (*act)(const std::string &path);
        std::string title;
    } steps[] = {
        {"nothing held", [](const std::string &) {}, "Tavix"},
        {"downloaded", [](const std::string &) { holdDownload(3); }, "Tavix" + dash + "ID= LOG-7 *"},
        {"saved", [](const std::string &path) { ASSERT_EQ(saveDataFile(path.c_str()), 0); },
         "Tavix" + dash + shownLong},
        {"records cleared by the chart title",
         [](const std::string &) { tTitle1CallBack(idMonitor, MONITOR_GRAPH, EVENT_LEFT_CLICK, nullptr, 0, 0); },
         "Tavix"},
        {"retrieved", [](const std::string &path) { ASSERT_EQ(readDataFile(path.c_str()), 3); },
         "Tavix" + dash + shownLong},
        {"download started",
         [](const std::string &) { rt::FireCtrlEvent(idMonitor, MONITOR_START_BUTTON, EVENT_COMMIT); },
         "Tavix" + dash + "ID= "},
    };
    agent_.defaultConfirm = true;
    for (const Step &s : steps) {
        s.act(longPath);
        EXPECT_EQ(title(), s.title) << s.name;
    }
    // the language file's name for the program
    std::snprintf(wMainTitle, sizeof wMainTitle, "Logger");
    updateMainTitle();
    EXPECT_EQ(title(), "Logger" + dash + "ID= ");
}

// ---------------------------------------------------------------- progress of large files

// Records the text of the progress bar each time it is shown.
class ShownTexts : public QObject {
public:
    std::vector<std::string> texts;
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() == QEvent::Show) texts.push_back(static_cast<QProgressBar *>(watched)->text().toStdString());
        return false;
    }
};

TEST_F(Exit, SavingAndReadingALargeFileShowTheProgressBar) {
    QProgressBar *bar = nullptr;
    for (QWidget *w : QApplication::allWidgets())
        if (auto *b = qobject_cast<QProgressBar *>(w)) bar = b;
    ASSERT_NE(bar, nullptr);
    ShownTexts shown;
    bar->installEventFilter(&shown);
    holdDownload(3000);
    const std::string path = dataFile("large.txt");

    ASSERT_EQ(saveDataFile(path.c_str()), 0);
    EXPECT_EQ(shown.texts, std::vector<std::string>{"1024 / 3000 records"}) << "shown while the file was written";
    EXPECT_EQ(bar->text().toStdString(), "3000 / 3000 records");
    EXPECT_FALSE(bar->isVisible()) << "hidden when done";

    shown.texts.clear();
    ASSERT_EQ(readDataFile(path.c_str()), 3000);
    EXPECT_EQ(shown.texts, std::vector<std::string>{"1024 / 3000 records"}) << "shown while the file was read";
    EXPECT_FALSE(bar->isVisible());

    // a small file says it in the status line only
    holdDownload(100);
    shown.texts.clear();
    ASSERT_EQ(saveDataFile(dataFile("small.txt").c_str()), 0);
    EXPECT_TRUE(shown.texts.empty());
    bar->removeEventFilter(&shown);
}

// ---------------------------------------------------------------- the user's language

class GermanProgram : public LinkProgram {
protected:
    void TearDown() override {
        LinkProgram::TearDown();
        SetUiLanguage("en");
    }
};

// With the German language file the question comes in German and the toolkit's own buttons
// under it too (no English Yes/No under a German question).
TEST_F(GermanProgram, TheQuestionAndItsButtonsAreGerman) {
    fs::copy_file(fs::path(TAVIX_BIN_DIR) / "German.ini", dir_ / "German.ini");
    std::ifstream shipped(fs::path(TAVIX_BIN_DIR) / "localORM.ini");
    std::ofstream prefs(dir_ / "localORM.ini");
    for (std::string line; std::getline(shipped, line);)
        prefs << (line.rfind("Language File", 0) == 0 ? "Language File = German.ini" : line) << "\n";
    prefs.close();
    startProgram();
    EXPECT_EQ(std::string(msgUnsaved).rfind("Die ausgelesenen Daten", 0), 0u) << msgUnsaved;
    QMessageBox box;
    box.setStandardButtons(QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
    EXPECT_EQ(box.button(QMessageBox::Save)->text().remove(QLatin1Char('&')).toStdString(), "Speichern");
    EXPECT_EQ(box.button(QMessageBox::Cancel)->text().remove(QLatin1Char('&')).toStdString(), "Abbrechen");
}

}   // namespace
