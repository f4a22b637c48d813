// The logging and alarm section of the logger-settings window: the lists each model offers,
// the fields that depend on each other, OK's checks in their order and the encoding of the
// alarm limits for the model; opening, cancelling and closing the window.
#include <cmath>
#include <cstddef>
#include <cstring>
#include <initializer_list>
#include <string>

#include "config/Config.h"
#include "link/Link.h"
#include "local/Local.h"
#include "local/Trail.h"
#include "model/Clock.h"
#include "model/Models.h"
#include "model/Records.h"
#include "model/Thermistor.h"
#include "panels/Panels.h"
#include "runtime/ui.h"

namespace {

// ---------------------------------------------------------------- what each model offers

// A list of codes, in the order the window shows them.
struct Codes {
    const int *items;
    int count;
};
template <std::size_t N>
constexpr Codes codes(const int (&items)[N]) {
    return {items, static_cast<int>(N)};
}

// Points codes, largest first: 5 = 16000 points ... 0 = 1000 points.
constexpr int kPoints16k[] = {5, 4, 3, 2, 1, 0};
constexpr int kPoints8k[] = {3, 2, 1, 0};
constexpr int kPoints4k[] = {2, 1, 0};
constexpr const char *kPointTexts[] = {"1000", "2000", "4000", "8000", "12000", "16000"};

// Start-mode codes.
constexpr int kStartNowOrMode1[] = {START_NOW, START_AT_TIME, 1};
constexpr int kStartNowOrMode3[] = {START_NOW, START_AT_TIME, 3};
constexpr int kStartModes234[] = {START_NOW, START_AT_TIME, 2, 3, 4};
constexpr int kStartNowOnly[] = {START_NOW};
constexpr int kStartModes23[] = {START_NOW, START_AT_TIME, 2, 3};
constexpr int kStartModes124[] = {START_NOW, START_AT_TIME, 1, 2, 4};

// How the alarm limits become the logger's numbers.
enum class LimitEncoding {
    None,         // nothing is encoded; the previous numbers stay
    Thermistor,   // channel 0 as the thermistor's wire value
    TempAndRh,    // channels 0 and 2 in tenths; channel 1 stays
    Tenths,       // every channel in tenths
};

// The alarm-channel list: a choice of its own, or dimmed, the channel then following the
// unit list (the one-alarm loggers).
enum class ChannelList { FollowsUnit, Offered };

struct SettingRow {
    Codes points;
    Codes starts;
    LimitEncoding encoding;
    ChannelList channels;
};

constexpr Codes kNone = {nullptr, 0};
constexpr LimitEncoding E0 = LimitEncoding::None, ET = LimitEncoding::Thermistor, E2 = LimitEncoding::TempAndRh,
                        E10 = LimitEncoding::Tenths;
constexpr ChannelList CU = ChannelList::FollowsUnit, CO = ChannelList::Offered;

// One row per model index: the sample-points list, the start-mode list, the encoding of the
// limits and the alarm-channel list. Indexes 0 and 2 have no logging settings.
const SettingRow kSettingRows[MODEL_COUNT] = {
    {kNone, kNone, E0, CU},                                 // 0
    {codes(kPoints8k), codes(kStartNowOrMode1), ET, CU},    // 1
    {kNone, kNone, E0, CU},                                 // 2
    {codes(kPoints16k), codes(kStartNowOrMode1), E2, CU},   // 3
    {codes(kPoints16k), codes(kStartNowOrMode1), E2, CU},   // 4
    {codes(kPoints4k), codes(kStartNowOrMode3), E10, CO},   // 5
    {codes(kPoints8k), codes(kStartNowOrMode3), E10, CO},   // 6
    {codes(kPoints4k), codes(kStartNowOrMode3), E10, CO},   // 7
    {codes(kPoints8k), codes(kStartNowOrMode3), E10, CO},   // 8
    {codes(kPoints8k), codes(kStartModes234), E10, CO},     // 9
    {codes(kPoints16k), codes(kStartModes234), E10, CO},    // 10
    {codes(kPoints16k), codes(kStartModes234), E10, CO},    // 11
    {codes(kPoints8k), codes(kStartModes234), E10, CO},     // 12
    {codes(kPoints16k), codes(kStartModes234), E10, CO},    // 13
    {codes(kPoints16k), codes(kStartModes234), E10, CO},    // 14
    {codes(kPoints4k), codes(kStartNowOnly), E10, CO},      // 15
    {codes(kPoints16k), codes(kStartModes234), E10, CO},    // 16
    {codes(kPoints16k), codes(kStartModes234), E10, CO},    // 17
    {codes(kPoints16k), codes(kStartModes234), E10, CO},    // 18
    {codes(kPoints16k), codes(kStartModes23), E10, CO},     // 19
    {codes(kPoints16k), codes(kStartModes23), E10, CO},     // 20
    {codes(kPoints16k), codes(kStartModes124), E10, CO},    // 21
    {codes(kPoints16k), codes(kStartModes124), E10, CO},    // 22
    {codes(kPoints16k), codes(kStartModes124), E10, CO},    // 23
    {codes(kPoints16k), codes(kStartModes23), E10, CO},     // 24
};

const SettingRow &settingRow(int index) {
    return index >= 0 && index < MODEL_COUNT ? kSettingRows[index] : kSettingRows[0];
}

// The unit list offers the humidity alarm (c) where the unit's letter case chooses the alarm's
// channel (index 4).
bool unitChoosesAlarm(int index) { return alarmLayout(index, UNIT_CELSIUS_RH_ALARM) == AlarmLayout::A5; }

// ---------------------------------------------------------------- the window's fields

constexpr int kChannelCount = 3;
constexpr int kTemperature = 0, kTemperature2 = 1, kHumidity = 2;
constexpr int kSecondsPerHour = 3600, kSecondsPerMinute = 60;

int validChannel(int channel) { return channel >= 0 && channel < kChannelCount ? channel : kTemperature; }

const char *startModeText(int code) {
    switch (code) {
        case START_NOW: return wStartMode20;
        case START_AT_TIME: return wStartMode0;
        case 1: return wStartMode1;
        case 2: return wStartMode2;
        case 3: return wStartMode3;
        case 4: return wStartMode4;
        default: return "";
    }
}

void fillSamplePoints(const Codes &points) {
    ClearListCtrl(idSetLogger, SETLOGGER_SAMPLEPOINTS);
    for (int k = 0; k < points.count; ++k)
        InsertListItem(idSetLogger, SETLOGGER_SAMPLEPOINTS, -1, kPointTexts[points.items[k]], points.items[k]);
}

void fillStartModes(const Codes &starts) {
    ClearListCtrl(idSetLogger, SETLOGGER_STARTMODE);
    for (int k = 0; k < starts.count; ++k)
        InsertListItem(idSetLogger, SETLOGGER_STARTMODE, -1, startModeText(starts.items[k]), starts.items[k]);
}

// The channels of the model's channel set, with the names its windows give them.
void fillAlarmChannels(int index) {
    const bool own = channelNames(index) == ChannelNames::Suffix41670;
    const int layout = loggerType(index);
    const int p = idSetLogger;
    ClearListCtrl(p, SETLOGGER_ALARMCHANNEL);
    InsertListItem(p, SETLOGGER_ALARMCHANNEL, -1, own ? wTemperature_41670 : wTemperature, kTemperature);
    if (layout == LAYOUT_T_T2 || layout == LAYOUT_T_T2_RH)
        InsertListItem(p, SETLOGGER_ALARMCHANNEL, -1, own ? wTemperature2_41670 : wTemperature2, kTemperature2);
    if (layout == LAYOUT_T_RH || layout == LAYOUT_T_T2_RH)
        InsertListItem(p, SETLOGGER_ALARMCHANNEL, -1, wHumidity, kHumidity);
    const int dimmed = settingRow(index).channels == ChannelList::FollowsUnit ? 1 : 0;
    SetCtrlAttribute(p, SETLOGGER_ALARMCHANNEL, ATTR_DIMMED, dimmed);
    SetCtrlVal(p, SETLOGGER_ALARMCHANNEL, kTemperature);
}

void fillUnits(int index) {
    const int p = idSetLogger;
    ClearListCtrl(p, SETLOGGER_UNIT);
    InsertListItem(p, SETLOGGER_UNIT, -1, wUnit1, UNIT_CELSIUS);
    const bool choice = unitChoosesAlarm(index);
    if (choice) InsertListItem(p, SETLOGGER_UNIT, -1, wUnit3, UNIT_CELSIUS_RH_ALARM);
    SetCtrlAttribute(p, SETLOGGER_UNIT, ATTR_DIMMED, choice ? 0 : 1);
    SetCtrlVal(p, SETLOGGER_UNIT, UNIT_CELSIUS);
    // The list offers degrees Celsius only: for a logger that reports Fahrenheit its text is
    // red, as the new settings will change its unit.
    const bool fahrenheit = eUnit == 'F' || eUnit == 'f';
    SetCtrlAttribute(p, SETLOGGER_UNIT, ATTR_TEXT_COLOR, fahrenheit ? VAL_RED : VAL_BLACK);
}

void showLimits(int channel) {
    SetCtrlVal(idSetLogger, SETLOGGER_HIGHALARM, lpTmpHigh[channel]);
    SetCtrlVal(idSetLogger, SETLOGGER_LOWALARM, lpTmpLow[channel]);
}

void storeLimits(int channel) {
    GetCtrlVal(idSetLogger, SETLOGGER_HIGHALARM, &lpTmpHigh[channel]);
    GetCtrlVal(idSetLogger, SETLOGGER_LOWALARM, &lpTmpLow[channel]);
}

// The start date and time are used by start mode 0 alone.
void dimStartFields(int mode) {
    const int dimmed = mode == START_AT_TIME ? 0 : 1;
    SetCtrlAttribute(idSetLogger, SETLOGGER_STARTDATE, ATTR_DIMMED, dimmed);
    SetCtrlAttribute(idSetLogger, SETLOGGER_STARTTIME, ATTR_DIMMED, dimmed);
}

// ---------------------------------------------------------------- encoding the limits

// A limit in tenths of a unit, truncated toward zero. The fields' bounds are single precision:
// the highest limit, 3276.7, is held as 3276.69995..., which truncated would give 32766 tenths
// instead of 32767. So a value less than a thousandth of a tenth below a whole tenth counts as
// that tenth. Limits beyond the fields' range (a default from the preferences, say) are cut
// to it.
int tenths(double value, int channel) {
    if (std::isnan(value)) value = 0.0;
    const double high = LimitMaxVal[channel][0], low = LimitMinVal[channel][0];
    if (value > high) value = high;
    if (value < low) value = low;
    constexpr double kRepresentationError = 1e-3;   // in tenths
    return static_cast<int>(std::trunc(value * 10.0 + (value < 0 ? -kRepresentationError : kRepresentationError)));
}

void encodeTenths(int channel) {
    lpHighLimit[channel] = tenths(lpTmpHigh[channel], channel);
    lpLowLimit[channel] = tenths(lpTmpLow[channel], channel);
}

// Step 6 of OK: the limits in the logger's encoding, by the model.
void encodeLimits() {
    switch (settingRow(currDeviceId).encoding) {
        case LimitEncoding::Tenths:
            for (int k = 0; k < kChannelCount; ++k) encodeTenths(k);
            break;
        case LimitEncoding::TempAndRh:
            encodeTenths(kTemperature);
            encodeTenths(kHumidity);
            break;
        case LimitEncoding::Thermistor:
            lpHighLimit[kTemperature] = thermistorAlarm(static_cast<float>(lpTmpHigh[kTemperature]), lpUnit);
            lpLowLimit[kTemperature] = thermistorAlarm(static_cast<float>(lpTmpLow[kTemperature]), lpUnit);
            break;
        case LimitEncoding::None: break;
    }
}

// ---------------------------------------------------------------- the steps of OK

// Step 2: the interval; false (after the pop-up) outside 1 s .. 12 h.
bool takeSampleRate() {
    int hours = 0, minutes = 0, seconds = 0;
    GetCtrlVal(idSetLogger, SETLOGGER_RATE_HOUR, &hours);
    GetCtrlVal(idSetLogger, SETLOGGER_RATE_MIN, &minutes);
    GetCtrlVal(idSetLogger, SETLOGGER_RATE_SEC, &seconds);
    lpSampleRate = hours * kSecondsPerHour + minutes * kSecondsPerMinute + seconds;
    if (lpSampleRate >= SAMPLE_RATE_MIN && lpSampleRate <= SAMPLE_RATE_MAX) return true;
    MessagePopup(warn11, warn18);   // "Attention", "the interval must lie between 1 s and 12 h"
    return false;
}

// Step 3: the start; false (after the pop-up) for a start time that does not convert. A start
// time that does not convert is never kept.
bool takeStart() {
    int mode = lpStartMode;
    GetCtrlVal(idSetLogger, SETLOGGER_STARTMODE, &mode);
    lpStartMode = static_cast<signed char>(mode);
    if (lpStartMode != START_AT_TIME) {
        lpSchedule = static_cast<unsigned>(lpStartMode);
        return true;
    }
    GetCtrlVal(idSetLogger, SETLOGGER_STARTDATE, lpDate);
    GetCtrlVal(idSetLogger, SETLOGGER_STARTTIME, lpTime);
    cRtc start = 0;
    switch (rtc2CRtc(lpDate, lpTime, &start)) {
        case 0: lpSchedule = start; return true;
        case -1: MessagePopup(warn11, warn12); return false;   // "Attention", "the date is not valid"
        default: MessagePopup(warn11, warn13); return false;   // "Attention", "the time is not valid"
    }
}

// Step 4: the limits shown; false (after the pop-up) when the low one lies above the high one,
// which then becomes the stored low limit too.
bool takeLimits() {
    const int channel = validChannel(currAlarmChannel);
    storeLimits(channel);
    if (lpTmpLow[channel] <= lpTmpHigh[channel]) return true;
    lpTmpLow[channel] = lpTmpHigh[channel];
    MessagePopup(warn11, warn14);   // "Attention", "the low limit was above the high limit"
    return false;
}

// Cancel, the close button and the close box: the clock fields stop following the PC's
// clock and the window goes; nothing is sent.
void leaveWindow() {
    gFlag &= static_cast<unsigned char>(~GFLAG_CLOCK_FOLLOWS_PC);
    HidePanel(idSetLogger);
}

}   // namespace

