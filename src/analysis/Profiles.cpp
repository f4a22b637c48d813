// The profiles file. The INI store holds the values; a scan of the same text gives what the store
// does not tell: the order of the sections (the profiles' order), and the line of every header and
// key, so that a message can point at the line to mend. Every item of a profile is checked: a key
// the store would silently keep but nobody reads (a misspelt "MKT limt") is refused.
#include "analysis/Profiles.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <fstream>
#include <memory>
#include <system_error>

#include "ini/inifile.h"

namespace {

// A profiles file is a few hundred bytes; anything far larger is not one.
constexpr std::size_t kMaxFileBytes = 1 << 20;
constexpr std::string_view kDegree = "\xC2\xB0";              // UTF-8 degree sign
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";   // UTF-8 byte-order mark

struct ScannedItem {
    std::string tag;
    int line = 0;
};

struct ScannedSection {
    std::string name;
    int line = 0;
    std::vector<ScannedItem> items;
};

std::string_view trimmed(std::string_view s) {
    const auto white = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; };
    while (!s.empty() && white(s.front())) s.remove_prefix(1);
    while (!s.empty() && white(s.back())) s.remove_suffix(1);
    return s;
}

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool sameWords(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return lower(x) == lower(y); });
}

bool startsWithWord(std::string_view s, std::string_view prefix) {
    return s.size() >= prefix.size() && sameWords(s.substr(0, prefix.size()), prefix);
}

// Names as the store keeps them: trimmed, cut to its longest name, trimmed again.
std::string storedName(std::string_view s) {
    s = trimmed(s);
    if (s.size() > static_cast<std::size_t>(INI_MAX_NAME))
        s = trimmed(s.substr(0, static_cast<std::size_t>(INI_MAX_NAME)));
    return std::string(s);
}

// The sections and keys of the text with their lines, read as the INI store reads them (comment
// marker ';', a header up to the last ']', a key before the first '=' with a value after it).
// False with the error when a line is none of these.
bool scanText(std::string_view text, std::vector<ScannedSection> &sections, std::string &error) {
    // A line ends at CR, LF or NUL; a different end character right after one is part of it
    // (CR LF, LF CR), as the store counts lines.
    constexpr std::string_view kLineEnds("\r\n\0", 3);
    int lineNumber = 0;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find_first_of(kLineEnds, at);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(at, std::min(end - at, static_cast<std::size_t>(INI_MAX_LINE)));
        at = end;
        if (at < text.size()) {
            const char ended = text[at++];
            if (at < text.size() && text[at] != ended && kLineEnds.find(text[at]) != std::string_view::npos) ++at;
        }
        ++lineNumber;

        line = trimmed(line);
        if (line.empty() || line.front() == ';') continue;
        const std::string where = "line " + std::to_string(lineNumber);
        if (line.front() == '[') {
            const std::size_t close = line.rfind(']');
            if (close == std::string_view::npos || close < 2 || storedName(line.substr(1, close - 1)).empty() ||
                !trimmed(line.substr(close + 1)).empty()) {
                error = where + ": a header is [profile name], alone on its line";
                return false;
            }
            sections.push_back({storedName(line.substr(1, close - 1)), lineNumber, {}});
            continue;
        }
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos || storedName(line.substr(0, equals)).empty() ||
            trimmed(line.substr(equals + 1)).empty()) {
            error = where + ": neither a [profile name] nor a key = value";
            return false;
        }
        if (sections.empty()) {
            error = where + ": a key before the first [profile name]";
            return false;
        }
        sections.back().items.push_back({storedName(line.substr(0, equals)), lineNumber});
    }
    return true;
}

// A number in the C notation, the whole text (after white space is trimmed); finite.
bool readNumber(std::string_view s, double &value) {
    s = trimmed(s);
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    if (s.empty()) return false;
    const auto parsed = std::from_chars(s.data(), s.data() + s.size(), value);
    return parsed.ec == std::errc() && parsed.ptr == s.data() + s.size() && std::isfinite(value);
}

std::vector<std::string_view> splitFields(std::string_view s) {
    std::vector<std::string_view> fields;
    for (;;) {
        const std::size_t comma = s.find(',');
        fields.push_back(trimmed(s.substr(0, comma)));
        if (comma == std::string_view::npos) return fields;
        s.remove_prefix(comma + 1);
    }
}

bool readChannels(std::string_view s, std::vector<int> &channels) {
    if (sameWords(s, "temperature"))
        channels = {VERDICT_TEMPERATURE, VERDICT_TEMPERATURE2};
    else if (sameWords(s, "temperature 1"))
        channels = {VERDICT_TEMPERATURE};
    else if (sameWords(s, "temperature 2"))
        channels = {VERDICT_TEMPERATURE2};
    else if (sameWords(s, "humidity"))
        channels = {VERDICT_HUMIDITY};
    else
        return false;
    return true;
}

