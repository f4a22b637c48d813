// The run-time's questions about destroying or keeping something (the default button of a
// confirmation, the Save / Discard / Cancel pop-up), the toolkit's texts in the user's language
// and the progress bar, on Qt's offscreen platform.
#include "runtime/agent.h"
#include "runtime/ui.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QFontMetrics>
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QLineEdit>
#include <QTest>
#include <QTreeView>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include <string>

#include "CaseName.h"

namespace {

enum { RES_PANEL = 701 };
enum { C_PROGRESS = 1 };

int buildPanel(int p) { return NewCtrl(p, CTRL_PROGRESS_BAR, C_PROGRESS, "", 10, 10, 200, 20) < 0 ? -1 : 0; }

class Dialogs : public ::testing::Test {
protected:
    void SetUp() override { rt::SetUserAgent(&agent); }
    void TearDown() override {
        rt::SetUserAgent(nullptr);
        SetUiLanguage("en");
    }
    rt::ScriptedAgent agent;
};

TEST_F(Dialogs, TheAgentRecordsTheDefaultButtonOfEachConfirmation) {
    agent.confirmAnswers = {true, false};
    EXPECT_EQ(ConfirmPopup("Warning", "Replace the file?", VAL_DEFAULT_NO), 1);
    EXPECT_EQ(ConfirmPopup("Print", "Save as PDF?"), 0);
    ASSERT_EQ(agent.shown.size(), 2u);
    EXPECT_EQ(agent.shown[0].defaultButton, "no");
    EXPECT_EQ(agent.shown[1].defaultButton, "yes") << "a question without a choice keeps Yes";
}

TEST_F(Dialogs, SaveDiscardCancelAnswersAndItsDefault) {
    agent.saveDiscardCancelAnswers = {VAL_SAVE_ANSWER, VAL_DISCARD_ANSWER, VAL_CANCEL_ANSWER, 7};
    EXPECT_EQ(SaveDiscardCancelPopup("Data not saved", "Save?"), VAL_SAVE_ANSWER);
    EXPECT_EQ(SaveDiscardCancelPopup("Data not saved", "Save?"), VAL_DISCARD_ANSWER);
    EXPECT_EQ(SaveDiscardCancelPopup("Data not saved", "Save?"), VAL_CANCEL_ANSWER);
    EXPECT_EQ(SaveDiscardCancelPopup("Data not saved", "Save?"), VAL_CANCEL_ANSWER)
        << "an unknown answer destroys nothing";
    EXPECT_EQ(SaveDiscardCancelPopup("Data not saved", "Save?"), VAL_CANCEL_ANSWER) << "unanswered";
    EXPECT_EQ(agent.count("save-discard-cancel", "Data not saved"), 5);
    EXPECT_EQ(agent.shown[0].defaultButton, "save");
}

// An agent that is not scripted for the three answers (a test's own wrapper) cancels.
TEST_F(Dialogs, AnAgentWithoutTheThreeAnswersCancels) {
    struct Plain : rt::UserAgent {
        void message(const std::string &, const std::string &) override {}
        bool confirm(const std::string &, const std::string &) override { return true; }
        bool prompt(const std::string &, const std::string &, int, std::string &) override { return false; }
        int selectFile(const rt::FileRequest &, std::string &) override { return VAL_NO_FILE_SELECTED; }
    } plain;
    rt::SetUserAgent(&plain);
    EXPECT_EQ(SaveDiscardCancelPopup("t", "q"), VAL_CANCEL_ANSWER);
    EXPECT_EQ(ConfirmPopup("t", "q", VAL_DEFAULT_NO), 1);
}

// The Qt dialogs themselves: the standard buttons, the default and the answer given.
struct QtAnswer {
    const char *name;
    QMessageBox::StandardButton press;
    int expected;
};
class QtSaveDiscardCancel : public Dialogs, public ::testing::WithParamInterface<QtAnswer> {};

TEST_P(QtSaveDiscardCancel, RealButtonsAndSaveAsTheDefault) {
    rt::SetUserAgent(nullptr);
    QMessageBox::StandardButton defaultShown = QMessageBox::NoButton;
    int buttons = 0;
    const QMessageBox::StandardButton press = GetParam().press;
    QTimer::singleShot(0, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        buttons = static_cast<int>(box->standardButtons());
        defaultShown = box->standardButton(box->defaultButton());
        box->button(press)->click();
    });
    EXPECT_EQ(SaveDiscardCancelPopup("Data not saved", "Save?"), GetParam().expected);
    EXPECT_EQ(buttons, static_cast<int>(QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel));
    EXPECT_EQ(defaultShown, QMessageBox::Save);
}

