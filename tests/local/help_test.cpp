// Help and version: the help command hands the help document to the desktop's opener (a fake
// xdg-open on PATH records what it was given and answers with a chosen exit status), the
// opener's answers become the run-time's result codes, the logo shows the version on a right
// double click only, and the information line reacts to nothing.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QMouseEvent>
#include <QTimer>
#include <QVariant>
#include <QWidget>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <tuple>

#include <sys/stat.h>
#include <unistd.h>

#include "CaseName.h"
#include "EventLoop.h"
#include "Programs.h"
#include "TestFolder.h"
#include "app/Tavix.h"
#include "local/Local.h"
#include "panels/Panels.h"
#include "runtime/agent.h"
#include "runtime/inspect.h"
#include "runtime/ui.h"

namespace fs = std::filesystem;

namespace {

// A folder of its own, the working directory and the program's folder, with a "bin" folder of
// the fake opener first on PATH.
class Help : public ::testing::Test {
protected:
    void SetUp() override {
        dir = makeTestFolder("tavix-help");
        fs::create_directories(dir / "bin");
        fs::current_path(dir);
        SetProjectDir(dir.string().c_str());
        savedPath = std::getenv("PATH") ? std::getenv("PATH") : "";
        setOpenerPath((dir / "bin").string());
        writeOpener(0);
        rt::SetUserAgent(&agent);
        RegisterLayouts();
        idMonitor = LoadPanel(0, MONITOR);
        ASSERT_GT(idMonitor, 0);
    }
    void TearDown() override {
        DiscardPanel(idMonitor);
        idMonitor = 0;
        rt::SetUserAgent(nullptr);
        setenv("PATH", savedPath.c_str(), 1);
        fs::current_path(fs::temp_directory_path());
        fs::remove_all(dir);
    }
    // Only bin on PATH: an empty folder there leaves no opener at all.
    void setOpenerPath(const std::string &bin) {
        fs::create_directories(bin);
        setenv("PATH", (bin + (bin == (dir / "bin").string() ? ":" + savedPath : std::string())).c_str(), 1);
    }
    // The texts of a shipped language file, as the program reads them at start-up.
    void useLanguage(const std::string &file) {
        fs::copy_file(fs::path(TAVIX_SOURCE_DIR) / "resources" / file, dir / file);
        std::ofstream(dir / "localORM.ini")
            << "[General]\nDate Format = Y-M-D\nDefault Unit = METRIC\nLanguage File = " << file
            << "\n[TableProcess]\ndefaultHigh = 30.0\ndefaultLow = 10.0\n";
        localInit();
        localized();
        localMainWindow();
        agent.clear();
    }
    // The viewer is a process of its own: its ending is waited for up to a minute.
    static bool pumpUntil(const std::function<bool()> &done) { return ::pumpUntil(done, 60000); }
    // The fake opener: writes its arguments to opened.txt and ends with status.
    void writeOpener(int status) {
        const fs::path opener = dir / "bin" / "xdg-open";
        std::ofstream(opener) << "#!/bin/sh\nprintf '%s\\n' \"$@\" > '" << (dir / "opened.txt").string() << "'\nexit "
                              << status << "\n";
        fs::permissions(opener, fs::perms::owner_all);
    }
    void writeHelpDocument() { std::ofstream(dir / TAVIX_HELP_FILE) << "%PDF-1.4\n"; }
    std::string opened() const { return programs::readFile(dir / "opened.txt"); }

