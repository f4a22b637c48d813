// What the commands of tavix-cli share: the command line and its help, the program's folder,
// the stop signals, the console and the event loop.
#include "cli/Common.h"

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
#include <vector>

#include "app/Tavix.h"
#include "link/Link.h"
#include "local/Texts.h"
#include "panels/Panels.h"
#include "runtime/folder.h"
#include "runtime/serial.h"
#include "runtime/ui.h"

namespace cli {

namespace {

constexpr int kLookMs = 50;          // how often the event loop is looked at
constexpr int kBarWidth = 30;        // characters of the progress bar
constexpr int kProgressSteps = 10;   // off a terminal, a line every tenth of the download

// ---------------------------------------------------------------- state of one run

// The signal that asked the tool to stop (SIGINT, SIGTERM), 0 while none has.
volatile std::sig_atomic_t g_signal = 0;
bool g_barShown = false;    // the progress bar is the last thing on its line
int g_tenthShown = -1;      // the last tenth of a download reported off a terminal
std::string g_fileAnswer;   // what the file dialog is answered with

extern "C" void onStopSignal(int signal) { g_signal = signal; }

bool toPort(const char *text, int &port) {
    const char *end = text + std::strlen(text);
    const auto r = std::from_chars(text, end, port);
    return r.ec == std::errc() && r.ptr == end && port > PORT_NOT_CHOSEN && port <= MAX_COM_PORT;
}

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

// The commands that read words and options of their own (Options::args), each with the check
// of them that runs before the program starts.
struct OwnArguments {
    const char *command;
    bool (*check)(const std::vector<std::string> &args, std::string &error);
};
constexpr OwnArguments kOwnArguments[] = {
    {"set-clock", checkSetClockArguments},
    {"set-id", checkSetIdArguments},
    {"sleep", checkSleepArguments},
    {"calibration", checkCalibrationArguments},
};

const OwnArguments *ownArguments(const std::string &command) {
    for (const OwnArguments &own : kOwnArguments)
        if (command == own.command) return &own;
    return nullptr;
}

bool isToolOption(const std::string &arg) {
    return arg == "--app-dir" || arg == "--port" || arg == "--device" || arg == "--chart";
}

}   // namespace

// ---------------------------------------------------------------- the command line

const char USAGE[] =
    "Usage: tavix-cli [--app-dir DIR] [--port N | --device PATH] identify\n"
    "       tavix-cli [--app-dir DIR] [--port N | --device PATH] download FILE [--chart FILE.png]\n"
    "       tavix-cli [--app-dir DIR] [--port N | --device PATH] set-clock [--now | \"DATE TIME\"]\n"
    "       tavix-cli [--app-dir DIR] [--port N | --device PATH] set-id TEXT [--sleep on|off]\n"
    "       tavix-cli [--app-dir DIR] [--port N | --device PATH] sleep on|off\n"
    "       tavix-cli [--app-dir DIR] [--port N | --device PATH] calibration\n"
    "                 [--set P1 P2 P3 | --set-rh Z S]\n"
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
    "  set-clock           set the logger's clock to the PC's date and time (--now, the\n"
    "                      default) or to \"DATE TIME\": the date in the date format of the\n"
    "                      preferences (localORM.ini; shipped: YYYY-MM-DD), the time HH:MM:SS\n"
    "  set-id TEXT         set the logger's identifier: at most 10 letters, digits or signs,\n"
    "                      no spaces. It goes out with the sleep mode, which is off unless\n"
    "                      --sleep on is given (the logger does not tell its sleep mode)\n"
    "  sleep on|off        set the sleep mode; the identifier stays as the logger reported it\n"
    "  calibration         print the calibration of a logger that has one (five points, or\n"
    "                      the humidity values Z and S)\n"
    "    --set P1 P2 P3    write the three temperature points (the outer two follow from\n"
    "                      them), read them back and compare\n"
    "    --set-rh Z S      write the humidity values (Z 0 or below, S from 2 to 15), read\n"
    "                      them back and compare\n"
    "  These work as the logger-settings window and the calibration windows do, with the\n"
    "  same checks and messages: input they refuse is never sent, and while the logger\n"
    "  is logging they offer none of these.\n"
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
    "  7  the input is refused by the window's own checks (or the logger is logging);\n"
    "     nothing was sent\n"
    "  8  the logger did not answer a command\n"
    "  9  the calibration read back differs from what was written\n"
    "  10 the logger's model does not support the command\n"
    "  130, 143  interrupted (Ctrl-C, SIGTERM): nothing is saved, the temporary folder goes\n";

int parseArguments(int argc, char **argv, Options &options, std::string &error) {
    std::vector<std::string> words;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") return 1;
        // after the name of a command that reads its own options, they are its words
        const bool own = !words.empty() && ownArguments(words[0]) != nullptr && !isToolOption(arg);
        if (arg.rfind("--", 0) != 0 || own) {
            words.push_back(arg);
            continue;
        }
        if (!isToolOption(arg)) {
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
    if (const OwnArguments *own = ownArguments(options.command)) {
        if (!options.chart.empty()) {
            error = "--chart belongs to download";
            return -1;
        }
        options.args.assign(words.begin() + 1, words.end());
        return own->check(options.args, error) ? 0 : -1;
    }
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

Options withAbsolutePaths(const Options &given) {
    Options options = given;
    namespace fs = std::filesystem;
    std::error_code ec;
    if (!options.file.empty()) options.file = fs::absolute(options.file, ec).lexically_normal().string();
    if (!options.chart.empty()) options.chart = fs::absolute(options.chart, ec).lexically_normal().string();
    if (!options.device.empty() && fs::path(options.device).is_relative())
        options.device = fs::absolute(options.device, ec).lexically_normal().string();
    return options;
}

// ---------------------------------------------------------------- the program's folder

std::string prepareProgramFolder(const Options &options, std::unique_ptr<QTemporaryDir> &temporary) {
    std::string folder = options.appDir;
    if (folder.empty()) {
        temporary = std::make_unique<QTemporaryDir>(QDir::tempPath() + "/tavix-cli-XXXXXX");
        if (!temporary->isValid()) {
            std::fprintf(stderr, "tavix-cli: cannot make a temporary folder\n");
            return {};
        }
        seedFolder(temporary->path());
        folder = temporary->path().toStdString();
    }
    folder = rt::ChooseProgramFolder(folder.c_str());
    if (folder.empty()) std::fprintf(stderr, "tavix-cli: cannot work in the folder %s\n", options.appDir.c_str());
    return folder;
}

// The state file then names the port, so start-up never runs the port detection (which it
// does for a port not chosen yet). The other communication settings stay as the state file
// has them.
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

// ---------------------------------------------------------------- stop signals

void catchStopSignals() {
    struct sigaction action {};
    action.sa_handler = onStopSignal;
    action.sa_flags = SA_RESETHAND;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

int stopSignal() { return g_signal; }

// ---------------------------------------------------------------- the console

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

void showFileAnswer(const std::string &path) { g_fileAnswer = path; }

void startProgress() { g_tenthShown = -1; }

void showProgress(int records, int expected) {
    if (!isatty(fileno(stderr))) {
        const int tenth = expected > 0 ? std::clamp(records * kProgressSteps / expected, 0, kProgressSteps) : 0;
        if (tenth == g_tenthShown) return;
        g_tenthShown = tenth;
        std::fprintf(stderr, "Downloading: %3d %% (%d/%d records)\n", tenth * 100 / kProgressSteps, records, expected);
        std::fflush(stderr);
        return;
    }
    const int filled = expected > 0 ? std::clamp(records * kBarWidth / expected, 0, kBarWidth) : 0;
    const std::string bar = std::string(filled, '#') + std::string(kBarWidth - filled, '.');
    std::fprintf(stderr, "\rDownloading [%s] %d/%d records", bar.c_str(), records, expected);
    std::fflush(stderr);
    g_barShown = true;
}

// ---------------------------------------------------------------- the event loop

bool runUntil(const std::function<bool()> &done, int limitMs, const std::function<void()> &look) {
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
    std::fprintf(stderr, "tavix-cli: %s\n", warn2);   // "no logger answers"
    return EXIT_NO_LOGGER;
}

int waitForLogger() {
    if (GetInQLen(portNo) < 0) return noLogger();   // the port did not open: warn1, "cannot be opened", was shown
    if (!runUntil([] { return (gFlag & GFLAG_ID_KNOWN) != 0; }, IDENTITY_WAIT_MS)) return noLogger();
    if (!runUntil([] { return (gFlag & GFLAG_STATUS_APPLIED) != 0; }, STATUS_WAIT_MS)) return noLogger();
    return EXIT_OK;
}

}   // namespace cli
