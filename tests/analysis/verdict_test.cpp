// The verdict on a recording, case by case as worked out by hand: zone runs at their delay and
// one reading short, a cumulative total reaching its allowance, thresholds hit exactly, sensor
// errors on the clock, time-weighted MKT and its worst 24 hours, a humidity-only logger, a file of
// only sensor errors, and the WHO presets against their time limits.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "CaseName.h"
#include "analysis/Analysis.h"
#include "analysis/Profiles.h"
#include "analysis/Verdict.h"

namespace {

constexpr double E = 10003.0;               // a sensor error (code 3)
constexpr VerdictTime kStart = 788918400;   // 2025-01-01 00:00:00
constexpr int kTenMinutes = 600;

// value repeated count times
struct Stretch {
    double value;
    int count;
};

// A recording of one channel: runs of values one interval apart.
struct Recording {
    std::vector<VerdictTime> times;
    std::array<std::vector<double>, VERDICT_CHANNELS> values;
    int interval = kTenMinutes;
    char unit = 'C';

    void add(int channel, const std::vector<Stretch> &runs) {
        std::vector<double> &v = values[static_cast<std::size_t>(channel)];
        for (const Stretch &r : runs) v.insert(v.end(), static_cast<std::size_t>(r.count), r.value);
        while (times.size() < v.size()) times.push_back(kStart + static_cast<VerdictTime>(times.size() * interval));
    }

