// Fuzz target for the profiles file, all in memory: arbitrary bytes as the text of a profiles
// file, then every profile read judged against a small recording that crosses every threshold
// a profile is likely to hold (cold, warm, hot, a sensor error, humidity).
//
// Checked beyond the sanitizers: the parser either gives profiles and no message, or a message
// and no profiles; a message names a line, or says there is no profile or no memory; every
// profile read can be judged, and its results are sane (events, times and percentages within
// their bounds).

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "analysis/Profiles.h"
#include "analysis/Verdict.h"

namespace {

void check(bool ok, const char *what) {
    if (!ok) {
        std::fprintf(stderr, "profiles_fuzz: %s\n", what);
        std::abort();
    }
}

constexpr int kRecords = 12;
constexpr VerdictTime kTimes[kRecords] = {0, 600, 1200, 1800, 2400, 3000, 3600, 4200, 4800, 5400, 6000, 86400};
constexpr double kTemperatures[kRecords] = {-5, 0, 2, 8, 8.04, 15.05, 30, 45, 10003, 25, 50, 4};
constexpr double kHumidities[kRecords] = {0, 10, 50, 65, 80, 80.05, 99.9, 100, 10000.5, 40, 20, 55};

void judgeEach(const std::vector<Profile> &profiles) {
    VerdictInput in;
    in.times = kTimes;
    in.values[VERDICT_TEMPERATURE] = kTemperatures;
    in.values[VERDICT_TEMPERATURE2] = kTemperatures;
    in.values[VERDICT_HUMIDITY] = kHumidities;
    in.count = kRecords;
    in.intervalSeconds = 600;
    in.unit = 'C';
    for (const Profile &p : profiles) {
        Verdict v;
        check(judgeRecording(p, in, &v) == 0, "a profile read cannot be judged");
        bool alarm = false;
        for (const ChannelResult &ch : v.channels) {
            check(ch.n + ch.errors == kRecords, "readings and errors do not add up");
            if (ch.timeInRangePct) check(*ch.timeInRangePct >= 0 && *ch.timeInRangePct <= 100, "time in range");
            for (const ZoneResult &z : ch.zones) {
                check(z.events >= 0 && z.events <= kRecords, "events out of bounds");
                check(z.longestMinutes <= z.totalMinutes, "longest event above the total");
                check(z.events == static_cast<int>(z.runs.size()), "events and runs differ");
                alarm = alarm || z.alarm;
            }
        }
        check(v.pass == (!alarm && v.mktLimitHolds), "the verdict does not follow the alarms and the MKT limit");
    }
}

}   // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    std::vector<Profile> profiles;
    std::string error;
    const bool ok = parseProfiles(reinterpret_cast<const char *>(data), size, profiles, error);
    if (!ok) {
        check(profiles.empty(), "a refused file left profiles");
        check(error.find("line ") != std::string::npos || error.rfind("no profile", 0) == 0 ||
                  error.rfind("out of memory", 0) == 0,
              "a message without its line");
        return 0;
    }
    check(!profiles.empty() && error.empty(), "a read file without profiles, or with a message");
    judgeEach(profiles);
    return 0;
}
