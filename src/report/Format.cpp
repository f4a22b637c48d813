// Texts of times and numbers for the page and the summaries, and the records held described.
#include "report/Format.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "model/Clock.h"
#include "model/Models.h"
#include "model/Records.h"

namespace report {

std::string timeText(VerdictTime t) {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    cRtc2BRtc(t, &year, &month, &day, &hour, &minute, &second);
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", year, month, day, hour, minute, second);
    return text;
}

std::string fixed(double value, int decimals) {
    const double scale = std::pow(10.0, decimals);
    double rounded = std::round(value * scale) / scale;
    if (rounded == 0) rounded = 0;   // no "-0.0"
    char text[64];
    const auto r = std::to_chars(text, text + sizeof text, rounded, std::chars_format::fixed, decimals);
    return std::string(text, r.ptr);
}

std::string shortest(double value, int decimals) {
    const double scale = std::pow(10.0, decimals);
    double rounded = std::round(value * scale) / scale;
    if (rounded == 0) rounded = 0;
    char text[64];
    const auto r = std::to_chars(text, text + sizeof text, rounded);
    return std::string(text, r.ptr);
}

std::string optionalFixed(const std::optional<double> &value, int decimals, const char *absent) {
    return value ? fixed(*value, decimals) : std::string(absent);
}

const char *channelKey(int channel) {
    static const char *const keys[VERDICT_CHANNELS] = {"temperature", "temperature 2", "humidity"};
    return channel >= 0 && channel < VERDICT_CHANNELS ? keys[channel] : "";
}

std::string channelUnit(int channel, char unit) {
    if (channel == VERDICT_HUMIDITY) return "%RH";
    return std::string(1, unit == 'F' || unit == 'f' ? 'F' : 'C');
}

Held recordsHeld() {
    const RecordsDescription d = recordsDescription();
    Held h;
    const ModelRow *row = modelRow(d.model);
    h.model = row && row->identifiers[0] ? row->identifiers[0] : "";
    h.id = d.id;
    h.interval = d.interval;
    h.unit = d.unit;
    h.records = loggedLength > 0 ? loggedLength : 0;
    h.fromFile = d.fromFile;
    if (h.records > 0 && rtcPtr) {
        h.first = rtcPtr[0];
        h.last = rtcPtr[h.records - 1];
    }
    return h;
}

}   // namespace report
