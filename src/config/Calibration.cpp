// Calibration: the two calibration windows, the derived temperature points, the checks of the
// humidity values, and the comparison of a read-back with the window. The link control sends
// the commands; the response interpreter stores what the logger answers and calls in here.
#include "config/Calibration.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstring>
#include <string>

#include "link/Link.h"
#include "local/Local.h"
#include "local/Trail.h"
#include "model/Models.h"
#include "panels/Panels.h"
#include "runtime/ui.h"

namespace {

// The outer points are extrapolated from the entered ones: the upper one 120/45 of the upper
// interval beyond point 2, the lower one 30/35 of the lower interval below point 1.
constexpr float kUpperFactor = 120.0f;
constexpr float kUpperDivisor = 45.0f;
constexpr float kLowerFactor = -30.0f;
constexpr float kLowerDivisor = 35.0f;
constexpr double kRoundUp = 0.5;   // added before the truncation toward zero

// The humidity values the logger takes: Z at most 0, S from 2 to 15.
constexpr float kZMax = 0.0f;
constexpr float kSMin = 2.0f;
constexpr float kSMax = 15.0f;
// How far a humidity value read back may lie from the window's value and still agree.
constexpr long double kReadBackTolerance = 0.000001L;

// The entered points' controls, points 1, 2 and 3.
constexpr int kPointFields[] = {TEMPCALI_POINT1, TEMPCALI_POINT2, TEMPCALI_POINT3};

// from + trunc(q + 0.5), kept within the range of an int.
int offsetPoint(int from, float q) {
    const double step = std::trunc(static_cast<double>(q) + kRoundUp);
    const double point =
        std::clamp(static_cast<double>(from) + step, static_cast<double>(INT_MIN), static_cast<double>(INT_MAX));
    return static_cast<int>(point);
}

// The number a calibration text begins with, read in the C locale whatever the user's locale;
// false when the text holds no number (empty, "-", ".", or not a number at all).
bool caliNumber(const char *text, float &value) {
    const char *end = text + std::strlen(text);
    const auto result = std::from_chars(text, end, value);
    return result.ec == std::errc();
}

// The window's points 1, 2 and 3 into points, completed with the outer ones.
void windowPoints(int points[TEMP_CALI_POINTS]) {
    std::fill(points, points + TEMP_CALI_POINTS, 0);
    for (int k = 0; k < 3; ++k) GetCtrlVal(idTempCali, kPointFields[k], &points[k + 1]);
    CalcTempCaliArray(points);
}

// The five calibration points as the trail keeps them: "10 20 30 40 50".
std::string pointsText(const int points[TEMP_CALI_POINTS]) {
    std::string text;
    for (int k = 0; k < TEMP_CALI_POINTS; ++k) text += (k ? " " : "") + std::to_string(points[k]);
    return text;
}

// Whether a value read back agrees with the window's value of the same text field.
bool agrees(const char *shown, const char *received) {
    float window = 0.0f, logger = 0.0f;
    if (!caliNumber(shown, window) || !caliNumber(received, logger)) return false;
    return std::fabs(static_cast<long double>(window) - static_cast<long double>(logger)) <= kReadBackTolerance;
}

// The outcome goes to the status line and to the calibration window, where the user looks
// after pressing Set; the window may lie over the main window's status line.
void showReadBack(int panel, int result, bool same) {
    noteInTrail("calibration", same ? "read back: confirmed" : "read back: differs from what was written");
    if (same)
        sendUserMessage(msg16);   // "calibration written and confirmed"
    else
        sendWarnMessage(warn17);   // "the logger holds other values than those sent"
    SetCtrlVal(panel, result, same ? msg16 : warn17);
    SetCtrlAttribute(panel, result, ATTR_TEXT_COLOR, same ? VAL_BLUE : VAL_RED);
}

// A new write or read starts without the outcome of the last one.
void clearReadBack(int panel, int result) { SetCtrlVal(panel, result, ""); }

}   // namespace

// ---------------------------------------------------------------- values

void CalcTempCaliArray(int p[TEMP_CALI_POINTS]) {
    // the differences as wide integers: no overflow whatever the points
    const float upper = kUpperFactor * static_cast<float>(static_cast<long long>(p[3]) - p[2]) / kUpperDivisor;
    p[4] = offsetPoint(p[2], upper);
    const float lower = kLowerFactor * static_cast<float>(static_cast<long long>(p[2]) - p[1]) / kLowerDivisor;
    p[0] = offsetPoint(p[1], lower);
}

int JudgeValStr(const char *text) {
    for (int k = 0; text[k] != '\0'; ++k) {
        const char c = text[k];
        const bool digit = c >= '0' && c <= '9';
        if (!digit && c != '.' && !(c == '-' && k == 0)) return 1;
    }
    return 0;
}

int rhCaliAcceptable(const char *z, const char *s) {
    if (JudgeValStr(z) != 0 || JudgeValStr(s) != 0) return 0;
    // a text without a number passes the character test but has no value to judge: refused
    float zValue = 0.0f, sValue = 0.0f;
    if (!caliNumber(z, zValue) || !caliNumber(s, sValue)) return 0;
    return zValue <= kZMax && sValue >= kSMin && sValue <= kSMax ? 1 : 0;
}

