// What the commands of tavix-cli share: the command line and its help, the program's folder,
// the stop signals, the console and the event loop.
#include "cli/Common.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <strings.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <vector>

#include "app/Tavix.h"
#include "files/DataFile.h"
#include "link/Link.h"
#include "local/Texts.h"
#include "panels/Panels.h"
#include "runtime/folder.h"
#include "runtime/inspect.h"
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
bool g_barShown = false;     // the progress bar is the last thing on its line
int g_tenthShown = -1;       // the last tenth of a download reported off a terminal
std::string g_fileAnswer;    // what the file dialog is answered with
bool g_portUnused = false;   // the command talks to no logger: the port's failure is not news

extern "C" void onStopSignal(int signal) { g_signal = signal; }

bool toPort(const char *text, int &port) {
    const char *end = text + std::strlen(text);
    const auto r = std::from_chars(text, end, port);
    return r.ec == std::errc() && r.ptr == end && port > PORT_NOT_CHOSEN && port <= MAX_COM_PORT;
}

// Copy the preference and language files of the first of the sources that has preferences
// into dir (never the state or settings file).
void seedFolder(const QString &dir, const QStringList &sources) {
    for (const QString &from : sources) {
        const QDir source(from);
        if (!source.exists(QStringLiteral("localORM.ini"))) continue;
        for (const QString &name : source.entryList({"*.ini"}, QDir::Files | QDir::Readable)) {
            if (name.startsWith(QStringLiteral("Tavix"), Qt::CaseInsensitive)) continue;   // state, settings
            QFile::copy(source.filePath(name), dir + "/" + name);
        }
        return;
    }
}

// The shipped files: beside the executable, or in the shared data folder of an installation.
QStringList shippedFolders() {
    const QString exe = QCoreApplication::applicationDirPath();
    return {exe, exe + "/../share/tavix"};
}

bool toRecord(const char *text, int &record) {
    const char *end = text + std::strlen(text);
    const auto r = std::from_chars(text, end, record);
    return r.ec == std::errc() && r.ptr == end && record >= 1;
}

// The rest of a stats command line: one data file, no download option, a range in order.
bool checkStats(const std::vector<std::string> &words, Options &options, std::string &error) {
    if (words.size() != 2)
        error = "stats takes one data FILE";
    else if (!options.chart.empty() || !options.csv.empty())
        error = "--chart and --csv belong to download and retrieve";
    else if (options.port != 0 || !options.device.empty())
        error = "stats needs no logger: --port and --device belong to identify and download";
    else if (options.from != 0 && options.to != 0 && options.from > options.to)
        error = "--from must not come after --to";
    else
        options.file = words[1];
    return error.empty();
}

// The words and options of the command line fit the command (options.command). False with
// error filled.
bool checkCommand(const std::vector<std::string> &words, Options &options, std::string &error) {
    const std::string &command = options.command;
    if (command == "stats") return checkStats(words, options, error);
    if (options.from != 0 || options.to != 0 || !options.picture.empty()) {
        error = "--from, --to and --picture belong to stats";
        return false;
    }
    if (command != "identify" && command != "download" && command != "retrieve") {
        error = "unknown command " + command;
        return false;
    }
    if (command == "identify") {
        if (words.size() > 1)
            error = "identify takes no file";
        else if (!options.chart.empty())
            error = "--chart belongs to download";
        else if (!options.csv.empty())
            error = "--csv belongs to download and retrieve";
        return error.empty();
    }
    if (words.size() != 2) {
        error = command == "download" ? "download takes one FILE" : "retrieve takes one DATAFILE";
        return false;
    }
    options.file = words[1];
    if (command == "download") {
        if (options.csv == "-") error = "download writes the CSV to a file, not to standard output";
    } else if (!options.chart.empty()) {
        error = "--chart belongs to download";
    } else if (options.port != 0 || !options.device.empty()) {
        error = "retrieve talks to no logger: it takes no --port or --device";
    }
    return error.empty();
}

// Whether a file name ends with the extension (".pdf"), in any letter case.
bool hasExtension(const std::string &file, const char *extension) {
    const std::size_t n = std::strlen(extension);
    return file.size() > n && strcasecmp(file.c_str() + file.size() - n, extension) == 0;
}

