// The summary of a data file for scripts: the line tavix-cli prints, one JSON object per file
// (JSON Lines) and the CSV rows. Machine-readable names (the channel keys, "single",
// "cumulative", PASS and FAIL) are the same whatever the language file.
#include <cmath>
#include <cstdio>
#include <string>

#include "report/Format.h"
#include "report/Report.h"

using namespace report;

namespace {

// ---------------------------------------------------------------- JSON

std::string jsonString(const std::string &text) {
    std::string out = "\"";
    for (const unsigned char c : text) {
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default:
                if (c < 0x20) {
                    char escaped[8];
                    std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
                    out += escaped;
                } else {
                    out += static_cast<char>(c);
                }
        }
    }
    return out + "\"";
}

// JSON has no text for a number that is not finite: such a figure is written as absent.
std::string jsonNumber(const std::optional<double> &value, int decimals) {
    return value && std::isfinite(*value) ? shortest(*value, decimals) : "null";
}

std::string jsonTime(const std::optional<VerdictTime> &t) { return t ? jsonString(timeText(*t)) : "null"; }

// Members are written in the order listed; the writer adds the separators.
struct Object {
    std::string text = "{";
    void add(const char *name, const std::string &value) {
        if (text.size() > 1) text += ",";
        text += jsonString(name) + ":" + value;
    }
    std::string done() const { return text + "}"; }
};

std::string zoneJson(const ZoneResult &z) {
    Object o;
    o.add("zone", jsonString(zoneText(z.zone)));
    o.add("kind", jsonString(zoneKindText(z.zone.kind)));
    o.add("limit_min", shortest(z.zone.limitMinutes, 4));
    o.add("events", std::to_string(z.events));
    o.add("total_min", shortest(z.totalMinutes, 4));
    o.add("longest_min", shortest(z.longestMinutes, 4));
    o.add("first_at", jsonTime(z.firstAt));
    o.add("alarm", z.alarm ? "true" : "false");
    return o.done();
}

std::string channelJson(int ch, const ChannelResult &r, char unit) {
    Object o;
    o.add("name", jsonString(channelKey(ch)));
    o.add("unit", jsonString(channelUnit(ch, unit)));
    o.add("n", std::to_string(r.n));
    o.add("errors", std::to_string(r.errors));
    o.add("min", jsonNumber(r.min, 1));
    o.add("min_at", jsonTime(r.minAt));
    o.add("max", jsonNumber(r.max, 1));
    o.add("max_at", jsonTime(r.maxAt));
    o.add("mean", jsonNumber(r.mean, 3));
    o.add("sd", jsonNumber(r.sd, 3));
    o.add("mkt", jsonNumber(r.mkt, 3));
    o.add("mkt_worst_window", jsonNumber(r.mktWorstWindow, 3));
    o.add("time_in_range_pct", jsonNumber(r.timeInRangePct, 3));
    std::string zones = "[";
    for (const ZoneResult &z : r.zones) zones += (zones.size() > 1 ? "," : "") + zoneJson(z);
    o.add("zones", zones + "]");
    return o.done();
}

// ---------------------------------------------------------------- CSV

std::string csvField(const std::string &text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string out = "\"";
    for (char c : text) out += c == '"' ? std::string("\"\"") : std::string(1, c);
    return out + "\"";
}

std::string csvNumber(const std::optional<double> &value, int decimals) {
    return value ? shortest(*value, decimals) : std::string();
}

std::string csvTime(const std::optional<VerdictTime> &t) { return t ? timeText(*t) : std::string(); }

std::string csvLine(const std::vector<std::string> &fields) {
    std::string line;
    for (std::size_t k = 0; k < fields.size(); ++k) line += (k ? "," : "") + csvField(fields[k]);
    return line + "\r\n";
}

const char *const kCsvColumns[] = {"file",
                                   "sha256",
                                   "model",
                                   "id",
                                   "interval_s",
                                   "first",
                                   "last",
                                   "records",
                                   "profile",
                                   "delta_h_kj_mol",
                                   "verdict",
                                   "channel",
                                   "unit",
                                   "n",
                                   "errors",
                                   "min",
                                   "min_at",
                                   "max",
                                   "max_at",
                                   "mean",
                                   "sd",
                                   "mkt",
                                   "mkt_worst_window",
                                   "time_in_range_pct",
                                   "zone",
                                   "kind",
                                   "limit_min",
                                   "events",
                                   "total_min",
                                   "longest_min",
                                   "first_at",
                                   "alarm"};

}   // namespace

