// The program started in its own folder with the shipped preferences and English texts (the
// messages named after themselves: "warn11", "warn14", ...), the logger-settings window
// opened for a model through the main window's command, and the hands of a user on it.
#pragma once

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "LinkFixture.h"
#include "config/Config.h"

class SettingsWindow : public LinkProgram {
protected:
    void SetUp() override {
        LinkProgram::SetUp();
        resetLogSettingState();
        for (const char *f : {"localORM.ini", "English.ini"})
            std::filesystem::copy_file(std::filesystem::path(TAVIX_BIN_DIR) / f, dir_ / f);
    }

    // The program without a logger (the port does not open): commands are only formatted.
    void start() { startProgram(); }

    // The main window's logger-settings command, for a logger of the model and unit.
    void open(int model, char unit = 'C') {
        currDeviceId = model;
        eUnit = unit;
        rt::FireCtrlEvent(idMonitor, MONITOR_MENU4, EVENT_COMMIT);
    }

    // A user's choice in a list, or a value typed into a field: the value, then its events.
    template <typename T>
    static void set(int ctrl, T value) {
        SetCtrlVal(idSetLogger, ctrl, value);
        rt::FireCtrlEvent(idSetLogger, ctrl, EVENT_VAL_CHANGED);
        rt::FireCtrlEvent(idSetLogger, ctrl, EVENT_COMMIT);
    }
    static void limits(double high, double low) {
        set(SETLOGGER_HIGHALARM, high);
        set(SETLOGGER_LOWALARM, low);
    }
    static void interval(int h, int m, int s) {
        set(SETLOGGER_RATE_HOUR, h);
        set(SETLOGGER_RATE_MIN, m);
        set(SETLOGGER_RATE_SEC, s);
    }
    static void press(int ctrl) { rt::FireCtrlEvent(idSetLogger, ctrl, EVENT_COMMIT); }

    // The entries of a list: value and text.
    static std::vector<std::pair<int, std::string>> items(int ctrl) {
        int count = 0;
        GetNumListItems(idSetLogger, ctrl, &count);
        std::vector<std::pair<int, std::string>> out;
        for (int k = 0; k < count; ++k) {
            int value = 0;
            char text[64] = "";
            GetValueFromIndex(idSetLogger, ctrl, k, &value);
            GetLabelFromIndex(idSetLogger, ctrl, k, text, sizeof text);
            out.emplace_back(value, text);
        }
        return out;
    }
    static std::vector<int> values(int ctrl) {
        std::vector<int> out;
        for (const auto &item : items(ctrl)) out.push_back(item.first);
        return out;
    }
    static int value(int ctrl) {
        int v = -1;
        GetCtrlVal(idSetLogger, ctrl, &v);
        return v;
    }
    static double real(int ctrl) {
        double v = -1;
        GetCtrlVal(idSetLogger, ctrl, &v);
        return v;
    }
    static std::string text(int ctrl) { return ctrlText(idSetLogger, ctrl); }

    // The pop-ups titled warn11 ("Attention") the window's checks showed, by their text.
    std::vector<std::string> refusals() const {
        std::vector<std::string> out;
        for (const auto &shown : agent_.shown)
            if (shown.kind == "message" && shown.title == "warn11") out.push_back(shown.text);
        return out;
    }
    // A request for the link is pending: the window handed it the settings.
    static bool requested() { return keySetAlarm != 0 || keySetting != 0; }
};
