// The user agent: Qt dialogs for the program, a scripted agent for tests and the
// command-line tool, and the pop-up functions of the run-time that go through it.
#include "runtime/agent.h"

#include "runtime/ui_internal.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGridLayout>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QRegularExpression>
#include <QScreen>
#include <QSpacerItem>

#include <cstring>

namespace rt {
namespace {

// The extension of the first pattern of a file-type list: "ASCII files(*.txt)" -> ".txt".
QString firstExtension(const QString &types) {
    static const QRegularExpression re(QStringLiteral("\\*(\\.[A-Za-z0-9_]+)"));
    const auto m = re.match(types);
    return m.hasMatch() ? m.captured(1) : QString();
}

// A Qt name filter for a file-type list such as "*.txt" or "ASCII files(*.txt)".
QString nameFilter(const std::string &list, bool restrictExtension) {
    QString types = QString::fromStdString(list).trimmed();
    if (types.isEmpty()) return QStringLiteral("All files (*)");
    QString filter;
    if (types.contains(QLatin1Char('('))) {
        filter = types;
    } else {
        const QString ext = firstExtension(types);
        filter = (ext.isEmpty() ? QStringLiteral("Files") : ext.mid(1).toUpper() + QStringLiteral(" files")) +
                 QStringLiteral(" (") + QString(types).replace(QLatin1Char(';'), QLatin1Char(' ')) + QLatin1Char(')');
    }
    if (!restrictExtension) filter += QStringLiteral(";;All files (*)");
    return filter;
}

// A file dialog's size: room for its four columns, within the screen.
QSize fileDialogSize() {
    QSize size(900, 560);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        size = size.boundedTo(screen->availableSize() * 9 / 10);
    return size;
}

// Room the title bar takes beside the title: the window's icon and its buttons.
constexpr int kTitleBarExtra = 140;

// A box with a short text is as narrow as its text, and the title bar would cut a longer title
// ("MiniVersion" over "Version 3.5.28"): the box is made wide enough for its whole title.
void keepTitleWhole(QMessageBox &box) {
    const int width =
        QFontMetrics(QApplication::font("QMdiSubWindowTitleBar")).horizontalAdvance(box.windowTitle()) + kTitleBarExtra;
    if (auto *grid = qobject_cast<QGridLayout *>(box.layout()))
        grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Minimum), grid->rowCount(), 0, 1,
                      grid->columnCount());
}

class QtAgent : public UserAgent {
public:
    void message(const std::string &title, const std::string &text) override {
        QMessageBox box(QMessageBox::Information, QString::fromStdString(title), QString::fromStdString(text),
                        QMessageBox::Ok, QApplication::activeWindow());
        keepTitleWhole(box);
        box.exec();
    }

    void notice(const std::string &title, const std::string &text) override {
        auto *box = new QMessageBox(QMessageBox::Information, QString::fromStdString(title),
                                    QString::fromStdString(text), QMessageBox::Ok, QApplication::activeWindow());
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->setModal(false);
        keepTitleWhole(*box);
        box->show();
    }

    bool confirm(const std::string &title, const std::string &text) override {
        return confirmWithDefault(title, text, true);
    }

    bool confirmWithDefault(const std::string &title, const std::string &text, bool defaultYes) override {
        return QMessageBox::question(QApplication::activeWindow(), QString::fromStdString(title),
                                     QString::fromStdString(text), QMessageBox::Yes | QMessageBox::No,
                                     defaultYes ? QMessageBox::Yes : QMessageBox::No) == QMessageBox::Yes;
    }

    int saveDiscardCancel(const std::string &title, const std::string &text) override {
        QMessageBox box(QMessageBox::Warning, QString::fromStdString(title), QString::fromStdString(text),
                        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QApplication::activeWindow());
        box.setDefaultButton(QMessageBox::Save);
        box.setEscapeButton(QMessageBox::Cancel);
        switch (box.exec()) {
            case QMessageBox::Save: return VAL_SAVE_ANSWER;
            case QMessageBox::Discard: return VAL_DISCARD_ANSWER;
            default: return VAL_CANCEL_ANSWER;
        }
    }

