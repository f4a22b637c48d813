// The settings file "TavixSetting.ini": what the logging section last sent to a logger of each
// model, one section "#<model index>" per model, so that the window opens with it the next
// time. List entries are kept by their position (each model has its own lists and its own
// section), limits in display units, the start as a packed time stored as a real number.
#include <cmath>
#include <cstdio>

#include "config/Config.h"
#include "ini/inifile.h"
#include "model/Clock.h"
#include "model/Models.h"
#include "model/Records.h"
#include "panels/Panels.h"
#include "runtime/ui.h"

namespace {

constexpr int kPathSize = 512;
constexpr int kSectionSize = 16;
constexpr double kPackedTimeLimit = 4294967296.0;   // 2^32: a packed time is an unsigned 32-bit count

// The keys of a section, in the order they are written.
const char kPoints[] = "POINTS";
const char kRateHour[] = "Rate_Hour";
const char kRateMin[] = "Rate_Min";
const char kRateSec[] = "Rate_Sec";
const char kMode[] = "Mode";
const char kChannel[] = "CHANNEL";   // written for the record; the list always opens on channel 0
const char kSchedule[] = "Schedule";
// The limits, per channel: high, low.
const char *const kLimitKeys[3][2] = {{"TEMP_HI", "TEMP_LO"}, {"TEMP2_HI", "TEMP2_LO"}, {"RH_HI", "RH_LO"}};

// The file's full path in the program's folder; false when it does not fit.
bool settingPath(char (&path)[kPathSize]) {
    char dir[kPathSize] = "";
    if (GetProjectDir(dir, sizeof dir) < 0) return false;
    return MakePathname(dir, TAVIX_SETTING_FILE, path, sizeof path) >= 0;
}

void sectionName(char (&section)[kSectionSize]) { std::snprintf(section, sizeof section, "#%i", currDeviceId); }

int listIndex(int ctrl) {
    int index = 0;
    GetCtrlIndex(idSetLogger, ctrl, &index);
    return index;
}

int fieldValue(int ctrl) {
    int value = 0;
    GetCtrlVal(idSetLogger, ctrl, &value);
    return value;
}

// ---------------------------------------------------------------- restoring

// A remembered list position, when the list has such an entry.
void recallListIndex(IniHandle ini, const char *section, const char *key, int ctrl) {
    int index = -1, count = 0;
    if (Ini_GetInt(ini, section, key, &index) != 1) return;
    GetNumListItems(idSetLogger, ctrl, &count);
    if (index >= 0 && index < count) SetCtrlIndex(idSetLogger, ctrl, index);
}

// A remembered part of the interval, when a recording can take it (0..largest).
void recallField(IniHandle ini, const char *section, const char *key, int ctrl, int largest) {
    int value = 0;
    if (Ini_GetInt(ini, section, key, &value) != 1) return;
    if (value >= 0 && value <= largest) SetCtrlVal(idSetLogger, ctrl, value);
}

// A remembered limit, when it is a number the limit fields can hold.
void recallLimit(IniHandle ini, const char *section, const char *key, int channel, double &limit) {
    double value = 0.0;
    if (Ini_GetDouble(ini, section, key, &value) != 1) return;
    if (value >= LimitMinVal[channel][0] && value <= LimitMaxVal[channel][0]) limit = value;
}

// The remembered start, when it is a packed time not earlier than now.
void recallSchedule(IniHandle ini, const char *section) {
    double value = 0.0;
    if (Ini_GetDouble(ini, section, kSchedule, &value) != 1) return;
    if (!(value >= 0.0 && value < kPackedTimeLimit)) return;
    const cRtc start = static_cast<cRtc>(value);   // truncated, as it was stored
    if (start < nowCRtc()) return;
    char date[sizeof rtcDate], time[sizeof rtcTime];
    cRtc2Rtc(start, date, time);
    SetCtrlVal(idSetLogger, SETLOGGER_STARTDATE, date);
    SetCtrlVal(idSetLogger, SETLOGGER_STARTTIME, time);
}

}   // namespace