// ---------------------------------------------------------------- filling and opening

void logSettingsFollowModel() {
    updatePanelLogSetting();
    RecallLogSetting();
}

void updatePanelLogSetting() {
    const int index = currDeviceId;
    const SettingRow &row = settingRow(index);
    const int p = idSetLogger;
    // 1.-3. the lists of the model
    fillSamplePoints(row.points);
    fillStartModes(row.starts);
    fillAlarmChannels(index);
    // 4. the limits from the preferences
    for (int k = 0; k < kChannelCount; ++k) {
        lpTmpHigh[k] = sLocal.defaultHigh;
        lpTmpLow[k] = sLocal.defaultLow;
    }
    // 5. the unit
    fillUnits(index);
    // 6. the channel shown: the humidity alarm of a logger that reports its unit in lower case
    const bool humidity = unitChoosesAlarm(index) && eUnit >= 'a' && eUnit <= 'z';
    currAlarmChannel = humidity ? kHumidity : kTemperature;
    if (humidity) SetCtrlVal(p, SETLOGGER_UNIT, UNIT_CELSIUS_RH_ALARM);
    showLimits(currAlarmChannel);
    // 7. interval 1 s; the start now
    SetCtrlVal(p, SETLOGGER_RATE_HOUR, 0);
    SetCtrlVal(p, SETLOGGER_RATE_MIN, 0);
    SetCtrlVal(p, SETLOGGER_RATE_SEC, 1);
    SetCtrlVal(p, SETLOGGER_STARTDATE, dateStr());
    SetCtrlVal(p, SETLOGGER_STARTTIME, TimeStr());
    // 8. calibration for the models that have it
    const int noCalibration = calibrationKind(index) == Calibration::None ? 1 : 0;
    SetCtrlAttribute(p, SETLOGGER_CALITITLE, ATTR_DIMMED, noCalibration);
    SetCtrlAttribute(p, SETLOGGER_CALI_START, ATTR_DIMMED, noCalibration);
}

