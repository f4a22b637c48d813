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
#include "Programs.h"
#include "RequestRecorder.h"
#include "files/DataFile.h"
#include "base/Prefs.h"
#include "sim/SimLogger.h"

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
    static std::string readText(const std::string &file) { return programs::readFile(file); }

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
