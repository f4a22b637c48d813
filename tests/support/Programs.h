// The built programs as processes of their own: a program run to its end with its output kept,
// and tavix-sim serving in the background while a test runs.
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

extern char **environ;

namespace programs {

inline std::string readFile(const std::filesystem::path &path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// Start a program with its standard output and error going to files; the process id (-1 when
// it did not start).
inline pid_t spawn(const std::vector<std::string> &args, const std::filesystem::path &out,
                   const std::filesystem::path &err) {
    std::vector<char *> argv;
    for (const std::string &a : args) argv.push_back(const_cast<char *>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addopen(&files, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&files, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t pid = -1;
    if (posix_spawn(&pid, argv[0], &files, nullptr, argv.data(), environ) != 0) pid = -1;
    posix_spawn_file_actions_destroy(&files);
    return pid;
}

struct Outcome {
    int status = -1;   // exit status, -1 when it did not end normally
    std::string out, err;
};

// Run a program to its end in dir (where its output files go).
inline Outcome run(const std::vector<std::string> &args, const std::filesystem::path &dir) {
    Outcome r;
    const pid_t pid = spawn(args, dir / "run.out", dir / "run.err");
    if (pid < 0) return r;
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.out = readFile(dir / "run.out");
    r.err = readFile(dir / "run.err");
    return r;
}

// tavix-sim (of binDir) serving until the object goes; what it received is logged in
// dir/sim.log, one line 'tavix-sim: received "LINE"' per command.
class SimProcess {
public:
    SimProcess(const std::string &binDir, const std::vector<std::string> &options, const std::filesystem::path &dir)
        : log_(dir / "sim.log") {
        std::vector<std::string> args{binDir + "/tavix-sim"};
        args.insert(args.end(), options.begin(), options.end());
        pid_ = spawn(args, dir / "sim.out", log_);
        // the device path is its first line: waited for with a generous ceiling
        for (int i = 0; i < 600 && pid_ > 0; ++i) {
            const std::string out = readFile(dir / "sim.out");
            if (out.find('\n') != std::string::npos) {
                device_ = out.substr(0, out.find('\n'));
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    }
    ~SimProcess() {
        if (pid_ <= 0) return;
        kill(pid_, SIGTERM);
        int status = 0;
        waitpid(pid_, &status, 0);
    }
    SimProcess(const SimProcess &) = delete;
    SimProcess &operator=(const SimProcess &) = delete;

    const std::string &device() const { return device_; }
    // The command lines received so far, in order.
    std::vector<std::string> received() const {
        std::vector<std::string> lines;
        std::istringstream in(readFile(log_));
        const std::string mark = "tavix-sim: received \"";
        for (std::string line; std::getline(in, line);)
            if (line.rfind(mark, 0) == 0 && line.size() > mark.size())
                lines.push_back(line.substr(mark.size(), line.size() - mark.size() - 1));
        return lines;
    }

private:
    pid_t pid_ = -1;
    std::string device_;
    std::filesystem::path log_;
};

}   // namespace programs