void ChangeLogSetAlarmRange() {
    int dimmed = 0;
    GetCtrlAttribute(idSetLogger, SETLOGGER_ALARMCHANNEL, ATTR_DIMMED, &dimmed);
    int channel = kTemperature;
    if (dimmed) {
        int unit = UNIT_CELSIUS;
        GetCtrlVal(idSetLogger, SETLOGGER_UNIT, &unit);
        channel = unit == UNIT_CELSIUS_RH_ALARM ? kHumidity : kTemperature;
    } else {
        GetCtrlVal(idSetLogger, SETLOGGER_ALARMCHANNEL, &channel);
        channel = validChannel(channel);
    }
    for (int field : {SETLOGGER_HIGHALARM, SETLOGGER_LOWALARM}) {
        SetCtrlAttribute(idSetLogger, field, ATTR_MAX_VALUE, static_cast<double>(LimitMaxVal[channel][0]));
        SetCtrlAttribute(idSetLogger, field, ATTR_MIN_VALUE, static_cast<double>(LimitMinVal[channel][0]));
    }
}

int cSetLoggerCallBack(int, int, int event, void *, int, int) {
    if (event != EVENT_COMMIT) return 0;
    const int p = idSetLogger;
    // 1. fonts: the window's own font and size throughout, so that no field stands out
    for (int cancel : {SETLOGGER_LOG_CANCEL, SETLOGGER_CLOCK_CANCEL, SETLOGGER_ID_CANCEL})
        SetCtrlAttribute(p, cancel, ATTR_TEXT_FONT, VAL_APP_META_FONT);
    // 2. texts, the model's lists and defaults, then what was last sent to such a logger
    localLoggerSetWindow();
    updatePanelLogSetting();
    RecallLogSetting();
    // 3. the logger's clock and identifier
    SetCtrlVal(p, SETLOGGER_LOGGERDATE, dateStr());
    SetCtrlVal(p, SETLOGGER_LOGGERTIME, TimeStr());
    SetCtrlVal(p, SETLOGGER_IDENTIFIER, eId);
    // 4. the start date and time for start mode 0 only
    int mode = START_NOW;
    GetCtrlVal(p, SETLOGGER_STARTMODE, &mode);
    dimStartFields(mode);
    // 5. the limits' range; the window; its clock follows the PC's
    ChangeLogSetAlarmRange();
    DisplayPanel(p);
    gFlag |= GFLAG_CLOCK_FOLLOWS_PC;
    return 0;
}

