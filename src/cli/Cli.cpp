// tavix-cli's dispatcher: start the program in its folder with a scripted user, run the command
// the command line names, stop the program. The commands live in files of their own and share
// Common.h.
#include "cli/Cli.h"

#include <QTemporaryDir>
#include <QtGlobal>

#include <cstdio>
#include <memory>
#include <string>

#include "app/Tavix.h"
#include "cli/Common.h"
#include "runtime/agent.h"
#include "runtime/ui.h"

namespace cli {

namespace {

// The commands by name; parseArguments admits only these.
struct Command {
    const char *name;
    int (*run)(const Options &options, rt::ScriptedAgent &agent);
};
constexpr Command kCommands[] = {
    {"identify", identify},
    {"download", download},
    {"retrieve", retrieve},
    {"stats", stats},
    {"configure", configure},
    {"report", report},
    {"chart", chart},
    {"set-clock", setClock},        // Clock.cpp
    {"set-id", setId},              // Identity.cpp
    {"sleep", sleepMode},           // Identity.cpp
    {"calibration", calibration},   // Calibration.cpp
    {"summary", summary},           // Summary.cpp
    {"archive", archive},           // Archive.cpp
    {"verify", verify},             // Archive.cpp
    {"audit", audit},               // Archive.cpp
    {"fleet", fleet},               // Archive.cpp
};

// Run the command named in options with the program started; EXIT_USAGE for a name without
// a command.
int runCommand(const Options &options, rt::ScriptedAgent &agent) {
    for (const Command &command : kCommands)
        if (options.command == command.name) return command.run(options, agent);
    std::fprintf(stderr, "tavix-cli: unknown command %s\n", options.command.c_str());
    return EXIT_USAGE;
}

// The toolkit's remarks about the hidden windows (an offscreen platform that cannot pass size
// hints on, a missing XDG_RUNTIME_DIR it replaces by itself) say nothing to the user of the
// command line, whose standard error carries the program's messages: they are dropped. Every
// other warning of the toolkit goes on as before.
QtMessageHandler g_toolkitHandler = nullptr;

void quietToolkit(QtMsgType type, const QMessageLogContext &context, const QString &text) {
    if (type == QtDebugMsg || type == QtInfoMsg) return;
    if (text.contains(QLatin1String("propagateSizeHints")) || text.contains(QLatin1String("XDG_RUNTIME_DIR"))) return;
    if (g_toolkitHandler != nullptr) g_toolkitHandler(type, context, text);
}

}   // namespace

int run(const Options &given, const char *programName) {
    catchStopSignals();
    const Options options = withAbsolutePaths(given);

    // The windows are made but never shown.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    g_toolkitHandler = qInstallMessageHandler(quietToolkit);
    char *args[] = {const_cast<char *>(programName), nullptr};
    if (InitRunTime(1, args) < 0) {
        std::fprintf(stderr, "tavix-cli: the run-time cannot start\n");
        return EXIT_NO_START;
    }
    // the archive is named before the folder is entered: the paths are the caller's
    chooseCliArchive(options);
    std::unique_ptr<QTemporaryDir> temporary;
    const std::string folder = prepareProgramFolder(options, temporary);
    if (folder.empty()) return EXIT_NO_START;
    RegisterLayouts();
    if (!choosePort(options)) return options.port == 0 && options.device.empty() ? EXIT_USAGE : EXIT_NO_START;

    rt::ScriptedAgent agent;
    agent.echo = echo;
    agent.defaultConfirm = true;
    rt::SetUserAgent(&agent);
    int result = EXIT_NO_START;
    if (tavixStart(1, args, folder.c_str()) == 0)
        result = runCommand(options, agent);
    else
        std::fprintf(stderr, "tavix-cli: the program cannot start\n");
    tavixStop();
    rt::SetUserAgent(nullptr);
    std::fflush(stdout);
    if (const int signal = stopSignal(); signal != 0) {
        std::fprintf(stderr, "tavix-cli: interrupted\n");
        result = EXIT_INTERRUPTED_BASE + signal;
    }
    return result;
}

}   // namespace cli