    VerdictInput input() const {
        VerdictInput in;
        in.times = times.data();
        in.count = static_cast<int>(times.size());
        in.intervalSeconds = interval;
        in.unit = unit;
        for (std::size_t ch = 0; ch < VERDICT_CHANNELS; ++ch)
            if (!values[ch].empty()) in.values[ch] = values[ch].data();
        return in;
    }
};

Recording temperatures(const std::vector<Stretch> &runs, int interval = kTenMinutes, char unit = 'C') {
    Recording r;
    r.interval = interval;
    r.unit = unit;
    r.add(VERDICT_TEMPERATURE, runs);
    return r;
}

Profile oneZone(Zone zone, int channel = VERDICT_TEMPERATURE) {
    Profile p;
    p.name = "test";
    p.zones[static_cast<std::size_t>(channel)].push_back(zone);
    return p;
}

Verdict judge(const Profile &profile, const Recording &recording) {
    Verdict v;
    EXPECT_EQ(judgeRecording(profile, recording.input(), &v), 0);
    return v;
}

VerdictTime at(int index, int interval = kTenMinutes) { return kStart + static_cast<VerdictTime>(index * interval); }

// ---- zones ---------------------------------------------------------------------------------

struct ZoneCase {
    const char *name;
    Zone zone;
    std::vector<Stretch> runs;   // ten minutes apart
    int events;
    double totalMinutes;
    double longestMinutes;
    int firstIndex;   // -1: never in the zone
    bool alarm;
};

constexpr Zone above8Delay60{ZoneCompare::Above, 8.0, ZoneKind::Single, 60};
constexpr Zone above8Total100{ZoneCompare::Above, 8.0, ZoneKind::Cumulative, 100};

const ZoneCase kZones[] = {
    {"single run exactly at the delay", above8Delay60, {{5, 2}, {9, 6}, {5, 2}}, 1, 60, 60, 2, true},
    {"single run one reading short", above8Delay60, {{5, 2}, {9, 5}, {5, 2}}, 1, 50, 50, 2, false},
    {"single two short runs are two events", above8Delay60, {{9, 5}, {5, 1}, {9, 5}}, 2, 100, 50, 0, false},
    {"single delay 0 alarms at one reading",
     {ZoneCompare::Above, 8.0, ZoneKind::Single, 0},
     {{5, 3}, {8.1, 1}},
     1,
     10,
     10,
     3,
     true},
    {"cumulative reaching the allowance exactly", above8Total100, {{9, 5}, {5, 1}, {9, 5}}, 2, 100, 50, 0, true},
    {"cumulative one reading short", above8Total100, {{9, 5}, {5, 1}, {9, 4}}, 2, 90, 50, 0, false},
    {"above excludes the threshold", {ZoneCompare::Above, 8.0, ZoneKind::Single, 0}, {{8.0, 3}}, 0, 0, 0, -1, false},
    {"at or above includes it", {ZoneCompare::AtOrAbove, 8.0, ZoneKind::Single, 0}, {{8.0, 3}}, 1, 30, 30, 0, true},
    {"below excludes the threshold", {ZoneCompare::Below, -0.5, ZoneKind::Single, 0}, {{-0.5, 3}}, 0, 0, 0, -1, false},
    {"at or below includes it", {ZoneCompare::AtOrBelow, -0.5, ZoneKind::Single, 0}, {{-0.5, 3}}, 1, 30, 30, 0, true},
    // A download's decoding leaves 8.00001 where the file says 8.0: judged as shown, both are 8.0.
    {"download offset is judged as shown",
     {ZoneCompare::Above, 8.0, ZoneKind::Single, 0},
     {{8.00001, 3}, {8.04, 1}},
     0,
     0,
     0,
     -1,
     false},
    {"shown rounding lifts into the zone",
     {ZoneCompare::AtOrAbove, 8.1, ZoneKind::Single, 0},
     {{8.06, 1}},
     1,
     10,
     10,
     0,
     true},
    {"sensor error inside a run ends it", above8Delay60, {{9, 3}, {E, 1}, {9, 3}}, 2, 60, 30, 0, false},
    {"sensor errors at the start keep the clock", above8Delay60, {{E, 3}, {9, 6}}, 1, 60, 60, 3, true},
};

class Zones : public ::testing::TestWithParam<ZoneCase> {};

TEST_P(Zones, EventsTimesAndAlarm) {
    const ZoneCase &c = GetParam();
    const Verdict v = judge(oneZone(c.zone), temperatures(c.runs));
    const ChannelResult &ch = v.channels[VERDICT_TEMPERATURE];
    ASSERT_EQ(ch.zones.size(), 1u);
    const ZoneResult &z = ch.zones[0];
    EXPECT_EQ(z.events, c.events);
    EXPECT_EQ(z.runs.size(), static_cast<std::size_t>(c.events));
    EXPECT_DOUBLE_EQ(z.totalMinutes, c.totalMinutes);
    EXPECT_DOUBLE_EQ(z.longestMinutes, c.longestMinutes);
    EXPECT_EQ(z.firstAt, c.firstIndex < 0 ? std::nullopt : std::optional<VerdictTime>(at(c.firstIndex)));
    EXPECT_EQ(z.alarm, c.alarm);
    EXPECT_EQ(v.pass, !c.alarm);
}

INSTANTIATE_TEST_SUITE_P(Verdict, Zones, ::testing::ValuesIn(kZones),
                         [](const auto &info) { return caseName(info.param.name); });

// ---- a channel's figures -------------------------------------------------------------------

TEST(Verdict, ChannelFiguresCountOnlyReadingsAndErrorsAreTimeWithoutOne) {
    const Verdict v = judge(oneZone(above8Delay60), temperatures({{E, 1}, {5, 1}, {9, 1}, {3, 1}, {9, 1}, {E, 1}}));
    const ChannelResult &ch = v.channels[VERDICT_TEMPERATURE];
    EXPECT_TRUE(ch.present);
    EXPECT_FALSE(v.channels[VERDICT_HUMIDITY].present);
    EXPECT_EQ(ch.n, 4);
    EXPECT_EQ(ch.errors, 2);
    EXPECT_DOUBLE_EQ(ch.minutesWithoutReading, 20);
    EXPECT_EQ(ch.min, 3.0);
    EXPECT_EQ(ch.minAt, at(3));
    EXPECT_EQ(ch.max, 9.0);
    EXPECT_EQ(ch.maxAt, at(2));   // the first of the two
    EXPECT_DOUBLE_EQ(*ch.mean, 6.5);
    EXPECT_DOUBLE_EQ(*ch.sd, 3.0);   // sqrt((2.25 + 6.25 + 12.25 + 6.25) / 3)
    // 20 of the 40 minutes with readings lie above 8.0
    EXPECT_DOUBLE_EQ(*ch.timeInRangePct, 50.0);
}

// ---- MKT -----------------------------------------------------------------------------------

struct MktCase {
    const char *name;
    std::vector<Stretch> runs;
    std::vector<VerdictTime> offsets;   // record times after the start when not ten minutes apart
    double deltaH;
    double mkt;   // (dH/R) / -ln(sum(w exp(-(dH/R) / T)) / sum(w)) - 273.15
};

const MktCase kMkt[] = {
    {"equal intervals", {{20, 1}, {30, 1}}, {}, DEFAULT_DELTA_H_KJ_PER_MOL, 26.25988691600344},
    // Weighted by time the gap would pull the MKT towards 20; it is skipped.
    {"long run of sensor errors is skipped",
     {{20, 1}, {E, 500}, {30, 1}},
     {},
     DEFAULT_DELTA_H_KJ_PER_MOL,
     26.25988691600344},
    // dH/R = 20000 K: the warmer reading weighs more.
    {"delta H doubled", {{20, 1}, {30, 1}}, {}, 2 * DEFAULT_DELTA_H_KJ_PER_MOL, 27.299486050493783},
    // The first reading stands for the 5 minutes until the next record, the others for 10.
    {"uneven intervals weigh by time",
     {{20, 1}, {30, 2}},
     {0, 300, 900},
     DEFAULT_DELTA_H_KJ_PER_MOL,
     28.672138972102402},
};

class WeightedMkt : public ::testing::TestWithParam<MktCase> {};

TEST_P(WeightedMkt, TimeWeightedWithTheProfilesActivationEnergy) {
    const MktCase &c = GetParam();
    Recording r = temperatures(c.runs);
    for (std::size_t i = 0; i < c.offsets.size(); ++i) r.times[i] = kStart + c.offsets[i];
    Profile p;
    p.deltaHkJPerMol = c.deltaH;
    const Verdict v = judge(p, r);
    ASSERT_TRUE(v.channels[VERDICT_TEMPERATURE].mkt);
    EXPECT_NEAR(*v.channels[VERDICT_TEMPERATURE].mkt, c.mkt, 1e-9);
    EXPECT_FALSE(v.channels[VERDICT_TEMPERATURE].mktWorstWindow);   // the profile sets no window
}

INSTANTIATE_TEST_SUITE_P(Verdict, WeightedMkt, ::testing::ValuesIn(kMkt),
                         [](const auto &info) { return caseName(info.param.name); });

TEST(Verdict, MktOfEqualIntervalsIsTheStatisticsWindowsMkt) {
    const std::vector<double> values = {-3.2, 4.5, 25.0, 7.7, 7.7, 40.1, 2.0};
    std::vector<Stretch> runs;
    for (const double v : values) runs.push_back({v, 1});
    double expected = 0;
    ASSERT_EQ(MeanKineticTemp(values.data(), static_cast<int>(values.size()), 'C', &expected), 0);
    const Verdict v = judge(Profile{}, temperatures(runs));
    EXPECT_NEAR(*v.channels[VERDICT_TEMPERATURE].mkt, expected, 1e-9);
}

// Three days at 5.0 with three hours at 20.0 on the second: the 24 hours holding the excursion
// have an MKT of 8.99 (126 x 5.0 and 18 x 20.0), the whole recording only 6.55.
struct WindowCase {
    const char *name;
    MktWindow window;
    double judged;
    std::optional<int> startIndex;
    bool pass;
};

const WindowCase kWindows[] = {
    {"any 24 hours finds the excursion", MktWindow::Day, 8.985565422554146, 200 + 18 - 144, false},
    {"whole recording", MktWindow::Recording, 6.55075163151588, 0, true},
    {"shorter than 30 days is one window", MktWindow::Month, 6.55075163151588, 0, true},
};

class Window : public ::testing::TestWithParam<WindowCase> {};

TEST_P(Window, WorstMktAgainstTheLimit) {
    const WindowCase &c = GetParam();
    Profile p;
    p.mktWindow = c.window;
    p.mktLimit = 8.0;
    const Verdict v = judge(p, temperatures({{5, 200}, {20, 18}, {5, 214}}));
    const ChannelResult &ch = v.channels[VERDICT_TEMPERATURE];
    EXPECT_NEAR(*ch.mkt, 6.55075163151588, 1e-9);
    ASSERT_TRUE(ch.mktWorstWindow);
    EXPECT_NEAR(*ch.mktWorstWindow, c.judged, 1e-9);
    EXPECT_EQ(ch.worstWindowStart, at(*c.startIndex));
    EXPECT_EQ(v.mktLimitHolds, c.pass);
    EXPECT_EQ(v.pass, c.pass);
}

INSTANTIATE_TEST_SUITE_P(Verdict, Window, ::testing::ValuesIn(kWindows),
                         [](const auto &info) { return caseName(info.param.name); });

// Two days at 5.0, a three-day pause in the times, then an hour at 30.0: no 24 hours starting at
// a record reach the warm hour; the first of those ending with one of its records holds only it.
TEST(Verdict, WorstDayReachesTheRecordsAfterAGapInTheTimes) {
    Profile p;
    p.mktWindow = MktWindow::Day;
    Recording r = temperatures({{5, 288}, {30, 6}});
    for (std::size_t i = 288; i < r.times.size(); ++i) r.times[i] += 3 * 86400;
    const ChannelResult ch = judge(p, r).channels[VERDICT_TEMPERATURE];
    EXPECT_NEAR(*ch.mktWorstWindow, 30.0, 1e-9);
    EXPECT_EQ(ch.worstWindowStart, r.times[288] + kTenMinutes - 86400);
}

// ---- units ---------------------------------------------------------------------------------

// Thresholds written in Celsius meet a Fahrenheit recording converted exactly: 8.0 C is 46.4 F,
// so 46.4 F lies on the threshold and 46.5 F above it.
struct UnitCase {
    const char *name;
    ZoneCompare compare;
    double fahrenheit;
    bool inZone;
};

const UnitCase kUnits[] = {
    {"on the converted threshold, above", ZoneCompare::Above, 46.4, false},
    {"on the converted threshold, at or above", ZoneCompare::AtOrAbove, 46.4, true},
    {"a tenth above it", ZoneCompare::Above, 46.5, true},
    {"a tenth below it, at or above", ZoneCompare::AtOrAbove, 46.3, false},
};

class Units : public ::testing::TestWithParam<UnitCase> {};

TEST_P(Units, CelsiusThresholdsOnAFahrenheitRecording) {
    const UnitCase &c = GetParam();
    const Verdict v =
        judge(oneZone({c.compare, 8.0, ZoneKind::Single, 0}), temperatures({{c.fahrenheit, 1}}, kTenMinutes, 'F'));
    const ZoneResult &z = v.channels[VERDICT_TEMPERATURE].zones[0];
    EXPECT_EQ(z.events, c.inZone ? 1 : 0);
    EXPECT_EQ(z.recordingThreshold, 46.4);
    EXPECT_EQ(zoneText(z.zone), std::string(zoneCompareText(c.compare)) + " 8.0");
}

INSTANTIATE_TEST_SUITE_P(Verdict, Units, ::testing::ValuesIn(kUnits),
                         [](const auto &info) { return caseName(info.param.name); });

TEST(Verdict, MktLimitInCelsiusOnAFahrenheitRecording) {
    Profile p;
    p.mktWindow = MktWindow::Recording;
    p.mktLimit = 8.0;   // 46.4 F
    const Verdict on = judge(p, temperatures({{46.4, 3}}, kTenMinutes, 'F'));
    EXPECT_NEAR(*on.channels[VERDICT_TEMPERATURE].mkt, 46.4, 1e-9);
    EXPECT_TRUE(on.pass);
    EXPECT_FALSE(judge(p, temperatures({{46.5, 3}}, kTenMinutes, 'F')).pass);
}

// ---- loggers and files without temperature or without readings -----------------------------

TEST(Verdict, HumidityOnlyLoggerHasNoMktAndIgnoresTemperatureZones) {
    Profile p = oneZone({ZoneCompare::Above, 80.0, ZoneKind::Single, 30}, VERDICT_HUMIDITY);
    p.zones[VERDICT_TEMPERATURE].push_back({ZoneCompare::Above, 8.0, ZoneKind::Single, 0});
    p.mktWindow = MktWindow::Recording;
    p.mktLimit = 8.0;
    Recording r;
    r.unit = '?';   // a humidity logger's unit letter says nothing
    r.add(VERDICT_HUMIDITY, {{60, 3}, {80.0, 2}, {85, 3}, {50, 1}});
    const Verdict v = judge(p, r);
    EXPECT_FALSE(v.channels[VERDICT_TEMPERATURE].present);
    const ChannelResult &rh = v.channels[VERDICT_HUMIDITY];
    EXPECT_EQ(rh.n, 9);
    EXPECT_FALSE(rh.mkt);
    EXPECT_FALSE(rh.mktWorstWindow);
    EXPECT_EQ(rh.zones[0].events, 1);
    EXPECT_EQ(rh.zones[0].firstAt, at(5));
    EXPECT_TRUE(rh.zones[0].alarm);
    EXPECT_FALSE(v.dewPointMean);
    EXPECT_FALSE(v.pass);
}

TEST(Verdict, OnlySensorErrorsHaveNoFiguresAndPass) {
    Profile p = oneZone({ZoneCompare::AtOrAbove, 0.0, ZoneKind::Single, 0});
    p.zones[VERDICT_HUMIDITY].push_back({ZoneCompare::Below, 100.0, ZoneKind::Cumulative, 0});
    p.mktWindow = MktWindow::Day;
    p.mktLimit = -100.0;
    Recording r;
    r.add(VERDICT_TEMPERATURE, {{E, 4}});
    r.add(VERDICT_HUMIDITY, {{10000.5, 4}});
    const Verdict v = judge(p, r);
    for (const int channel : {VERDICT_TEMPERATURE, VERDICT_HUMIDITY}) {
        const ChannelResult &ch = v.channels[static_cast<std::size_t>(channel)];
        EXPECT_EQ(ch.n, 0);
        EXPECT_EQ(ch.errors, 4);
        EXPECT_DOUBLE_EQ(ch.minutesWithoutReading, 40);
        EXPECT_FALSE(ch.min || ch.max || ch.minAt || ch.maxAt || ch.mean || ch.sd || ch.timeInRangePct || ch.mkt ||
                     ch.mktWorstWindow);
        EXPECT_EQ(ch.zones[0].events, 0);
        EXPECT_FALSE(ch.zones[0].firstAt);
        EXPECT_FALSE(ch.zones[0].alarm);
    }
    EXPECT_FALSE(v.dewPointMin || v.dewPointMean || v.dewPointMax);
    EXPECT_TRUE(v.pass);
}

TEST(Verdict, NoRecordsPassWithoutFigures) {
    Verdict v;
    VerdictInput in;
    in.intervalSeconds = 0;
    ASSERT_EQ(judgeRecording(oneZone(above8Delay60), in, &v), 0);
    EXPECT_TRUE(v.pass);
    EXPECT_FALSE(v.channels[VERDICT_TEMPERATURE].present);
}

TEST(Verdict, RefusesWhatCannotBeJudged) {
    Verdict v;
    Recording r = temperatures({{5, 2}});
    VerdictInput in = r.input();
    in.intervalSeconds = 0;
    EXPECT_EQ(judgeRecording(Profile{}, in, &v), VERDICT_ERR_INTERVAL);
    in = r.input();
    in.unit = 'K';
    EXPECT_EQ(judgeRecording(Profile{}, in, &v), VERDICT_ERR_UNIT);
    in = r.input();
    in.times = nullptr;
    EXPECT_EQ(judgeRecording(Profile{}, in, &v), VERDICT_ERR_INPUT);
    EXPECT_EQ(judgeRecording(Profile{}, r.input(), nullptr), VERDICT_ERR_INPUT);
}

// ---- dew point -----------------------------------------------------------------------------

// Magnus with Sonntag's constants: g = ln(RH/100) + 17.62 T / (243.12 + T), Td = 243.12 g / (17.62 - g).
TEST(Verdict, DewPointOfRecordsWithTemperatureAndHumidity) {
    Recording r;
    r.add(VERDICT_TEMPERATURE, {{20, 1}, {25, 1}, {10, 1}, {E, 1}, {30, 1}});
    r.add(VERDICT_HUMIDITY, {{50, 1}, {80, 1}, {30, 1}, {40, 1}, {E, 1}});
    const Verdict v = judge(Profile{}, r);
    EXPECT_NEAR(*v.dewPointMin, -6.811117880465988, 1e-9);
    EXPECT_NEAR(*v.dewPointMax, 21.306887199560098, 1e-9);
    EXPECT_NEAR(*v.dewPointMean, (9.255174598981256 + 21.306887199560098 - 6.811117880465988) / 3, 1e-9);
}

// ---- the WHO presets -----------------------------------------------------------------------

// At 5.0 around the excursion; type II's ">= 10.0 for 20 h" is never reached by these.
struct WhoCase {
    const char *name;
    int intervalSeconds;
    std::vector<Stretch> runs;
    const char *alarmZone;   // the zone that sounds, or "" for PASS
};

const WhoCase kWho[] = {
    {"9 h 50 min at 30 passes", kTenMinutes, {{5, 20}, {30, 59}, {5, 20}}, ""},
    {"10 h 0 min at 30 fails", kTenMinutes, {{5, 20}, {30, 60}, {5, 20}}, ">= 30.0"},
    {"10 h in two parts fails", kTenMinutes, {{5, 20}, {30, 30}, {5, 5}, {30, 30}}, ">= 30.0"},
    {"59 min at 45 passes", 60, {{5, 20}, {45, 59}, {5, 20}}, ""},
    {"60 min at 45 fails", 60, {{5, 20}, {45, 60}, {5, 20}}, ">= 45.0"},
    {"60 min at minus 0.5 fails", 60, {{5, 20}, {-0.5, 60}, {5, 20}}, "<= -0.5"},
};

class Who : public ::testing::TestWithParam<WhoCase> {};

TEST_P(Who, BothTypesOfTheShippedIndicatorProfiles) {
    const WhoCase &c = GetParam();
    std::vector<Profile> profiles;
    std::string error;
    ASSERT_TRUE(readProfilesFile(TAVIX_SOURCE_DIR "/resources/TavixProfiles.ini", profiles, error)) << error;
    for (const char *name : {"WHO 10-day indicator, type I", "WHO 10-day indicator, type II"}) {
        SCOPED_TRACE(name);
        const Profile *p = findProfile(profiles, name);
        ASSERT_NE(p, nullptr);
        const Verdict v = judge(*p, temperatures(c.runs, c.intervalSeconds));
        std::string alarms;
        for (const ZoneResult &z : v.channels[VERDICT_TEMPERATURE].zones)
            if (z.alarm) alarms += zoneText(z.zone);
        EXPECT_EQ(alarms, c.alarmZone);
        EXPECT_EQ(v.pass, alarms.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(Verdict, Who, ::testing::ValuesIn(kWho),
                         [](const auto &info) { return caseName(info.param.name); });

TEST(Verdict, TextsOfZonesAndValuesAsShown) {
    EXPECT_EQ(zoneText({ZoneCompare::AtOrAbove, 30, ZoneKind::Cumulative, 600}), ">= 30.0");
    EXPECT_EQ(zoneText({ZoneCompare::AtOrBelow, -0.5, ZoneKind::Single, 60}), "<= -0.5");
    EXPECT_EQ(zoneText({ZoneCompare::Below, 2, ZoneKind::Single, 0}), "< 2.0");
    EXPECT_STREQ(zoneKindText(ZoneKind::Cumulative), "cumulative");
    EXPECT_STREQ(mktWindowText(MktWindow::Month), "30 days");
    // "%5.1f" rounds the binary value: 0.25 is exact and goes to the even tenth, 0.35 lies above.
    EXPECT_EQ(shownValue(0.25), 0.2);
    EXPECT_EQ(shownValue(0.35), 0.3);
    EXPECT_EQ(shownValue(-2.26), -2.3);
    EXPECT_EQ(shownValue(24.99999), 25.0);
}

}   // namespace