// ---------------------------------------------------------------- dependent fields

int sStartModeCallBack(int, int, int event, void *, int, int) {
    if (event != EVENT_VAL_CHANGED) return 0;
    int mode = lpStartMode;
    GetCtrlVal(idSetLogger, SETLOGGER_STARTMODE, &mode);
    lpStartMode = static_cast<signed char>(mode);
    dimStartFields(mode);
    return 0;
}

int sAlarmChannelCallBack(int, int, int event, void *, int, int) {
    if (event != EVENT_VAL_CHANGED) return 0;
    // 1. the limits shown so far belong to the channel shown so far
    const int shown = validChannel(currAlarmChannel);
    storeLimits(shown);
    // 2. a low limit above the high one: the channel stays
    if (lpTmpLow[shown] > lpTmpHigh[shown]) {
        lpTmpLow[shown] = lpTmpHigh[shown];
        SetCtrlVal(idSetLogger, SETLOGGER_ALARMCHANNEL, shown);
        MessagePopup(warn11, warn14);   // "Attention", "the low limit was above the high limit"
        return 0;
    }
    // 3. the chosen channel's range and limits
    ChangeLogSetAlarmRange();
    int chosen = shown;
    GetCtrlVal(idSetLogger, SETLOGGER_ALARMCHANNEL, &chosen);
    currAlarmChannel = validChannel(chosen);
    showLimits(currAlarmChannel);
    return 0;
}

