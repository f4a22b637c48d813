// tavix-cli collect: every logger of a batch read at once. Each port gets a download of its own
// (tavix-cli download in a process and a temporary program folder of its own, so that one
// logger's fault cannot touch another's download); they all keep their recordings in the one
// archive of the program folder, whose waiting for a busy database lets them write to it side by
// side. The files are then judged in one run of tavix-cli summary, named after the logger and
// its first record, and the batch is shown as a table.
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QSettings>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/Collect.h"
#include "runtime/folder.h"
#include "runtime/serial.h"
#include "store/Archive.h"

extern char **environ;

namespace cli {

namespace {

namespace fs = std::filesystem;

// ---------------------------------------------------------------- the command line

// How many of --device, --ports and --all-ports are given.
int ways(const CollectOptions &options) {
    return (options.devices.empty() ? 0 : 1) + (options.ports.empty() ? 0 : 1) + (options.allPorts ? 1 : 0);
}

bool toPortList(const std::string &text, std::vector<int> &ports) {
    std::stringstream in(text);
    std::string item;
    while (std::getline(in, item, ',')) {
        int port = 0;
        const char *end = item.data() + item.size();
        const auto r = std::from_chars(item.data(), end, port);
        if (item.empty() || r.ec != std::errc() || r.ptr != end || port < 1 || port > MAX_COM_PORT) return false;
        if (std::find(ports.begin(), ports.end(), port) == ports.end()) ports.push_back(port);
    }
    return !ports.empty();
}

// The options of collect that take a value, and where it goes.
struct ValueOption {
    const char *name;
    std::string CollectOptions::*text;
};
constexpr ValueOption kValueOptions[] = {
    {"--app-dir", &CollectOptions::appDir},  {"--archive", &CollectOptions::archive},
    {"--profile", &CollectOptions::profile}, {"--out-dir", &CollectOptions::outDir},
    {"--ports", &CollectOptions::portList},  {"--settings", &CollectOptions::settings},
};

// ---------------------------------------------------------------- the children

volatile sig_atomic_t g_stop = 0;

void onStop(int signal) { g_stop = signal; }

// Starts a program with its standard output and error going to files; -1 when it did not start.
pid_t spawnChild(const std::vector<std::string> &args, const std::string &out, const std::string &err) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    // the children end in an orderly way on the signal collect sends them, not on the
    // terminal's own (Ctrl-C reaches the whole process group): their own process group
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK);
    posix_spawnattr_setpgroup(&attributes, 0);
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigmask(&attributes, &none);
    std::vector<char *> argv;
    for (const std::string &a : args) argv.push_back(const_cast<char *>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid = -1;
    const int failed = posix_spawn(&pid, argv[0], &actions, &attributes, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    return failed != 0 ? -1 : pid;
}

std::string readText(const fs::path &path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// The string value of a key in one JSON line, its escapes undone ("" when it is missing or
// not a string).
std::string jsonField(const std::string &line, const std::string &key) {
    const std::string head = "\"" + key + "\":\"";
    std::size_t k = line.find(head);
    if (k == std::string::npos) return {};
    std::string value;
    for (k += head.size(); k < line.size() && line[k] != '"'; ++k) {
        if (line[k] == '\\' && k + 1 < line.size()) {
            ++k;
            if (line[k] == 'u') {   // an escaped control character: not kept in a file name
                k += 4;
                value += '_';
                continue;
            }
        }
        value += line[k];
    }
    return value;
}

// One port of the batch.
struct Job {
    std::string port;     // as the table shows it: the number, or the device given
    std::string device;   // the device the download opens
    fs::path work;        // the child's output and data file
    pid_t pid = -1;
    int status = -1;   // the download's exit status
    std::string id, first, verdict;
    std::string clock;   // the clock offset of a logger still logging ("+12s"), "" for none
    int records = -1;
    fs::path file;   // the data file kept in the output folder
};

// The download's own folder binds the device to a port number of its own (--device alone):
// port 1, which the program keeps for "not chosen yet", is reached as well.
Job jobFor(const std::string &port, const std::string &device) {
    Job job;
    job.port = port;
    job.device = device;
    return job;
}

// A name for a file: letters, digits, '.', '-' and '_' kept, everything else '_'.
std::string safeName(const std::string &text) {
    std::string name;
    for (const char c : text) {
        const bool safe = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.' ||
                          c == '-' || c == '_';
        name += safe ? c : '_';
    }
    // a name of dots alone would be the folder itself or its parent
    if (name.find_first_not_of('.') == std::string::npos) name = "logger" + name;
    return name;
}

// When summary could not judge a file (a profile it lacks), its name still comes from the file
// itself: the "ID= " line and the first record's date and time.
void namesFromFile(Job &job) {
    std::stringstream in(readText(job.work / "data.txt"));
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.rfind("ID=", 0) == 0) {
            job.id = line.substr(3);
            job.id.erase(0, job.id.find_first_not_of(' '));
            job.id.erase(job.id.find_last_not_of(' ') + 1);
            continue;
        }
        int number = 0, y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
        if (std::sscanf(line.c_str(), "%d %d-%d-%d %d:%d:%d", &number, &y, &mo, &d, &h, &mi, &s) == 7) {
            char time[32];
            std::snprintf(time, sizeof time, "%04d-%02d-%02d %02d:%02d:%02d", y, mo, d, h, mi, s);
            job.first = time;
            return;
        }
    }
}

// ID_FIRSTTIME (2026-12-01_08-00-00): the time's separators made safe.
std::string fileStem(const Job &job) {
    std::string time = job.first;
    std::replace(time.begin(), time.end(), ' ', '_');
    std::replace(time.begin(), time.end(), ':', '-');
    const std::string id = job.id.empty() ? std::string("logger") : job.id;
    return safeName(id) + "_" + safeName(time.empty() ? std::string("no-records") : time);
}

// Moves from into dir as STEM.txt, else STEM-2.txt, STEM-3.txt, ...: a file already there is
// never replaced (a hard link fails on a taken name, where a rename would replace it). The
// file kept, empty when none could be made.
fs::path keepAs(const fs::path &from, const fs::path &dir, const std::string &stem) {
    for (int n = 1; n < 10000; ++n) {
        const fs::path to = dir / (stem + (n == 1 ? std::string() : "-" + std::to_string(n)) + ".txt");
        if (::link(from.c_str(), to.c_str()) == 0) {
            ::unlink(from.c_str());
            return to;
        }
        if (errno == EEXIST) continue;
        // another file system (the temporary folder is not the output folder's), or one without
        // links: the name is taken only when it is free, then the file is copied into it
        const int out = ::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
        if (out < 0) {
            if (errno == EEXIST) continue;
            return {};
        }
        const std::string text = readText(from);
        std::size_t written = 0;
        while (written < text.size()) {
            const ssize_t w = ::write(out, text.data() + written, text.size() - written);
            if (w < 0 && errno == EINTR) continue;
            if (w <= 0) break;
            written += static_cast<std::size_t>(w);
        }
        const bool whole = written == text.size() && ::fsync(out) == 0;
        if (::close(out) != 0 || !whole) {
            ::unlink(to.c_str());
            return {};
        }
        ::unlink(from.c_str());
        return to;
    }
    return {};
}

// The records the download reported ("N records saved to FILE"), -1 when it saved none.
int recordsSaved(const std::string &out) {
    const std::size_t at = out.rfind(" records saved to ");
    if (at == std::string::npos) return -1;
    std::size_t begin = out.rfind('\n', at);
    begin = begin == std::string::npos ? 0 : begin + 1;
    int records = -1;
    std::from_chars(out.data() + begin, out.data() + at, records);
    return records;
}

// The program folder collect works for: --app-dir, else the window's.
std::string programFolder(const CollectOptions &options) {
    std::error_code ec;
    const std::string folder = options.appDir.empty() ? rt::UserProgramFolder() : options.appDir;
    return fs::absolute(folder, ec).lexically_normal().string();
}

// The device a port number stands for in the program folder (its binding, else the default).
std::string deviceOfPort(const std::string &folder, int port) {
    QSettings settings(QString::fromStdString((fs::path(folder) / "Tavix.ini").string()), QSettings::IniFormat);
    const QString bound = settings.value(QStringLiteral("ComPorts/COM%1").arg(port)).toString();
    return bound.isEmpty() ? rt::DefaultComPortDevice(port) : bound.toStdString();
}

// Ctrl-C (or SIGTERM) stops the downloads one after another, each as its own Ctrl-C would.
void stopChildren(std::vector<Job> &jobs) {
    for (Job &job : jobs)
        if (job.pid > 0 && job.status < 0) ::kill(job.pid, SIGINT);
}

int waitForChildren(std::vector<Job> &jobs) {
    bool stopping = false;
    for (;;) {
        if (g_stop != 0 && !stopping) {
            stopping = true;
            stopChildren(jobs);
        }
        int running = 0;
        for (Job &job : jobs) {
            if (job.pid <= 0 || job.status >= 0) continue;
            int status = 0;
            const pid_t done = ::waitpid(job.pid, &status, WNOHANG);
            if (done == job.pid)
                job.status = WIFEXITED(status) ? WEXITSTATUS(status) : EXIT_INTERRUPTED_BASE + WTERMSIG(status);
            else
                ++running;
        }
        if (running == 0) return 0;
        ::usleep(50 * 1000);
    }
}

// --set-clock: the clock of every logger that was read and is not logging set to the PC's
// time, all at once (set-clock --now, as the command does it); the logger refuses the command
// while it logs, so those are only named.
void setClocks(std::vector<Job> &jobs, const std::string &program) {
    std::vector<pid_t> pids(jobs.size(), -1);
    for (std::size_t k = 0; k < jobs.size(); ++k) {
        const Job &job = jobs[k];
        if (job.status != EXIT_OK && job.status != EXIT_NO_ARCHIVE) continue;
        if (readText(job.work / "out").find("clock offset: ") != std::string::npos) {
            std::printf("%s: the logger is logging; its clock is not set\n", job.port.c_str());
            continue;
        }
        pids[k] = spawnChild({program, "set-clock", "--now", "--no-archive", "--device", job.device},
                             (job.work / "clock.out").string(), (job.work / "clock.err").string());
    }
    for (std::size_t k = 0; k < jobs.size(); ++k) {
        if (pids[k] <= 0) continue;
        int status = 0;
        while (::waitpid(pids[k], &status, 0) < 0 && errno == EINTR) {
        }
        const std::string said =
            readText(jobs[k].work / (WIFEXITED(status) && WEXITSTATUS(status) == 0 ? "clock.out" : "clock.err"));
        std::string first = said.substr(0, said.find('\n'));
        // the set-clock's own words: "Clock set to DATE TIME", or why not
        std::printf("%s: %s\n", jobs[k].port.c_str(), first.empty() ? "the clock could not be set" : first.c_str());
    }
}

// The one word of a verdict the table shows.
std::string verdictWord(const Job &job) {
    if (!job.verdict.empty()) return job.verdict;
    return "-";
}

}   // namespace

