// tavix-cli set-id TEXT [--sleep on|off] and tavix-cli sleep on|off: the identifier and sleep
// sections of the logger-settings window. Both OK buttons send the identifier field and the
// sleep switch together, so set-id types the new identifier and sets the switch (off unless
// --sleep on: the logger does not tell its sleep mode) and sleep keeps the logger's identifier.
#include <cstdio>
#include <string>

#include "cli/Common.h"
#include "config/ClockSetting.h"
#include "link/Link.h"
#include "local/Texts.h"
#include "model/Models.h"
#include "panels/Panels.h"
#include "runtime/ui.h"

namespace cli {

namespace {

struct IdRequest {
    bool hasId = false;
    std::string id;
    int sleep = 0;   // the switch: 0 off, 1 on
};

bool onOff(const std::string &word, int &value) {
    if (word != "on" && word != "off") return false;
    value = word == "on" ? 1 : 0;
    return true;
}

// set-id: one TEXT and an optional "--sleep on|off", in any order.
bool parseSetId(const std::vector<std::string> &args, IdRequest &request, std::string &error) {
    for (std::size_t k = 0; k < args.size(); ++k) {
        if (args[k] == "--sleep") {
            if (k + 1 >= args.size() || !onOff(args[k + 1], request.sleep)) {
                error = "--sleep takes on or off";
                return false;
            }
            ++k;
        } else if (args[k].rfind("--", 0) == 0) {
            error = "set-id: unknown option " + args[k];
            return false;
        } else if (request.hasId) {
            error = "set-id takes one identifier";
            return false;
        } else {
            request = {true, args[k], request.sleep};
        }
    }
    if (!request.hasId) error = "set-id needs the identifier";
    return request.hasId;
}

bool parseSleep(const std::vector<std::string> &args, IdRequest &request, std::string &error) {
    if (args.size() == 1 && onOff(args[0], request.sleep)) return true;
    error = "sleep takes on or off";
    return false;
}

const char *onOffText(int sleep) { return sleep ? "on" : "off"; }

// Press OK of the section with the identifier field and the sleep switch as given.
int sendIdentifier(const IdRequest &request, int button, rt::ScriptedAgent &agent) {
    if (const int result = openLoggerWindow(button); result != EXIT_OK) return result;
    if (request.hasId) {
        typeInto(idSetLogger, SETLOGGER_IDENTIFIER, request.id);
    } else {
        // the identifier the logger reported, as opening the window shows it
        SetCtrlVal(idSetLogger, SETLOGGER_IDENTIFIER, eId);
    }
    SetCtrlVal(idSetLogger, SETLOGGER_SLEEPMODE, request.sleep);
    return pressForCommand(idSetLogger, button, keySetId, agent);
}

}   // namespace

bool checkSetIdArguments(const std::vector<std::string> &args, std::string &error) {
    IdRequest request;
    return parseSetId(args, request, error);
}

bool checkSleepArguments(const std::vector<std::string> &args, std::string &error) {
    IdRequest request;
    return parseSleep(args, request, error);
}

int setId(const Options &options, rt::ScriptedAgent &agent) {
    IdRequest request;
    std::string error;
    parseSetId(options.args, request, error);   // checked before the program started
    // what the field would not take is never sent
    if (!identifierSendable(request.id.c_str())) {
        showRefusal(warn11, msgIdChars);   // "Attention", "at most 10 letters, digits or signs"
        return EXIT_REFUSED;
    }
    if (const int result = sendIdentifier(request, SETLOGGER_ID_OK, agent); result != EXIT_OK) return result;
    std::printf("Identifier set to %s, sleep mode %s\n", request.id.c_str(), onOffText(request.sleep));
    return EXIT_OK;
}

int sleepMode(const Options &options, rt::ScriptedAgent &agent) {
    IdRequest request;
    std::string error;
    parseSleep(options.args, request, error);   // checked before the program started
    if (const int result = sendIdentifier(request, SETLOGGER_SLEEP_OK, agent); result != EXIT_OK) return result;
    std::printf("Sleep mode %s (identifier %s)\n", onOffText(request.sleep), lpSetId);
    return EXIT_OK;
}

}   // namespace cli
