// tavix-cli configure: prepare the logger's next recording through the Logger Settings window.
// Once the program knows the logger, the window is opened as the main window's command opens
// it (filled for the model, with what was last sent to such a logger), the fields named on the
// command line are changed one by one as a user changes them (the window's own callbacks keep
// the dependent fields right and may refuse), OK is pressed and the tool waits for the link
// control's outcome: the logger confirmed "A" and "S" (the window closes) or did not answer.
#include <charconv>
#include <cstdio>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "cli/Common.h"
#include "config/Config.h"
#include "link/Link.h"
#include "local/Texts.h"
#include "model/Models.h"
#include "model/Records.h"
#include "panels/Panels.h"
#include "runtime/inspect.h"
#include "runtime/ui.h"

namespace cli {

namespace {

// How long the alarm and settings commands may take: each waits five ticks of 200 ms for its
// answer; a logger busy with another command first gets the same again.
constexpr int kSettingsWaitMs = 20000;
constexpr int kChannels = 3;
// Point counts by points code (0 .. 5).
constexpr int kPointCounts[] = {1000, 2000, 4000, 8000, 12000, 16000};
constexpr int kHoursMax = 12, kMinutesMax = 59, kSecondsMax = 59;

// ---------------------------------------------------------------- the command line

// The limits of one alarm channel; channel -1 = the channel the window shows.
struct LimitChange {
    int channel = -1;
    std::optional<double> high, low;
};

// What the command line asks for; an empty field is left as the window fills it.
struct Request {
    std::optional<int> pointsCode;
    std::optional<int> hours, minutes, seconds;
    std::optional<int> startMode;
    std::string startDate, startTime;   // --start-at
    std::optional<int> unit;
    std::vector<LimitChange> limits;
    bool dryRun = false;
};

template <typename T>
bool whole(const std::string &text, T &value) {
    const char *end = text.data() + text.size();
    const auto r = std::from_chars(text.data(), end, value);
    return !text.empty() && r.ec == std::errc() && r.ptr == end;
}

bool readPoints(const std::string &value, Request &request) {
    int count = 0;
    if (!whole(value, count)) return false;
    for (int code = 0; code < static_cast<int>(std::size(kPointCounts)); ++code)
        if (kPointCounts[code] == count) request.pointsCode = code;
    return request.pointsCode.has_value();
}

bool readInterval(const std::string &value, Request &request) {
    const std::size_t first = value.find(':'), second = value.find(':', first + 1);
    if (first == std::string::npos || second == std::string::npos) return false;
    int h = 0, m = 0, s = 0;
    if (!whole(value.substr(0, first), h) || !whole(value.substr(first + 1, second - first - 1), m) ||
        !whole(value.substr(second + 1), s))
        return false;
    if (h < 0 || h > kHoursMax || m < 0 || m > kMinutesMax || s < 0 || s > kSecondsMax) return false;
    request.hours = h, request.minutes = m, request.seconds = s;
    return true;
}

bool readStart(const std::string &value, Request &request) {
    int code = -1;
    if (value == "now")
        code = START_NOW;
    else if (!whole(value, code) || (code != START_NOW && (code < 0 || code > 4)))
        return false;
    request.startMode = code;
    return true;
}

// "DATE TIME": two words, the date first.
bool readStartAt(const std::string &value, Request &request) {
    const std::size_t gap = value.find(' ');
    const std::size_t time = value.find_first_not_of(' ', gap);
    if (gap == 0 || gap == std::string::npos || time == std::string::npos) return false;
    request.startDate = value.substr(0, gap);
    request.startTime = value.substr(time);
    return request.startTime.find(' ') == std::string::npos;
}

// The bounds of the limit fields are single precision (3276.7 is 3276.69995...): a limit typed
// as the bound itself is taken.
constexpr double kBoundSlack = 1e-3;

bool readLimit(const std::string &value, std::optional<double> &limit) {
    double x = 0.0;
    if (!whole(value, x) || x < LimitMinVal[0][0] - kBoundSlack || x > LimitMaxVal[0][0] + kBoundSlack ||
        limit.has_value())
        return false;
    limit = x;
    return true;
}

// One option and its value into the request; false with error filled.
bool readOption(const std::string &option, const std::string &value, Request &request, std::string &error) {
    bool ok = true;
    if (option == "--points") {
        ok = readPoints(value, request);
        if (!ok) error = "--points takes 1000, 2000, 4000, 8000, 12000 or 16000, not " + value;
    } else if (option == "--interval") {
        ok = readInterval(value, request);
        if (!ok) error = "--interval takes H:M:S (hours 0 to 12, minutes and seconds 0 to 59), not " + value;
    } else if (option == "--start") {
        ok = readStart(value, request);
        if (!ok) error = "--start takes now, 20 or 0 to 4, not " + value;
    } else if (option == "--start-at") {
        ok = readStartAt(value, request);
        if (!ok) error = "--start-at takes \"DATE TIME\", not " + value;
    } else if (option == "--unit") {
        ok = value == "C" || value == "c";
        if (ok) request.unit = value[0];
        if (!ok) error = "--unit takes C or c, not " + value;
    } else if (option == "--channel") {
        int channel = -1;
        ok = whole(value, channel) && channel >= 0 && channel < kChannels;
        if (ok) request.limits.push_back({channel, {}, {}});
        if (!ok) error = "--channel takes 0, 1 or 2, not " + value;
    } else {   // --high, --low
        if (request.limits.empty()) request.limits.push_back({});
        LimitChange &change = request.limits.back();
        ok = readLimit(value, option == "--high" ? change.high : change.low);
        if (!ok) error = option + " takes one number from -3276.8 to 3276.7 per channel, not " + value;
    }
    return ok;
}

int readRequest(const std::vector<std::string> &args, Request &request, std::string &error) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--dry-run") {
            request.dryRun = true;
            continue;
        }
        if (i + 1 >= args.size()) {
            error = args[i] + " needs a value";
            return -1;
        }
        if (!readOption(args[i], args[i + 1], request, error)) return -1;
        ++i;
    }
    if (!request.startDate.empty()) {
        if (request.startMode.value_or(START_AT_TIME) != START_AT_TIME) {
            error = "--start-at starts at a time (mode 0): it does not go with --start " +
                    std::to_string(*request.startMode);
            return -1;
        }
        request.startMode = START_AT_TIME;
    }
    return 0;
}

