// tavix-cli's command line: the tool's options, the command and its words, and the checks that
// they fit together, all made before the program starts.
#include <strings.h>

#include <charconv>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "cli/Common.h"
#include "panels/Panels.h"
#include "runtime/serial.h"

namespace cli {

namespace {

bool toPort(const char *text, int &port) {
    const char *end = text + std::strlen(text);
    const auto r = std::from_chars(text, end, port);
    return r.ec == std::errc() && r.ptr == end && port > PORT_NOT_CHOSEN && port <= MAX_COM_PORT;
}

bool toRecord(const char *text, int &record) {
    const char *end = text + std::strlen(text);
    const auto r = std::from_chars(text, end, record);
    return r.ec == std::errc() && r.ptr == end && record >= 1;
}

// ---------------------------------------------------------------- the options

// What a name on the command line is.
enum class Kind {
    Help,     // --help: show the help and run nothing
    Flag,     // a tool option without a value (summary's --json)
    Text,     // a tool option whose value is kept as given
    Number,   // a tool option whose value is read as a number
};

// One option of the tool. Every tool option takes one value, which may not be empty; it may
// stand anywhere on the line, also among the words of a command that reads its own options.
// Which commands take it is checked once the command is known (checkCommandLine).
struct Option {
    const char *name;
    Kind kind;
    std::string Options::*text = nullptr;          // Text: where the value goes
    int Options::*number = nullptr;                // Number: where the value goes ...
    bool (*read)(const char *, int &) = nullptr;   // ... as read reads it
    const char *refusal = nullptr;                 // what a value read refuses is told: NAME REFUSAL, not VALUE
    bool Options::*flag = nullptr;                 // Flag: set when given
};

constexpr Option kOptions[] = {
    {"--help", Kind::Help},
    {"-h", Kind::Help},
    {"--app-dir", Kind::Text, &Options::appDir},
    {"--port", Kind::Number, nullptr, &Options::port, toPort, "takes a number from 2 to 16"},
    {"--device", Kind::Text, &Options::device},
    {"--chart", Kind::Text, &Options::chart},
    {"--csv", Kind::Text, &Options::csv},
    {"--from", Kind::Number, nullptr, &Options::from, toRecord, "takes a record number from 1"},
    {"--to", Kind::Number, nullptr, &Options::to, toRecord, "takes a record number from 1"},
    {"--picture", Kind::Text, &Options::picture},
    {"--range", Kind::Text, &Options::range},
    {"--profile", Kind::Text, &Options::profile},
    {"--pdf", Kind::Text, &Options::pdf},
    {"--pdf-dir", Kind::Text, &Options::pdfDir},
    {"--json", Kind::Flag, nullptr, nullptr, nullptr, nullptr, &Options::json},
    {"--archive", Kind::Text, &Options::archive},
    {"--no-archive", Kind::Flag, nullptr, nullptr, nullptr, nullptr, &Options::noArchive},
    {"--server", Kind::Text, &Options::server},
    {"--site", Kind::Text, &Options::site},
    {"--keep-on-stop", Kind::Flag, nullptr, nullptr, nullptr, nullptr, &Options::keepOnStop},
};

const Option *findOption(const std::string &name) {
    for (const Option &option : kOptions)
        if (name == option.name) return &option;
    return nullptr;
}

// ---------------------------------------------------------------- the commands

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
    {"set-clock", checkSetClockArguments}, {"set-id", checkSetIdArguments},
    {"sleep", checkSleepArguments},        {"calibration", checkCalibrationArguments},
    {"archive", checkArchiveArguments},    {"verify", checkVerifyArguments},
    {"audit", checkAuditArguments},        {"fleet", checkFleetArguments},
};

const OwnArguments *ownArguments(const std::string &command) {
    for (const OwnArguments &own : kOwnArguments)
        if (command == own.command) return &own;
    return nullptr;
}

// The words and options of summary: one or more data files, one kind of PDF output at most.
int checkSummary(const std::vector<std::string> &words, Options &options, std::string &error) {
    if (words.size() < 2)
        error = "summary takes one or more data FILEs";
    else if (!options.chart.empty() || !options.picture.empty() || options.from != 0 || options.to != 0 ||
             !options.range.empty())
        error = "--chart, --picture, --from, --to and --range do not belong to summary";
    else if (options.port != 0 || !options.device.empty())
        error = "summary talks to no logger: it takes no --port or --device";
    else if (!options.pdf.empty() && !options.pdfDir.empty())
        error = "give --pdf or --pdf-dir, not both";
    else if (!options.pdf.empty() && !hasExtension(options.pdf, ".pdf"))
        error = "--pdf writes a .pdf file";
    else if (options.csv == "-")
        error = "summary writes the CSV to a file, not to standard output";
    if (!error.empty()) return -1;
    options.files.assign(words.begin() + 1, words.end());
    return 0;
}

// The command (the first word) with the rest of the words and the options given: whether they
// fit together. 0, or -1 with error filled.
int checkCommandLine(const std::vector<std::string> &words, Options &options, std::string &error) {
    if (words.empty()) {
        error = "no command given";
        return -1;
    }
    options.command = words[0];
    if (options.keepOnStop && options.command != "download") {
        error = "--keep-on-stop belongs to download";
        return -1;
    }
    if (options.command == "summary") return checkSummary(words, options, error);
    if (!options.profile.empty() || !options.pdf.empty() || !options.pdfDir.empty() || options.json) {
        error = "--profile, --pdf, --pdf-dir and --json belong to summary";
        return -1;
    }
    if (const OwnArguments *own = ownArguments(options.command)) {
        if (!options.chart.empty() || !options.csv.empty() || !options.picture.empty() || options.from != 0 ||
            options.to != 0 || !options.range.empty()) {
            error = "--chart, --csv, --picture, --from, --to and --range do not belong to " + options.command;
            return -1;
        }
        // never left out unsaid: set-clock --dry-run would set the clock all the same
        if (!options.commandArgs.empty()) {
            error = options.commandArgs[0] + " belongs to configure";
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

}   // namespace

// ---------------------------------------------------------------- the command line

int parseArguments(int argc, char **argv, Options &options, std::string &error) {
    std::vector<std::string> words;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const Option *option = findOption(arg);
        if (option != nullptr && option->kind == Kind::Help) return 1;
        // archive, verify and audit read --from and --to as dates, and options of their own
        if (!words.empty() && archiveCommand(words[0])) {
            if (const int values = archiveOptionValues(arg); values >= 0) {
                words.push_back(arg);
                if (values == 1 && i + 1 < argc) words.push_back(argv[++i]);
                continue;
            }
        }
        if (option != nullptr && option->kind == Kind::Flag) {
            options.*option->flag = true;
            continue;
        }
        // configure's own options go to it with their values, wherever they stand
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
        if (option == nullptr) {
            // after the name of a command that reads its own options, they are its words
            const bool own = !words.empty() && ownArguments(words[0]) != nullptr;
            if (arg.rfind("--", 0) != 0 || own) {
                words.push_back(arg);
                continue;
            }
            error = "unknown option " + arg;
            return -1;
        }
        if (i + 1 >= argc || argv[i + 1][0] == '\0') {
            error = arg + " needs a value";
            return -1;
        }
        const char *value = argv[++i];
        if (option->kind == Kind::Text) {
            options.*option->text = value;
        } else if (!option->read(value, options.*option->number)) {
            error = arg + " " + option->refusal + ", not " + value;
            return -1;
        }
    }
    return checkCommandLine(words, options, error);
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
    options.filePaths.clear();
    for (const std::string &f : options.files)
        options.filePaths.push_back(fs::absolute(f, ec).lexically_normal().string());
    if (!options.pdf.empty()) options.pdf = fs::absolute(options.pdf, ec).lexically_normal().string();
    if (!options.pdfDir.empty()) options.pdfDir = fs::absolute(options.pdfDir, ec).lexically_normal().string();
    // the files among the words of verify and archive (export N FILE, import and backup)
    if (archiveCommand(options.command)) {
        const bool isVerify = options.command == "verify";
        for (std::size_t k = isVerify ? 0 : 1; k < options.args.size(); ++k) {
            const bool isFile =
                isVerify ||
                (options.args[0] == "export" ? k == 2 : options.args[0] == "import" || options.args[0] == "backup");
            if (isFile) options.args[k] = fs::absolute(options.args[k], ec).lexically_normal().string();
        }
    }
    if (!options.device.empty() && fs::path(options.device).is_relative())
        options.device = fs::absolute(options.device, ec).lexically_normal().string();
    return options;
}

}   // namespace cli