// The words of report and chart: DATAFILE and the output. 0, or -1 with error filled.
int fileCommandArguments(const std::vector<std::string> &words, Options &options, std::string &error) {
    const bool isReport = options.command == "report";
    if (words.size() != 3) {
        error = options.command + (isReport ? " takes DATAFILE and OUT.pdf" : " takes DATAFILE and OUT.png or OUT.pdf");
        return -1;
    }
    if (!options.chart.empty() || (!isReport && !options.range.empty())) {
        error = options.chart.empty() ? "--range belongs to report" : "--chart belongs to download";
        return -1;
    }
    options.input = words[1];
    options.output = words[2];
    // a data file named by mistake as the output is never overwritten
    if (isReport ? !hasExtension(options.output, ".pdf")
                 : !hasExtension(options.output, ".png") && !hasExtension(options.output, ".pdf")) {
        error = options.command + (isReport ? " writes a .pdf file" : " writes a .png or a .pdf file");
        return -1;
    }
    return 0;
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
    return arg == "--app-dir" || arg == "--port" || arg == "--device" || arg == "--chart" || arg == "--csv" ||
           arg == "--from" || arg == "--to" || arg == "--picture" || arg == "--range";
}

}   // namespace

// ---------------------------------------------------------------- the command line

const char USAGE[] =
    "Usage: tavix-cli [--app-dir DIR] [--port N | --device PATH] identify\n"
    "       tavix-cli [--app-dir DIR] [--port N | --device PATH] download FILE [--chart FILE.png]\n"
    "                 [--csv OUT.csv]\n"
    "       tavix-cli [--app-dir DIR] retrieve DATAFILE [--csv OUT.csv|-]\n"
    "       tavix-cli [--app-dir DIR] stats FILE [--from N] [--to M] [--picture FILE.png]\n"
    "       tavix-cli [--app-dir DIR] [--port N | --device PATH] configure [--points COUNT]\n"
    "                 [--interval H:M:S] [--start CODE | --start-at \"DATE TIME\"] [--unit C|c]\n"
    "                 [--channel 0|1|2] [--high X] [--low Y] ... [--dry-run]\n"
    "       tavix-cli [--app-dir DIR] report DATAFILE OUT.pdf [--range N-M]\n"
    "       tavix-cli [--app-dir DIR] chart DATAFILE OUT.png|OUT.pdf\n"
    "       tavix-cli [--app-dir DIR] [--port N | --device PATH] set-clock [--now | \"DATE TIME\"]\n"
    "       tavix-cli [--app-dir DIR] [--port N | --device PATH] set-id TEXT [--sleep on|off]\n"
    "       tavix-cli [--app-dir DIR] [--port N | --device PATH] sleep on|off\n"
    "       tavix-cli [--app-dir DIR] [--port N | --device PATH] calibration\n"
    "                 [--set P1 P2 P3 | --set-rh Z S]\n"
    "       tavix-cli --version\n"
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
    "    --csv OUT.csv     also write every record as a CSV file, as the data table's\n"
    "                      Export CSV does (kept likewise: NAME.partial.csv)\n"
    "  retrieve DATAFILE   read a saved data file as Retrieve File does (the same messages,\n"
    "                      the same refusals) and print what it holds: model name and index,\n"
    "                      the identifier of its third line, interval, unit, records held,\n"
    "                      time of the first and the last record. No logger is needed; the\n"
    "                      folder of --app-dir (its preferences: the date format) is only read.\n"
    "    --csv OUT.csv     also write every record as a CSV file, as Export CSV does; with\n"
    "                      --csv - the CSV goes to standard output and the summary to\n"
    "                      standard error\n"
    "  stats FILE          read the data file FILE as Retrieve File does and print what the\n"
    "                      statistics window shows, one line per channel: its name and unit,\n"
    "                      max=, min=, mean=, sd= (sample standard deviation), n= (values\n"
    "                      used; sensor errors and values of 10000 and above are left out)\n"
    "                      and, for temperatures, mkt= (mean kinetic temperature, dH/R =\n"
    "                      10000 K). Fewer than 10 values give zeros and mkt=-. No logger is\n"
    "                      needed; nothing is written to DIR.\n"
    "    --from N, --to M  only records N to M (numbered from 1, both included), as the\n"
    "                      window's second section between chart cursors on N - 1 and M;\n"
    "                      a range beyond the records held ends with the last one\n"
    "    --picture FILE.png  also write a picture of the statistics window (first channel)\n"
    "  report DATAFILE OUT.pdf\n"
    "                      read DATAFILE as Retrieve File does and write the text report\n"
    "                      of the data table's Print button to OUT.pdf (header, column\n"
    "                      header, one line per record, page numbers)\n"
    "    --range N-M       the records to report, read as the Print button's question\n"
    "                      reads its answer (\"25\", \"10-20\"; a range is cut to the\n"
    "                      records held). Default: every record\n"
    "  chart DATAFILE OUT.png|OUT.pdf\n"
    "                      read DATAFILE as Retrieve File does and write the main chart\n"
    "                      as a picture, or as an A4 landscape PDF page in vector graphics\n"
    "                      headed by the file or identifier and the first and last record\n"
    "                      (report and chart need no logger; nothing is written to DIR)\n"
    "\n"
    "CSV: UTF-8, comma separated, a header row (Record,Time, then each channel with its unit),\n"
    "times as YYYY-MM-DD HH:MM:SS, values with a full stop and one decimal, a sensor error as\n"
    "an empty cell.\n"
    "  configure           prepare the logger's next recording as the Logger Settings\n"
    "                      window does: the window is filled as opening it fills it (with\n"
    "                      --app-dir, what was last sent to a logger of this model), the\n"
    "                      options given change their fields, OK is pressed and the tool\n"
    "                      waits until the logger has confirmed the alarm (A) and settings\n"
    "                      (S) commands, which it prints\n"
    "    --points COUNT    points to record: 1000, 2000, 4000, 8000, 12000 or 16000\n"
    "    --interval H:M:S  sample interval, 1 second to 12 hours\n"
    "    --start CODE      start mode: now (20), 0 (at the start date and time) or the\n"
    "                      model's own modes 1 to 4\n"
    "    --start-at \"DATE TIME\"\n"
    "                      start mode 0 at DATE (in the date format of the preferences)\n"
    "                      and TIME (HH:MM:SS)\n"
    "    --unit C|c        c: degrees C with the alarm on humidity (model 4124 only)\n"
    "    --channel N       the alarm channel the following --high and --low set: 0\n"
    "                      temperature, 1 second temperature, 2 humidity (repeat for\n"
    "                      more channels; without it, the channel the window shows)\n"
    "    --high X, --low Y the alarm limits, in degrees C or % RH (-3276.8 to 3276.7)\n"
    "    --dry-run         print the two commands instead of sending them; nothing is\n"
    "                      sent and nothing is remembered\n"
    "                      A value the logger's model does not offer is a bad command\n"
    "                      line; the list of the values it offers is printed.\n"
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
    "                      and Tavix.ini (communication settings, port bindings), and\n"
    "                      TavixSetting.ini (the logging settings last sent, per model).\n"
    "                      Default: a fresh temporary folder with the shipped preference and\n"
    "                      language files, removed at the end, so your own settings are never\n"
    "                      touched.\n"
    "  --port N            use port number N (2 to 16: COM2-COM4 /dev/ttyS1-3, COM5-COM12\n"
    "                      /dev/ttyUSB0-7, COM13-COM16 /dev/ttyACM0-3, or what N is bound to)\n"
    "  --device PATH       bind a port number (N of --port, else 16) to the device PATH,\n"
    "                      e.g. /dev/ttyUSB0, /dev/serial/by-id/... or a pseudo-terminal,\n"
    "                      and use it\n"
    "  --help              show this text\n"
    "  --version           print the version of tavix-cli and stop\n"
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
    "  4  the data file, the picture, the CSV or the report cannot be written\n"
    "  5  the program cannot start\n"
    "  6  the data file to read cannot be read or is refused (stats: or holds no records)\n"
    "  7  the input is refused by the window's own checks (configure, set-clock, set-id,\n"
    "     sleep, calibration; or the logger is logging), nothing was sent; report: the range\n"
    "     names no record (nothing is written)\n"
    "  8  the logger did not answer a command\n"
    "  9  the calibration read back differs from what was written\n"
    "  10 the logger's model does not support the command (configure: or it is logging)\n"
    "  130, 143  interrupted (Ctrl-C, SIGTERM): nothing is saved, the temporary folder goes\n";