std::string summaryLines(const std::string &file, const Profile &profile, const Verdict &verdict) {
    std::string out = file + ": " + (verdict.pass ? "PASS" : "FAIL") + " (" + profile.name + ")\n";
    for (int ch = 0; ch < VERDICT_CHANNELS; ++ch)
        for (const ZoneResult &z : verdict.channels[ch].zones) {
            if (!z.alarm) continue;
            out += std::string("  alarm: ") + channelKey(ch) + " " + zoneText(z.zone) + " " +
                   zoneKindText(z.zone.kind) + " " + shortest(z.zone.limitMinutes, 4) +
                   " min: " + std::to_string(z.events) + " events, total " + shortest(z.totalMinutes, 4) +
                   " min, longest " + shortest(z.longestMinutes, 4) + " min, first at " +
                   (z.firstAt ? timeText(*z.firstAt) : std::string("-")) + "\n";
        }
    if (!verdict.mktLimitHolds && profile.mktLimit) {
        out += "  MKT limit " + fixed(*profile.mktLimit, 1) + " (" + mktWindowText(profile.mktWindow) + ") exceeded:";
        for (int ch = 0; ch < VERDICT_CHANNELS; ++ch) {
            const ChannelResult &r = verdict.channels[ch];
            const std::optional<double> &mkt =
                profile.mktWindow == MktWindow::Day || profile.mktWindow == MktWindow::Month ? r.mktWorstWindow : r.mkt;
            if (mkt) out += std::string(" ") + channelKey(ch) + " " + fixed(*mkt, 1);
        }
        out += "\n";
    }
    return out;
}

std::string summaryJson(const std::string &file, const std::string &fingerprint, const Profile &profile,
                        const Verdict &verdict) {
    const Held h = recordsHeld();
    Object o;
    o.add("file", jsonString(file));
    o.add("sha256", jsonString(fingerprint));
    o.add("model", jsonString(h.model));
    o.add("id", jsonString(h.id));
    o.add("interval_s", std::to_string(h.interval));
    o.add("first", h.records ? jsonString(timeText(h.first)) : "null");
    o.add("last", h.records ? jsonString(timeText(h.last)) : "null");
    o.add("records", std::to_string(h.records));
    o.add("profile", jsonString(profile.name));
    o.add("delta_h_kj_mol", shortest(profile.deltaHkJPerMol, 4));
    o.add("verdict", jsonString(verdict.pass ? "PASS" : "FAIL"));
    std::string channels = "[";
    for (int ch = 0; ch < VERDICT_CHANNELS; ++ch)
        if (verdict.channels[ch].present)
            channels += (channels.size() > 1 ? "," : "") + channelJson(ch, verdict.channels[ch], h.unit);
    o.add("channels", channels + "]");
    return o.done();
}

std::string summaryCsvHeader() {
    return csvLine(std::vector<std::string>(std::begin(kCsvColumns), std::end(kCsvColumns)));
}

std::string summaryCsvRows(const std::string &file, const std::string &fingerprint, const Profile &profile,
                           const Verdict &verdict) {
    const Held h = recordsHeld();
    const std::vector<std::string> head = {file,
                                           fingerprint,
                                           h.model,
                                           h.id,
                                           std::to_string(h.interval),
                                           h.records ? timeText(h.first) : "",
                                           h.records ? timeText(h.last) : "",
                                           std::to_string(h.records),
                                           profile.name,
                                           shortest(profile.deltaHkJPerMol, 4),
                                           verdict.pass ? "PASS" : "FAIL"};
    std::string out;
    for (int ch = 0; ch < VERDICT_CHANNELS; ++ch) {
        const ChannelResult &r = verdict.channels[ch];
        if (!r.present) continue;
        std::vector<std::string> row = head;
        for (const std::string &f :
             {std::string(channelKey(ch)), channelUnit(ch, h.unit), std::to_string(r.n), std::to_string(r.errors),
              csvNumber(r.min, 1), csvTime(r.minAt), csvNumber(r.max, 1), csvTime(r.maxAt), csvNumber(r.mean, 3),
              csvNumber(r.sd, 3), csvNumber(r.mkt, 3), csvNumber(r.mktWorstWindow, 3), csvNumber(r.timeInRangePct, 3)})
            row.push_back(f);
        if (r.zones.empty()) {
            row.resize(std::size(kCsvColumns));
            out += csvLine(row);
            continue;
        }
        for (const ZoneResult &z : r.zones) {
            std::vector<std::string> line = row;
            for (const std::string &f :
                 {zoneText(z.zone), std::string(zoneKindText(z.zone.kind)), shortest(z.zone.limitMinutes, 4),
                  std::to_string(z.events), shortest(z.totalMinutes, 4), shortest(z.longestMinutes, 4),
                  csvTime(z.firstAt), std::string(z.alarm ? "yes" : "no")})
                line.push_back(f);
            out += csvLine(line);
        }
    }
    return out;
}