int collectCommandAt(int argc, char **argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.rfind("--", 0) != 0) return arg == "collect" ? i : -1;
        bool takesValue = arg == "--device" || arg == "--clock-limit";
        for (const ValueOption &option : kValueOptions) takesValue = takesValue || arg == option.name;
        if (takesValue) ++i;
    }
    return -1;
}

int parseCollectArguments(int argc, char **argv, CollectOptions &options, std::string &error) {
    bool commandSeen = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") return 1;
        if (arg == "collect" && !commandSeen) {
            commandSeen = true;
            continue;
        }
        if (arg == "--clock-limit") {
            const char *value = i + 1 < argc ? argv[++i] : "";
            const char *end = value + std::strlen(value);
            const auto r = std::from_chars(value, end, options.clockLimit);
            if (*value == '\0' || r.ec != std::errc() || r.ptr != end || options.clockLimit < 0) {
                error = std::string("--clock-limit takes seconds from 0, not ") + value;
                return -1;
            }
            continue;
        }
        if (arg == "--set-clock") {
            options.setClock = true;
            continue;
        }
        if (arg == "--all-ports") {
            options.allPorts = true;
            continue;
        }
        const ValueOption *valueOption = nullptr;
        for (const ValueOption &option : kValueOptions)
            if (arg == option.name) valueOption = &option;
        if (arg != "--device" && valueOption == nullptr) {
            error = arg.rfind("--", 0) == 0 ? "unknown option " + arg + " for collect" : "collect takes no word " + arg;
            return -1;
        }
        if (i + 1 >= argc || argv[i + 1][0] == '\0') {
            error = arg + " needs a value";
            return -1;
        }
        const std::string value = argv[++i];
        if (arg == "--device")
            options.devices.push_back(value);
        else
            options.*valueOption->text = value;
    }
    if (!options.portList.empty() && !toPortList(options.portList, options.ports)) {
        error = "--ports takes port numbers from 1 to 16 separated by commas, not " + options.portList;
        return -1;
    }
    if (ways(options) > 1) {
        error = "collect takes --device PATH (repeated), --ports N,M,... or --all-ports: one of them";
        return -1;
    }
    return 0;
}

