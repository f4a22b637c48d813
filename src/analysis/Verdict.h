// The verdict on a recording: did the readings stay within the conditions of a profile?
//
// A profile names, per channel, zones (a comparison with a threshold, and a kind with a time
// limit) and may set a limit on the mean kinetic temperature (MKT) over a window. The judge
// takes the same arrays the record store holds (record times, the values per channel, their
// number, the sample interval, the unit letter), so a download, a data file read back and an
// archived recording are judged alike. No state, no Qt; the caller owns every array.
//
// Conventions:
// - Time: each reading stands for one sample interval (cut short where the next record's time
//   comes sooner). A sensor error (a value above 10000, or a value that is no number) is no
//   reading: it belongs to no zone, ends a run, and its time is "time without a reading"; the
//   clock still runs through it. Durations are summed in whole seconds, so a total reaches a
//   limit exactly when it should.
// - Values are judged as shown: each measurement is first rounded to one decimal exactly as
//   "%5.1f" shows it (the window and the data file), so a download and its saved file get the
//   same verdict. Minimum, maximum, mean, deviation, MKT and dew point are figures of these
//   shown values.
// - Temperature thresholds and the MKT limit are written in the profile's unit
//   (Profile::unit, Celsius unless the profile says otherwise). A recording in the other unit is
//   judged in its own unit against the threshold converted exactly (8.0 C is 46.4 F), so a value
//   that shows the threshold is on it; thresholds of humidity zones are never converted.
// - Temperature zones apply to the temperature channels, humidity zones to humidity only.
// - A zone's events are its runs of consecutive readings in the zone, whether or not they reach
//   the zone's limit. A single-event zone alarms when one run lasts at least the delay (delay 0:
//   any reading in the zone); a cumulative zone alarms when the total time in the zone reaches
//   the allowance (allowance 0: any reading). A zone without readings in it never alarms.
// - MKT is time-weighted: T = (dH/R) / -ln(sum(w_i exp(-(dH/R) / T_i)) / sum(w_i)), w_i the time
//   each reading stands for, dH the profile's activation energy, R = 8.3144 J/(mol K). With equal
//   intervals it equals MeanKineticTemp of Analysis.h. Sensor errors have no weight: a long gap
//   of errors is skipped, not credited to the reading before it.
// - The worst-window MKT is the largest MKT of any window of the profile's length (24 hours or
//   30 days) that lies within the recording (first record's time to the end of the last record's
//   interval) and starts at a record or ends where a record's interval ends; a window holds the
//   records whose times lie in it. A recording shorter than the window is judged as one
//   window: its worst-window MKT is the MKT of the whole recording. Computed with sliding sums,
//   in time linear in the records.
// - The MKT limit holds when, for every temperature channel with readings, the MKT of the
//   profile's window (the whole recording when the profile sets a limit but no window), shown at
//   one decimal, is at or below the limit.
// - The verdict is PASS when no zone alarms and the MKT limit holds, else FAIL. A recording
//   without a single reading has no figures (every optional below is empty, never 0) and passes.
// - The dew point (Magnus form, Sonntag's constants over water: a = 17.62, b = 243.12 C) is
//   computed for loggers with temperature and humidity, per record where the first temperature
//   and the humidity both hold a reading and the humidity is above 0 %; in the recording's unit.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// A point in time as the record store holds it: seconds since 2000-01-01 00:00:00 (cRtc).
using VerdictTime = std::uint32_t;

// The channels in the order of the record store's views.
enum VerdictChannel { VERDICT_TEMPERATURE = 0, VERDICT_TEMPERATURE2 = 1, VERDICT_HUMIDITY = 2, VERDICT_CHANNELS = 3 };

// The activation energy a profile uses unless it names another, in kJ/mol (dH/R = 10000 K).
inline constexpr double DEFAULT_DELTA_H_KJ_PER_MOL = 83.144;
// The gas constant the activation energy is divided by, in J/(mol K).
inline constexpr double GAS_CONSTANT_J_PER_MOL_K = 8.3144;

enum class ZoneCompare { Above, AtOrAbove, Below, AtOrBelow };   // >, >=, <, <=
enum class ZoneKind { Single, Cumulative };
enum class MktWindow { None, Recording, Day, Month };   // none, whole recording, any 24 h, any 30 days

