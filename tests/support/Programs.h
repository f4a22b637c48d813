// The built programs as processes of their own: a program run to its end with its output kept,
// tavix-sim serving in the background while a test runs, and the shipped files beside them.
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace programs {

// The folder the programs and their shipped files are built into.
std::string binDir();
// A built program by its name ("tavix-cli").
std::string binary(const std::string &name);

// The whole file ("" when it cannot be read).
std::string readFile(const std::filesystem::path &path);
// The lines of a text, without their line ends.
std::vector<std::string> lines(const std::string &text);
// A text of the shipped English language file by its key, e.g. "WARN2" ("<KEY missing>" when
// it has none).
std::string englishText(const std::string &key);

// Waits until done() holds, looking every 50 ms; false after ms milliseconds. For conditions
// another process brings about, outside this process's event loop.
bool waitUntil(const std::function<bool()> &done, int ms = 30000);

// Starts a program with its standard output and error going to files, and env ("NAME=value")
// in place of the same names of this process's environment; the process id, -1 when it did not
// start.
pid_t spawn(const std::vector<std::string> &args, const std::filesystem::path &out, const std::filesystem::path &err,
            const std::vector<std::string> &env = {});
// Waits for a started program to end: its exit status, -1 when it did not end normally.
int waitForExit(pid_t pid);

struct Outcome {
    int status = -1;   // exit status, -1 when it did not end normally
    std::string out, err;
};

// Runs a program to its end in dir (where its output files run.out and run.err go).
Outcome run(const std::vector<std::string> &args, const std::filesystem::path &dir,
            const std::vector<std::string> &env = {});
// Runs the built tavix-cli with the arguments to its end in dir. Unless the arguments name a
// program folder or an archive (--app-dir, --archive, --no-archive), its archive is dir's.
Outcome cli(const std::vector<std::string> &args, const std::filesystem::path &dir,
            const std::vector<std::string> &env = {});

// The built tavix-sim serving until the object goes; its standard output is dir/sim.out, and
// what it received is logged in dir/sim.log, one line 'tavix-sim: received "LINE"' per command.
class SimProcess {
public:
    SimProcess(const std::vector<std::string> &options, const std::filesystem::path &dir);
    ~SimProcess() { stop(); }
    SimProcess(const SimProcess &) = delete;
    SimProcess &operator=(const SimProcess &) = delete;

    // The pseudo-terminal it serves ("" when it did not start): the first line it prints,
    // waited for with a generous ceiling.
    const std::string &device() const { return device_; }
    // The command lines received so far, in order.
    std::vector<std::string> received() const;
    // Ends it as the user's Ctrl-C would (SIGTERM): its exit status, -1 when it did not end
    // normally or had ended before.
    int stop();

private:
    pid_t pid_ = -1;
    std::string device_;
    std::filesystem::path log_;
};

}   // namespace programs