    bool prompt(const std::string &title, const std::string &text, int maxLength, std::string &answer) override {
        QInputDialog dlg(QApplication::activeWindow());
        dlg.setWindowTitle(QString::fromStdString(title));
        dlg.setLabelText(QString::fromStdString(text));
        dlg.setInputMode(QInputDialog::TextInput);
        if (auto *le = dlg.findChild<QLineEdit *>()) le->setMaxLength(maxLength > 0 ? maxLength : 32767);
        if (dlg.exec() != QDialog::Accepted) return false;
        answer = dlg.textValue().toStdString();
        return true;
    }

    int selectFile(const FileRequest &r, std::string &path) override {
        const bool save = r.buttonLabel == VAL_SAVE_BUTTON;
        const QString filter = nameFilter(r.fileTypeList, r.restrictExtension);
        const QString spec = QString::fromStdString(r.defaultFileSpec);
        QFileDialog dlg(QApplication::activeWindow(), QString::fromStdString(r.title),
                        QString::fromStdString(r.defaultDirectory), filter);
        dlg.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        dlg.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
        // The caller asks about overwriting itself.
        if (save) dlg.setOption(QFileDialog::DontConfirmOverwrite);
        dlg.setViewMode(QFileDialog::Detail);
        if (!spec.isEmpty() && !spec.contains(QLatin1Char('*')) && !spec.contains(QLatin1Char('?')))
            dlg.selectFile(spec);
        // Large enough that the name, size, type and date columns show whole.
        dlg.resize(fileDialogSize());
        if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return VAL_NO_FILE_SELECTED;
        QString file = dlg.selectedFiles().constFirst();
        if (file.isEmpty()) return VAL_NO_FILE_SELECTED;
        // A name typed without an extension gets the list's; a name with its own keeps it, and
        // a file chosen to be read is taken as it is.
        if (save && r.restrictExtension && QFileInfo(file).suffix().isEmpty()) {
            const QString ext = firstExtension(QString::fromStdString(r.fileTypeList + " " + r.defaultFileSpec));
            if (!ext.isEmpty()) file += ext;
        }
        path = QDir::toNativeSeparators(file).toStdString();
        return QFileInfo::exists(file) ? VAL_EXISTING_FILE_SELECTED : VAL_NEW_FILE_SELECTED;
    }

    bool printDialog(const std::string &title, PrintPages &pages) override {
        QPrinter &printer = detail::sharedPrinter();
        QPrintDialog dlg(&printer, QApplication::activeWindow());
        dlg.setWindowTitle(QString::fromStdString(title));
        if (dlg.exec() != QDialog::Accepted) return false;
        pages = printer.printRange() == QPrinter::PageRange ? PrintPages{printer.fromPage(), printer.toPage()}
                                                            : PrintPages{};
        return true;
    }
};

UserAgent *g_agent = nullptr;

bool contains(const std::string &s, const std::string &part) { return s.find(part) != std::string::npos; }

}   // namespace

UserAgent &Agent() {
    static QtAgent qtAgent;
    return g_agent ? *g_agent : qtAgent;
}

void SetUserAgent(UserAgent *agent) { g_agent = agent; }

int UserAgent::saveDiscardCancel(const std::string &title, const std::string &text) {
    (void)title;
    (void)text;
    return VAL_CANCEL_ANSWER;
}

void ScriptedAgent::message(const std::string &title, const std::string &text) {
    shown.push_back({"message", title, text, ""});
    if (echo) echo(shown.back());
}

bool ScriptedAgent::confirm(const std::string &title, const std::string &text) {
    return confirmWithDefault(title, text, true);
}

bool ScriptedAgent::confirmWithDefault(const std::string &title, const std::string &text, bool defaultYes) {
    shown.push_back({"confirm", title, text, defaultYes ? "yes" : "no"});
    if (echo) echo(shown.back());
    if (confirmAnswers.empty()) return defaultConfirm;
    const bool a = confirmAnswers.front();
    confirmAnswers.pop_front();
    return a;
}

int ScriptedAgent::saveDiscardCancel(const std::string &title, const std::string &text) {
    shown.push_back({"save-discard-cancel", title, text, "save"});
    if (echo) echo(shown.back());
    if (saveDiscardCancelAnswers.empty()) return defaultSaveDiscardCancel;
    const int a = saveDiscardCancelAnswers.front();
    saveDiscardCancelAnswers.pop_front();
    return a;
}

bool ScriptedAgent::prompt(const std::string &title, const std::string &text, int maxLength, std::string &answer) {
    (void)maxLength;
    shown.push_back({"prompt", title, text, ""});
    if (echo) echo(shown.back());
    if (promptAnswers.empty()) return false;
    answer = promptAnswers.front();
    promptAnswers.pop_front();
    return true;
}

