// The verdict on a recording: zones, time in range, time-weighted and worst-window MKT, dew point.
// Every duration is a whole number of seconds, so totals meet limits exactly; every comparison is
// between a value as shown and a threshold as it would be shown, both the same double.
#include "analysis/Verdict.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <system_error>
#include <vector>

#include "analysis/Analysis.h"

namespace {

constexpr double kZeroCelsiusK = 273.15;
// The record store's rule: a value above it is a sensor error code (10000 itself is a value).
constexpr double kSensorErrorBase = 10000.0;
constexpr std::int64_t kDaySeconds = 24 * 60 * 60;
constexpr std::int64_t kMonthSeconds = 30 * kDaySeconds;
// A converted threshold this close to a tenth is that tenth (46.4 F, not 46.400000000000006).
constexpr double kTenthSnap = 1e-6;
// Room for any double in fixed notation with one decimal: sign, 309 digits, point, decimal.
constexpr std::size_t kFixedTextSize = 320;
// Sonntag's constants of the Magnus form over water (C).
constexpr double kMagnusA = 17.62;
constexpr double kMagnusB = 243.12;

bool isCelsius(char unit) { return unit == 'C' || unit == 'c'; }
bool isFahrenheit(char unit) { return unit == 'F' || unit == 'f'; }
bool hasScale(char unit) { return isCelsius(unit) || isFahrenheit(unit); }

double toCelsius(double value, char unit) { return isFahrenheit(unit) ? (value - 32.0) * 5.0 / 9.0 : value; }
double fromCelsius(double celsius, char unit) { return isFahrenheit(unit) ? celsius * 9.0 / 5.0 + 32.0 : celsius; }

// A limit at the double a shown value has when the limit lies on a tenth (k / 10 is the double
// nearest to the decimal, as reading "46.4" back gives).
double snapToTenth(double value) {
    const double tenths = std::nearbyint(value * 10.0);
    return std::fabs(value * 10.0 - tenths) < kTenthSnap ? tenths / 10.0 : value;
}

// A temperature threshold of the profile's unit in the recording's unit, snapped.
double thresholdAsShown(double threshold, char from, char to) {
    return snapToTenth(isFahrenheit(from) == isFahrenheit(to) ? threshold
                                                              : fromCelsius(toCelsius(threshold, from), to));
}

bool inZone(double value, ZoneCompare compare, double threshold) {
    switch (compare) {
        case ZoneCompare::Above: return value > threshold;
        case ZoneCompare::AtOrAbove: return value >= threshold;
        case ZoneCompare::Below: return value < threshold;
        case ZoneCompare::AtOrBelow: return value <= threshold;
    }
    return false;
}

double minutes(std::int64_t seconds) { return static_cast<double>(seconds) / 60.0; }

// The seconds each record stands for: one sample interval, cut short where the next record's
// time comes sooner.
std::vector<std::int64_t> recordDurations(const VerdictInput &in) {
    std::vector<std::int64_t> durations(static_cast<std::size_t>(in.count), in.intervalSeconds);
    for (int i = 0; i + 1 < in.count; ++i) {
        const std::int64_t step = static_cast<std::int64_t>(in.times[i + 1]) - in.times[i];
        if (step > 0 && step < in.intervalSeconds) durations[static_cast<std::size_t>(i)] = step;
    }
    return durations;
}

// One channel's values as shown; `reading` false for sensor errors.
struct ShownChannel {
    std::vector<double> value;
    std::vector<char> reading;
};

ShownChannel showChannel(const double *values, int count) {
    ShownChannel c;
    c.value.resize(static_cast<std::size_t>(count));
    c.reading.resize(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const double v = values[i];
        const bool reading = std::isfinite(v) && !(v > kSensorErrorBase);
        c.reading[static_cast<std::size_t>(i)] = reading;
        c.value[static_cast<std::size_t>(i)] = reading ? shownValue(v) : v;
    }
    return c;
}

// n, errors, time without a reading, extremes and their first times, mean and deviation.
void describeChannel(const VerdictInput &in, const ShownChannel &c, const std::vector<std::int64_t> &durations,
                     ChannelResult &r) {
    std::vector<double> readings;
    readings.reserve(static_cast<std::size_t>(in.count));
    std::int64_t withoutReading = 0;
    for (int i = 0; i < in.count; ++i) {
        const auto k = static_cast<std::size_t>(i);
        if (!c.reading[k]) {
            ++r.errors;
            withoutReading += durations[k];
            continue;
        }
        const double v = c.value[k];
        if (!r.min || v < *r.min) {
            r.min = v;
            r.minAt = in.times[i];
        }
        if (!r.max || v > *r.max) {
            r.max = v;
            r.maxAt = in.times[i];
        }
        readings.push_back(v);
    }
    r.n = static_cast<int>(readings.size());
    r.minutesWithoutReading = minutes(withoutReading);
    double mean = 0.0;
    double sd = 0.0;
    if (StdDev(readings.data(), r.n, &mean, &sd) == 0) {
        r.mean = mean;
        r.sd = sd;
    }
}

// The zone's events, times and alarm; marks the records that lie in it.
ZoneResult judgeZone(const VerdictInput &in, const ShownChannel &c, const std::vector<std::int64_t> &durations,
                     const Zone &zone, double threshold, std::vector<char> &inSomeZone) {
    ZoneResult z;
    z.zone = zone;
    z.recordingThreshold = threshold;
    std::int64_t total = 0;
    std::int64_t longest = 0;
    std::int64_t run = 0;
    for (int i = 0; i < in.count; ++i) {
        const auto k = static_cast<std::size_t>(i);
        if (!c.reading[k] || !inZone(c.value[k], zone.compare, threshold)) {
            run = 0;   // a sensor error ends a run as surely as a reading outside the zone
            continue;
        }
        inSomeZone[k] = 1;
        if (run == 0) {
            ++z.events;
            z.runs.push_back({i, 0, in.times[i], 0.0});
            if (!z.firstAt) z.firstAt = in.times[i];
        }
        run += durations[k];
        total += durations[k];
        longest = std::max(longest, run);
        ZoneEvent &event = z.runs.back();
        ++event.count;
        event.minutes = minutes(run);
    }
    z.totalMinutes = minutes(total);
    z.longestMinutes = minutes(longest);
    // Seconds against the limit in seconds: a total of exactly the limit reaches it.
    const double limitSeconds = zone.limitMinutes * 60.0;
    const double measured = zone.kind == ZoneKind::Single ? static_cast<double>(longest) : static_cast<double>(total);
    z.alarm = z.events > 0 && measured >= limitSeconds;
    return z;
}

// The time-weighted MKT parts of a temperature channel: per record the weight (seconds; 0 for a
// sensor error) and exp(-(dH/R) / T + (dH/R) / T_warmest), which lies in (0, 1] and is 1 for the
// warmest reading, so no sum overflows and the warm end never underflows.
struct MktTerms {
    double activationK = 0.0;
    double warmestExponent = 0.0;   // -(dH/R) / T_warmest
    std::vector<long double> term;
    std::vector<std::int64_t> weight;
};

MktTerms mktTerms(const VerdictInput &in, const ShownChannel &c, const std::vector<std::int64_t> &durations,
                  double deltaHkJPerMol) {
    MktTerms t;
    t.activationK = deltaHkJPerMol * 1000.0 / GAS_CONSTANT_J_PER_MOL_K;
    t.term.assign(static_cast<std::size_t>(in.count), 0.0L);
    t.weight.assign(static_cast<std::size_t>(in.count), 0);
    double warmest = 0.0;
    for (int i = 0; i < in.count; ++i) {
        const auto k = static_cast<std::size_t>(i);
        if (!c.reading[k]) continue;
        const double kelvin = toCelsius(c.value[k], in.unit) + kZeroCelsiusK;
        // At or below absolute zero a temperature has no kinetic meaning: no weight.
        if (!(kelvin > 0.0)) continue;
        warmest = std::max(warmest, kelvin);
        t.weight[k] = durations[k];
    }
    if (warmest == 0.0) return t;
    t.warmestExponent = -t.activationK / warmest;
    for (int i = 0; i < in.count; ++i) {
        const auto k = static_cast<std::size_t>(i);
        if (t.weight[k] == 0) continue;
        const double kelvin = toCelsius(c.value[k], in.unit) + kZeroCelsiusK;
        t.term[k] = std::exp(static_cast<long double>(-t.activationK / kelvin - t.warmestExponent));
    }
    return t;
}

// The MKT of the weighted mean of the terms; absent without weight or when every term vanished.
std::optional<double> mktOf(const MktTerms &t, long double sum, std::int64_t weight, char unit) {
    if (weight <= 0 || !(sum > 0.0L)) return std::nullopt;
    const long double logMean = t.warmestExponent + std::log(sum / static_cast<long double>(weight));
    return fromCelsius(static_cast<double>(-t.activationK / logMean) - kZeroCelsiusK, unit);
}

// The largest MKT of any window of `span` seconds within the recording. The windows looked at
// start at a record or end where a record's interval ends (with records one interval apart the
// two are the same; after a gap in the times, the second reach the records behind the gap). Both
// kinds of start come in ascending order, and two indexes slide over the records once, each record
// entering and leaving the sums once. The sums are long doubles, so what a warm excursion leaves
// behind after it slides out is far below the terms that remain.
void worstWindow(const VerdictInput &in, const MktTerms &t, const std::vector<std::int64_t> &durations,
                 std::int64_t span, ChannelResult &r) {
    const int count = in.count;
    const auto time = [&](int i) { return static_cast<std::int64_t>(in.times[i]); };
    const auto endLessSpan = [&](int i) { return time(i) + durations[static_cast<std::size_t>(i)] - span; };
    const std::int64_t first = time(0);
    const std::int64_t end = time(count - 1) + durations.back();
    long double sum = 0.0L;
    std::int64_t weight = 0;
    long double bestRatio = 0.0L;
    int lo = 0;   // the window holds the records lo..hi-1 that have weight
    int hi = 0;
    int s = 0;   // the next window starting at record s
    int e = 0;   // the next window ending with record e
    for (;;) {
        if (s < count && time(s) + span > end) s = count;
        while (e < count && endLessSpan(e) < first) ++e;
        if (s == count && e == count) break;
        const bool atStart = e == count || (s < count && time(s) <= endLessSpan(e));
        const std::int64_t from = atStart ? time(s++) : endLessSpan(e++);
        for (; lo < count && time(lo) < from; ++lo) {
            if (lo >= hi) continue;   // never entered
            sum -=
                t.term[static_cast<std::size_t>(lo)] * static_cast<long double>(t.weight[static_cast<std::size_t>(lo)]);
            weight -= t.weight[static_cast<std::size_t>(lo)];
        }
        if (weight == 0) sum = 0.0L;   // an empty window starts its sum afresh
        hi = std::max(hi, lo);
        for (; hi < count && time(hi) < from + span; ++hi) {
            sum +=
                t.term[static_cast<std::size_t>(hi)] * static_cast<long double>(t.weight[static_cast<std::size_t>(hi)]);
            weight += t.weight[static_cast<std::size_t>(hi)];
        }
        if (weight == 0 || !(sum > 0.0L)) continue;
        const long double ratio = sum / static_cast<long double>(weight);
        if (r.worstWindowStart && !(ratio > bestRatio)) continue;
        bestRatio = ratio;
        r.worstWindowStart = static_cast<VerdictTime>(from);
        r.mktWorstWindow = mktOf(t, sum, weight, in.unit);
    }
    // Shorter than one window (or times so out of order that no window holds a reading): the
    // recording is its own window.
    if (!r.mktWorstWindow && r.mkt) {
        r.mktWorstWindow = r.mkt;
        r.worstWindowStart = in.times[0];
    }
}

// MKT of the whole recording and of the worst window; whether the limit holds for this channel.
bool judgeMkt(const Profile &profile, const VerdictInput &in, const ShownChannel &c,
              const std::vector<std::int64_t> &durations, ChannelResult &r) {
    const MktTerms t = mktTerms(in, c, durations, profile.deltaHkJPerMol);
    long double sum = 0.0L;
    std::int64_t weight = 0;
    for (std::size_t k = 0; k < t.term.size(); ++k) {
        sum += t.term[k] * static_cast<long double>(t.weight[k]);
        weight += t.weight[k];
    }
    r.mkt = mktOf(t, sum, weight, in.unit);
    switch (profile.mktWindow) {
        case MktWindow::None: break;
        case MktWindow::Recording:
            r.mktWorstWindow = r.mkt;
            if (r.mkt) r.worstWindowStart = in.times[0];
            break;
        case MktWindow::Day: worstWindow(in, t, durations, kDaySeconds, r); break;
        case MktWindow::Month: worstWindow(in, t, durations, kMonthSeconds, r); break;
    }
    if (!profile.mktLimit) return true;
    const std::optional<double> judged = profile.mktWindow == MktWindow::None ? r.mkt : r.mktWorstWindow;
    if (!judged) return true;
    return shownValue(*judged) <= thresholdAsShown(*profile.mktLimit, profile.unit, in.unit);
}

void dewPoint(const VerdictInput &in, const ShownChannel &temperature, const ShownChannel &humidity, Verdict &v) {
    double sum = 0.0;
    int n = 0;
    for (int i = 0; i < in.count; ++i) {
        const auto k = static_cast<std::size_t>(i);
        if (!temperature.reading[k] || !humidity.reading[k] || !(humidity.value[k] > 0.0)) continue;
        const double celsius = toCelsius(temperature.value[k], in.unit);
        if (!(celsius > -kMagnusB)) continue;
        const double gamma = std::log(humidity.value[k] / 100.0) + kMagnusA * celsius / (kMagnusB + celsius);
        const double dew = fromCelsius(kMagnusB * gamma / (kMagnusA - gamma), in.unit);
        if (!std::isfinite(dew)) continue;
        if (!v.dewPointMin || dew < *v.dewPointMin) v.dewPointMin = dew;
        if (!v.dewPointMax || dew > *v.dewPointMax) v.dewPointMax = dew;
        sum += dew;
        ++n;
    }
    if (n > 0) v.dewPointMean = sum / n;
}

}   // namespace