bool readComparison(std::string_view s, ZoneCompare &compare, double &threshold) {
    static constexpr std::pair<std::string_view, ZoneCompare> kSigns[] = {{">=", ZoneCompare::AtOrAbove},
                                                                          {"<=", ZoneCompare::AtOrBelow},
                                                                          {">", ZoneCompare::Above},
                                                                          {"<", ZoneCompare::Below}};
    for (const auto &[sign, c] : kSigns) {
        if (s.substr(0, sign.size()) != sign) continue;
        compare = c;
        return readNumber(s.substr(sign.size()), threshold);
    }
    return false;
}

// Minutes, or hours with "h"; "min" may follow minutes.
bool readMinutes(std::string_view s, double &value) {
    double factor = 1.0;
    if (s.size() > 3 && sameWords(s.substr(s.size() - 3), "min")) {
        s.remove_suffix(3);
    } else if (s.size() > 1 && sameWords(s.substr(s.size() - 1), "h")) {
        s.remove_suffix(1);
        factor = 60.0;
    }
    if (!readNumber(s, value) || value < 0.0) return false;
    value *= factor;
    return true;
}

bool readUnit(std::string_view s, char &unit) {
    if (s.substr(0, kDegree.size()) == kDegree) s.remove_prefix(kDegree.size());
    if (s.size() != 1 || (lower(s[0]) != 'c' && lower(s[0]) != 'f')) return false;
    unit = lower(s[0]) == 'f' ? 'F' : 'C';
    return true;
}

bool readWindow(std::string_view s, MktWindow &window) {
    for (const MktWindow w : {MktWindow::Recording, MktWindow::Day, MktWindow::Month}) {
        if (!sameWords(s, mktWindowText(w))) continue;
        window = w;
        return true;
    }
    return false;
}

// Reads one key of a profile into it; "" when right, else what is wrong with the value.
std::string readItem(Profile &profile, std::string_view tag, std::string_view value, bool &sawZone, bool &sawLimit,
                     bool &sawWindow) {
    if (startsWithWord(tag, "zone") && !sameWords(tag, "zones")) {
        const std::vector<std::string_view> fields = splitFields(value);
        if (fields.size() != 4) return "a zone is: channel, comparison threshold, kind, minutes";
        std::vector<int> channels;
        Zone zone;
        if (!readChannels(fields[0], channels))
            return "the channel must be temperature, temperature 1, temperature 2 or humidity";
        if (!readComparison(fields[1], zone.compare, zone.threshold))
            return "the comparison must be >, >=, < or <= followed by a number";
        if (sameWords(fields[2], "single"))
            zone.kind = ZoneKind::Single;
        else if (sameWords(fields[2], "cumulative"))
            zone.kind = ZoneKind::Cumulative;
        else
            return "the kind must be single or cumulative";
        if (!readMinutes(fields[3], zone.limitMinutes))
            return "the time must be minutes, \"min\" or \"h\" after it allowed";
        for (const int ch : channels) profile.zones[static_cast<std::size_t>(ch)].push_back(zone);
        sawZone = true;
        return "";
    }
    if (sameWords(tag, "unit")) return readUnit(value, profile.unit) ? "" : "the unit must be C or F";
    if (sameWords(tag, "mkt limit")) {
        double limit = 0.0;
        if (!readNumber(value, limit)) return "the MKT limit must be a number";
        profile.mktLimit = limit;
        sawLimit = true;
        return "";
    }
    if (sameWords(tag, "mkt window")) {
        sawWindow = true;
        return readWindow(value, profile.mktWindow) ? "" : "the MKT window must be recording, 24 h or 30 days";
    }
    if (sameWords(tag, "delta h")) {
        double kJ = 0.0;
        if (!readNumber(value, kJ) || !(kJ > 0.0)) return "Delta H must be a number above 0 (kJ/mol)";
        profile.deltaHkJPerMol = kJ;
        return "";
    }
    if (sameWords(tag, "zones")) {
        if (!sameWords(value, "data table")) return "Zones can only be \"data table\"";
        profile.fromDataTable = true;
        return "";
    }
    return "unknown key (a profile has Zone ..., Unit, MKT limit, MKT window, Delta H, Zones)";
}

std::string quoted(std::string_view s) { return "\"" + std::string(s) + "\""; }

// The profile of one scanned section, its values from the store.
bool readProfile(IniHandle ini, const ScannedSection &section, Profile &profile, std::string &error) {
    profile = Profile{};
    profile.name = section.name;
    const std::string where = "profile " + quoted(section.name);
    bool sawZone = false, sawLimit = false, sawWindow = false;
    for (std::size_t i = 0; i < section.items.size(); ++i) {
        const ScannedItem &item = section.items[i];
        const std::string at = where + ", line " + std::to_string(item.line) + ", key " + quoted(item.tag) + ": ";
        for (std::size_t j = 0; j < i; ++j) {
            if (!sameWords(section.items[j].tag, item.tag)) continue;
            error = at + "given again (first on line " + std::to_string(section.items[j].line) + ")";
            return false;
        }
        const char *value = nullptr;
        if (Ini_GetPointerToRawString(ini, section.name.c_str(), item.tag.c_str(), &value) != 1 || !value) {
            error = at + "cannot be read";
            return false;
        }
        const std::string problem = readItem(profile, item.tag, trimmed(value), sawZone, sawLimit, sawWindow);
        if (!problem.empty()) {
            error = at + problem + " (read " + quoted(value) + ")";
            return false;
        }
    }
    if (profile.fromDataTable && sawZone) {
        error = where + ", line " + std::to_string(section.line) +
                ": a profile whose zones are the data table's limits has no Zone keys of its own";
        return false;
    }
    if (sawLimit && !sawWindow) profile.mktWindow = MktWindow::Recording;
    return true;
}