int sUnitCallBack(int, int, int event, void *, int, int) {
    if (event != EVENT_VAL_CHANGED) return 0;
    int unit = UNIT_CELSIUS;
    GetCtrlVal(idSetLogger, SETLOGGER_UNIT, &unit);
    lpUnit = static_cast<char>(unit);
    // Where the unit chooses the alarm's channel, the limits follow it.
    if (!unitChoosesAlarm(currDeviceId)) return 0;
    const int shown = validChannel(currAlarmChannel);
    storeLimits(shown);
    if (lpTmpLow[shown] > lpTmpHigh[shown]) lpTmpLow[shown] = lpTmpHigh[shown];
    ChangeLogSetAlarmRange();
    currAlarmChannel = lpUnit == UNIT_CELSIUS_RH_ALARM ? kHumidity : kTemperature;
    showLimits(currAlarmChannel);
    return 0;
}

// The fields read at OK react to nothing themselves.
int sSamplePointsCallBack(int, int, int, void *, int, int) { return 0; }
int sSampleRateCallBack(int, int, int, void *, int, int) { return 0; }
int sStartDateCallBack(int, int, int, void *, int, int) { return 0; }
int sStartTimeCallBack(int, int, int, void *, int, int) { return 0; }
int sAlarmLimitCallBack(int, int, int, void *, int, int) { return 0; }

