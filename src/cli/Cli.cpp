#include "cli/Cli.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <vector>

#include "app/Tavix.h"
#include "files/DataFile.h"
#include "link/Link.h"
#include "local/Texts.h"
#include "model/Clock.h"
#include "model/Models.h"
#include "model/Records.h"
#include "panels/Panels.h"
#include "runtime/agent.h"
#include "runtime/folder.h"
#include "runtime/inspect.h"
#include "runtime/serial.h"
#include "runtime/ui.h"

namespace cli {

const char USAGE[] =
    "Usage: tavix-cli [--app-dir DIR] [--port N | --device PATH] identify\n"
    "       tavix-cli [--app-dir DIR] [--port N | --device PATH] download FILE [--chart FILE.png]\n"
    "\n"
    "Tavix without windows. It talks to the logger exactly as the program does and prints\n"
    "every message the program would have shown on standard error, as \"title: text\".\n"
    "\n"
    "Commands\n"
    "  identify            print the logger's identifier, model name and index, firmware\n"
    "                      version, readings held, interval, unit, time of the first record\n"
    "                      and logging status\n"
    "  download FILE       download every record as the Start button does, with a progress\n"
    "                      bar on standard error (on a terminal; otherwise a line every\n"
    "                      10 %), and save them to FILE as Save File does (the same file;\n"
    "                      an existing FILE is replaced). An incomplete download never\n"
    "                      replaces a file: when FILE exists, what arrived goes to\n"
    "                      NAME.partial.txt beside it. FILE (and the picture) must be\n"
    "                      writable before anything is sent to the logger.\n"
    "    --chart FILE.png  also write a picture of the main chart (an existing picture\n"
    "                      is kept after an incomplete download: NAME.partial.png)\n"
    "\n"
    "Options\n"
    "  --app-dir DIR       the program's folder: preferences (localORM.ini), language files\n"
    "                      and Tavix.ini (communication settings, port bindings). Default: a\n"
    "                      fresh temporary folder with the shipped preference and language\n"
    "                      files, removed at the end, so your own settings are never touched.\n"
    "  --port N            use port number N (2 to 16: COM2-COM4 /dev/ttyS1-3, COM5-COM12\n"
    "                      /dev/ttyUSB0-7, COM13-COM16 /dev/ttyACM0-3, or what N is bound to)\n"
    "  --device PATH       bind a port number (N of --port, else 16) to the device PATH,\n"
    "                      e.g. /dev/ttyUSB0, /dev/serial/by-id/... or a pseudo-terminal,\n"
    "                      and use it\n"
    "  --help              show this text\n"
    "\n"
    "The port chosen and a binding are kept in DIR's Tavix.ini, where the program finds them\n"
    "too. Without --port and --device the port named there is used. tavix-cli never searches\n"
    "for the port: port 1 stands for \"not chosen yet\"; reach /dev/ttyS0 with --device.\n"
    "\n"
    "Exit status\n"
    "  0  success\n"
    "  1  no logger answers (or its port cannot be opened)\n"
    "  2  bad command line\n"
    "  3  the download is incomplete (the records that did arrive are saved all the same)\n"
    "  4  the data file or the picture cannot be written\n"
    "  5  the program cannot start\n"
    "  130, 143  interrupted (Ctrl-C, SIGTERM): nothing is saved, the temporary folder goes\n";

namespace {

constexpr int kIdentityWaitMs = 8000;   // the logger must have told who it is by then
constexpr int kStatusWaitMs = 8000;     // then its memory, schedule and status
constexpr int kLookMs = 50;             // how often the event loop is looked at
constexpr int kChartWidth = 830;        // the main window's chart
constexpr int kChartHeight = 430;
constexpr int kBarWidth = 30;

// ---------------------------------------------------------------- what the user would see

bool g_barShown = false;     // the progress bar is the last thing on its line
int g_tenthShown = -1;       // the last tenth of a download reported off a terminal
// The signal that asked the tool to stop (SIGINT, SIGTERM), 0 while none has.
volatile std::sig_atomic_t g_signal = 0;
std::string g_fileAnswer;    // what the file dialog is answered with

void endBarLine() {
    if (!g_barShown) return;
    std::fputc('\n', stderr);
    g_barShown = false;
}

void echo(const rt::ScriptedAgent::Shown &shown) {
    endBarLine();
    const std::string &text = shown.kind == "file" ? g_fileAnswer : shown.text;
    std::fprintf(stderr, "%s: %s\n", shown.title.c_str(), text.c_str());
    std::fflush(stderr);
}

// The progress of a download: a bar redrawn in place on a terminal; elsewhere (a log, a pipe)
// one line every 10 %.
void showProgress(int records, int expected) {
    if (!isatty(fileno(stderr))) {
        const int tenth = expected > 0 ? std::clamp(records * 10 / expected, 0, 10) : 0;
        if (tenth == g_tenthShown) return;
        g_tenthShown = tenth;
        std::fprintf(stderr, "Downloading: %3d %% (%d/%d records)\n", tenth * 10, records, expected);
        std::fflush(stderr);
        return;
    }
    const int filled = expected > 0 ? std::clamp(records * kBarWidth / expected, 0, kBarWidth) : 0;
    const std::string bar = std::string(filled, '#') + std::string(kBarWidth - filled, '.');
    std::fprintf(stderr, "\rDownloading [%s] %d/%d records", bar.c_str(), records, expected);
    std::fflush(stderr);
    g_barShown = true;
}

// ---------------------------------------------------------------- the program's folder

// Copy the shipped preference and language files from beside the executable (or from the
// shared data folder of an installation) into dir.
void seedFolder(const QString &dir) {
    const QString exe = QCoreApplication::applicationDirPath();
    for (const QString &from : {exe, exe + "/../share/tavix"}) {
        const QDir source(from);
        if (!source.exists(QStringLiteral("localORM.ini"))) continue;
        for (const QString &name : source.entryList({"*.ini"}, QDir::Files | QDir::Readable)) {
            if (name.startsWith(QStringLiteral("Tavix"), Qt::CaseInsensitive)) continue;   // state, settings
            QFile::copy(source.filePath(name), dir + "/" + name);
        }
        return;
    }
}

// The port the program opens. --device binds a port number (--port, else 16) to the path; the
// state file then names that port, so start-up never runs the port detection (which it does
// for port 1). The other communication settings stay as the state file has them.
bool choosePort(const Options &options) {
    int port = options.port;
    if (!options.device.empty()) {
        if (port == 0) port = DEVICE_PORT;
        if (rt::BindComPort(port, options.device) < 0) {
            std::fprintf(stderr, "tavix-cli: cannot keep the binding in %s\n", TAVIX_STATE_FILE);
            return false;
        }
    }
    const int panel = LoadPanel(0, SETTING);
    if (panel < 0) return false;
    if (RecallPanelState(panel, TAVIX_STATE_FILE, COMM_SETTINGS_STATE) < 0) showDefaultCommSettings(panel);
    if (port != 0)
        SetCtrlVal(panel, SETTING_PORT, port);
    else
        GetCtrlVal(panel, SETTING_PORT, &port);
    const bool ok = port > PORT_NOT_CHOSEN && SavePanelState(panel, TAVIX_STATE_FILE, COMM_SETTINGS_STATE) >= 0;
    DiscardPanel(panel);
    if (port <= PORT_NOT_CHOSEN)
        std::fprintf(stderr, "tavix-cli: no port chosen: give --port N or --device PATH (see --help)\n");
    else if (!ok)
        std::fprintf(stderr, "tavix-cli: cannot write %s\n", TAVIX_STATE_FILE);
    return ok;
}

// ---------------------------------------------------------------- the event loop

// Run the event loop (the main window's timer, the serial notifications, the pop-ups' echo)
// until done() holds; false when limitMs (0 = no limit) passed first. look() runs every time
// the loop is looked at. A signal to stop ends the loop too (false).
bool runUntil(const std::function<bool()> &done, int limitMs, const std::function<void()> &look = {}) {
    if (done()) return true;
    QElapsedTimer clock;
    clock.start();
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (look) look();
        if (done())
            QuitUserInterface(0);
        else if (g_signal != 0 || (limitMs > 0 && clock.elapsed() >= limitMs))
            QuitUserInterface(1);
    });
    watch.start(kLookMs);
    return RunUserInterface() == 0;
}

