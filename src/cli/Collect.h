// tavix-cli collect: the loggers of several ports downloaded at once, each by a tavix-cli
// download of its own, judged and kept under names of their own (Collect.cpp). It runs no
// program of its own, so its command line is read apart from the other commands'.
#pragma once

#include <string>
#include <vector>

#include "cli/Cli.h"

namespace cli {

struct CollectOptions {
    std::vector<std::string> devices;   // --device, repeatable
    std::string portList;               // --ports N,M,... as given
    std::vector<int> ports;             // ... read
    bool allPorts = false;              // --all-ports: 1 to 16, the ports whose device exists
    std::string appDir;                 // the program folder ("" = the window's)
    std::string archive;                // "" = the program folder's
    std::string profile;                // "" = the first of the profiles file
    std::string outDir;                 // "" = the working directory
    bool setClock = false;
};

// Where the word collect stands on the command line as its command, -1 when it is not the
// command.
int collectCommandAt(int argc, char **argv);
// 0 = run, 1 = --help asked for, -1 = an error (error filled).
int parseCollectArguments(int argc, char **argv, CollectOptions &options, std::string &error);
// Returns the exit status: 1 a port named has no logger, 3 a download is incomplete, 14 the
// archive failed, 11 a verdict is FAIL, else 0.
int collect(const CollectOptions &options, const char *programName);

}   // namespace cli