// ---------------------------------------------------------------- what the window offers

// The entries of a list as "value (text), ...", or only the texts (letters: values as letters).
enum class Show { Texts, Codes, Letters };
std::string offered(int ctrl, Show show) {
    int count = 0;
    GetNumListItems(idSetLogger, ctrl, &count);
    std::string list;
    for (int k = 0; k < count; ++k) {
        char text[64] = "";
        int value = 0;
        GetLabelFromIndex(idSetLogger, ctrl, k, text, sizeof text);
        GetValueFromIndex(idSetLogger, ctrl, k, &value);
        if (!list.empty()) list += ", ";
        if (show == Show::Texts) {
            list += text;
            continue;
        }
        list += show == Show::Letters ? std::string(1, static_cast<char>(value)) : std::to_string(value);
        list += std::string(" (") + text + ")";
    }
    return list;
}

bool offers(int ctrl, int value) {
    int index = -1;
    return GetIndexFromValue(idSetLogger, ctrl, &index, value) == 0 && index >= 0;
}

// A value the model does not offer: said with what it offers; EXIT_USAGE.
int notOffered(const std::string &what, int ctrl, Show show) {
    std::fprintf(stderr, "tavix-cli: %s: this logger (model index %d) offers %s\n", what.c_str(), currDeviceId,
                 offered(ctrl, show).c_str());
    return EXIT_USAGE;
}

int channelShownForUnit(int unit) { return unit == UNIT_CELSIUS_RH_ALARM ? 2 : 0; }