int ScriptedAgent::selectFile(const FileRequest &request, std::string &path) {
    shown.push_back({"file", request.title, request.defaultDirectory, ""});
    if (echo) echo(shown.back());
    if (fileAnswers.empty()) return VAL_NO_FILE_SELECTED;
    std::string a = fileAnswers.front();
    fileAnswers.pop_front();
    if (a.empty()) return VAL_NO_FILE_SELECTED;
    path = a;
    return fileIsNew ? VAL_NEW_FILE_SELECTED : VAL_EXISTING_FILE_SELECTED;
}

bool ScriptedAgent::printDialog(const std::string &title, PrintPages &pages) {
    shown.push_back({"print", title, "", ""});
    if (echo) echo(shown.back());
    bool accepted = defaultPrint;
    if (!printAnswers.empty()) {
        accepted = printAnswers.front();
        printAnswers.pop_front();
    }
    pages = accepted ? printPages : PrintPages{};
    return accepted;
}

int ScriptedAgent::count(const std::string &kind, const std::string &containsText) const {
    int n = 0;
    for (const Shown &s : shown)
        if ((kind.empty() || s.kind == kind) &&
            (containsText.empty() || contains(s.title, containsText) || contains(s.text, containsText)))
            ++n;
    return n;
}

}   // namespace rt

using rt::detail::ModalScope;

int MessagePopup(const char *title, const char *message) {
    const ModalScope modal;
    rt::Agent().message(title ? title : "", message ? message : "");
    return 0;
}

int NoticePopup(const char *title, const char *message) {
    // no modal scope: the timer and the serial notifications go on while it is shown
    rt::Agent().notice(title ? title : "", message ? message : "");
    return 0;
}

int ConfirmPopup(const char *title, const char *message, int defaultButton) {
    const ModalScope modal;
    return rt::Agent().confirmWithDefault(title ? title : "", message ? message : "", defaultButton != VAL_DEFAULT_NO)
               ? 1
               : 0;
}

int SaveDiscardCancelPopup(const char *title, const char *message) {
    const ModalScope modal;
    const int answer = rt::Agent().saveDiscardCancel(title ? title : "", message ? message : "");
    return answer == VAL_SAVE_ANSWER || answer == VAL_DISCARD_ANSWER ? answer : VAL_CANCEL_ANSWER;
}

int PromptPopup(const char *title, const char *message, char *response, int maxLength) {
    if (!response || maxLength < 0) return rt::detail::kErrNullArg;
    response[0] = '\0';
    std::string answer;
    bool ok = false;
    {
        const ModalScope modal;
        ok = rt::Agent().prompt(title ? title : "", message ? message : "", maxLength, answer);
    }
    if (!ok) return rt::detail::kErrCancel;
    // at most maxLength characters into a buffer of maxLength + 1
    return rt::detail::copyOut(answer, response, static_cast<std::size_t>(maxLength) + 1);
}

int FileSelectPopupEx(const char *defaultDirectory, const char *defaultFileSpec, const char *fileTypeList,
                      const char *title, int buttonLabel, int restrictDirectory, int restrictExtension, char *path,
                      std::size_t pathCapacity) {
    if (!path || pathCapacity == 0) return rt::detail::kErrNullArg;
    path[0] = '\0';
    rt::FileRequest r;
    r.defaultDirectory = defaultDirectory ? defaultDirectory : "";
    r.defaultFileSpec = defaultFileSpec ? defaultFileSpec : "";
    r.fileTypeList = fileTypeList ? fileTypeList : "";
    r.title = title ? title : "";
    r.buttonLabel = buttonLabel;
    r.restrictDirectory = restrictDirectory != 0;
    r.restrictExtension = restrictExtension != 0;
    std::string chosen;
    int result = VAL_NO_FILE_SELECTED;
    {
        const ModalScope modal;
        result = rt::Agent().selectFile(r, chosen);
    }
    if (result == VAL_NO_FILE_SELECTED) return VAL_NO_FILE_SELECTED;
    // A path that does not fit is refused rather than cut (a cut path names another file).
    if (chosen.size() + 1 > pathCapacity) return rt::detail::kErrTooLong;
    std::memcpy(path, chosen.c_str(), chosen.size() + 1);
    return result;
}