int noLogger() {
    if (g_signal != 0) return EXIT_INTERRUPTED;
    endBarLine();
    std::fprintf(stderr, "tavix-cli: %s\n", warn2);
    return EXIT_NO_LOGGER;
}

// The timer asks "I", "M" and "t" by itself until the logger is known; wait for that.
int waitForLogger() {
    if (GetInQLen(portNo) < 0) return noLogger();   // the port did not open (warn1 was shown)
    if (!runUntil([] { return (gFlag & GFLAG_ID_KNOWN) != 0; }, kIdentityWaitMs)) return noLogger();
    if (!runUntil([] { return (gFlag & GFLAG_STATUS_APPLIED) != 0; }, kStatusWaitMs)) return noLogger();
    return EXIT_OK;
}

// ---------------------------------------------------------------- commands

int identify() {
    if (const int result = waitForLogger(); result != EXIT_OK) return result;
    const ModelRow *row = modelRow(currDeviceId);
    const char *model = eDeviceName[0] ? eDeviceName : row && row->identifiers[0] ? row->identifiers[0] : "?";
    char version[16] = "";
    const auto converted = std::to_chars(version, version + sizeof version - 1, eVersion);
    *converted.ptr = '\0';
    char date[11], time[9];
    cRtc2Rtc(eSampleTime, date, time);
    const char *logging = loggerStatus == 1 ? "yes" : loggerStatus < 0 ? "unknown (no answer)" : "no";

    std::printf("Identifier:    %s\n", eId);
    std::printf("Model:         %s (index %d)\n", model, currDeviceId);
    std::printf("Firmware:      %s\n", version);
    std::printf("Readings held: %d\n", eLength);
    std::printf("Interval:      %02d:%02d:%02d\n", eSampleRate / 3600, eSampleRate % 3600 / 60, eSampleRate % 60);
    std::printf("Unit:          %c\n", eUnit);
    std::printf("First record:  %s %s\n", date, time);
    std::printf("Logging:       %s\n", logging);
    return EXIT_OK;
}