void SaveLogSetting2File() {
    // 1. the file as it is: the other models' sections stay
    char path[kPathSize];
    if (!settingPath(path)) return;
    IniHandle ini = Ini_New(1);
    if (ini == nullptr) return;
    Ini_ReadFromFile(ini, path);
    // 2. the model's section
    char section[kSectionSize];
    sectionName(section);
    // 3. the keys
    Ini_PutInt(ini, section, kPoints, listIndex(SETLOGGER_SAMPLEPOINTS));
    Ini_PutInt(ini, section, kRateHour, fieldValue(SETLOGGER_RATE_HOUR));
    Ini_PutInt(ini, section, kRateMin, fieldValue(SETLOGGER_RATE_MIN));
    Ini_PutInt(ini, section, kRateSec, fieldValue(SETLOGGER_RATE_SEC));
    Ini_PutInt(ini, section, kMode, listIndex(SETLOGGER_STARTMODE));
    Ini_PutInt(ini, section, kChannel, listIndex(SETLOGGER_ALARMCHANNEL));
    for (int k = 0; k < 3; ++k) {
        Ini_PutDouble(ini, section, kLimitKeys[k][0], lpTmpHigh[k]);
        Ini_PutDouble(ini, section, kLimitKeys[k][1], lpTmpLow[k]);
    }
    // The start fields whatever the start mode; fields that hold no time store no start.
    char date[LP_DATE_SIZE] = "", time[LP_TIME_SIZE] = "";
    GetCtrlVal(idSetLogger, SETLOGGER_STARTDATE, date);
    GetCtrlVal(idSetLogger, SETLOGGER_STARTTIME, time);
    cRtc start = 0;
    if (rtc2CRtc(date, time, &start) == 0) Ini_PutDouble(ini, section, kSchedule, static_cast<double>(start));
    // 4. the whole file replaced
    Ini_WriteToFile(ini, path);
    Ini_Dispose(ini);
}

void RecallLogSetting() {
    // 1. the file
    char path[kPathSize];
    if (!settingPath(path)) return;
    IniHandle ini = Ini_New(1);
    if (ini == nullptr) return;
    // 2. the model's section
    char section[kSectionSize];
    sectionName(section);
    if (Ini_ReadFromFile(ini, path) == 0 && Ini_SectionExists(ini, section)) {
        // 3. lists and interval
        recallListIndex(ini, section, kPoints, SETLOGGER_SAMPLEPOINTS);
        recallField(ini, section, kRateHour, SETLOGGER_RATE_HOUR, RATE_HOURS_MAX);
        recallField(ini, section, kRateMin, SETLOGGER_RATE_MIN, RATE_PART_MAX);
        recallField(ini, section, kRateSec, SETLOGGER_RATE_SEC, RATE_PART_MAX);
        recallListIndex(ini, section, kMode, SETLOGGER_STARTMODE);
        // 4. the limits; the fields show the channel shown (channel 0, unless a logger that
        //    reports its unit in lower case put the humidity alarm first)
        for (int k = 0; k < 3; ++k) {
            recallLimit(ini, section, kLimitKeys[k][0], k, lpTmpHigh[k]);
            recallLimit(ini, section, kLimitKeys[k][1], k, lpTmpLow[k]);
        }
        const int shown = currAlarmChannel >= 0 && currAlarmChannel < 3 ? currAlarmChannel : 0;
        SetCtrlVal(idSetLogger, SETLOGGER_HIGHALARM, lpTmpHigh[shown]);
        SetCtrlVal(idSetLogger, SETLOGGER_LOWALARM, lpTmpLow[shown]);
        // 5. a start still to come
        recallSchedule(ini, section);
    }
    // 6.
    Ini_Dispose(ini);
}