// Every value asked for is one the window offers for this model; EXIT_OK or EXIT_USAGE (said).
int checkOffered(const Request &r) {
    if (r.pointsCode && !offers(SETLOGGER_SAMPLEPOINTS, *r.pointsCode))
        return notOffered("--points " + std::to_string(kPointCounts[*r.pointsCode]), SETLOGGER_SAMPLEPOINTS,
                          Show::Texts);
    if (r.startMode && !offers(SETLOGGER_STARTMODE, *r.startMode))
        return notOffered("--start " + std::to_string(*r.startMode), SETLOGGER_STARTMODE, Show::Codes);
    if (r.unit && !offers(SETLOGGER_UNIT, *r.unit))
        return notOffered(std::string("--unit ") + static_cast<char>(*r.unit), SETLOGGER_UNIT, Show::Letters);
    int channelsDimmed = 0;
    GetCtrlAttribute(idSetLogger, SETLOGGER_ALARMCHANNEL, ATTR_DIMMED, &channelsDimmed);
    int unit = UNIT_CELSIUS;
    GetCtrlVal(idSetLogger, SETLOGGER_UNIT, &unit);
    const int unitChannel = channelShownForUnit(r.unit.value_or(unit));
    for (const LimitChange &change : r.limits) {
        if (change.channel < 0) continue;
        const std::string what = "--channel " + std::to_string(change.channel);
        if (!channelsDimmed && !offers(SETLOGGER_ALARMCHANNEL, change.channel))
            return notOffered(what, SETLOGGER_ALARMCHANNEL, Show::Codes);
        if (channelsDimmed && change.channel != unitChannel) {
            std::fprintf(stderr, "tavix-cli: %s: this logger (model index %d) has one alarm, on channel %d",
                         what.c_str(), currDeviceId, unitChannel);
            if (offers(SETLOGGER_UNIT, UNIT_CELSIUS_RH_ALARM))
                std::fprintf(stderr, " with this unit (channel 0 with --unit C, channel 2 with --unit c)");
            std::fprintf(stderr, "\n");
            return EXIT_USAGE;
        }
    }
    return EXIT_OK;
}

// The logger settings can be changed now: the command is offered, the window has lists for
// the model and its OK is not dimmed. EXIT_OK or EXIT_UNSUPPORTED (said).
int checkSettingsOffered(bool windowOpen) {
    int dimmed = 0, points = 0;
    GetCtrlAttribute(idMonitor, MONITOR_MENU4, ATTR_DIMMED, &dimmed);
    if (windowOpen) {
        GetNumListItems(idSetLogger, SETLOGGER_SAMPLEPOINTS, &points);
        GetCtrlAttribute(idSetLogger, SETLOGGER_LOG_OK, ATTR_DIMMED, &dimmed);
        if (points == 0) dimmed = 1;
    }
    if (!dimmed) return EXIT_OK;
    if (loggerStatus == 1)
        std::fprintf(stderr, "tavix-cli: the logger is logging; its settings are offered only while it is not\n");
    else
        std::fprintf(stderr, "tavix-cli: Tavix offers no logging settings for this logger (model index %d)\n",
                     currDeviceId);
    return EXIT_UNSUPPORTED;
}

// ---------------------------------------------------------------- the window, as a user uses it

// The value a user chooses or types, then the events the window sends for it.
template <typename T>
void userSets(int ctrl, T value) {
    SetCtrlVal(idSetLogger, ctrl, value);
    rt::FireCtrlEvent(idSetLogger, ctrl, EVENT_VAL_CHANGED);
    rt::FireCtrlEvent(idSetLogger, ctrl, EVENT_COMMIT);
}

// The window's own checks refused something since the pop-up number `since` (its message,
// titled warn11, has been printed).
bool refused(const rt::ScriptedAgent &agent, std::size_t since) {
    for (std::size_t k = since; k < agent.shown.size(); ++k)
        if (agent.shown[k].kind == "message" && agent.shown[k].title == warn11) return true;   // "Attention"
    return false;
}

// The fields the command line names, in the window's order; EXIT_OK or EXIT_REFUSED.
int fillFields(const Request &r, const rt::ScriptedAgent &agent) {
    const std::size_t since = agent.shown.size();
    if (r.pointsCode) userSets(SETLOGGER_SAMPLEPOINTS, *r.pointsCode);
    if (r.hours) {
        userSets(SETLOGGER_RATE_HOUR, *r.hours);
        userSets(SETLOGGER_RATE_MIN, *r.minutes);
        userSets(SETLOGGER_RATE_SEC, *r.seconds);
    }
    if (r.startMode) userSets(SETLOGGER_STARTMODE, *r.startMode);
    if (!r.startDate.empty()) {
        // a longer text does not fit into the field: refused as the window's OK refuses it
        if (r.startDate.size() >= LP_DATE_SIZE) {
            showRefusal(warn11, warn12);   // "Attention", "the date is not valid"
            return EXIT_REFUSED;
        }
        if (r.startTime.size() >= LP_TIME_SIZE) {
            showRefusal(warn11, warn13);   // "Attention", "the time is not valid"
            return EXIT_REFUSED;
        }
        userSets(SETLOGGER_STARTDATE, r.startDate.c_str());
        userSets(SETLOGGER_STARTTIME, r.startTime.c_str());
    }
    if (r.unit) userSets(SETLOGGER_UNIT, *r.unit);
    for (const LimitChange &change : r.limits) {
        if (change.channel >= 0 && change.channel != currAlarmChannel) userSets(SETLOGGER_ALARMCHANNEL, change.channel);
        if (refused(agent, since)) return EXIT_REFUSED;
        if (change.high) userSets(SETLOGGER_HIGHALARM, *change.high);
        if (change.low) userSets(SETLOGGER_LOWALARM, *change.low);
    }
    return refused(agent, since) ? EXIT_REFUSED : EXIT_OK;
}

