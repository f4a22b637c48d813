// What the commands of tavix-cli share: the command line, the program's folder, the stop
// signals, the console (the program's messages and the progress bar on standard error), the
// event loop and the wait for the logger. The dispatcher (Cli.cpp) uses them to start the
// program; each command (one file each) uses them to drive it. Each part has a file of its own:
// Arguments.cpp (the command line; its help in Usage.cpp), ProgramFolder.cpp, EventLoop.cpp (the
// stop signals with it), Console.cpp and CsvExport.cpp.
//
// The state kept here (the signal received, the progress bar, the file dialog's answer, whether
// the command uses the logger's port) is single-instance, like the program's own, and lives for
// one run of the tool.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "cli/Cli.h"
#include "runtime/agent.h"

class QTemporaryDir;

namespace cli {

// ---------------------------------------------------------------- the command line

// Files named on the command line made absolute (they are relative to where the tool was
// started; the program works in its own folder).
Options withAbsolutePaths(const Options &given);

// ---------------------------------------------------------------- the program's folder

// Whether the command talks to a logger. One that does not (retrieve, stats, report, chart)
// runs the program in a fresh temporary folder holding the preference and language files of
// --app-dir (or the shipped ones), with the logger's port bound to a device that does not
// exist: the folder given is only read, no port is searched, and the start-up's word that the
// port cannot be opened is not shown.
bool needsLogger(const Options &options);

// The folder the program works in: --app-dir, else a fresh temporary folder (held by
// temporary, removed with it) seeded with the shipped preference and language files. It
// becomes the working directory. "" when it cannot be used (said on standard error).
std::string prepareProgramFolder(const Options &options, std::unique_ptr<QTemporaryDir> &temporary);

// The port the program opens, written to the state file: --device binds a port number (--port,
// else DEVICE_PORT) to the path, --port names one, otherwise the state file's port stays.
// False when no port is chosen or the state file cannot be written (said on standard error).
bool choosePort(const Options &options);

// ---------------------------------------------------------------- stop signals

// Ctrl-C and SIGTERM end the tool in an orderly way: the event loop stops, nothing more is
// saved and the temporary program folder is removed. A second one ends it at once.
void catchStopSignals();
// The signal that asked the tool to stop (SIGINT, SIGTERM), 0 while none has.
int stopSignal();
// The signal, forgotten: the command goes on to end in order (download --keep-on-stop). A
// second signal still ends the tool at once.
int takeStopSignal();

// ---------------------------------------------------------------- the console

// The scripted user's echo: every message of the program as "title: text" on standard error
// (a file dialog shows the file it is answered with).
void echo(const rt::ScriptedAgent::Shown &shown);
// The file the file dialog is answered with, as the echo shows it.
void showFileAnswer(const std::string &path);
// The progress of a download: a bar redrawn in place on a terminal; elsewhere (a log, a pipe)
// one line every 10 %. startProgress forgets what an earlier download showed.
void startProgress();
void showProgress(int records, int expected);
// Ends the bar's line when the bar is the last thing on it.
void endBarLine();
// The command talks to no logger: the start-up's word that the port cannot be opened is left
// out of the echo.
void hidePortFailure();

// ---------------------------------------------------------------- the data table's CSV

// Export CSV in the data table window, as the user clicks it: the window is opened, the file
// dialog answered with path and replacing an existing file confirmed. EXIT_OK, or
// EXIT_NOT_WRITTEN after the program's warning (or a path the dialog refuses).
int exportCsv(const std::string &path, rt::ScriptedAgent &agent);

// ---------------------------------------------------------------- the event loop

// How long the logger has to tell who it is, then its memory, schedule and status.
enum { IDENTITY_WAIT_MS = 8000, STATUS_WAIT_MS = 8000 };

// Run the event loop (the main window's timer, the serial notifications, the pop-ups' echo)
// until done() holds; false when limitMs (0 = no limit) passed first. look() runs every time
// the loop is looked at. A signal to stop ends the loop too (false).
bool runUntil(const std::function<bool()> &done, int limitMs, const std::function<void()> &look = {});
// The logger did not answer: EXIT_NO_LOGGER (said), or EXIT_INTERRUPTED after a stop signal.
int noLogger();
// The timer asks "I", "M" and "t" by itself until the logger is known; wait for that.
// EXIT_OK, or what noLogger gives.
int waitForLogger();

// ---------------------------------------------------------------- the logger-settings window

// What the commands that configure the logger share (LoggerWindow.cpp).
//
// Wait for the logger and an idle link, then open the logger-settings window with the main
// window's command, as the user does. The command and button (a control of the window) must
// not be dimmed: EXIT_REFUSED while the logger is logging, EXIT_UNSUPPORTED for a model the
// window does not offer it to (both said). EXIT_OK, or what waitForLogger gives.
int openLoggerWindow(int button);
// Type a text into a text field as the user does: a click into it, the text, the change.
void typeInto(int panel, int control, const std::string &text);
// A message of the window's own, printed as its pop-up would be: "title: text".
void showRefusal(const char *title, const char *text);
// Press a button whose callback raises key (a request of the link control), then wait until
// the link control has sent the command and its wait for the answer is over. EXIT_OK,
// EXIT_REFUSED when the window kept the key down (its message has been shown) or
// EXIT_UNANSWERED when the logger did not answer.
int pressForCommand(int panel, int button, const unsigned char &key, rt::ScriptedAgent &agent);
// Whether a pop-up with this text has been shown since the first `since` ones.
bool shownSince(const rt::ScriptedAgent &agent, std::size_t since, const char *text);

// ---------------------------------------------------------------- the commands

// Each runs with the program started and returns an exit status; one file each.
int identify(const Options &options, rt::ScriptedAgent &agent);
int download(const Options &options, rt::ScriptedAgent &agent);
int retrieve(const Options &options, rt::ScriptedAgent &agent);
int stats(const Options &options, rt::ScriptedAgent &agent);
int configure(const Options &options, rt::ScriptedAgent &agent);
// configure's own options: how many values one takes (0 or 1), -1 for an option that is not
// configure's. checkConfigureArguments reads them (Options::commandArgs) before the program
// starts: 0, or -1 with error filled.
int configureOptionValues(const std::string &option);
int checkConfigureArguments(const std::vector<std::string> &args, std::string &error);
int report(const Options &options, rt::ScriptedAgent &agent);
int chart(const Options &options, rt::ScriptedAgent &agent);
// summary: each data file read as Retrieve File does and judged (Summary.cpp).
int summary(const Options &options, rt::ScriptedAgent &agent);

// Read a data file as Retrieve File does (the file dialog answered with path), for report and
// chart (FileInput.cpp). EXIT_OK, or EXIT_UNREADABLE when no record could be read (said on
// standard error).
int loadDataFile(const std::string &path, rt::ScriptedAgent &agent);
int setClock(const Options &options, rt::ScriptedAgent &agent);
int setId(const Options &options, rt::ScriptedAgent &agent);
int sleepMode(const Options &options, rt::ScriptedAgent &agent);
int calibration(const Options &options, rt::ScriptedAgent &agent);

// The words and options of the commands that read their own (Options::args), checked before
// the program starts; false with error filled for a bad command line.
bool checkSetClockArguments(const std::vector<std::string> &args, std::string &error);
bool checkSetIdArguments(const std::vector<std::string> &args, std::string &error);
bool checkSleepArguments(const std::vector<std::string> &args, std::string &error);
bool checkCalibrationArguments(const std::vector<std::string> &args, std::string &error);

// ---------------------------------------------------------------- the archive (Archive.cpp)

// The archive tavix-cli uses, chosen before the program starts: --archive FILE, else DIR's
// TavixArchive.db with --app-dir, else the one of the program folder the window uses (that
// folder is made when missing); --no-archive chooses none.
void chooseCliArchive(const Options &options);
// Whether the command's words and options are archive's, verify's or audit's own: those take
// --from and --to as dates, and --logger and --verify.
bool archiveCommand(const std::string &command);
// The options of those commands that take a value (--logger, --from, --to): 1; that take none
// (--verify): 0; others: -1.
int archiveOptionValues(const std::string &option);
bool checkArchiveArguments(const std::vector<std::string> &args, std::string &error);
bool checkVerifyArguments(const std::vector<std::string> &args, std::string &error);
bool checkAuditArguments(const std::vector<std::string> &args, std::string &error);
int archive(const Options &options, rt::ScriptedAgent &agent);
bool checkFleetArguments(const std::vector<std::string> &args, std::string &error);
// tavix-cli fleet: every logger the server archive knows, with its last recording.
int fleet(const Options &options, rt::ScriptedAgent &agent);
int verify(const Options &options, rt::ScriptedAgent &agent);
int audit(const Options &options, rt::ScriptedAgent &agent);
// After a download: EXIT_NO_ARCHIVE when the archive was to keep it and did not (it could not
// be opened, or refused the records; said on standard error), else EXIT_OK. What it did is
// printed.
int downloadArchived();
// The clock offset estimated at the download, kept with it in the archive when the archive
// took it (a refusal is said on standard error).
void keepClockOffset(long long offsetSeconds, int interval);

}   // namespace cli