INSTANTIATE_TEST_SUITE_P(Buttons, QtSaveDiscardCancel,
                         ::testing::Values(QtAnswer{"save", QMessageBox::Save, VAL_SAVE_ANSWER},
                                           QtAnswer{"discard", QMessageBox::Discard, VAL_DISCARD_ANSWER},
                                           QtAnswer{"cancel", QMessageBox::Cancel, VAL_CANCEL_ANSWER}),
                         [](const auto &info) { return caseName(info.param.name); });

TEST_F(Dialogs, TheQtConfirmationHasNoAsItsDefaultWhenAsked) {
    rt::SetUserAgent(nullptr);
    for (const int choice : {VAL_DEFAULT_NO, VAL_DEFAULT_YES}) {
        QMessageBox::StandardButton defaultShown = QMessageBox::NoButton;
        QTimer::singleShot(0, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            defaultShown = box->standardButton(box->defaultButton());
            box->defaultButton()->click();   // Enter
        });
        const int answer = ConfirmPopup("Warning", "Replace the file?", choice);
        EXPECT_EQ(defaultShown, choice == VAL_DEFAULT_NO ? QMessageBox::No : QMessageBox::Yes);
        EXPECT_EQ(answer, choice == VAL_DEFAULT_NO ? 0 : 1) << "Enter takes the default";
    }
}

// The file dialogs themselves: what a typed name becomes, and a size that shows the columns.
struct TypedName {
    const char *name;
    int button;
    const char *typed;
    const char *chosen;   // the file name the caller gets
};
const TypedName kTypedNames[] = {
    {"save without extension", VAL_SAVE_BUTTON, "20261211", "20261211.txt"},
    {"save with its own extension", VAL_SAVE_BUTTON, "20261211.csv", "20261211.csv"},
    {"save with the list's extension", VAL_SAVE_BUTTON, "20261211.txt", "20261211.txt"},
    {"open a file of another extension", VAL_LOAD_BUTTON, "old.csv", "old.csv"},
};