double shownValue(double value) {
    if (!std::isfinite(value)) return value;
    char text[kFixedTextSize];
    const auto printed = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 1);
    if (printed.ec != std::errc()) return value;
    double shown = value;
    std::from_chars(text, printed.ptr, shown);
    return shown;
}

int judgeRecording(const Profile &profile, const VerdictInput &in, Verdict *verdict) {
    if (!verdict) return VERDICT_ERR_INPUT;
    *verdict = Verdict{};
    if (in.count < 0 || (in.count > 0 && !in.times)) return VERDICT_ERR_INPUT;
    if (in.count > 0 && in.intervalSeconds < 1) return VERDICT_ERR_INTERVAL;
    const bool temperatures = in.values[VERDICT_TEMPERATURE] || in.values[VERDICT_TEMPERATURE2];
    if (temperatures && (!hasScale(in.unit) || !hasScale(profile.unit))) return VERDICT_ERR_UNIT;

    Verdict v;
    const std::vector<std::int64_t> durations = recordDurations(in);
    std::array<ShownChannel, VERDICT_CHANNELS> shown;
    for (int ch = 0; ch < VERDICT_CHANNELS; ++ch) {
        ChannelResult &r = v.channels[static_cast<std::size_t>(ch)];
        const double *values = in.values[static_cast<std::size_t>(ch)];
        if (!values) continue;
        r.present = true;
        ShownChannel &c = shown[static_cast<std::size_t>(ch)];
        c = showChannel(values, in.count);
        describeChannel(in, c, durations, r);

        const bool temperature = ch != VERDICT_HUMIDITY;
        std::vector<char> inSomeZone(static_cast<std::size_t>(in.count), 0);
        for (const Zone &zone : profile.zones[static_cast<std::size_t>(ch)]) {
            const double threshold =
                temperature ? thresholdAsShown(zone.threshold, profile.unit, in.unit) : snapToTenth(zone.threshold);
            r.zones.push_back(judgeZone(in, c, durations, zone, threshold, inSomeZone));
            if (r.zones.back().alarm) v.pass = false;
        }
        std::int64_t withReadings = 0;
        std::int64_t inRange = 0;
        for (std::size_t k = 0; k < durations.size(); ++k) {
            if (!c.reading[k]) continue;
            withReadings += durations[k];
            if (!inSomeZone[k]) inRange += durations[k];
        }
        if (r.n > 0 && withReadings > 0)
            r.timeInRangePct = 100.0 * static_cast<double>(inRange) / static_cast<double>(withReadings);

        if (temperature && r.n > 0 && !judgeMkt(profile, in, c, durations, r)) v.mktLimitHolds = false;
    }
    if (!v.mktLimitHolds) v.pass = false;
    if (in.values[VERDICT_TEMPERATURE] && in.values[VERDICT_HUMIDITY])
        dewPoint(in, shown[VERDICT_TEMPERATURE], shown[VERDICT_HUMIDITY], v);
    *verdict = std::move(v);
    return 0;
}

const char *zoneCompareText(ZoneCompare compare) {
    switch (compare) {
        case ZoneCompare::Above: return ">";
        case ZoneCompare::AtOrAbove: return ">=";
        case ZoneCompare::Below: return "<";
        case ZoneCompare::AtOrBelow: return "<=";
    }
    return "";
}

const char *zoneKindText(ZoneKind kind) { return kind == ZoneKind::Cumulative ? "cumulative" : "single"; }

const char *mktWindowText(MktWindow window) {
    switch (window) {
        case MktWindow::None: return "";
        case MktWindow::Recording: return "recording";
        case MktWindow::Day: return "24 h";
        case MktWindow::Month: return "30 days";
    }
    return "";
}

std::string zoneText(const Zone &zone) {
    char number[kFixedTextSize];
    const auto printed = std::to_chars(number, number + sizeof number, zone.threshold, std::chars_format::fixed, 1);
    std::string text = zoneCompareText(zone.compare);
    text += ' ';
    if (printed.ec == std::errc())
        text.append(number, printed.ptr);
    else
        text += "nan";
    return text;
}
