// tavix-cli collect: the loggers of several ports downloaded at once, each by a tavix-cli
// download of its own, judged and kept under names of their own (Collect.cpp). It runs no
// program of its own, so its command line is read apart from the other commands'.
#pragma once

#include <string>
#include <vector>

#include "cli/Cli.h"

namespace cli {

struct CollectOptions {
    std::vector<std::string> devices;    // --device, repeatable
    std::string portList;                // --ports N,M,... as given
    std::vector<int> ports;              // ... read
    bool allPorts = false;               // --all-ports: 1 to 16, the ports whose device exists
    std::string appDir;                  // the program folder ("" = the window's)
    std::string archive;                 // "" = the program folder's
    std::string profile;                 // "" = the first of the profiles file
    std::string outDir;                  // "" = the working directory
    std::string settings;                // --settings FILE ("" = the program folder's, when it has one)
    bool setClock = false;               // --set-clock: the clocks of the loggers not logging set
    int clockLimit = 60;                 // --clock-limit S: a clock offset beyond it is warned of
    std::vector<std::string> expected;   // the loggers (identifiers) that should answer
};

// The collect settings: an INI file in the program folder, or the one --settings names. Its
// section [Collect] holds Devices (paths, comma-separated), Ports (N,M,...) or AllPorts (yes),
// Profile, OutDir (paths relative to the file's folder) and Expected (logger identifiers,
// comma-separated); what the command line gives comes first.
inline constexpr const char *COLLECT_SETTINGS_FILE = "TavixCollect.ini";
// Fills what options lack from the file. 0; -1 with error filled when a file that was given
// cannot be read or the file is wrong (a missing file not given is no fault).
int readCollectSettings(const std::string &file, bool given, CollectOptions &options, std::string &error);

// Where the word collect stands on the command line as its command, -1 when it is not the
// command.
int collectCommandAt(int argc, char **argv);
// 0 = run, 1 = --help asked for, -1 = an error (error filled).
int parseCollectArguments(int argc, char **argv, CollectOptions &options, std::string &error);
// Returns the exit status: 1 a port named has no logger, 3 a download is incomplete, 14 the
// archive failed, 11 a verdict is FAIL, else 0.
int collect(const CollectOptions &options, const char *programName);

}   // namespace cli
