// tavix-cli: the program without windows, for scripts and tests.
//
// The windows are loaded on Qt's offscreen platform and never shown; a scripted user answers
// every pop-up (yes to confirmations, the file given on the command line to the file dialog)
// and every message is printed on standard error as "title: text". The link, the download and
// the Save File command are the program's own; this tool only presses the buttons.
//
// Cli.cpp dispatches to the commands, one file each (Identify.cpp, Download.cpp, Retrieve.cpp,
// Stats.cpp, Configure.cpp, Report.cpp, Chart.cpp, Clock.cpp, Identity.cpp, Calibration.cpp);
// what they share, the command line included, is in Common.h (FileInput.cpp reads a data file
// for report and chart). The exit statuses below
// are the tool's one table.
#pragma once

#include <string>
#include <vector>

namespace cli {

// Exit statuses.
enum {
    EXIT_OK = 0,
    EXIT_NO_LOGGER = 1,       // no logger answers (or its port does not open)
    EXIT_USAGE = 2,           // a bad command line
    EXIT_INCOMPLETE = 3,      // the download brought fewer records than the logger reported
    EXIT_NOT_WRITTEN = 4,     // the data file, the picture or the CSV cannot be written
    EXIT_NO_START = 5,        // the program cannot start (run-time, folder, windows)
    EXIT_UNREADABLE = 6,      // an input file cannot be read or is refused
    EXIT_REFUSED = 7,         // the window's own checks refused the input
    EXIT_UNANSWERED = 8,      // the logger did not answer a command
    EXIT_READ_BACK = 9,       // the calibration read back differs from what was written
    EXIT_UNSUPPORTED = 10,    // the logger's model (or its state) does not offer the command
    EXIT_FAIL = 11,           // a verdict is FAIL
    EXIT_CHANGED = 12,        // verification found a change (a file against the archive, the audit trail)
    EXIT_NOT_ARCHIVED = 13,   // the file is not in the archive
    EXIT_NO_ARCHIVE = 14,     // the archive cannot be opened (or is switched off)
    EXIT_INTERRUPTED = -1,    // a signal stopped it (the result is then 128 + the signal)
};
// A signal ends the tool with 128 + its number, as a shell reports it (130 Ctrl-C, 143 SIGTERM).
enum { EXIT_INTERRUPTED_BASE = 128 };

// The port number --device binds when no --port is given.
enum { DEVICE_PORT = 16 };

struct Options {
    std::string appDir;   // "" = a fresh temporary folder
    int port = 0;         // 0 = the port the state file names
    std::string device;   // "" = no new binding
    std::string
        command;        // "identify", "download", "retrieve", "stats", "configure", "report", "chart", "set-clock", ...
    std::string file;   // download, retrieve, stats: the data file
    std::string chart;                      // download: the picture of the chart ("" = none)
    std::string csv;                        // download, retrieve: the CSV file ("" = none, "-" = standard output)
    int from = 0;                           // stats: the first record (1-based), 0 = the first held
    int to = 0;                             // stats: the last record (1-based, included), 0 = the last held
    std::string picture;                    // stats: the picture of the statistics window ("" = none)
    std::vector<std::string> commandArgs;   // configure: its own options and their values, in order
    std::string input;                      // report, chart: the data file read
    std::string output;                     // report: the PDF; chart: the picture (.png) or the PDF
    std::string range;                      // report: the records, read as the print prompt reads them ("" = all)
    std::vector<std::string> args;          // set-clock, set-id, sleep, calibration: their own words and options
    // summary: the data files as given and made absolute, the profile, the outputs
    std::vector<std::string> files;
    std::vector<std::string> filePaths;
    std::string profile;   // "" = the first of the profiles file
    std::string pdf;       // one PDF with a page per file ("" = none)
    std::string pdfDir;    // a PDF per file in this folder ("" = none)
    bool json = false;     // JSON Lines instead of the text lines
    // the archive: archive, verify and audit read their words and options into args
    std::string archive;      // --archive FILE: "" = the program folder's TavixArchive.db
    bool noArchive = false;   // --no-archive: none is opened, nothing is kept
    // the server archive: --server URL and --site NAME in place of the preferences' ("" = theirs)
    std::string server;
    std::string site;
    bool keepOnStop = false;   // download: Ctrl-C stops the download as End does and keeps what arrived
};

extern const char USAGE[];

// Read the command line. 0 = run, 1 = --help asked for, -1 = an error (error filled).
int parseArguments(int argc, char **argv, Options &options, std::string &error);

// Start the program, run the command, stop the program. Returns an exit status.
int run(const Options &options, const char *programName);

}   // namespace cli