struct Zone {
    ZoneCompare compare = ZoneCompare::Above;
    double threshold = 0.0;   // in the profile's unit (temperature) or % (humidity)
    ZoneKind kind = ZoneKind::Single;
    double limitMinutes = 0.0;   // the delay of a single-event zone, the allowance of a cumulative one
};

struct Profile {
    std::string name;
    std::array<std::vector<Zone>, VERDICT_CHANNELS> zones;   // per channel, VerdictChannel order
    char unit = 'C';                                         // unit of temperature thresholds and MKT limit
    MktWindow mktWindow = MktWindow::None;
    std::optional<double> mktLimit;   // MKT must be at or below it
    double deltaHkJPerMol = DEFAULT_DELTA_H_KJ_PER_MOL;
    bool fromDataTable = false;   // its zones are the data table's limits (see Profiles.h)
};

// What is judged: the record store's arrays (times and values of `count` records; an absent
// channel is nullptr), the sample interval in seconds and the temperature unit letter ('C'/'c'
// Celsius, 'F'/'f' Fahrenheit).
struct VerdictInput {
    const VerdictTime *times = nullptr;
    std::array<const double *, VERDICT_CHANNELS> values{};
    int count = 0;
    int intervalSeconds = 0;
    char unit = 'C';
};

// One run of consecutive readings in a zone: record indexes first..first+count-1.
struct ZoneEvent {
    int first = 0;
    int count = 0;
    VerdictTime start = 0;
    double minutes = 0.0;
};

struct ZoneResult {
    Zone zone;                         // as the profile gives it (threshold in the profile's unit)
    double recordingThreshold = 0.0;   // the threshold compared, in the recording's unit (chart bands)
    int events = 0;
    double totalMinutes = 0.0;
    double longestMinutes = 0.0;
    std::optional<VerdictTime> firstAt;   // the first reading in the zone
    bool alarm = false;
    std::vector<ZoneEvent> runs;   // every event, in time order (for shading a chart)
};

struct ChannelResult {
    bool present = false;   // the logger has this channel
    int n = 0;              // readings (sensor errors not counted)
    int errors = 0;         // sensor errors
    double minutesWithoutReading = 0.0;
    std::optional<double> min, max;
    std::optional<VerdictTime> minAt, maxAt;       // first occurrence
    std::optional<double> mean, sd;                // sd: sample deviation (0 for one reading)
    std::optional<double> timeInRangePct;          // time in no zone / time with readings * 100
    std::optional<double> mkt;                     // whole recording, time-weighted; temperature only
    std::optional<double> mktWorstWindow;          // absent when the profile sets no window
    std::optional<VerdictTime> worstWindowStart;   // of the first window with that MKT
    std::vector<ZoneResult> zones;                 // the profile's zones of this channel, in order
};

struct Verdict {
    bool pass = true;
    bool mktLimitHolds = true;
    std::array<ChannelResult, VERDICT_CHANNELS> channels;
    std::optional<double> dewPointMin, dewPointMean, dewPointMax;
};

// Failure codes of judgeRecording.
enum {
    VERDICT_ERR_INPUT = -1,      // count < 0, or records without times
    VERDICT_ERR_INTERVAL = -2,   // a sample interval below one second
    VERDICT_ERR_UNIT = -3,       // a temperature channel with a unit letter of no scale, or a profile unit of none
};

// Judges the recording against the profile into *verdict. 0, or a failure code (the verdict is
// then left as a fresh Verdict). A profile marked fromDataTable is judged with the zones it holds.
int judgeRecording(const Profile &profile, const VerdictInput &input, Verdict *verdict);

// ">", ">=", "<", "<=".
const char *zoneCompareText(ZoneCompare compare);
// "single", "cumulative".
const char *zoneKindText(ZoneKind kind);
// "recording", "24 h", "30 days"; "" for none.
const char *mktWindowText(MktWindow window);
// The zone's comparison and threshold at one decimal in the C locale: ">= 30.0", "< -0.5".
std::string zoneText(const Zone &zone);
// A value as the window and the data file show it ("%5.1f" without the padding), as a number.
double shownValue(double value);
