// What the commands that configure the logger share: the logger-settings window opened as the
// user opens it, a field typed into, a button pressed and the link control's outcome awaited.
#include <cstdio>

#include "cli/Common.h"
#include "link/Link.h"
#include "local/Texts.h"
#include "model/Models.h"
#include "panels/Panels.h"
#include "runtime/inspect.h"
#include "runtime/ui.h"

namespace cli {

namespace {

// How long a command may take from the press of its button to the end of its wait for the
// answer: the next tick sends it and five ticks wait for the answer; a generous ceiling.
constexpr int kCommandWaitMs = 20000;

bool dimmed(int panel, int control) {
    int value = 0;
    GetCtrlAttribute(panel, control, ATTR_DIMMED, &value);
    return value != 0;
}

}   // namespace

int openLoggerWindow(int button) {
    if (const int result = waitForLogger(); result != EXIT_OK) return result;
    // the answers to the identification queries have come in: the link is free
    if (!runUntil([] { return sendCmdChar == 0; }, STATUS_WAIT_MS)) return noLogger();
    if (dimmed(idMonitor, MONITOR_MENU4) || dimmed(idSetLogger, button)) {
        if (loggerStatus == 1) {
            std::fprintf(stderr, "tavix-cli: the logger is logging; Tavix changes nothing on it until it stops\n");
            return EXIT_REFUSED;
        }
        std::fprintf(stderr, "tavix-cli: Tavix does not offer this for the logger's model (index %d)\n", currDeviceId);
        return EXIT_UNSUPPORTED;
    }
    rt::FireCtrlEvent(idMonitor, MONITOR_MENU4, EVENT_COMMIT);
    return EXIT_OK;
}

void typeInto(int panel, int control, const std::string &text) {
    rt::FireCtrlEvent(panel, control, EVENT_LEFT_CLICK);
    SetCtrlVal(panel, control, text.c_str());
    rt::FireCtrlEvent(panel, control, EVENT_VAL_CHANGED);
}

void showRefusal(const char *title, const char *text) {
    std::fprintf(stderr, "%s: %s\n", title, text);
    std::fflush(stderr);
}

bool shownSince(const rt::ScriptedAgent &agent, std::size_t since, const char *text) {
    for (std::size_t k = since; k < agent.shown.size(); ++k)
        if (agent.shown[k].text == text) return true;
    return false;
}

int pressForCommand(int panel, int button, const unsigned char &key, rt::ScriptedAgent &agent) {
    const std::size_t before = agent.shown.size();
    rt::FireCtrlEvent(panel, button, EVENT_COMMIT);
    if (key == 0) return EXIT_REFUSED;   // the window has said why
    // a setting command stays pending until its wait is over, answered or not
    const bool over = runUntil([&key] { return key == 0 && sendCmdChar == 0; }, kCommandWaitMs);
    if (stopSignal() != 0) return EXIT_INTERRUPTED;
    if (!over || shownSince(agent, before, warn16)) {   // "the logger did not answer"
        if (!over) showRefusal(warn9, warn16);          // "Warning"
        return EXIT_UNANSWERED;
    }
    return EXIT_OK;
}

}   // namespace cli