    fs::path dir;
    std::string savedPath;
    rt::ScriptedAgent agent;
};

TEST_F(Help, TheHelpButtonOpensTheDocumentOfTheProgramFolder) {
    writeHelpDocument();
    rt::FireCtrlEvent(idMonitor, MONITOR_MENU9, EVENT_COMMIT);
    ASSERT_TRUE(pumpUntil([&] { return !opened().empty(); }));
    EXPECT_EQ(opened(), (dir / TAVIX_HELP_FILE).string() + "\n");
    EXPECT_EQ(agent.count(""), 0);
}

TEST_F(Help, OnlyACommitOpensTheDocument) {
    writeHelpDocument();
    for (const int event : {EVENT_LEFT_CLICK, EVENT_RIGHT_CLICK, EVENT_GOT_FOCUS, EVENT_LOST_FOCUS})
        cHelpCallBack(idMonitor, MONITOR_MENU9, event, nullptr, 0, 0);
    pump(100);
    EXPECT_FALSE(fs::exists(dir / "opened.txt"));
}

// When nothing can show the manual the user is told why, in the chosen language, with the
// manual's path to open it by hand; Tavix goes on.
struct HelpFailure {
    const char *name;
    bool document;      // the manual is installed
    int openerStatus;   // -1: no opener installed at all
    bool missing;       // the message says the manual is missing (else: no viewer)
};
const HelpFailure kHelpFailures[] = {
    {"manual missing", false, 0, true},
    {"no viewer for the type", true, 3, false},
    {"the viewer failed", true, 4, false},
    {"no opener installed", true, -1, false},
};

class HelpFails : public Help, public ::testing::WithParamInterface<std::tuple<HelpFailure, const char *>> {};

TEST_P(HelpFails, SaysWhyAndWhereTheManualIs) {
    const auto &[c, language] = GetParam();
    useLanguage(language);
    if (c.document) writeHelpDocument();
    if (c.openerStatus >= 0)
        writeOpener(c.openerStatus);
    else
        setOpenerPath((dir / "empty").string());
    rt::FireCtrlEvent(idMonitor, MONITOR_MENU9, EVENT_COMMIT);
    ASSERT_TRUE(pumpUntil([&] { return agent.count("message") > 0; })) << "no message";
    ASSERT_EQ(agent.shown.size(), 1u);
    const std::string reason = c.missing ? msgHelpMissing : msgHelpNoViewer;
    ASSERT_FALSE(reason.empty());
    EXPECT_EQ(agent.shown[0].title, std::string(warn11));
    EXPECT_EQ(agent.shown[0].text, reason + "\n" + (dir / TAVIX_HELP_FILE).string());
    // the window still answers
    rt::FireCtrlEvent(idMonitor, MONITOR_LOGO, EVENT_RIGHT_DOUBLE_CLICK);
    EXPECT_EQ(agent.count("message", "Version 3.5.28"), 1);
}

INSTANTIATE_TEST_SUITE_P(Failures, HelpFails,
                         ::testing::Combine(::testing::ValuesIn(kHelpFailures),
                                            ::testing::Values("English.ini", "German.ini")),
                         [](const auto &info) {
                             return caseName(std::string(std::get<0>(info.param).name) + " " + std::get<1>(info.param));
                         });

// ---------------------------------------------------------------- the opener's result codes

// The opener's exit status becomes the result handed to the failure callback; a started
// opener is never waited for.
struct OpenerCase {
    const char *name;
    int openerStatus;
    int result;   // what the failure callback hears; 0: it is not called
};
const OpenerCase kOpenerCases[] = {
    {"opened", 0, 0},
    {"opener finds no file", 2, OPEN_DOCUMENT_NOT_FOUND},
    {"no viewer for the type", 3, OPEN_DOCUMENT_NO_VIEWER},
    {"the viewer failed", 4, OPEN_DOCUMENT_FAILED},
    {"bad call", 1, OPEN_DOCUMENT_FAILED},
};

int heardResult = 0;
int openerEnds = 0;
void hearFailure(int result) { heardResult = result; }

class OpenerStatus : public Help, public ::testing::WithParamInterface<OpenerCase> {};

TEST_P(OpenerStatus, BecomesTheResultHeardLater) {
    writeHelpDocument();
    // the fake opener marks its end, so that a success (no callback) can be told from "not yet"
    const fs::path opener = dir / "bin" / "xdg-open";
    std::ofstream(opener) << "#!/bin/sh\nprintf '%s\\n' \"$@\" > '" << (dir / "opened.txt").string() << "'\ntouch '"
                          << (dir / "ended").string() << "'\nexit " << GetParam().openerStatus << "\n";
    fs::permissions(opener, fs::perms::owner_all);
    heardResult = 0;
    const std::string path = (dir / TAVIX_HELP_FILE).string();
    EXPECT_EQ(OpenDocumentInDefaultViewer(path.c_str(), 0, hearFailure), 0);
    ASSERT_TRUE(pumpUntil([&] { return fs::exists(dir / "ended"); }));
    if (GetParam().result != 0) ASSERT_TRUE(pumpUntil([] { return heardResult != 0; }));
    pump(50);
    EXPECT_EQ(heardResult, GetParam().result);
    EXPECT_EQ(opened(), path + "\n");
}

INSTANTIATE_TEST_SUITE_P(Opener, OpenerStatus, ::testing::ValuesIn(kOpenerCases),
                         [](const auto &info) { return caseName(info.param.name); });

TEST_F(Help, AMissingFileIsNotFound) {
    const std::string path = (dir / "absent.pdf").string();
    EXPECT_EQ(OpenDocumentInDefaultViewer(path.c_str(), 0), OPEN_DOCUMENT_NOT_FOUND);
    EXPECT_EQ(OpenDocumentInDefaultViewer("", 0), OPEN_DOCUMENT_NOT_FOUND);
    EXPECT_FALSE(fs::exists(dir / "opened.txt"));
}

TEST_F(Help, AFolderIsRefused) {
    fs::create_directories(dir / "folder.pdf");
    EXPECT_EQ(OpenDocumentInDefaultViewer((dir / "folder.pdf").string().c_str(), 0), OPEN_DOCUMENT_ACCESS_DENIED);
    EXPECT_FALSE(fs::exists(dir / "opened.txt"));
}

TEST_F(Help, AFileThatMayNotBeReadIsRefused) {
    // root reads every file: there the refusal cannot happen, and the folder case above stands in.
    if (::geteuid() == 0) GTEST_SKIP() << "running as root";
    writeHelpDocument();
    fs::permissions(dir / TAVIX_HELP_FILE, fs::perms::none);
    EXPECT_EQ(OpenDocumentInDefaultViewer((dir / TAVIX_HELP_FILE).string().c_str(), 0), OPEN_DOCUMENT_ACCESS_DENIED);
    EXPECT_FALSE(fs::exists(dir / "opened.txt"));
}

TEST_F(Help, NoOpenerInstalledMeansNoViewer) {
    writeHelpDocument();
    setOpenerPath((dir / "empty").string());
    heardResult = 0;
    const int result = OpenDocumentInDefaultViewer((dir / TAVIX_HELP_FILE).string().c_str(), 2, hearFailure);
    // said at once, or heard from the event loop: either way exactly once
    if (result == 0) ASSERT_TRUE(pumpUntil([] { return heardResult != 0; }));
    EXPECT_EQ(result == 0 ? heardResult : result, OPEN_DOCUMENT_NO_VIEWER);
}

// ---------------------------------------------------------------- version and the inert line

// The widget of a control, found by the run-time's marks on it.
QWidget *widgetOf(int panel, int ctrl) {
    for (QWidget *w : QApplication::allWidgets())
        if (w->property("tvxPanel") == QVariant(panel) && w->property("tvxCtrl") == QVariant(ctrl)) return w;
    return nullptr;
}

void sendMouse(QWidget *w, QEvent::Type type) {
    const QPointF at(5, 5);
    QMouseEvent event(type, at, w->mapToGlobal(at), Qt::RightButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::RightButton, Qt::NoModifier);
    QApplication::sendEvent(w, &event);
}

TEST_F(Help, ASingleRightClickOnTheLogoShowsNothing) {
    QWidget *logo = widgetOf(idMonitor, MONITOR_LOGO);
    ASSERT_NE(logo, nullptr);
    sendMouse(logo, QEvent::MouseButtonPress);
    sendMouse(logo, QEvent::MouseButtonRelease);
    EXPECT_EQ(agent.count(""), 0);
}

TEST_F(Help, ARightDoubleClickOnTheLogoShowsTheVersion) {
    QWidget *logo = widgetOf(idMonitor, MONITOR_LOGO);
    ASSERT_NE(logo, nullptr);
    // what the window system sends for a double click: press, release, double click, release
    for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonDblClick,
                                    QEvent::MouseButtonRelease})
        sendMouse(logo, type);
    ASSERT_EQ(agent.shown.size(), 1u);
    EXPECT_EQ(agent.shown[0].kind, "message");
    EXPECT_EQ(agent.shown[0].title, "MiniVersion");
    EXPECT_EQ(agent.shown[0].text, "Version 3.5.28");
}

TEST_F(Help, TheInformationLineChangesNothing) {
    SetCtrlVal(idMonitor, MONITOR_INFO, "as it was");
    for (int event = EVENT_NONE; event <= EVENT_PANEL_SIZE; ++event)
        EXPECT_EQ(cCmdCallback(idMonitor, MONITOR_INFO, event, nullptr, 1, 2), 0) << event;
    for (const int event : {EVENT_COMMIT, EVENT_LEFT_CLICK, EVENT_RIGHT_DOUBLE_CLICK})
        rt::FireCtrlEvent(idMonitor, MONITOR_INFO, event);
    char text[64] = "";
    GetCtrlVal(idMonitor, MONITOR_INFO, text);
    EXPECT_STREQ(text, "as it was");
    EXPECT_EQ(agent.count(""), 0);
    EXPECT_FALSE(fs::exists(dir / "opened.txt"));
}

}   // namespace
