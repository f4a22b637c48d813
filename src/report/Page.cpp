// The trip report's page: the verdict on the records held and everything it rests on, in the
// words of the language file and the numbers of the C locale. The run-time lays it out and
// draws it (runtime/page.h).
#include <cmath>
#include <cstdio>
#include <limits>

#include "local/ReportTexts.h"
#include "local/Texts.h"
#include "model/Models.h"
#include "model/Records.h"
#include "report/Format.h"
#include "report/Report.h"
#include "store/Archive.h"
#include "store/Audit.h"

using namespace report;

namespace {

constexpr int kPassColor = 0x1B7F2A;
constexpr int kFailColor = 0xC81E1E;
constexpr int kAlarmRowColor = 0xB00000;
constexpr int kAboveColor = 0xE0301E;   // zones above a threshold
constexpr int kBelowColor = 0x1E5AE0;   // zones below one
constexpr int kCurveColors[VERDICT_CHANNELS] = {0xC00000, 0x0060C0, 0x008040};
constexpr int kTimeTicks = 5;
const char kAbsent[] = "\xE2\x80\x93";   // an en dash: the figure does not exist

bool above(ZoneCompare c) { return c == ZoneCompare::Above || c == ZoneCompare::AtOrAbove; }

std::string channelName(int channel) {
    const char *const names[VERDICT_CHANNELS] = {wTemperature, wTemperature2, wHumidity};
    const char *const english[VERDICT_CHANNELS] = {"Temperature", "Temperature 2", "Humidity"};
    return names[channel][0] ? names[channel] : english[channel];
}

std::string unitWord(int channel, char unit) {
    if (channel == VERDICT_HUMIDITY) return "%RH";
    const int k = unit == 'F' || unit == 'f' ? 1 : 0;
    return wDegree[k][0] ? wDegree[k]
                         : (k ? "\xC2\xB0"
                                "F"
                              : "\xC2\xB0"
                                "C");
}

std::string minutesText(double minutes) { return fixed(minutes, 1) + " min"; }

std::string intervalText(int seconds) {
    char text[48];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d (%d s)", seconds / 3600, seconds / 60 % 60, seconds % 60, seconds);
    return text;
}

std::string durationText(long long seconds) {
    char text[64];
    std::snprintf(text, sizeof text, "%lld d %02lld:%02lld:%02lld (%s min)", seconds / 86400, seconds / 3600 % 24,
                  seconds / 60 % 60, seconds % 60, fixed(seconds / 60.0, 1).c_str());
    return text;
}

std::string mktLimitText(const Profile &profile) {
    if (!profile.mktLimit) return rptNone;
    const char *const windows[] = {rptWindowRecording, rptWindowRecording, rptWindowDay, rptWindowMonth};
    return "\xE2\x89\xA4 " + fixed(*profile.mktLimit, 1) + " " + unitWord(VERDICT_TEMPERATURE, profile.unit) + ", " +
           windows[static_cast<int>(profile.mktWindow)];
}

// ---------------------------------------------------------------- the chart

void chart(rt::PageChart &c, const Verdict &v, const Held &h) {
    const VerdictTime t0 = h.first;
    c.xFrom = 0;
    c.xTo = std::max(1.0, double(h.last - h.first) + h.interval);
    for (int k = 0; k < kTimeTicks; ++k) {
        const double x = c.xTo * k / (kTimeTicks - 1);
        // the date above the time
        std::string label = timeText(t0 + VerdictTime(std::llround(x))).substr(0, 16);
        label[10] = '\n';
        c.xTicks.emplace_back(x, label);
    }
    const double *const views[VERDICT_CHANNELS] = {vTemPtr, vTem2Ptr, vRhPtr};
    const bool temperature = v.channels[VERDICT_TEMPERATURE].present || v.channels[VERDICT_TEMPERATURE2].present;
    for (int ch = 0; ch < VERDICT_CHANNELS; ++ch) {
        const ChannelResult &r = v.channels[ch];
        if (!r.present || !views[ch]) continue;
        // humidity goes on the right axis beside a temperature
        const bool right = ch == VERDICT_HUMIDITY && temperature;
        rt::PageCurve curve;
        curve.color = kCurveColors[ch];
        curve.rightAxis = right;
        curve.name = channelName(ch) + " (" + unitWord(ch, h.unit) + ")";
        curve.x.reserve(h.records);
        curve.y.reserve(h.records);
        for (int i = 0; i < h.records; ++i) {
            const double value = views[ch][i];
            curve.x.push_back(double(rtcPtr[i] - t0));
            curve.y.push_back(value > SENSOR_ERROR_BASE || std::isnan(value) ? std::numeric_limits<double>::quiet_NaN()
                                                                             : shownValue(value));
        }
        c.curves.push_back(std::move(curve));
        (right ? c.rightName : c.leftName) =
            ch == VERDICT_HUMIDITY
                ? channelName(ch) + " (%RH)"
                : std::string(wTempAxis[0] ? wTempAxis : "Temperature") + " (" + unitWord(ch, h.unit) + ")";
        // the zones' bands (once per threshold and axis) and every excursion
        for (const ZoneResult &z : r.zones) {
            const double t = z.recordingThreshold;
            const int color = above(z.zone.compare) ? kAboveColor : kBelowColor;
            const double inf = std::numeric_limits<double>::infinity();
            bool drawn = false;
            for (const rt::PageBand &b : c.bands)
                drawn =
                    drawn || (b.rightAxis == right && b.color == color && (above(z.zone.compare) ? b.from : b.to) == t);
            if (!drawn)
                c.bands.push_back(above(z.zone.compare) ? rt::PageBand{t, inf, color, right}
                                                        : rt::PageBand{-inf, t, color, right});
            for (const ZoneEvent &e : z.runs) {
                const double from = double(e.start - t0);
                c.spans.push_back({from, from + e.minutes * 60.0, color});
            }
        }
    }
}

// ---------------------------------------------------------------- the tables

rt::PageTable figures(const Verdict &v, const Held &h) {
    rt::PageTable t;
    t.caption = rptFigures;
    t.header.push_back(rptFigure);
    std::vector<int> channels;
    for (int ch = 0; ch < VERDICT_CHANNELS; ++ch)
        if (v.channels[ch].present) {
            channels.push_back(ch);
            t.header.push_back(channelName(ch) + " (" + unitWord(ch, h.unit) + ")");
        }
    auto row = [&](const char *label, auto cell) {
        std::vector<std::string> r{label};
        for (int ch : channels) r.push_back(cell(v.channels[ch]));
        t.rows.push_back(std::move(r));
    };
    auto at = [](const std::optional<double> &value, const std::optional<VerdictTime> &when) {
        if (!value) return std::string(kAbsent);
        return fixed(*value, 1) + (when ? "  (" + timeText(*when) + ")" : std::string());
    };
    row(rptReadings, [](const ChannelResult &r) { return std::to_string(r.n); });
    row(rptErrors, [](const ChannelResult &r) { return std::to_string(r.errors); });
    row(rptNoReading, [](const ChannelResult &r) { return minutesText(r.minutesWithoutReading); });
    const std::string minLabel = std::string(rptMinimum) + " (" + rptFirstAt + ")";
    const std::string maxLabel = std::string(rptMaximum) + " (" + rptFirstAt + ")";
    row(minLabel.c_str(), [&](const ChannelResult &r) { return at(r.min, r.minAt); });
    row(maxLabel.c_str(), [&](const ChannelResult &r) { return at(r.max, r.maxAt); });
    row(rptMean, [](const ChannelResult &r) { return optionalFixed(r.mean, 2, kAbsent); });
    row(rptSd, [](const ChannelResult &r) { return optionalFixed(r.sd, 2, kAbsent); });
    row(rptInRange, [](const ChannelResult &r) {
        return r.timeInRangePct ? fixed(*r.timeInRangePct, 2) + " %" : std::string(kAbsent);
    });
    row(rptMkt, [](const ChannelResult &r) { return optionalFixed(r.mkt, 2, kAbsent); });
    row(rptMktWorst, [](const ChannelResult &r) {
        if (!r.mktWorstWindow) return std::string(kAbsent);
        return fixed(*r.mktWorstWindow, 2) + (r.worstWindowStart ? "  (" + timeText(*r.worstWindowStart) + ")" : "");
    });
    return t;
}

rt::PageTable zones(const Verdict &v, const Profile &profile) {
    rt::PageTable t;
    t.caption = rptZones;
    t.header = {rptChannel, rptZone, rptKind, rptLimit, rptEvents, rptTotal, rptLongest, rptFirstIn, rptAlarm};
    for (int ch = 0; ch < VERDICT_CHANNELS; ++ch) {
        const ChannelResult &r = v.channels[ch];
        if (!r.present) continue;
        for (const ZoneResult &z : r.zones) {
            const bool single = z.zone.kind == ZoneKind::Single;
            const std::string unit = ch == VERDICT_HUMIDITY ? "%RH" : unitWord(ch, profile.unit);
            t.rows.push_back({channelName(ch), zoneText(z.zone) + " " + unit, single ? rptSingle : rptCumulative,
                              minutesText(z.zone.limitMinutes), std::to_string(z.events), minutesText(z.totalMinutes),
                              minutesText(z.longestMinutes), z.firstAt ? timeText(*z.firstAt) : kAbsent,
                              z.alarm ? rptYes : rptNo});
            t.rowColors.resize(t.rows.size(), 0);
            if (z.alarm) t.rowColors.back() = kAlarmRowColor;
        }
    }
    return t;
}

}   // namespace

