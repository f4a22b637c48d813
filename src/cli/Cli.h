// tavix-cli: the program without windows, for scripts and tests.
//
// The windows are loaded on Qt's offscreen platform and never shown; a scripted user answers
// every pop-up (yes to confirmations, the file given on the command line to the file dialog)
// and every message is printed on standard error as "title: text". The link, the download and
// the Save File command are the program's own; this tool only presses the buttons.
//
// Cli.cpp dispatches to the commands, one file each (Identify.cpp, Download.cpp, Clock.cpp,
// Identity.cpp, Calibration.cpp); what they share, the command line included, is in Common.h. The exit statuses below
// are the tool's one table.
#pragma once

#include <string>
#include <vector>

namespace cli {

// Exit statuses.
enum {
    EXIT_OK = 0,
    EXIT_NO_LOGGER = 1,        // no logger answers (or its port does not open)
    EXIT_USAGE = 2,            // a bad command line
    EXIT_INCOMPLETE = 3,       // the download brought fewer records than the logger reported
    EXIT_NOT_WRITTEN = 4,      // the data file or the picture cannot be written
    EXIT_NO_START = 5,         // the program cannot start (run-time, folder, windows)
    EXIT_REFUSED = 7,          // the window's own checks refused the input; nothing was sent
    EXIT_NO_ANSWER = 8,        // the logger did not answer a command
    EXIT_READ_BACK = 9,        // the calibration read back differs from what was written
    EXIT_NOT_SUPPORTED = 10,   // the logger's model does not support the command
    EXIT_INTERRUPTED = -1,     // a signal stopped it (the result is then 128 + the signal)
};
// A signal ends the tool with 128 + its number, as a shell reports it (130 Ctrl-C, 143 SIGTERM).
enum { EXIT_INTERRUPTED_BASE = 128 };

// The port number --device binds when no --port is given.
enum { DEVICE_PORT = 16 };

struct Options {
    std::string appDir;              // "" = a fresh temporary folder
    int port = 0;                    // 0 = the port the state file names
    std::string device;              // "" = no new binding
    std::string command;             // "identify", "download", "set-clock", ...
    std::string file;                // download: the data file
    std::string chart;               // download: the picture of the chart ("" = none)
    std::vector<std::string> args;   // the words and options of a command that reads its own
};

extern const char USAGE[];

// Read the command line. 0 = run, 1 = --help asked for, -1 = an error (error filled).
int parseArguments(int argc, char **argv, Options &options, std::string &error);

// Start the program, run the command, stop the program. Returns an exit status.
int run(const Options &options, const char *programName);

}   // namespace cli
