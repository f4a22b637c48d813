// What the page and the summaries share: the texts of times, numbers and durations (C locale,
// whatever the process locale), the channels' names and units, and the records held.
#pragma once

#include <optional>
#include <string>

#include "analysis/Verdict.h"

namespace report {

// "YYYY-MM-DD HH:MM:SS" of a record time.
std::string timeText(VerdictTime t);
// A number with the decimals given ("-12.3"); "-0.0" is written "0.0".
std::string fixed(double value, int decimals);
// A number as short as it reads back, after rounding to the decimals given ("600", "0.1667").
std::string shortest(double value, int decimals);
// A figure that may be absent: its text, or the absent text given.
std::string optionalFixed(const std::optional<double> &value, int decimals, const char *absent);

// The channels: a name that scripts can rely on ("temperature", "temperature 2", "humidity")
// and the unit of the records held ("C", "F", "%RH").
const char *channelKey(int channel);
std::string channelUnit(int channel, char unit);

// The records held, described: model name, identifier, interval, unit, first and last time.
struct Held {
    std::string model;
    std::string id;
    int interval = 0;
    char unit = 'C';
    int records = 0;
    VerdictTime first = 0, last = 0;
    bool fromFile = false;
};
Held recordsHeld();

}   // namespace report
