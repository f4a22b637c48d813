// The profiles file: the verdict's profiles (Verdict.h) as the user keeps them, an INI file
// (TavixProfiles.ini in the program folder) read through the program's INI store.
//
// Format: every section is one profile, named by its header; the profiles keep the file's order
// and the first is the default. Keys (names without regard to letter case):
//   Zone <anything> = <channel>, <comparison> <threshold>, <kind>, <minutes>
//       channel: temperature (both temperature channels), temperature 1, temperature 2, humidity
//       comparison: >, >=, <, <=; kind: single (the minutes are the delay) or cumulative (the
//       allowance); the minutes may carry "min" or "h" ("60 min", "10 h").
//   Unit = C | F            unit of the temperature thresholds and of the MKT limit (default C)
//   MKT limit = <number>    the MKT must be at or below it
//   MKT window = recording | 24 h | 30 days    (default recording when a limit is set)
//   Delta H = <kJ/mol>      activation energy (default 83.144)
//   Zones = data table      the zones are the data table's limits, given when judging
// Anything else in a profile is refused with a message naming the profile, the line and the key.
// No state; the parser takes text, so tests feed it from memory.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/Verdict.h"

// The name of the profile made from the data table's limits, and the file the profiles live in.
inline constexpr const char *DATA_TABLE_LIMITS_PROFILE = "Data table limits";
inline constexpr const char *PROFILES_FILE_NAME = "TavixProfiles.ini";

// One channel's limits as the data table has them: a test switched off is absent.
struct ChannelLimits {
    std::optional<double> high;   // readings above it are out of range (a value equal to it passes)
    std::optional<double> low;    // readings below it are out of range
};

// The profiles in the text of a profiles file (length bytes), in file order. True with the list
// filled; false with `error` saying what is wrong, naming the profile, the line and the key (the
// list is then empty). A text without any profile is an error too.
bool parseProfiles(const char *text, std::size_t length, std::vector<Profile> &profiles, std::string &error);

// The same for a file; false with an error naming the file when it cannot be read.
bool readProfilesFile(const std::string &path, std::vector<Profile> &profiles, std::string &error);

// The profile of that name (without regard to letter case), or null.
const Profile *findProfile(const std::vector<Profile> &profiles, std::string_view name);

// The profile with the data table's limits as its zones: per channel "> high" and "< low",
// single event, delay 0, in the given unit (the data table's, the recording's). A profile marked
// fromDataTable keeps its name, MKT settings and activation energy and gets these zones (its
// temperature thresholds converted into the profile's unit when that differs); any other profile
// comes back unchanged.
Profile withDataTableLimits(const Profile &profile, const std::array<ChannelLimits, VERDICT_CHANNELS> &limits,
                            char unit);

// A fresh "Data table limits" profile with those limits (no MKT limit, default activation energy).
Profile dataTableLimitsProfile(const std::array<ChannelLimits, VERDICT_CHANNELS> &limits, char unit);
