// The real program in a temporary folder (see LinkFixture.h) with the file commands' texts
// set, a user agent that keeps the file requests it was shown, and helpers to fill the store,
// press Save File / Retrieve File and read files back.
#pragma once

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "LinkFixture.h"
#include "files/DataFile.h"
#include "base/Prefs.h"
#include "sim/SimLogger.h"

// Forwards to the scripted agent and keeps every file request.
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

class FilesProgram : public LinkProgram {
protected:
    void SetUp() override {
        LinkProgram::SetUp();
        savedMode_ = sLocal.dateFormat;
        rt::SetUserAgent(&recorder_);
    }
    void TearDown() override {
        sLocal.dateFormat = savedMode_;
        LinkProgram::TearDown();
    }

    void start(const std::string &device = "") {
        startProgram(device);
        std::snprintf(wSaveFile, WINDOW_TEXT_SIZE, "Save File");
        std::snprintf(wRetrieveFile, WINDOW_TEXT_SIZE, "Retrieve File");
        recorder_.requests.clear();
        resetFilesState();
    }

    static std::string documentsTavix() { return std::string(std::getenv("HOME")) + "/Documents/Tavix"; }
    std::string path(const std::string &name) const { return (dir_ / name).string(); }

    // Press Save File / Retrieve File; the dialog answers with path ("" = cancel).
    void save(const std::string &file) {
        agent_.fileAnswers.push_back(file);
        rt::FireCtrlEvent(idMonitor, MONITOR_MENU2, EVENT_COMMIT);
    }
    void retrieve(const std::string &file) {
        agent_.fileAnswers.push_back(file);
        rt::FireCtrlEvent(idMonitor, MONITOR_MENU1, EVENT_COMMIT);
    }

    static void writeText(const std::string &file, const std::string &text) {
        std::ofstream out(file, std::ios::binary);
        out << text;
    }
    static std::string readText(const std::string &file) {
        std::ifstream in(file, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }

    // An empty store laid out for the model.
    static void emptyStore(int model) {
        currDeviceId = model;
        ValPtrInit(model);
        clearLoggedData();
        loggedLength = 0;
    }

    RequestRecorder recorder_{agent_};
    signed char savedMode_ = 0;
};

// A value as the logger's decoding leaves it: tenths + 0.00001; an error code 10000 + n + 0.00001.
inline double measured(double v) { return v + 0.00001; }
inline double errorCode(int n) { return 10000.0 + n + 0.00001; }
