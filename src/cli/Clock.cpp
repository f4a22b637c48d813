// tavix-cli set-clock [--now | "DATE TIME"]: type the date and time into the clock fields of
// the logger-settings window and press the clock's OK, as the user does; the PC's date and time
// when none is given.
#include <algorithm>
#include <cstdio>
#include <string>

#include "cli/Common.h"
#include "config/ClockSetting.h"
#include "link/Link.h"
#include "local/Texts.h"
#include "model/Clock.h"
#include "panels/Panels.h"
#include "runtime/ui.h"

namespace cli {

namespace {

struct ClockRequest {
    bool now = true;
    std::string date, time;
};

// "--now", nothing, or the date and time as one word ("DATE TIME") or two.
bool parseClock(const std::vector<std::string> &args, ClockRequest &request, std::string &error) {
    std::vector<std::string> parts;
    bool now = false;
    for (const std::string &arg : args) {
        if (arg == "--now") {
            now = true;
            continue;
        }
        if (arg.rfind("--", 0) == 0) {
            error = "set-clock: unknown option " + arg;
            return false;
        }
        for (std::size_t start = 0; start <= arg.size();) {
            const std::size_t space = std::min(arg.find(' ', start), arg.size());
            if (space > start) parts.push_back(arg.substr(start, space - start));
            start = space + 1;
        }
    }
    if (parts.empty()) return true;
    if (now || parts.size() != 2) {
        error = "set-clock takes --now or one \"DATE TIME\"";
        return false;
    }
    request = {false, parts[0], parts[1]};
    return true;
}

// The window's own check of the clock fields: what it refuses is never sent. False when
// refused (said as the window's pop-up says it).
bool clockAcceptable(const ClockRequest &request) {
    // a longer text does not fit into the field
    const bool dateFits = request.date.size() < CLOCK_TEXT_SIZE;
    cRtc time = 0;
    const int result = rtc2CRtc(request.date.c_str(), request.time.c_str(), &time);
    if (!dateFits || result == -1) {
        showRefusal(warn11, warn12);   // "Attention", "the date is not valid"
        return false;
    }
    if (request.time.size() >= CLOCK_TEXT_SIZE || result == -2) {
        showRefusal(warn11, warn13);   // "Attention", "the time is not valid"
        return false;
    }
    return true;
}

}   // namespace

bool checkSetClockArguments(const std::vector<std::string> &args, std::string &error) {
    ClockRequest request;
    return parseClock(args, request, error);
}

int setClock(const Options &options, rt::ScriptedAgent &agent) {
    ClockRequest request;
    std::string error;
    parseClock(options.args, request, error);   // checked before the program started
    if (!request.now && !clockAcceptable(request)) return EXIT_REFUSED;
    if (const int result = openLoggerWindow(SETLOGGER_CLOCK_OK); result != EXIT_OK) return result;

    // the PC's date and time the moment OK is pressed, or the given ones
    if (request.now) request = {true, dateStr(), TimeStr()};
    typeInto(idSetLogger, SETLOGGER_LOGGERDATE, request.date);
    typeInto(idSetLogger, SETLOGGER_LOGGERTIME, request.time);
    if (const int result = pressForCommand(idSetLogger, SETLOGGER_CLOCK_OK, keyClock, agent); result != EXIT_OK)
        return result;
    std::printf("Clock set to %s %s\n", request.date.c_str(), request.time.c_str());
    return EXIT_OK;
}

}   // namespace cli
