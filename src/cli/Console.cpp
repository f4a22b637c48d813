// tavix-cli's console: the program's messages and the progress of a download on standard error.
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "cli/Common.h"
#include "local/Texts.h"

namespace cli {

namespace {

constexpr int kBarWidth = 30;        // characters of the progress bar
constexpr int kProgressSteps = 10;   // off a terminal, a line every tenth of the download

bool g_barShown = false;     // the progress bar is the last thing on its line
int g_tenthShown = -1;       // the last tenth of a download reported off a terminal
std::string g_fileAnswer;    // what the file dialog is answered with
bool g_portUnused = false;   // the command talks to no logger: the port's failure is not news

}   // namespace

void endBarLine() {
    if (!g_barShown) return;
    std::fputc('\n', stderr);
    g_barShown = false;
}

void hidePortFailure() { g_portUnused = true; }

void echo(const rt::ScriptedAgent::Shown &shown) {
    if (g_portUnused && shown.kind == "message" && shown.text == warn1) return;   // "port cannot be opened"
    endBarLine();
    const std::string &text = shown.kind == "file" ? g_fileAnswer : shown.text;
    std::fprintf(stderr, "%s: %s\n", shown.title.c_str(), text.c_str());
    std::fflush(stderr);
}

void showFileAnswer(const std::string &path) { g_fileAnswer = path; }

void startProgress() { g_tenthShown = -1; }

void showProgress(int records, int expected) {
    if (!isatty(fileno(stderr))) {
        const int tenth = expected > 0 ? std::clamp(records * kProgressSteps / expected, 0, kProgressSteps) : 0;
        if (tenth == g_tenthShown) return;
        g_tenthShown = tenth;
        std::fprintf(stderr, "Downloading: %3d %% (%d/%d records)\n", tenth * 100 / kProgressSteps, records, expected);
        std::fflush(stderr);
        return;
    }
    const int filled = expected > 0 ? std::clamp(records * kBarWidth / expected, 0, kBarWidth) : 0;
    const std::string bar = std::string(filled, '#') + std::string(kBarWidth - filled, '.');
    std::fprintf(stderr, "\rDownloading [%s] %d/%d records", bar.c_str(), records, expected);
    std::fflush(stderr);
    g_barShown = true;
}

}   // namespace cli