// A command text without its carriage return.
std::string commandText() {
    std::string text = txBuf;
    if (!text.empty() && text.back() == '\r') text.pop_back();
    return text;
}

// --dry-run: the window's checks as OK makes them, then the two commands as they would go.
int dryRun(const rt::ScriptedAgent &agent) {
    const std::size_t since = agent.shown.size();
    if (takeLogSettings() != 0 || refused(agent, since)) return EXIT_REFUSED;
    if (!formatCommand('A')) {
        std::fprintf(stderr, "tavix-cli: this logger's model takes no alarm limits\n");
        return EXIT_UNSUPPORTED;
    }
    std::printf("%s\n", commandText().c_str());
    formatCommand('S');
    std::printf("%s\n", commandText().c_str());
    return EXIT_OK;
}

// OK, then the link's outcome: the logger confirmed both commands (the window closed), or not.
int pressOk(const rt::ScriptedAgent &agent) {
    const std::size_t since = agent.shown.size();
    rt::FireCtrlEvent(idSetLogger, SETLOGGER_LOG_OK, EVENT_COMMIT);
    if (refused(agent, since)) return EXIT_REFUSED;
    std::string alarm, settings;
    const auto watch = [&alarm, &settings] {
        if (sendCmdChar == 'A' && alarm.empty()) alarm = commandText();
        if (sendCmdChar == 'S' && settings.empty()) settings = commandText();
    };
    const auto over = [] { return !keySetAlarm && !keySetting && !setLoggerStep && sendCmdChar == 0; };
    const bool ended = runUntil(over, kSettingsWaitMs, watch);
    if (stopSignal() != 0) return EXIT_INTERRUPTED;
    if (!ended || settings.empty() || rt::PanelVisible(idSetLogger)) {
        if (!ended) std::fprintf(stderr, "tavix-cli: %s\n", warn16);   // "the logger did not answer"
        return EXIT_UNANSWERED;
    }
    std::printf("sent: %s\nsent: %s\n%s\n", alarm.c_str(), settings.c_str(), msg9);   // "settings accepted"
    return EXIT_OK;
}

}   // namespace

int configureOptionValues(const std::string &option) {
    if (option == "--dry-run") return 0;
    for (const char *name :
         {"--points", "--interval", "--start", "--start-at", "--unit", "--channel", "--high", "--low"})
        if (option == name) return 1;
    return -1;
}

int checkConfigureArguments(const std::vector<std::string> &args, std::string &error) {
    Request request;
    return readRequest(args, request, error);
}

int configure(const Options &options, rt::ScriptedAgent &agent) {
    Request request;
    std::string error;
    if (readRequest(options.commandArgs, request, error) != 0) {
        std::fprintf(stderr, "tavix-cli: %s (see --help)\n", error.c_str());
        return EXIT_USAGE;
    }
    // 1. the logger is known and the link has finished its questions
    if (const int result = waitForLogger(); result != EXIT_OK) return result;
    if (!runUntil([] { return sendCmdChar == 0; }, STATUS_WAIT_MS)) return stopSignal() ? EXIT_INTERRUPTED : noLogger();
    // 2. the window, opened by the main window's command
    if (const int result = checkSettingsOffered(false); result != EXIT_OK) return result;
    rt::FireCtrlEvent(idMonitor, MONITOR_MENU4, EVENT_COMMIT);
    if (const int result = checkSettingsOffered(true); result != EXIT_OK) return result;
    // 3. the fields asked for, each a value the model offers
    if (const int result = checkOffered(request); result != EXIT_OK) return result;
    if (const int result = fillFields(request, agent); result != EXIT_OK) return result;
    // 4. OK
    return request.dryRun ? dryRun(agent) : pressOk(agent);
}

}   // namespace cli