// ---------------------------------------------------------------- answers of the logger

void SetTempCaliInput() {
    for (int k = 0; k < 3; ++k) SetCtrlVal(idTempCali, kPointFields[k], tempCaliData[k + 1]);
}

void SetRhCaliInput() {
    SetCtrlVal(idRhCali, RHCALI_Z, rhCaliZstr);
    SetCtrlVal(idRhCali, RHCALI_S, rhCaliSstr);
}

void CheckTempCaliArray() {
    int window[TEMP_CALI_POINTS];
    windowPoints(window);
    const bool same = std::equal(window, window + TEMP_CALI_POINTS, tempCaliData);
    showReadBack(idTempCali, TEMPCALI_RESULT, same);
    // after a failed check the window shows what the logger really holds
    if (!same) SetTempCaliInput();
}

void CheckRhCali() {
    char z[RH_CALI_Z_SIZE] = "", s[RH_CALI_S_SIZE] = "";
    GetCtrlVal(idRhCali, RHCALI_Z, z);
    GetCtrlVal(idRhCali, RHCALI_S, s);
    const bool same = agrees(z, rhCaliZstr) && agrees(s, rhCaliSstr);
    showReadBack(idRhCali, RHCALI_RESULT, same);
    // after a failed check the window shows what the logger really holds
    if (!same) SetRhCaliInput();
}

// ---------------------------------------------------------------- callbacks

int cCaliStartCallBack(int, int, int event, void *, int, int) {
    if (event != EVENT_COMMIT) return 0;
    switch (calibrationKind(currDeviceId)) {
        case Calibration::Temperature:
            localTempCaliWindow();
            clearReadBack(idTempCali, TEMPCALI_RESULT);
            keyTempCali = CALI_READ;
            break;
        case Calibration::Humidity:
            localRhCaliWindow();
            clearReadBack(idRhCali, RHCALI_RESULT);
            keyTempCali = CALI_READ;
            break;
        case Calibration::None: break;
    }
    return 0;
}

int cOkTempCaliCallBack(int, int, int event, void *, int, int) {
    if (event != EVENT_COMMIT) return 0;
    const std::string old = pointsText(tempCaliData);
    windowPoints(tempCaliData);
    noteInTrail("calibration", "points " + old + " -> " + pointsText(tempCaliData));
    clearReadBack(idTempCali, TEMPCALI_RESULT);
    keyTempCali = CALI_WRITE;
    return 0;
}

int cRefreshTempCaliCallBack(int, int, int event, void *, int, int) {
    if (event == EVENT_COMMIT) keyTempCali = CALI_READ;
    return 0;
}

int cTempCaliExitCallBack(int, int, int event, void *, int, int) {
    if (event == EVENT_COMMIT) HidePanel(idTempCali);
    return 0;
}

int pTempCaliCallBack(int, int event, void *, int, int) {
    if (event == EVENT_CLOSE) HidePanel(idTempCali);
    return 0;
}

int cOkRhCaliCallBack(int, int, int event, void *, int, int) {
    if (event != EVENT_COMMIT) return 0;
    char z[RH_CALI_Z_SIZE] = "", s[RH_CALI_S_SIZE] = "";
    GetCtrlVal(idRhCali, RHCALI_Z, z);
    GetCtrlVal(idRhCali, RHCALI_S, s);
    // refused values are never kept: a write still waiting for the link sends what was accepted
    if (!rhCaliAcceptable(z, s)) {
        MessagePopup(warn11, warn19);   // "Attention", "S from 2.0 to 15.0, Z 0.0 or below"
        return 0;
    }
    noteInTrail("calibration", "Z " + std::string(rhCaliZstr, strnlen(rhCaliZstr, sizeof rhCaliZstr)) + " S " +
                                   std::string(rhCaliSstr, strnlen(rhCaliSstr, sizeof rhCaliSstr)) + " -> Z " + z +
                                   " S " + s);
    std::memcpy(rhCaliZstr, z, sizeof rhCaliZstr);
    std::memcpy(rhCaliSstr, s, sizeof rhCaliSstr);
    clearReadBack(idRhCali, RHCALI_RESULT);
    keyTempCali = CALI_WRITE;
    return 0;
}

int cRefreshRhCaliCallBack(int, int, int event, void *, int, int) {
    if (event == EVENT_COMMIT) keyTempCali = CALI_READ;
    return 0;
}

int cRhCaliExitCallBack(int, int, int event, void *, int, int) {
    if (event == EVENT_COMMIT) HidePanel(idRhCali);
    return 0;
}

int pRhCaliCallBack(int, int event, void *, int, int) {
    if (event == EVENT_CLOSE) HidePanel(idRhCali);
    return 0;
}

void calibrationArrived(CalibrationAnswer answer) {
    const bool forWindow = answer == CalibrationAnswer::ForWindow;
    switch (calibrationKind(currDeviceId)) {
        case Calibration::Temperature:
            if (forWindow) {
                SetTempCaliInput();
                DisplayPanel(idTempCali);
            } else {
                CheckTempCaliArray();
            }
            break;
        case Calibration::Humidity:
            if (forWindow) {
                SetRhCaliInput();
                DisplayPanel(idRhCali);
            } else {
                CheckRhCali();
            }
            break;
        case Calibration::None: break;
    }
}
