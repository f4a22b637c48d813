// A user agent that forwards everything to a scripted agent and keeps every file request it
// was shown, so that a test can check what the file dialog would have offered.
#pragma once

#include <string>
#include <vector>

#include "runtime/agent.h"

class RequestRecorder : public rt::UserAgent {
public:
    explicit RequestRecorder(rt::ScriptedAgent &inner) : inner_(inner) {}
    std::vector<rt::FileRequest> requests;
    void message(const std::string &title, const std::string &text) override { inner_.message(title, text); }
    bool confirm(const std::string &title, const std::string &text) override { return inner_.confirm(title, text); }
    bool confirmWithDefault(const std::string &title, const std::string &text, bool defaultYes) override {
        return inner_.confirmWithDefault(title, text, defaultYes);
    }
    int saveDiscardCancel(const std::string &title, const std::string &text) override {
        return inner_.saveDiscardCancel(title, text);
    }
    bool prompt(const std::string &title, const std::string &text, int maxLength, std::string &answer) override {
        return inner_.prompt(title, text, maxLength, answer);
    }
    int selectFile(const rt::FileRequest &request, std::string &path) override {
        requests.push_back(request);
        return inner_.selectFile(request, path);
    }

private:
    rt::ScriptedAgent &inner_;
};