int readCollectSettings(const std::string &file, bool given, CollectOptions &options, std::string &error) {
    std::error_code ec;
    if (!fs::is_regular_file(file, ec) || ::access(file.c_str(), R_OK) != 0) {
        if (!given) return 0;
        error = "the collect settings cannot be read: " + file;
        return -1;
    }
    QSettings settings(QString::fromStdString(file), QSettings::IniFormat);
    settings.beginGroup(QStringLiteral("Collect"));
    if (settings.status() != QSettings::NoError) {
        error = "the collect settings are not an INI file: " + file;
        return -1;
    }
    // a path in the file is relative to the file's folder
    const fs::path folder = fs::absolute(file, ec).parent_path();
    const auto text = [&settings](const char *key) {
        const QVariant value = settings.value(QString::fromLatin1(key));
        return (value.typeId() == QMetaType::QStringList ? value.toStringList().join(QLatin1Char(','))
                                                         : value.toString())
            .trimmed()
            .toStdString();
    };
    const auto list = [&text](const char *key) {
        std::vector<std::string> items;
        std::stringstream in(text(key));
        for (std::string item; std::getline(in, item, ',');) {
            item.erase(0, item.find_first_not_of(" \t"));
            item.erase(item.find_last_not_of(" \t") + 1);
            if (!item.empty()) items.push_back(item);
        }
        return items;
    };
    // the command line's choices come first
    if (ways(options) == 0) {
        for (const std::string &device : list("Devices")) options.devices.push_back((folder / device).string());
        const std::string ports = text("Ports");
        if (!ports.empty() && !toPortList(ports, options.ports)) {
            error = "Ports in " + file + " takes port numbers from 1 to 16 separated by commas, not " + ports;
            return -1;
        }
        const std::string all = text("AllPorts");
        options.allPorts = all == "yes" || all == "true" || all == "1";
        if (ways(options) > 1) {
            error = file + " names more than one of Devices, Ports and AllPorts";
            return -1;
        }
    }
    if (options.profile.empty()) options.profile = text("Profile");
    if (options.outDir.empty() && !text("OutDir").empty()) options.outDir = (folder / text("OutDir")).string();
    if (options.expected.empty()) options.expected = list("Expected");
    return 0;
}