// ---------------------------------------------------------------- OK, Cancel, close

int takeLogSettings() {
    // 1. points
    int points = lpSamplePoints;
    if (GetCtrlVal(idSetLogger, SETLOGGER_SAMPLEPOINTS, &points) == 0)
        lpSamplePoints = static_cast<signed char>(points);
    // 2.-4. interval, start, limits, each refused with its own message
    if (!takeSampleRate() || !takeStart() || !takeLimits()) return -1;
    // 5. unit
    int unit = lpUnit;
    GetCtrlVal(idSetLogger, SETLOGGER_UNIT, &unit);
    lpUnit = static_cast<char>(unit);
    // 6. the limits as the logger takes them
    encodeLimits();
    return 0;
}

namespace {

// The A and S texts the link is about to send, as the archive's trail keeps them; txBuf is left
// as it was (a command may still wait for its answer).
void noteLogSettingsSent() {
    char kept[sizeof txBuf];
    std::memcpy(kept, txBuf, sizeof kept);
    std::string details;
    for (const char letter : {'A', 'S'}) {
        if (!formatCommand(letter)) continue;
        std::string text(txBuf, strnlen(txBuf, sizeof txBuf));
        while (!text.empty() && (text.back() == '\r' || text.back() == '\n')) text.pop_back();
        details += (details.empty() ? "" : "; ") + text;
    }
    std::memcpy(txBuf, kept, sizeof kept);
    noteInTrail("logging settings", details);
}

}   // namespace

int cOkLogCallBack(int, int, int event, void *, int, int) {
    if (event != EVENT_COMMIT) return 0;
    if (takeLogSettings() != 0) return 0;
    // 7. the link sends "A", then "S"; the window stays until the logger has confirmed both
    keySetAlarm = 1;
    keySetting = 1;
    noteLogSettingsSent();
    SaveLogSetting2File();
    gFlag &= static_cast<unsigned char>(~GFLAG_CLOCK_FOLLOWS_PC);
    return 0;
}

int cCancelLogCallBack(int, int, int event, void *, int, int) {
    if (event == EVENT_COMMIT) leaveWindow();
    return 0;
}

int cLogExitCallBack(int, int, int event, void *, int, int) {
    if (event == EVENT_COMMIT) leaveWindow();
    return 0;
}

int pSetLoggerCallBack(int, int event, void *, int, int) {
    if (event == EVENT_CLOSE) leaveWindow();
    return 0;
}
