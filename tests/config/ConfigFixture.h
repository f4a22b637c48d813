// The logger-settings window's clock, identifier and calibration sections with the real program
// started in-process (LinkProgram): the shipped preferences and English texts, the logger's
// port on a pseudo-terminal that nobody answers (what the program sends is read from it) or on
// the simulated logger.
#pragma once

#include <QApplication>
#include <QLineEdit>
#include <QWidget>

#include <cstring>
#include <filesystem>
#include <memory>
#include <string>

#include "LinkFixture.h"
#include "Pty.h"
#include "config/Config.h"
#include "local/Local.h"
#include "model/Clock.h"
#include "sim/SimLogger.h"

class ConfigProgram : public LinkProgram {
protected:
    void SetUp() override {
        LinkProgram::SetUp();
        resetClockSettingState();
        resetCalibrationState();
        for (const char *file : {"localORM.ini", "English.ini"})
            std::filesystem::copy_file(std::filesystem::path(TAVIX_BIN_DIR) / file, dir_ / file);
    }

    // The program on a line that nobody answers; the logger is taken as identified and idle.
    void startSilent(int model) {
        ASSERT_TRUE(line_.ok());
        startProgram(line_.slavePath());
        identified(model);
    }
    // The program on the simulated logger, which it identifies by itself.
    void startWithLogger(sim::LoggerConfig config) {
        logger_ = std::make_unique<sim::SimLogger>(std::move(config));
        ASSERT_TRUE(logger_->start());
        startProgram(logger_->devicePath());
        ASSERT_TRUE(tickUntil([] { return (gFlag & GFLAG_STATUS_APPLIED) != 0 && sendCmdChar == 0; }, 60));
    }

    // An identified logger that is not logging: the tick only serves the keys.
    static void identified(int model) {
        currDeviceId = model;
        ValPtrInit(model);
        eVersion = 2.4f;
        std::strcpy(eId, "TAVIX-01");
        gFlag = GFLAG_ID_KNOWN | GFLAG_SCHEDULE_KNOWN | GFLAG_STATUS_ASKED | GFLAG_STATUS_APPLIED;
        SetLoggerEnable();
    }

    // What opening the logger-settings window does for the clock and identifier sections: the
    // PC's date and time in the clock fields, which then follow the PC, and the logger's
    // identifier.
    static void openWindow() {
        SetCtrlVal(idSetLogger, SETLOGGER_LOGGERDATE, dateStr());
        SetCtrlVal(idSetLogger, SETLOGGER_LOGGERTIME, TimeStr());
        SetCtrlVal(idSetLogger, SETLOGGER_IDENTIFIER, eId);
        gFlag |= GFLAG_CLOCK_FOLLOWS_PC;
        DisplayPanel(idSetLogger);
    }

    static void press(int panel, int control) { rt::FireCtrlEvent(panel, control, EVENT_COMMIT); }
    // A text typed into a field the quick way: the text and the change event (no click).
    static void typed(int panel, int control, const char *text) {
        SetCtrlVal(panel, control, text);
        rt::FireCtrlEvent(panel, control, EVENT_VAL_CHANGED);
    }
    static int background(int panel, int control) {
        int colour = -1;
        GetCtrlAttribute(panel, control, ATTR_TEXT_BGCOLOR, &colour);
        return colour;
    }
    // The line edit that shows a text field, for typing into it key by key.
    static QLineEdit *lineEdit(int panel, int control) {
        for (QWidget *w : QApplication::allWidgets()) {
            if (w->property("tvxPanel").toInt() == panel && w->property("tvxCtrl").toInt() == control)
                if (auto *edit = qobject_cast<QLineEdit *>(w)) return edit;
        }
        return nullptr;
    }
    // Pop-ups shown as "title / text".
    std::vector<std::string> popups() const {
        std::vector<std::string> out;
        for (const auto &s : agent_.shown) out.push_back(s.title + " / " + s.text);
        return out;
    }
    // What the program has sent on the silent line since the last look.
    std::string sent() { return line_.read(200); }

    Pty line_;
    std::unique_ptr<sim::SimLogger> logger_;
};
