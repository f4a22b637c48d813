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

// The commands by name; parseArguments admits only these. A command that needs no logger
// works in a folder of its own where start-up finds no port (prepareFolderWithoutLogger).
struct Command {
    const char *name;
    int (*run)(const Options &options, rt::ScriptedAgent &agent);
    bool needsLogger;
};
constexpr Command kCommands[] = {
    {"identify", identify, true},
    {"download", download, true},
    {"stats", stats, false},
};

// The command named in options; nullptr (said) for a name without a command.
const Command *findCommand(const Options &options) {
    for (const Command &command : kCommands)
        if (options.command == command.name) return &command;
    std::fprintf(stderr, "tavix-cli: unknown command %s\n", options.command.c_str());
    return nullptr;
}

}   // namespace

int run(const Options &given, const char *programName) {
    catchStopSignals();
    const Options options = withAbsolutePaths(given);

    // The windows are made but never shown.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    char *args[] = {const_cast<char *>(programName), nullptr};
    if (InitRunTime(1, args) < 0) {
        std::fprintf(stderr, "tavix-cli: the run-time cannot start\n");
        return EXIT_NO_START;
    }
    const Command *command = findCommand(options);
    if (!command) return EXIT_USAGE;
    std::unique_ptr<QTemporaryDir> temporary;
    const std::string folder = command->needsLogger ? prepareProgramFolder(options, temporary)
                                                    : prepareFolderWithoutLogger(options, temporary);
    if (folder.empty()) return EXIT_NO_START;
    RegisterLayouts();
    if (command->needsLogger && !choosePort(options))
        return options.port == 0 && options.device.empty() ? EXIT_USAGE : EXIT_NO_START;

    rt::ScriptedAgent agent;
    agent.echo = command->needsLogger ? echo : echoWithoutLogger;
    agent.defaultConfirm = true;
    rt::SetUserAgent(&agent);
    int result = EXIT_NO_START;
    if (tavixStart(1, args, folder.c_str()) == 0)
        result = command->run(options, agent);
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
