// The profiles offered, the data table's limits, and the verdict on the records held.
#include <cstdio>
#include <cstring>

#include "base/clock.h"
#include "files/DataFile.h"
#include "model/Records.h"
#include "panels/Panels.h"
#include "report/Format.h"
#include "report/Report.h"
#include "runtime/ui.h"
#include "store/Fingerprint.h"
#include "table/Table.h"

// ---------------------------------------------------------------- profiles

std::array<ChannelLimits, VERDICT_CHANNELS> dataTableLimits() {
    std::array<ChannelLimits, VERDICT_CHANNELS> limits{};
    // what the table last processed with (at start-up: every test on, the preferences' default
    // limits), or while its window is open its fields as they are, also before Go is pressed
    int channel = tabChannel, highOn = tabHiEnable, lowOn = tabLowEnable;
    double high = tabHi, low = tabLo;
    if (idTable > 0 && flagOfDataTableOn) {
        GetCtrlVal(idTable, TABLE_CHANNEL, &channel);
        GetCtrlVal(idTable, TABLE_HIGH_ENABLE, &highOn);
        GetCtrlVal(idTable, TABLE_LOW_ENABLE, &lowOn);
        GetCtrlVal(idTable, TABLE_HIGH, &high);
        GetCtrlVal(idTable, TABLE_LOW, &low);
    }
    if (channel < 0 || channel >= VERDICT_CHANNELS) channel = 0;
    if (highOn) limits[channel].high = FloatValProcess(high);
    if (lowOn) limits[channel].low = FloatValProcess(low);
    return limits;
}

int reportProfileByName(const std::string &name) {
    const Profile *p = findProfile(reportProfiles, name);
    return p ? static_cast<int>(p - reportProfiles.data()) : -1;
}

void loadReportProfiles() {
    const std::string chosen = reportProfileIndex >= 0 && reportProfileIndex < static_cast<int>(reportProfiles.size())
                                   ? reportProfiles[reportProfileIndex].name
                                   : std::string();
    char dir[260] = "", path[520] = "";
    GetProjectDir(dir, sizeof dir);
    std::vector<Profile> file;
    reportProfilesError.clear();
    if (MakePathname(dir, PROFILES_FILE_NAME, path, sizeof path) < 0 ||
        !readProfilesFile(path, file, reportProfilesError)) {
        if (reportProfilesError.empty()) reportProfilesError = PROFILES_FILE_NAME;
        file.clear();
    }
    const auto limits = dataTableLimits();
    const char unit = report::recordsHeld().unit;
    bool hasDataTable = false;
    for (Profile &p : file) {
        if (!p.fromDataTable) continue;
        p = withDataTableLimits(p, limits, unit);
        hasDataTable = true;
    }
    if (!hasDataTable) file.insert(file.begin(), dataTableLimitsProfile(limits, unit));
    reportProfiles = std::move(file);
    reportProfileIndex = chosen.empty() ? 0 : std::max(0, reportProfileByName(chosen));
}

// ---------------------------------------------------------------- the verdict

int judgeRecordsHeld(const Profile &profile, Verdict &verdict) {
    const RecordsDescription d = recordsDescription();
    VerdictInput input;
    input.times = rtcPtr;
    input.values = {vTemPtr, vTem2Ptr, vRhPtr};
    input.count = loggedLength > 0 ? loggedLength : 0;
    input.intervalSeconds = d.interval;
    input.unit = d.unit;
    // the data table's profile follows the table's fields as they are now
    const Profile judged = profile.fromDataTable ? withDataTableLimits(profile, dataTableLimits(), d.unit) : profile;
    return judgeRecording(judged, input, &verdict);
}

// ---------------------------------------------------------------- facts

ReportFacts factsOfRecordsHeld() {
    ReportFacts f;
    if (recordsDescription().fromFile) f.file = fileName;
    f.fingerprint = recordsFingerprint();
    const rt::LocalTime now = rt::Now();
    const int offset = rt::UtcOffsetMinutes();
    char text[48];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d %c%02d:%02d", now.year, now.month, now.day,
                  now.hour, now.minute, now.second, offset < 0 ? '-' : '+', std::abs(offset) / 60,
                  std::abs(offset) % 60);
    f.generatedAt = text;
    return f;
}