int collect(const CollectOptions &given, const char *programName) {
    CollectOptions options = given;
    std::error_code ec;
    const std::string folder = programFolder(options);
    const bool settingsGiven = !options.settings.empty();
    const std::string settings = settingsGiven ? options.settings : (fs::path(folder) / COLLECT_SETTINGS_FILE).string();
    if (std::string error; readCollectSettings(settings, settingsGiven, options, error) != 0) {
        std::fprintf(stderr, "tavix-cli: %s\n", error.c_str());
        return EXIT_UNREADABLE;
    }
    if (ways(options) == 0) {
        std::fprintf(stderr,
                     "tavix-cli: collect needs --device PATH, --ports N,M,... or --all-ports, or a %s naming "
                     "them (see --help)\n",
                     settings.c_str());
        return EXIT_USAGE;
    }
    const std::string archive = options.archive.empty() ? (fs::path(folder) / ARCHIVE_FILE_NAME).string()
                                                        : fs::absolute(options.archive, ec).lexically_normal().string();
    const fs::path outDir = fs::absolute(options.outDir.empty() ? "." : options.outDir, ec).lexically_normal();
    fs::create_directories(outDir, ec);
    fs::create_directories(fs::path(archive).parent_path(), ec);
    if (!fs::is_directory(outDir)) {
        std::fprintf(stderr, "tavix-cli: the output folder cannot be made: %s\n", outDir.c_str());
        return EXIT_NOT_WRITTEN;
    }
    // the children's outputs, until their files are named
    std::string pattern = (fs::temp_directory_path(ec) / "tavix-collect-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        std::fprintf(stderr, "tavix-cli: cannot make a temporary folder\n");
        return EXIT_NO_START;
    }
    const fs::path workDir = pattern;

    std::vector<Job> jobs;
    for (const std::string &device : options.devices)
        jobs.push_back(jobFor(device, fs::absolute(device, ec).lexically_normal().string()));
    std::vector<int> ports = options.ports;
    if (options.allPorts)
        for (int port = 1; port <= MAX_COM_PORT; ++port) ports.push_back(port);
    for (const int port : ports) jobs.push_back(jobFor(std::to_string(port), deviceOfPort(folder, port)));
    // --all-ports searches: a port whose device does not exist has no logger to ask
    if (options.allPorts)
        jobs.erase(std::remove_if(jobs.begin(), jobs.end(), [](const Job &job) { return !fs::exists(job.device); }),
                   jobs.end());

    struct sigaction stop {};
    stop.sa_handler = onStop;
    sigemptyset(&stop.sa_mask);
    ::sigaction(SIGINT, &stop, nullptr);
    ::sigaction(SIGTERM, &stop, nullptr);

    // The archive is made and brought up to date here, once: downloads that all found no
    // archive would each make its schema, and one of them lose that race.
    if (std::string why; !openArchive(archive, why))
        std::fprintf(stderr, "tavix-cli: the archive cannot be opened: %s (%s)\n", archive.c_str(), why.c_str());
    closeArchive();

    const std::string self = fs::read_symlink("/proc/self/exe", ec).string();
    const std::string program = self.empty() ? std::string(programName) : self;
    for (std::size_t k = 0; k < jobs.size() && g_stop == 0; ++k) {
        Job &job = jobs[k];
        job.work = workDir / ("port-" + std::to_string(k + 1));
        fs::create_directories(job.work, ec);
        std::vector<std::string> args = {program,    "download",  "--keep-on-stop", "--device",
                                         job.device, "--archive", archive,          (job.work / "data.txt").string()};
        job.pid = spawnChild(args, (job.work / "out").string(), (job.work / "err").string());
        if (job.pid < 0) job.status = EXIT_NO_START;
    }
    waitForChildren(jobs);
    if (options.setClock && g_stop == 0) setClocks(jobs, program);

    // the verdicts, the loggers and their first records, in one run of summary
    std::vector<std::string> judged = {program, "summary", "--json"};
    if (!options.appDir.empty()) judged.insert(judged.end(), {"--app-dir", folder});
    if (!options.profile.empty()) judged.insert(judged.end(), {"--profile", options.profile});
    std::vector<Job *> saved;
    for (Job &job : jobs) {
        const std::string out = readText(job.work / "out");
        job.records = recordsSaved(out);
        if (const std::size_t at = out.find("clock offset: "); at != std::string::npos) {
            long long offset = 0;
            const char *begin = out.data() + at + 14 + (out[at + 14] == '+' ? 1 : 0);
            if (std::from_chars(begin, out.data() + out.size(), offset).ec == std::errc()) {
                job.clock = (offset >= 0 ? "+" : "") + std::to_string(offset) + "s";
                if (offset > options.clockLimit || offset < -options.clockLimit)
                    std::fprintf(stderr, "tavix-cli: the clock of the logger on %s is %s off (limit %ds)\n",
                                 job.port.c_str(), job.clock.c_str(), options.clockLimit);
            }
        }
        if (job.records >= 0 && fs::exists(job.work / "data.txt")) {
            saved.push_back(&job);
            judged.push_back((job.work / "data.txt").string());
        }
    }
    int judgement = EXIT_OK;
    if (!saved.empty()) {
        const pid_t pid = spawnChild(judged, (workDir / "summary.out").string(), (workDir / "summary.err").string());
        int status = 0;
        while (pid > 0 && ::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
        judgement = pid > 0 && WIFEXITED(status) ? WEXITSTATUS(status) : EXIT_NO_START;
        for (const std::string &line : [&] {
                 std::vector<std::string> lines;
                 std::stringstream in(readText(workDir / "summary.out"));
                 for (std::string l; std::getline(in, l);) lines.push_back(l);
                 return lines;
             }()) {
            const std::string file = jsonField(line, "file");
            for (Job *job : saved)
                if (file == (job->work / "data.txt").string()) {
                    job->id = jsonField(line, "id");
                    job->first = jsonField(line, "first");
                    job->verdict = jsonField(line, "verdict");
                }
        }
        const std::string said = readText(workDir / "summary.err");
        if (judgement != EXIT_OK && judgement != EXIT_FAIL) std::fputs(said.c_str(), stderr);
    }

    // the files under their names, never one replacing another
    int result = EXIT_OK;
    for (Job *job : saved) {
        if (job->verdict.empty()) namesFromFile(*job);
        job->file = keepAs(job->work / "data.txt", outDir, fileStem(*job));
        if (job->file.empty()) {
            // the records are not lost with the temporary folder: it stays
            std::fprintf(stderr, "tavix-cli: the data file of port %s cannot be kept in %s; it stays as %s\n",
                         job->port.c_str(), outDir.c_str(), (job->work / "data.txt").c_str());
            result = std::max(result, int(EXIT_NOT_WRITTEN));
        }
    }

    // what the downloads said, each under its port
    for (const Job &job : jobs) {
        // what the archive did, from the download's own report
        std::stringstream out(readText(job.work / "out"));
        for (std::string line; std::getline(out, line);)
            if (line.find("archive") != std::string::npos)
                std::fprintf(stderr, "[%s] %s\n", job.port.c_str(), line.c_str());
        std::stringstream err(readText(job.work / "err"));
        for (std::string line; std::getline(err, line);)
            // the progress and the temporary file's name say nothing once the batch is done
            if (!line.empty() && line.find('\r') == std::string::npos && line.rfind("Downloading:", 0) != 0 &&
                line.find(job.work.string()) == std::string::npos)
                std::fprintf(stderr, "[%s] %s\n", job.port.c_str(), line.c_str());
    }

    // the table
    std::printf("%-12s %-12s %8s  %-8s  %-7s  %s\n", "port", "logger", "records", "complete", "verdict", "clock");
    for (const Job &job : jobs) {
        const bool answered = job.status != EXIT_NO_LOGGER && job.status != EXIT_NO_START;
        if (!answered && options.allPorts) continue;   // a port searched without a logger: no fault
        const std::string logger = !answered ? std::string("-") : job.id.empty() ? std::string("?") : job.id;
        const std::string records = job.records < 0 ? std::string("-") : std::to_string(job.records);
        const char *complete = !answered                                                ? "no logger"
                               : job.status == EXIT_OK || job.status == EXIT_NO_ARCHIVE ? "yes"
                                                                                        : "no";
        std::printf("%-12s %-12s %8s  %-8s  %-7s  %s", job.port.c_str(), logger.c_str(), records.c_str(), complete,
                    verdictWord(job).c_str(), job.clock.empty() ? "-" : job.clock.c_str());
        if (!job.file.empty()) std::printf("  %s", job.file.c_str());
        std::printf("\n");
    }
    // the loggers expected that did not answer
    std::vector<std::string> missing;
    for (const std::string &id : options.expected)
        if (std::none_of(jobs.begin(), jobs.end(), [&id](const Job &job) { return job.id == id; })) {
            missing.push_back(id);
            std::printf("%-12s %-12s %8s  %-8s  %-7s  %s\n", "-", id.c_str(), "-", "no data", "-", "-");
        }
    std::fflush(stdout);
    if (result == EXIT_OK) fs::remove_all(workDir, ec);

    if (g_stop != 0) {
        std::fprintf(stderr, "tavix-cli: interrupted\n");
        return EXIT_INTERRUPTED_BASE + g_stop;
    }
    // a port named that has no logger, an incomplete download, the archive, a verdict FAIL
    auto any = [&jobs](int status) {
        return std::any_of(jobs.begin(), jobs.end(), [status](const Job &job) { return job.status == status; });
    };
    const bool searched = options.allPorts;
    if (!searched && (any(EXIT_NO_LOGGER) || any(EXIT_NO_START))) return EXIT_NO_LOGGER;
    if (!missing.empty()) return EXIT_NO_LOGGER;
    if (searched && std::none_of(jobs.begin(), jobs.end(), [](const Job &job) { return job.records >= 0; }))
        return EXIT_NO_LOGGER;
    for (const Job &job : jobs)
        if (job.status != EXIT_OK && job.status != EXIT_NO_LOGGER && job.status != EXIT_NO_ARCHIVE &&
            job.status != EXIT_NO_START)
            return EXIT_INCOMPLETE;
    if (any(EXIT_NO_ARCHIVE)) return EXIT_NO_ARCHIVE;
    if (result != EXIT_OK) return result;
    if (judgement == EXIT_FAIL) return EXIT_FAIL;
    return judgement == EXIT_OK ? EXIT_OK : judgement;
}

}   // namespace cli
