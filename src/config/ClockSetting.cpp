// The clock, identifier and sleep-mode sections of the logger-settings window. Nothing here
// talks to the logger: OK keeps the values and sets keyClock or keySetId, and the link timer
// sends the command at its next free tick (so both identifier OK buttons pressed before a tick
// send one command).
#include <cstring>
#include <string>

#include "config/ClockSetting.h"
#include "link/Link.h"
#include "local/Texts.h"
#include "local/Trail.h"
#include "model/Clock.h"
#include "model/Models.h"
#include "panels/Panels.h"
#include "runtime/ui.h"

namespace {

constexpr int kEditedColor = VAL_YELLOW;   // a field typed into and not yet sent
constexpr int kSentColor = VAL_WHITE;
// What identifier Cancel puts into the field (and what sleep OK then sends).
constexpr char kNoIdentifier[] = "--------";
// The printable ASCII characters but the space: one field of a command line, read back as one.
constexpr char kFirstIdChar = '!';
constexpr char kLastIdChar = '~';

void colourClockFields(int colour) {
    SetCtrlAttribute(idSetLogger, SETLOGGER_LOGGERDATE, ATTR_TEXT_BGCOLOR, colour);
    SetCtrlAttribute(idSetLogger, SETLOGGER_LOGGERTIME, ATTR_TEXT_BGCOLOR, colour);
}

// Both clock fields: typing turns them yellow. A click, and typing too, stops the PC clock from
// overwriting them: a user who reached the field with the keyboard keeps what he typed.
void clockFieldEvent(int event) {
    switch (event) {
        case EVENT_VAL_CHANGED:
            colourClockFields(kEditedColor);
            gFlag &= static_cast<unsigned char>(~GFLAG_CLOCK_FOLLOWS_PC);
            break;
        case EVENT_LEFT_CLICK: gFlag &= static_cast<unsigned char>(~GFLAG_CLOCK_FOLLOWS_PC); break;
        default: break;
    }
}

// Identifier OK and sleep OK: the identifier field and the sleep switch go out together.
// False when the identifier cannot travel in one field (the user has been told).
bool requestIdentifier() {
    char typed[SET_ID_SIZE] = "";
    GetCtrlVal(idSetLogger, SETLOGGER_IDENTIFIER, typed);
    if (!identifierSendable(typed)) {
        MessagePopup(warn11, msgIdChars);   // "Attention", "letters, digits or signs, no spaces"
        return false;
    }
    int sleep = 0;
    GetCtrlVal(idSetLogger, SETLOGGER_SLEEPMODE, &sleep);
    lpSleep = static_cast<signed char>(sleep != 0 ? 1 : 0);
    // the trail: the identifier the logger reported -> the one sent; the logger does not
    // report its sleep mode, so only the new one is known
    noteInTrail("identifier", std::string("identifier ") + std::string(eId, strnlen(eId, sizeof eId)) + " -> " + typed +
                                  "; sleep mode -> " + (lpSleep ? "on" : "off"));
    std::memcpy(lpSetId, typed, sizeof lpSetId);
    SetCtrlAttribute(idSetLogger, SETLOGGER_IDENTIFIER, ATTR_TEXT_BGCOLOR, kSentColor);
    keySetId = 1;
    return true;
}

}   // namespace

int identifierSendable(const char *text) {
    for (int k = 0; k <= SET_ID_FIELD_MAX; ++k) {
        if (text[k] == '\0') return 1;
        if (k == SET_ID_FIELD_MAX || text[k] < kFirstIdChar || text[k] > kLastIdChar) return 0;
    }
    return 0;
}

// ---------------------------------------------------------------- clock

int sRealDateCallBack(int, int, int event, void *, int, int) {
    clockFieldEvent(event);
    return 0;
}

int sRealTimeCallBack(int, int, int event, void *, int, int) {
    clockFieldEvent(event);
    return 0;
}

int cOkClockCallBack(int, int, int event, void *, int, int) {
    if (event != EVENT_COMMIT) return 0;
    // 1. the fields as typed
    GetCtrlVal(idSetLogger, SETLOGGER_LOGGERDATE, lpRDate);
    GetCtrlVal(idSetLogger, SETLOGGER_LOGGERTIME, lpRTime);
    // 2. a time that does not convert is never kept: a clock command still waiting for the
    //    link keeps the time it was asked with
    cRtc time = 0;
    switch (rtc2CRtc(lpRDate, lpRTime, &time)) {
        case -1: MessagePopup(warn11, warn12); return 0;   // "Attention", "the date is not valid"
        case -2: MessagePopup(warn11, warn13); return 0;   // "Attention", "the time is not valid"
        default: break;
    }
    rtcValue = time;
    // 3. the link control sends it and shows msg10 when the logger confirms
    colourClockFields(kSentColor);
    keyClock = 1;
    noteInTrail("clock",
                std::string("logger clock -> ") + lpRDate + " " + lpRTime + "; PC " + dateStr() + " " + TimeStr());
    return 0;
}

int cCancelClockCallBack(int, int, int event, void *, int, int) {
    if (event != EVENT_COMMIT) return 0;
    gFlag |= GFLAG_CLOCK_FOLLOWS_PC;
    colourClockFields(kSentColor);
    return 0;
}

// ---------------------------------------------------------------- identifier and sleep mode

int sIdCallBack(int, int, int event, void *, int, int) {
    if (event == EVENT_VAL_CHANGED)
        SetCtrlAttribute(idSetLogger, SETLOGGER_IDENTIFIER, ATTR_TEXT_BGCOLOR, kEditedColor);
    return 0;
}

int cOkIdCallBack(int, int, int event, void *, int, int) {
    if (event != EVENT_COMMIT) return 0;
    if (requestIdentifier()) sendUserMessage(msg11);   // "sending the new identifier"
    return 0;
}

int cSleepModeCallBack(int, int, int event, void *, int, int) {
    if (event != EVENT_COMMIT) return 0;
    requestIdentifier();
    return 0;
}

int cCancelIdCallBack(int, int, int event, void *, int, int) {
    if (event != EVENT_COMMIT) return 0;
    SetCtrlVal(idSetLogger, SETLOGGER_IDENTIFIER, kNoIdentifier);
    SetCtrlAttribute(idSetLogger, SETLOGGER_IDENTIFIER, ATTR_TEXT_BGCOLOR, kSentColor);
    return 0;
}
