// The user agent: the one seam through which the system asks the user something
// (message, confirmation, prompt, file selection). The program installs the Qt
// dialogs; tests and the command-line tool install a scripted agent that answers
// from a queue and records every pop-up it was shown.
#pragma once

#include <deque>
#include <string>
#include <vector>

namespace rt {

struct FileRequest {
    std::string defaultDirectory;
    std::string defaultFileSpec;   // e.g. "*.txt" or a default file name
    std::string fileTypeList;      // e.g. "*.txt"
    std::string title;
    int buttonLabel = 0;   // VAL_SAVE_BUTTON, VAL_LOAD_BUTTON, ...
    bool restrictDirectory = false;
    bool restrictExtension = false;
};

// The pages a print dialog chose, 1-based; 0, 0 = every page.
struct PrintPages {
    int from = 0;
    int to = 0;
};

class UserAgent {
public:
    virtual ~UserAgent() = default;
    virtual void message(const std::string &title, const std::string &text) = 0;
    // A message that does not wait for the user: the program goes on while it is shown (the
    // timer keeps ticking). By default the plain message.
    virtual void notice(const std::string &title, const std::string &text) { message(title, text); }
    // true = yes
    virtual bool confirm(const std::string &title, const std::string &text) = 0;
    // The same with the button Enter presses (defaultYes false: No). By default the plain confirm.
    virtual bool confirmWithDefault(const std::string &title, const std::string &text, bool defaultYes) {
        (void)defaultYes;
        return confirm(title, text);
    }
    // Save / Discard / Cancel about data not saved yet: VAL_SAVE_ANSWER, VAL_DISCARD_ANSWER or
    // VAL_CANCEL_ANSWER (runtime/ui.h). By default cancelled, which destroys nothing.
    virtual int saveDiscardCancel(const std::string &title, const std::string &text);
    // true = answered (answer filled), false = cancelled
    virtual bool prompt(const std::string &title, const std::string &text, int maxLength, std::string &answer) = 0;
    // VAL_NO_FILE_SELECTED, VAL_EXISTING_FILE_SELECTED or VAL_NEW_FILE_SELECTED; path filled when chosen
    virtual int selectFile(const FileRequest &request, std::string &path) = 0;
    // A panel is about to be printed: true = go on (the print dialog was accepted); pages
    // receives the page range chosen there (0, 0 = every page).
    virtual bool printDialog(const std::string &title, PrintPages &pages) {
        (void)title;
        pages = PrintPages{};
        return true;
    }
};

// The agent in use; by default the Qt dialogs (when an application object exists).
UserAgent &Agent();
// Install an agent (not owned); nullptr restores the default.
void SetUserAgent(UserAgent *agent);

// Answers from queues; records what it was shown. Unanswered questions take the defaults.
class ScriptedAgent : public UserAgent {
public:
    struct Shown {
        std::string kind;   // "message", "confirm", "save-discard-cancel", "prompt", "file", "print"
        std::string title;
        std::string text;
        std::string defaultButton;   // "yes" or "no" (confirm), "save" (save-discard-cancel), else ""
    };
    std::vector<Shown> shown;
    std::deque<bool> confirmAnswers;
    std::deque<std::string> promptAnswers;   // an empty-optional is not needed: cancel with cancelPrompt
    std::deque<std::string> fileAnswers;     // "" = cancel
    bool defaultConfirm = false;
    std::deque<int> saveDiscardCancelAnswers;   // VAL_SAVE_ANSWER, VAL_DISCARD_ANSWER, VAL_CANCEL_ANSWER
    int defaultSaveDiscardCancel = 0;           // unanswered: VAL_CANCEL_ANSWER
    bool fileIsNew = true;                      // answer VAL_NEW_FILE_SELECTED (else EXISTING) for a chosen file
    std::deque<bool> printAnswers;              // the print dialog: true = accepted
    bool defaultPrint = true;
    PrintPages printPages;   // the page range an accepted print dialog chooses
    // Called for every message (the command-line tool prints them).
    void (*echo)(const Shown &) = nullptr;

    void message(const std::string &title, const std::string &text) override;
    bool confirm(const std::string &title, const std::string &text) override;
    bool confirmWithDefault(const std::string &title, const std::string &text, bool defaultYes) override;
    int saveDiscardCancel(const std::string &title, const std::string &text) override;
    bool prompt(const std::string &title, const std::string &text, int maxLength, std::string &answer) override;
    int selectFile(const FileRequest &request, std::string &path) override;
    bool printDialog(const std::string &title, PrintPages &pages) override;

    // Number of pop-ups of a kind ("" = all) whose title or text contains the text.
    int count(const std::string &kind, const std::string &contains = "") const;
    void clear() { shown.clear(); }
};

}   // namespace rt