int parseArguments(int argc, char **argv, Options &options, std::string &error) {
    std::vector<std::string> words;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") return 1;
        if (const int values = configureOptionValues(arg); values >= 0) {
            options.commandArgs.push_back(arg);
            if (values == 0) continue;
            if (i + 1 >= argc) {
                error = arg + " needs a value";
                return -1;
            }
            options.commandArgs.push_back(argv[++i]);
            continue;
        }
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
        } else if (arg == "--csv") {
            options.csv = value;
        } else if (arg == "--picture") {
            options.picture = value;
        } else if (arg == "--from" || arg == "--to") {
            if (!toRecord(value, arg == "--from" ? options.from : options.to)) {
                error = arg + " takes a record number from 1, not " + value;
                return -1;
            }
        } else if (arg == "--range") {
            options.range = value;
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
        if (!options.chart.empty() || !options.csv.empty() || !options.picture.empty() || options.from != 0 ||
            options.to != 0 || !options.range.empty()) {
            error = "--chart, --csv, --picture, --from, --to and --range do not belong to " + options.command;
            return -1;
        }
        options.args.assign(words.begin() + 1, words.end());
        return own->check(options.args, error) ? 0 : -1;
    }
    if (!options.commandArgs.empty() && options.command != "configure") {
        error = options.commandArgs[0] + " belongs to configure";
        return -1;
    }
    if (options.command == "report" || options.command == "chart") {
        if (!options.csv.empty() || !options.picture.empty() || options.from != 0 || options.to != 0) {
            error = "--csv, --picture, --from and --to do not belong to " + options.command;
            return -1;
        }
        return fileCommandArguments(words, options, error);
    }
    if (!options.range.empty()) {
        error = "--range belongs to report";
        return -1;
    }
    if (options.command == "configure") {
        if (words.size() > 1)
            error = "configure takes no file";
        else if (!options.chart.empty() || !options.csv.empty() || !options.picture.empty() || options.from != 0 ||
                 options.to != 0)
            error = "--chart, --csv, --picture, --from and --to do not belong to configure";
        else
            return checkConfigureArguments(options.commandArgs, error) == 0 ? 0 : -1;
        return -1;
    }
    return checkCommand(words, options, error) ? 0 : -1;
}