double convertTemperature(double value, char from, char to) {
    const bool fromF = from == 'F' || from == 'f';
    const bool toF = to == 'F' || to == 'f';
    if (fromF == toF) return value;
    return toF ? value * 9.0 / 5.0 + 32.0 : (value - 32.0) * 5.0 / 9.0;
}

}   // namespace

bool parseProfiles(const char *text, std::size_t length, std::vector<Profile> &profiles, std::string &error) {
    profiles.clear();
    error.clear();
    std::vector<ScannedSection> sections;
    std::string_view view = text ? std::string_view(text, length) : std::string_view();
    // An editor may start a UTF-8 file with a byte-order mark; neither the store nor a reader
    // of the file would see the first header or comment behind it.
    if (view.substr(0, kByteOrderMark.size()) == kByteOrderMark) view.remove_prefix(kByteOrderMark.size());
    if (!scanText(view, sections, error)) return false;
    if (sections.empty()) {
        error = "no profile: a profile starts with its name in brackets, [Name]";
        return false;
    }
    for (std::size_t i = 0; i < sections.size(); ++i) {
        for (std::size_t j = 0; j < i; ++j) {
            if (!sameWords(sections[i].name, sections[j].name)) continue;
            error = "profile " + quoted(sections[i].name) + ", line " + std::to_string(sections[i].line) +
                    ": the name is used again (first on line " + std::to_string(sections[j].line) + ")";
            return false;
        }
    }
    const std::unique_ptr<IniStore, void (*)(IniHandle)> ini(Ini_New(0), Ini_Dispose);
    if (!ini || Ini_ReadFromText(ini.get(), view.data(), view.size()) != 0) {
        error = "out of memory reading the profiles";
        return false;
    }
    std::vector<Profile> read(sections.size());
    for (std::size_t i = 0; i < sections.size(); ++i)
        if (!readProfile(ini.get(), sections[i], read[i], error)) return false;
    profiles = std::move(read);
    return true;
}

bool readProfilesFile(const std::string &path, std::vector<Profile> &profiles, std::string &error) {
    profiles.clear();
    std::ifstream file(path, std::ios::binary);
    std::string text;
    if (file) {
        text.resize(kMaxFileBytes + 1);
        file.read(text.data(), static_cast<std::streamsize>(text.size()));
        text.resize(static_cast<std::size_t>(file.gcount()));
    }
    if (!file && !file.eof()) {
        error = path + ": cannot be read";
        return false;
    }
    if (text.size() > kMaxFileBytes) {
        error = path + ": too large for a profiles file";
        return false;
    }
    if (!parseProfiles(text.data(), text.size(), profiles, error)) {
        error = path + ": " + error;
        return false;
    }
    return true;
}

const Profile *findProfile(const std::vector<Profile> &profiles, std::string_view name) {
    const std::string wanted = storedName(name);
    for (const Profile &p : profiles)
        if (sameWords(p.name, wanted)) return &p;
    return nullptr;
}

Profile withDataTableLimits(const Profile &profile, const std::array<ChannelLimits, VERDICT_CHANNELS> &limits,
                            char unit) {
    if (!profile.fromDataTable) return profile;
    Profile p = profile;
    for (int ch = 0; ch < VERDICT_CHANNELS; ++ch) {
        const ChannelLimits &l = limits[static_cast<std::size_t>(ch)];
        std::vector<Zone> &zones = p.zones[static_cast<std::size_t>(ch)];
        zones.clear();
        const auto inProfileUnit = [&](double v) {
            return ch == VERDICT_HUMIDITY ? v : convertTemperature(v, unit, p.unit);
        };
        if (l.high) zones.push_back({ZoneCompare::Above, inProfileUnit(*l.high), ZoneKind::Single, 0.0});
        if (l.low) zones.push_back({ZoneCompare::Below, inProfileUnit(*l.low), ZoneKind::Single, 0.0});
    }
    return p;
}

Profile dataTableLimitsProfile(const std::array<ChannelLimits, VERDICT_CHANNELS> &limits, char unit) {
    Profile p;
    p.name = DATA_TABLE_LIMITS_PROFILE;
    p.unit = unit == 'F' || unit == 'f' ? 'F' : 'C';
    p.fromDataTable = true;
    return withDataTableLimits(p, limits, unit);
}
