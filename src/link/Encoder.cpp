// The command encoder: one short ASCII line per request, fields separated by one space,
// numbers in signed decimal, ended by a carriage return.
#include <cstdio>

#include "model/LoggerSettings.h"
#include "link/Link.h"
#include "model/Clock.h"
#include "model/Models.h"
#include "panels/Panels.h"
#include "runtime/serial.h"

namespace {

// The count handed to txCommand, which writes the text up to its end whatever the count says:
// the identity, memory and status queries count their letter and carriage return, every
// other command the count of a full command line.
constexpr int kQueryCount = 2;
constexpr int kCommandCount = 1025;

// The alarm line for the model's alarm layout; false when the model has none.
bool formatAlarm() {
    const int *H = lpHighLimit;
    const int *L = lpLowLimit;
    switch (alarmLayout(currDeviceId, lpUnit)) {
        case AlarmLayout::A1: std::snprintf(txBuf, sizeof txBuf, "A %d %d\r", H[0], L[0]); return true;
        case AlarmLayout::A5: std::snprintf(txBuf, sizeof txBuf, "A %d %d\r", H[2], L[2]); return true;
        case AlarmLayout::A2:
            std::snprintf(txBuf, sizeof txBuf, "A %d %d %d %d\r", H[0], L[0], H[1], L[1]);
            return true;
        case AlarmLayout::A3:
            std::snprintf(txBuf, sizeof txBuf, "A %d %d %d %d %d %d\r", H[0], L[0], H[1], L[1], H[2], L[2]);
            return true;
        case AlarmLayout::A4:
            std::snprintf(txBuf, sizeof txBuf, "A %d %d %d %d\r", H[0], L[0], H[2], L[2]);
            return true;
        case AlarmLayout::A1orA5:   // alarmLayout() resolves it by the unit letter
        case AlarmLayout::None: break;
    }
    return false;
}

// The calibration write; false for a model without calibration.
bool formatCalibration() {
    switch (calibrationKind(currDeviceId)) {
        case Calibration::Temperature:
            std::snprintf(txBuf, sizeof txBuf, "R %d %d %d %d %d\r", tempCaliData[0], tempCaliData[1], tempCaliData[2],
                          tempCaliData[3], tempCaliData[4]);
            return true;
        case Calibration::Humidity:
            std::snprintf(txBuf, sizeof txBuf, "R %.*s %.*s\r", RH_CALI_Z_SIZE - 1, rhCaliZstr, RH_CALI_S_SIZE - 1,
                          rhCaliSstr);
            return true;
        case Calibration::None: break;
    }
    return false;
}

// A letter that is sent alone.
bool formatPlain(char letter) {
    std::snprintf(txBuf, sizeof txBuf, "%c\r", letter);
    return true;
}

}   // namespace

void txCommand(const char *text, int count) {
    (void)count;
    int length = 0;
    while (length < TX_BUF_SIZE && text[length] != 0) ++length;
    ComWrt(portNo, text, length);
}

bool formatCommand(char letter) {
    switch (letter) {
        case 'I':
        case 'M':
        case 't':
        case 'D':
        case 'Q':
        case 'r': return formatPlain(letter);
        case 'S':
            lpSchedule = pc2Log(lpSchedule);
            std::snprintf(txBuf, sizeof txBuf, "S %d %c %d %d\r", lpSampleRate, lpUnit, static_cast<int>(lpSchedule),
                          static_cast<int>(lpSamplePoints));
            return true;
        case 'A': return formatAlarm();
        case 'C':
            rtcValue = pc2Log(rtcValue);
            std::snprintf(txBuf, sizeof txBuf, "C %d\r", static_cast<int>(rtcValue));
            return true;
        case 'J':
            std::snprintf(txBuf, sizeof txBuf, "J %.*s %d\r", SET_ID_SIZE - 1, lpSetId, static_cast<int>(lpSleep));
            return true;
        case 'R': return formatCalibration();
        default: return false;
    }
}

void sendCommand(char letter) {
    const bool query = letter == 'I' || letter == 'M' || letter == 't';
    if (formatCommand(letter)) txCommand(txBuf, query ? kQueryCount : kCommandCount);
}