Options withAbsolutePaths(const Options &given) {
    Options options = given;
    namespace fs = std::filesystem;
    std::error_code ec;
    if (!options.file.empty()) options.file = fs::absolute(options.file, ec).lexically_normal().string();
    if (!options.chart.empty()) options.chart = fs::absolute(options.chart, ec).lexically_normal().string();
    if (!options.csv.empty() && options.csv != "-")
        options.csv = fs::absolute(options.csv, ec).lexically_normal().string();
    if (!options.picture.empty()) options.picture = fs::absolute(options.picture, ec).lexically_normal().string();
    if (!options.input.empty()) options.input = fs::absolute(options.input, ec).lexically_normal().string();
    if (!options.output.empty()) options.output = fs::absolute(options.output, ec).lexically_normal().string();
    if (!options.device.empty() && fs::path(options.device).is_relative())
        options.device = fs::absolute(options.device, ec).lexically_normal().string();
    return options;
}

// ---------------------------------------------------------------- the program's folder

bool needsLogger(const Options &options) {
    for (const char *fileOnly : {"retrieve", "stats", "report", "chart"})
        if (options.command == fileOnly) return false;
    return true;
}

std::string prepareProgramFolder(const Options &options, std::unique_ptr<QTemporaryDir> &temporary) {
    std::string folder = options.appDir;
    if (folder.empty() || !needsLogger(options)) {
        temporary = std::make_unique<QTemporaryDir>(QDir::tempPath() + "/tavix-cli-XXXXXX");
        if (!temporary->isValid()) {
            std::fprintf(stderr, "tavix-cli: cannot make a temporary folder\n");
            return {};
        }
        // the preferences of DIR, else the shipped ones
        QStringList sources = shippedFolders();
        if (!options.appDir.empty()) sources.prepend(QString::fromStdString(options.appDir));
        seedFolder(temporary->path(), sources);
        folder = temporary->path().toStdString();
    }
    folder = rt::ChooseProgramFolder(folder.c_str());
    if (folder.empty()) std::fprintf(stderr, "tavix-cli: cannot work in the folder %s\n", options.appDir.c_str());
    return folder;
}

// The state file then names the port, so start-up never runs the port detection (which it
// does for a port not chosen yet). The other communication settings stay as the state file
// has them.
bool choosePort(const Options &given) {
    Options options = given;
    if (!needsLogger(given)) {
        // a port that never opens, in the temporary folder
        g_portUnused = true;
        options.port = DEVICE_PORT;
        options.device = (std::filesystem::current_path() / "no-logger").string();
    }
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
    if (g_portUnused && shown.kind == "message" && shown.text == warn1) return;   // "port cannot be opened"
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

// ---------------------------------------------------------------- the data table's CSV

int exportCsv(const std::string &path, rt::ScriptedAgent &agent) {
    if (!rt::PanelVisible(idTable)) rt::FireCtrlEvent(idMonitor, MONITOR_MENU3, EVENT_COMMIT);
    showFileAnswer(path);
    agent.fileAnswers = {path};
    agent.confirmAnswers = {true};
    const std::size_t before = agent.shown.size();
    rt::FireCtrlEvent(idTable, TABLE_EXPORT_CSV, EVENT_COMMIT);
    // a pop-up titled "The data file cannot be written" (warn6): the export failed
    for (std::size_t k = before; k < agent.shown.size(); ++k)
        if (agent.shown[k].kind == "message" && agent.shown[k].title == warn6) return EXIT_NOT_WRITTEN;
    if (path.size() + 1 > FILE_NAME_SIZE) {                      // the dialog refused the path: nothing was written
        std::fprintf(stderr, "%s: %s\n", warn6, path.c_str());   // "cannot be written"
        return EXIT_NOT_WRITTEN;
    }
    return EXIT_OK;
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