class QtFileDialog : public Dialogs, public ::testing::WithParamInterface<TypedName> {
protected:
    void SetUp() override {
        Dialogs::SetUp();
        dir_ = QDir::temp().filePath(QStringLiteral("tavix-dialog-%1").arg(QCoreApplication::applicationPid()));
        QDir(dir_).removeRecursively();
        QDir().mkpath(dir_);
        QFile file(QDir(dir_).filePath(QStringLiteral("old.csv")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    void TearDown() override {
        QDir(dir_).removeRecursively();
        Dialogs::TearDown();
    }
    QString dir_;
};

TEST_P(QtFileDialog, TakesTheTypedNameAndShowsItsColumns) {
    rt::SetUserAgent(nullptr);
    const TypedName &c = GetParam();
    QSize size;
    bool columnsShown = false;
    QTimer::singleShot(0, [&] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        size = dialog->size();
        // every column of the detail view within the view's width
        if (auto *tree = dialog->findChild<QTreeView *>()) {
            columnsShown = tree->isVisible() && tree->header()->count() >= 4;
            for (int i = 0; i < tree->header()->count(); ++i)
                if (!tree->header()->isSectionHidden(i))
                    columnsShown =
                        columnsShown && tree->header()->sectionPosition(i) + tree->header()->sectionSize(i) <=
                                            tree->viewport()->width() + tree->header()->offset();
        }
        auto *edit = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        ASSERT_NE(edit, nullptr);
        edit->setText(QString::fromLatin1(c.typed));
        QTest::keyClick(edit, Qt::Key_Return);
    });
    char path[1024] = "";
    const int result = FileSelectPopupEx(dir_.toLocal8Bit().constData(), "*.txt", "ASCII files(*.txt)", "Choose",
                                         c.button, 0, 1, path, sizeof path);
    ASSERT_GT(result, 0);
    EXPECT_EQ(QFileInfo(QString::fromLocal8Bit(path)).fileName().toStdString(), c.chosen);
    EXPECT_GE(size.width(), 700);
    EXPECT_GE(size.height(), 450);
    EXPECT_TRUE(columnsShown) << "name, size, type and date columns within the dialog";
}

INSTANTIATE_TEST_SUITE_P(Names, QtFileDialog, ::testing::ValuesIn(kTypedNames),
                         [](const auto &info) { return caseName(info.param.name); });

// A message with a short text and a longer title (the version box) is wide enough for its whole
// title beside the title bar's icon and buttons.
TEST_F(Dialogs, AMessageBoxKeepsItsTitleWhole) {
    rt::SetUserAgent(nullptr);
    int width = 0;
    QString title;
    QTimer::singleShot(0, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        title = box->windowTitle();
        width = box->width();
        box->button(QMessageBox::Ok)->click();
    });
    MessagePopup("MiniVersion of the program", "Version 3.5.28");
    EXPECT_EQ(title, "MiniVersion of the program");
    const int needed = QFontMetrics(QApplication::font("QMdiSubWindowTitleBar")).horizontalAdvance(title);
    EXPECT_GE(width, needed + 100) << "the title and the title bar's buttons";
}

// The standard buttons' texts follow the language the program chose.
TEST_F(Dialogs, StandardButtonsSpeakTheChosenLanguage) {
    auto buttonText = [](QMessageBox::StandardButton b) {
        QMessageBox box;
        box.setStandardButtons(b);
        return box.button(b)->text().remove(QLatin1Char('&')).toStdString();
    };
    ASSERT_EQ(SetUiLanguage("de"), 0) << "the toolkit's German translation is installed (qt6-translations-l10n)";
    EXPECT_EQ(buttonText(QMessageBox::Yes), "Ja");
    EXPECT_EQ(buttonText(QMessageBox::No), "Nein");
    EXPECT_EQ(buttonText(QMessageBox::Save), "Speichern");
    EXPECT_EQ(buttonText(QMessageBox::Cancel), "Abbrechen");
    EXPECT_EQ(SetUiLanguage("en"), 0);
    EXPECT_EQ(buttonText(QMessageBox::Yes), "Yes");
    EXPECT_LT(SetUiLanguage("xx"), 0) << "no such translation";
    EXPECT_EQ(buttonText(QMessageBox::No), "No") << "English stays";
}

TEST_F(Dialogs, TheProgressBarShowsItsValueMaximumAndText) {
    RegisterPanelResource(RES_PANEL, "Progress", 300, 60, buildPanel);
    const int panel = LoadPanel(0, RES_PANEL);
    ASSERT_GT(panel, 0);
    QProgressBar *bar = nullptr;
    for (QWidget *w : QApplication::allWidgets())
        if (auto *b = qobject_cast<QProgressBar *>(w)) bar = b;
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(SetCtrlAttribute(panel, C_PROGRESS, ATTR_MAX_VALUE, 300), 0);
    EXPECT_EQ(SetCtrlVal(panel, C_PROGRESS, 120), 0);
    EXPECT_EQ(SetCtrlAttribute(panel, C_PROGRESS, ATTR_LABEL_TEXT, "120 / 300 records (40%)"), 0);
    int value = 0, max = 0;
    GetCtrlVal(panel, C_PROGRESS, &value);
    GetCtrlAttribute(panel, C_PROGRESS, ATTR_MAX_VALUE, &max);
    EXPECT_EQ(value, 120);
    EXPECT_EQ(max, 300);
    EXPECT_EQ(bar->value(), 120);
    EXPECT_EQ(bar->maximum(), 300);
    EXPECT_EQ(bar->text().toStdString(), "120 / 300 records (40%)");
    // a value beyond the maximum is the maximum
    SetCtrlVal(panel, C_PROGRESS, 500);
    GetCtrlVal(panel, C_PROGRESS, &value);
    EXPECT_EQ(value, 300);
    EXPECT_LT(SetCtrlVal(panel, C_PROGRESS, "text"), 0);
    DiscardPanel(panel);
}

}   // namespace