// Save File, as the user clicks it: the file dialog is answered with path, replacing an
// existing file is confirmed.
int saveFile(const std::string &path, rt::ScriptedAgent &agent) {
    g_fileAnswer = path;
    agent.fileAnswers = {path};
    agent.confirmAnswers = {true};
    const std::size_t before = agent.shown.size();
    rt::FireCtrlEvent(idMonitor, MONITOR_MENU2, EVENT_COMMIT);
    for (std::size_t k = before; k < agent.shown.size(); ++k)
        if (agent.shown[k].kind == "message" && agent.shown[k].title == warn6) return EXIT_NOT_WRITTEN;
    if (path != fileName) {   // the dialog refused the path (too long): nothing was written
        std::fprintf(stderr, "%s: %s\n", warn6, path.c_str());
        return EXIT_NOT_WRITTEN;
    }
    return EXIT_OK;
}

// ---------------------------------------------------------------- outputs

// Whether Save File (or the picture) can write path: a new file is made beside the target and
// renamed over it, and a symbolic link is followed to the file it names. So the folder must
// exist and take new files, and an existing target must be a plain file. Empty when it can,
// else why not.
std::string whyNotWritable(const std::string &path) {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::path target = fs::weakly_canonical(fs::path(path), ec);
    if (ec) target = path;
    const fs::file_status status = fs::status(target, ec);
    if (fs::exists(status) && !fs::is_regular_file(status)) return "not a plain file";
    const fs::path folder = target.parent_path();
    if (!fs::is_directory(folder, ec)) return "no such folder";
    if (::access(folder.c_str(), W_OK | X_OK) != 0) return "the folder is not writable";
    return {};
}

