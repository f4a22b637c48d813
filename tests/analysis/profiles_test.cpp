// The profiles file: the shipped presets read as written, the keys a user may write, a message
// naming the profile, the line and the key for every kind of bad line, and the profile built from
// the data table's limits.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CaseName.h"
#include "analysis/Profiles.h"

namespace {

// A channel's zones in one line: "> 8.0 cumulative 1440; < 2.0 single 0".
std::string zonesText(const std::vector<Zone> &zones) {
    std::string text;
    for (const Zone &z : zones) {
        if (!text.empty()) text += "; ";
        text += zoneText(z) + " " + zoneKindText(z.kind) + " " + std::to_string(static_cast<int>(z.limitMinutes));
    }
    return text;
}

std::vector<Profile> parse(const std::string &text, std::string &error) {
    std::vector<Profile> profiles;
    EXPECT_EQ(parseProfiles(text.data(), text.size(), profiles, error), error.empty()) << error;
    return profiles;
}

struct PresetCase {
    const char *name;
    const char *temperatureZones;   // both temperature channels alike; humidity has none
    MktWindow window;
    std::optional<double> mktLimit;
    bool fromDataTable;
};

const PresetCase kPresets[] = {
    {"Data table limits", "", MktWindow::None, std::nullopt, true},
    {"Refrigerated 2\xE2\x80\x93"
     "8 \xC2\xB0"
     "C",
     "< 2.0 single 0; > 15.0 single 0; > 8.0 cumulative 1440", MktWindow::Day, 8.0, false},
    {"Controlled room temperature", "< 15.0 single 0; > 40.0 single 0; > 30.0 cumulative 1440", MktWindow::Recording,
     25.0, false},
    {"WHO 10-day indicator, type I", ">= 45.0 single 60; >= 30.0 cumulative 600; <= -0.5 single 60", MktWindow::None,
     std::nullopt, false},
    {"WHO 10-day indicator, type II",
     ">= 45.0 single 60; >= 30.0 cumulative 600; >= 10.0 cumulative 1200; <= -0.5 single 60", MktWindow::None,
     std::nullopt, false},
};

TEST(Profiles, ShippedFileHoldsThePresetsInOrderDataTableLimitsFirst) {
    std::vector<Profile> profiles;
    std::string error;
    ASSERT_TRUE(readProfilesFile(TAVIX_SOURCE_DIR "/resources/TavixProfiles.ini", profiles, error)) << error;
    ASSERT_EQ(profiles.size(), std::size(kPresets));
    for (std::size_t i = 0; i < profiles.size(); ++i) {
        const PresetCase &c = kPresets[i];
        const Profile &p = profiles[i];
        SCOPED_TRACE(c.name);
        EXPECT_EQ(p.name, c.name);
        EXPECT_EQ(zonesText(p.zones[VERDICT_TEMPERATURE]), c.temperatureZones);
        EXPECT_EQ(zonesText(p.zones[VERDICT_TEMPERATURE2]), c.temperatureZones);
        EXPECT_TRUE(p.zones[VERDICT_HUMIDITY].empty());
        EXPECT_EQ(p.mktWindow, c.window);
        EXPECT_EQ(p.mktLimit, c.mktLimit);
        EXPECT_EQ(p.fromDataTable, c.fromDataTable);
        EXPECT_EQ(p.unit, 'C');
        EXPECT_DOUBLE_EQ(p.deltaHkJPerMol, DEFAULT_DELTA_H_KJ_PER_MOL);
    }
    EXPECT_EQ(findProfile(profiles, "who 10-DAY indicator, type ii"), &profiles[4]);
    EXPECT_EQ(findProfile(profiles, "Frozen"), nullptr);
}

TEST(Profiles, KeysInTheirOtherFormsAndDefaults) {
    std::string error;
    const std::vector<Profile> profiles = parse(
        "\xEF\xBB\xBF; a comment after the byte-order mark an editor may write\r\n"
        "[Museum]\r\n"
        "unit = \xC2\xB0"
        "F\r\n"
        "ZONE damp = humidity, >=65, CUMULATIVE, 2.5 h\r\n"
        "Zone t2 = temperature 2, <+50, single, 30 min\r\n"
        "mkt LIMIT = 77\r\n"
        "Delta H = \"100.5\"\r\n",
        error);
    ASSERT_EQ(profiles.size(), 1u);
    const Profile &p = profiles[0];
    EXPECT_EQ(p.unit, 'F');
    EXPECT_EQ(zonesText(p.zones[VERDICT_HUMIDITY]), ">= 65.0 cumulative 150");
    EXPECT_EQ(zonesText(p.zones[VERDICT_TEMPERATURE2]), "< 50.0 single 30");
    EXPECT_TRUE(p.zones[VERDICT_TEMPERATURE].empty());
    EXPECT_EQ(p.mktLimit, 77.0);
    EXPECT_EQ(p.mktWindow, MktWindow::Recording);   // a limit without a window: the whole recording
    EXPECT_DOUBLE_EQ(p.deltaHkJPerMol, 100.5);
}

struct BadCase {
    const char *name;
    const char *text;
    const char *error;
};

const BadCase kBad[] = {
    {"empty file", "", "no profile: a profile starts with its name in brackets, [Name]"},
    {"only comments", "; nothing\n;\n", "no profile"},
    {"key before the first profile", "MKT limit = 8\n[A]\n", "line 1: a key before the first [profile name]"},
    {"a line that is nothing", "[A]\nZone 1 temperature > 8\n", "line 2: neither a [profile name] nor a key = value"},
    {"header with text after it", "[A] x\n", "line 1: a header is [profile name], alone on its line"},
    {"same name twice", "[Cold]\n\n[cold]\n", "profile \"cold\", line 3: the name is used again (first on line 1)"},
    {"unknown key", "[A]\nMKT limt = 8\n",
     "profile \"A\", line 2, key \"MKT limt\": unknown key (a profile has Zone ..., Unit, MKT limit, MKT window, Delta "
     "H, Zones) (read \"8\")"},
    {"key twice", "[A]\nDelta H = 80\ndelta h = 90\n",
     "profile \"A\", line 3, key \"delta h\": given again (first on line 2)"},
    {"zone with a field missing", "[A]\nZone 1 = temperature, > 8.0, single\n",
     "profile \"A\", line 2, key \"Zone 1\": a zone is: channel, comparison threshold, kind, minutes (read "
     "\"temperature, > 8.0, single\")"},
    {"decimal comma", "[A]\nZone 1 = temperature, > 8,5, single, 0\n", "a zone is: channel, comparison"},
    {"unknown channel", "[A]\nZone 1 = temp, > 8.0, single, 0\n",
     "the channel must be temperature, temperature 1, temperature 2 or humidity"},
    {"reversed comparison", "[A]\nZone 1 = temperature, => 8.0, single, 0\n",
     "the comparison must be >, >=, < or <= followed by a number (read"},
    {"threshold not a number", "[A]\nZone 1 = temperature, > warm, single, 0\n", "followed by a number"},
    {"unknown kind", "[A]\nZone 1 = temperature, > 8.0, once, 0\n", "the kind must be single or cumulative"},
    {"negative time", "[A]\nZone 1 = temperature, > 8.0, single, -5\n", "the time must be minutes"},
    {"time in days", "[A]\nZone 1 = temperature, > 8.0, single, 2 d\n", "the time must be minutes"},
    {"unit kelvin", "[A]\nUnit = K\n", "profile \"A\", line 2, key \"Unit\": the unit must be C or F"},
    {"MKT limit not a number", "[A]\nMKT limit = eight\n", "the MKT limit must be a number"},
    {"MKT window a week", "[A]\nMKT window = 7 days\n", "the MKT window must be recording, 24 h or 30 days"},
    {"Delta H zero", "[A]\nDelta H = 0\n", "Delta H must be a number above 0 (kJ/mol)"},
    {"zones other than the data table", "[A]\nZones = mine\n", "Zones can only be \"data table\""},
    {"data table zones and own zones", "[A]\nZones = data table\nZone 1 = humidity, > 80, single, 0\n",
     "profile \"A\", line 1: a profile whose zones are the data table's limits has no Zone keys of its own"},
    {"line counted across CR LF", "[A]\r\n; note\r\n\r\nUnit = X\r\n", "profile \"A\", line 4, key \"Unit\""},
    {"error in a later profile", "[A]\nUnit = C\n[B]\nUnit = C\nMKT window = week\n", "profile \"B\", line 5"},
};

class BadProfiles : public ::testing::TestWithParam<BadCase> {};

TEST_P(BadProfiles, MessageNamesTheProfileLineAndKey) {
    const BadCase &c = GetParam();
    const std::string text = c.text;
    std::vector<Profile> profiles{Profile{}};
    std::string error;
    EXPECT_FALSE(parseProfiles(text.data(), text.size(), profiles, error));
    EXPECT_TRUE(profiles.empty());
    EXPECT_NE(error.find(c.error), std::string::npos) << error;
}

INSTANTIATE_TEST_SUITE_P(Profiles, BadProfiles, ::testing::ValuesIn(kBad),
                         [](const auto &info) { return caseName(info.param.name); });

TEST(Profiles, UnreadableFileIsNamed) {
    std::vector<Profile> profiles;
    std::string error;
    EXPECT_FALSE(readProfilesFile("/nonexistent/TavixProfiles.ini", profiles, error));
    EXPECT_EQ(error, "/nonexistent/TavixProfiles.ini: cannot be read");
}

TEST(Profiles, DataTableLimitsBecomeSingleZonesWithoutDelay) {
    std::array<ChannelLimits, VERDICT_CHANNELS> limits;
    limits[VERDICT_TEMPERATURE] = {8.0, 2.0};
    limits[VERDICT_TEMPERATURE2].high = 30.0;   // low-limit test off
    limits[VERDICT_HUMIDITY] = {75.0, 20.0};
    const Profile p = dataTableLimitsProfile(limits, 'C');
    EXPECT_EQ(p.name, DATA_TABLE_LIMITS_PROFILE);
    EXPECT_EQ(zonesText(p.zones[VERDICT_TEMPERATURE]), "> 8.0 single 0; < 2.0 single 0");
    EXPECT_EQ(zonesText(p.zones[VERDICT_TEMPERATURE2]), "> 30.0 single 0");
    EXPECT_EQ(zonesText(p.zones[VERDICT_HUMIDITY]), "> 75.0 single 0; < 20.0 single 0");
    EXPECT_FALSE(p.mktLimit);

    // The file's profile keeps its own settings; Fahrenheit limits meet its Celsius unit
    // converted, humidity limits as they are.
    std::string error;
    const std::vector<Profile> file = parse("[Data table limits]\nZones = data table\nMKT limit = 25\n", error);
    limits[VERDICT_TEMPERATURE] = {46.4, 35.6};
    const Profile q = withDataTableLimits(file[0], limits, 'F');
    EXPECT_EQ(q.mktLimit, 25.0);
    EXPECT_EQ(zonesText(q.zones[VERDICT_TEMPERATURE]), "> 8.0 single 0; < 2.0 single 0");
    EXPECT_EQ(zonesText(q.zones[VERDICT_HUMIDITY]), "> 75.0 single 0; < 20.0 single 0");

    Profile own = file[0];
    own.fromDataTable = false;
    EXPECT_TRUE(withDataTableLimits(own, limits, 'C').zones[VERDICT_TEMPERATURE].empty());
}

}   // namespace
