// tavix-cli's event loop: the program runs until a command's condition holds, a time limit
// passes or a stop signal arrives; the wait for the logger is one such run.
#include <QElapsedTimer>
#include <QTimer>

#include <csignal>
#include <cstdio>

#include "cli/Common.h"
#include "link/Link.h"
#include "local/Texts.h"
#include "panels/Panels.h"
#include "runtime/serial.h"
#include "runtime/ui.h"

namespace cli {

namespace {

constexpr int kLookMs = 50;   // how often the event loop is looked at

// The signal that asked the tool to stop (SIGINT, SIGTERM), 0 while none has.
volatile std::sig_atomic_t g_signal = 0;

extern "C" void onStopSignal(int signal) { g_signal = signal; }

}   // namespace

// ---------------------------------------------------------------- stop signals

void catchStopSignals() {
    struct sigaction action {};
    action.sa_handler = onStopSignal;
    action.sa_flags = SA_RESETHAND;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

int stopSignal() { return g_signal; }

int takeStopSignal() {
    const int signal = g_signal;
    g_signal = 0;
    return signal;
}

// ---------------------------------------------------------------- the event loop

bool runUntil(const std::function<bool()> &done, int limitMs, const std::function<void()> &look) {
    if (done()) return true;
    QElapsedTimer clock;
    clock.start();
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (look) look();
        if (done())
            QuitUserInterface(0);
        else if (g_signal != 0 || (limitMs > 0 && clock.elapsed() >= limitMs))
            QuitUserInterface(1);
    });
    watch.start(kLookMs);
    return RunUserInterface() == 0;
}

int noLogger() {
    if (g_signal != 0) return EXIT_INTERRUPTED;
    endBarLine();
    std::fprintf(stderr, "tavix-cli: %s\n", warn2);   // "no logger answers"
    return EXIT_NO_LOGGER;
}

int waitForLogger() {
    if (GetInQLen(portNo) < 0) return noLogger();   // the port did not open: warn1, "cannot be opened", was shown
    if (!runUntil([] { return (gFlag & GFLAG_ID_KNOWN) != 0; }, IDENTITY_WAIT_MS)) return noLogger();
    if (!runUntil([] { return (gFlag & GFLAG_STATUS_APPLIED) != 0; }, STATUS_WAIT_MS)) return noLogger();
    return EXIT_OK;
}

}   // namespace cli