// Check every output before the download starts; EXIT_OK or EXIT_NOT_WRITTEN (said).
int checkOutputs(const Options &options) {
    for (const std::string *path : {&options.file, &options.chart}) {
        if (path->empty()) continue;
        const std::string why = whyNotWritable(*path);
        if (why.empty()) continue;
        std::fprintf(stderr, "%s: %s (%s)\n", warn6, path->c_str(), why.c_str());   // "cannot be written"
        return EXIT_NOT_WRITTEN;
    }
    return EXIT_OK;
}

// Where an incomplete download goes: the file itself when there is none yet, otherwise
// NAME.partial.EXT beside it, so that a good file is never replaced by a broken one.
std::string incompleteOutput(const std::string &path) {
    namespace fs = std::filesystem;
    std::error_code ec;
    if (!fs::exists(fs::symlink_status(path, ec))) return path;
    fs::path partial = path;
    const std::string extension = partial.extension().string();
    partial.replace_extension(".partial" + extension);
    return partial.string();
}

int download(const Options &options, rt::ScriptedAgent &agent) {
    // 1. nothing is sent before every output is known to be writable
    if (const int result = checkOutputs(options); result != EXIT_OK) return result;
    if (const int result = waitForLogger(); result != EXIT_OK) return result;

    // 2. Start, as the user presses it once the program has finished talking to the logger
    if (!runUntil([] { return sendCmdChar == 0; }, kStatusWaitMs)) return g_signal ? EXIT_INTERRUPTED : noLogger();
    rt::FireCtrlEvent(idMonitor, MONITOR_START_BUTTON, EVENT_COMMIT);
    int shown = -1;
    g_tenthShown = -1;
    auto progress = [&shown] {
        if (loggedLength == shown) return;
        shown = loggedLength;
        showProgress(loggedLength, readingsToRecords(currDeviceId, eLength));
    };
    runUntil([] { return fDownloadNow == 0; }, 0, progress);
    if (g_signal != 0) return EXIT_INTERRUPTED;
    progress();
    endBarLine();
    // A complete download (or one the user stopped) leaves the data marked as not yet saved;
    // an incomplete one has shown warn8, or the port's loss.
    const bool complete = (gFlag & GFLAG_NOT_SAVED) != 0;

    // 3. the outputs; an incomplete download keeps existing files as they are
    const std::string file = complete ? options.file : incompleteOutput(options.file);
    const std::string chart = complete || options.chart.empty() ? options.chart : incompleteOutput(options.chart);
    if (const int result = saveFile(file, agent); result != EXIT_OK) return result;
    std::printf("%d records saved to %s\n", loggedLength, file.c_str());
    if (!chart.empty()) {
        if (rt::SaveGraphImage(idMonitor, MONITOR_GRAPH, chart.c_str(), kChartWidth, kChartHeight) != 0) {
            std::fprintf(stderr, "tavix-cli: the picture cannot be written: %s\n", chart.c_str());
            return EXIT_NOT_WRITTEN;
        }
        std::printf("chart saved to %s\n", chart.c_str());
    }
    if (complete) return EXIT_OK;
    for (const auto &[kept, written] : {std::pair{&options.file, &file}, std::pair{&options.chart, &chart}})
        if (*kept != *written)
            std::fprintf(stderr, "tavix-cli: the download is incomplete: %s is kept as it was\n", kept->c_str());
    return EXIT_INCOMPLETE;
}

bool toPort(const char *text, int &port) {
    const char *end = text + std::strlen(text);
    const auto r = std::from_chars(text, end, port);
    return r.ec == std::errc() && r.ptr == end && port > PORT_NOT_CHOSEN && port <= MAX_COM_PORT;
}

}  // namespace