rt::Page tripReportPage(const Profile &profile, const Verdict &v, const ReportFacts &facts) {
    const Held h = recordsHeld();
    rt::Page page;
    page.heading = rptHeading;
    page.verdict = v.pass ? rptPass : rptFail;
    page.verdictColor = v.pass ? kPassColor : kFailColor;
    const std::string firmware = fixed(eVersion, 2);
    page.facts = {
        {rptModel, h.model},
        {rptIdentifier, h.id.empty() ? std::string(kAbsent) : h.id},
        {rptFirmware, h.fromFile ? std::string(rptFirmwareUnknown) : firmware},
        {rptInterval, intervalText(h.interval)},
        {rptFirst, h.records ? timeText(h.first) : kAbsent},
        {rptLast, h.records ? timeText(h.last) : kAbsent},
        {rptDuration, h.records ? durationText((long long)h.last - h.first + h.interval) : kAbsent},
        {rptRecords, std::to_string(h.records)},
        {rptProfile, profile.name},
        {rptDeltaH, fixed(profile.deltaHkJPerMol, 3) + " kJ/mol"},
        {rptMktLimit, mktLimitText(profile) +
                          (profile.mktLimit ? std::string(": ") + (v.mktLimitHolds ? rptHeld : rptExceeded) : "")},
    };
    chart(page.chart, v, h);
    page.tables.push_back(figures(v, h));
    rt::PageTable z = zones(v, profile);
    if (!z.rows.empty())
        page.tables.push_back(std::move(z));
    else
        page.notes.push_back(rptNoZones);
    // a path may be long: it gets a line of its own
    if (!facts.file.empty()) page.notes.push_back(std::string(rptFile) + ": " + facts.file);
    if (v.dewPointMin && v.dewPointMean && v.dewPointMax)
        page.notes.push_back(std::string(rptDewPoint) + ": " + fixed(*v.dewPointMin, 1) + " / " +
                             fixed(*v.dewPointMean, 1) + " / " + fixed(*v.dewPointMax, 1) + " " +
                             unitWord(VERDICT_TEMPERATURE, h.unit));
    page.notes.push_back(std::string(rptFingerprint) + ": " + facts.fingerprint);
    // the head of the archive's audit chain as it stands now: a printed page anchors the trail
    std::string head = rptNoArchive;
    if (archiveOpen()) {
        const AuditHead h = auditHead();
        if (!h.hash.empty()) head = std::to_string(h.sequence) + "  " + h.hash;
    }
    page.notes.push_back(std::string(rptAuditHead) + ": " + head);
    page.notes.push_back(std::string(rptGenerated) + ": " + facts.generatedAt);
    page.notes.push_back(rptConvention);
    page.footer = (reportProgram.empty() ? std::string("Tavix") : reportProgram) + "  \xC2\xB7  " + rptHeading;
    return page;
}
