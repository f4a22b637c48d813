#include "Programs.h"

#include <algorithm>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fstream>
#include <sstream>
#include <thread>

extern char **environ;

namespace programs {

std::string binDir() { return TAVIX_BIN_DIR; }

std::string binary(const std::string &name) { return binDir() + "/" + name; }

std::string readFile(const std::filesystem::path &path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::vector<std::string> lines(const std::string &text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) out.push_back(line);
    return out;
}

std::string englishText(const std::string &key) {
    for (const std::string &line : lines(readFile(binDir() + "/English.ini")))
        if (line.rfind(key + " = ", 0) == 0) return line.substr(key.size() + 3);
    return "<" + key + " missing>";
}

bool waitUntil(const std::function<bool()> &done, int ms) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!done()) {
        if (std::chrono::steady_clock::now() >= until) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}

pid_t spawn(const std::vector<std::string> &args, const std::filesystem::path &out, const std::filesystem::path &err,
            const std::vector<std::string> &env) {
    std::vector<char *> argv;
    for (const std::string &a : args) argv.push_back(const_cast<char *>(a.c_str()));
    argv.push_back(nullptr);
    // the given entries, then this process's own but for the names given
    std::vector<char *> envp;
    for (const std::string &e : env) envp.push_back(const_cast<char *>(e.c_str()));
    for (char **e = environ; *e != nullptr; ++e) {
        bool replaced = false;
        for (const std::string &given : env) {
            const std::size_t name = given.find('=') + 1;   // the name with its '='
            replaced = replaced || std::strncmp(*e, given.c_str(), name) == 0;
        }
        if (!replaced) envp.push_back(*e);
    }
    envp.push_back(nullptr);
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addopen(&files, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&files, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t pid = -1;
    if (posix_spawn(&pid, argv[0], &files, nullptr, argv.data(), envp.data()) != 0) pid = -1;
    posix_spawn_file_actions_destroy(&files);
    return pid;
}

int waitForExit(pid_t pid) {
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

Outcome run(const std::vector<std::string> &args, const std::filesystem::path &dir,
            const std::vector<std::string> &env) {
    Outcome r;
    const pid_t pid = spawn(args, dir / "run.out", dir / "run.err", env);
    if (pid < 0) return r;
    r.status = waitForExit(pid);
    r.out = readFile(dir / "run.out");
    r.err = readFile(dir / "run.err");
    return r;
}

Outcome cli(const std::vector<std::string> &args, const std::filesystem::path &dir,
            const std::vector<std::string> &env) {
    std::vector<std::string> all{binary("tavix-cli")};
    // Without a program folder of its own the tool keeps its archive in the folder the window
    // uses, which for the build is the build's: each test gets its own in its folder instead.
    const bool ownArchive = std::any_of(args.begin(), args.end(), [](const std::string &a) {
        return a == "--app-dir" || a == "--archive" || a == "--no-archive";
    });
    if (!ownArchive) all.insert(all.end(), {"--archive", (dir / "TavixArchive.db").string()});
    all.insert(all.end(), args.begin(), args.end());
    return run(all, dir, env);
}

SimProcess::SimProcess(const std::vector<std::string> &options, const std::filesystem::path &dir)
    : log_(dir / "sim.log") {
    std::vector<std::string> args{binary("tavix-sim")};
    args.insert(args.end(), options.begin(), options.end());
    const std::filesystem::path out = dir / "sim.out";
    pid_ = spawn(args, out, log_);
    if (pid_ <= 0) return;
    // the device path is its first line, there once the pseudo-terminal is open
    waitUntil([&] {
        const std::string text = readFile(out);
        if (text.find('\n') == std::string::npos) return false;
        device_ = text.substr(0, text.find('\n'));
        return true;
    });
}

std::vector<std::string> SimProcess::received() const {
    std::vector<std::string> out;
    const std::string mark = "tavix-sim: received \"";
    for (const std::string &line : lines(readFile(log_)))
        if (line.rfind(mark, 0) == 0 && line.size() > mark.size())
            out.push_back(line.substr(mark.size(), line.size() - mark.size() - 1));
    return out;
}

int SimProcess::stop() {
    if (pid_ <= 0) return -1;
    kill(pid_, SIGTERM);
    const int status = waitForExit(pid_);
    pid_ = -1;
    return status;
}

}   // namespace programs