int parseArguments(int argc, char **argv, Options &options, std::string &error) {
    std::vector<std::string> words;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") return 1;
        if (arg.rfind("--", 0) != 0) {
            words.push_back(arg);
            continue;
        }
        if (arg != "--app-dir" && arg != "--port" && arg != "--device" && arg != "--chart") {
            error = "unknown option " + arg;
            return -1;
        }
        if (i + 1 >= argc || argv[i + 1][0] == '\0') {
            error = arg + " needs a value";
            return -1;
        }
        const char *value = argv[++i];
        if (arg == "--app-dir") {
            options.appDir = value;
        } else if (arg == "--device") {
            options.device = value;
        } else if (arg == "--chart") {
            options.chart = value;
        } else if (!toPort(value, options.port)) {
            error = std::string("--port takes a number from 2 to 16, not ") + value;
            return -1;
        }
    }
    if (words.empty()) {
        error = "no command given";
        return -1;
    }
    options.command = words[0];
    if (options.command == "identify" && words.size() == 1 && options.chart.empty()) return 0;
    if (options.command == "download" && words.size() == 2) {
        options.file = words[1];
        return 0;
    }
    if (options.command != "identify" && options.command != "download")
        error = "unknown command " + options.command;
    else if (options.command == "identify")
        error = words.size() > 1 ? "identify takes no file" : "--chart belongs to download";
    else
        error = "download takes one FILE";
    return -1;
}

namespace {

extern "C" void onStopSignal(int signal) { g_signal = signal; }

// Ctrl-C and SIGTERM end the tool in an orderly way: the event loop stops, nothing more is
// saved and the temporary program folder is removed. A second one ends it at once.
void catchStopSignals() {
    struct sigaction action {};
    action.sa_handler = onStopSignal;
    action.sa_flags = SA_RESETHAND;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

}  // namespace

int run(const Options &given, const char *programName) {
    catchStopSignals();
    // Files named on the command line are relative to where the tool was started; the program
    // works in its own folder.
    Options options = given;
    namespace fs = std::filesystem;
    std::error_code ec;
    if (!options.file.empty()) options.file = fs::absolute(options.file, ec).lexically_normal().string();
    if (!options.chart.empty()) options.chart = fs::absolute(options.chart, ec).lexically_normal().string();
    if (!options.device.empty() && fs::path(options.device).is_relative())
        options.device = fs::absolute(options.device, ec).lexically_normal().string();

    // The windows are made but never shown.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    char *args[] = {const_cast<char *>(programName), nullptr};
    if (InitRunTime(1, args) < 0) {
        std::fprintf(stderr, "tavix-cli: the run-time cannot start\n");
        return EXIT_NO_START;
    }
    std::unique_ptr<QTemporaryDir> temporary;
    std::string folder = options.appDir;
    if (folder.empty()) {
        temporary = std::make_unique<QTemporaryDir>(QDir::tempPath() + "/tavix-cli-XXXXXX");
        if (!temporary->isValid()) {
            std::fprintf(stderr, "tavix-cli: cannot make a temporary folder\n");
            return EXIT_NO_START;
        }
        seedFolder(temporary->path());
        folder = temporary->path().toStdString();
    }
    folder = rt::ChooseProgramFolder(folder.c_str());
    if (folder.empty()) {
        std::fprintf(stderr, "tavix-cli: cannot work in the folder %s\n", options.appDir.c_str());
        return EXIT_NO_START;
    }
    RegisterLayouts();
    if (!choosePort(options)) return options.port == 0 && options.device.empty() ? EXIT_USAGE : EXIT_NO_START;

    rt::ScriptedAgent agent;
    agent.echo = echo;
    agent.defaultConfirm = true;
    rt::SetUserAgent(&agent);
    int result = EXIT_NO_START;
    if (tavixStart(1, args, folder.c_str()) == 0)
        result = options.command == "identify" ? identify() : download(options, agent);
    else
        std::fprintf(stderr, "tavix-cli: the program cannot start\n");
    tavixStop();
    rt::SetUserAgent(nullptr);
    std::fflush(stdout);
    if (g_signal != 0) {
        std::fprintf(stderr, "tavix-cli: interrupted\n");
        result = EXIT_INTERRUPTED_BASE + g_signal;
    }
    return result;
}

}  // namespace cli
