// tavix-sim: a simulated logger on a pseudo-terminal, for tests, demos and training.
//
// Prints the pseudo-terminal's path on the first line of standard output, then serves until
// it receives SIGINT or SIGTERM. The command lines received are logged on standard error.
#include <pthread.h>
#include <signal.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "model/Clock.h"
#include "model/Models.h"
#include "sim/SimLogger.h"

namespace {

const char kUsage[] =
    "Usage: tavix-sim [options]\n"
    "A simulated logger on a pseudo-terminal. Prints the device path to open on the first\n"
    "line of standard output and serves until interrupted (SIGINT/SIGTERM).\n"
    "\n"
    "  --model NAME        model identifier the logger reports (default 4143)\n"
    "  --version V2.1      firmware suffix appended to the model name (default none)\n"
    "  --id ID             logger identifier, at most 10 characters (default TAVIX-01)\n"
    "  --records N         records held (default 100): N data lines for every model, each\n"
    "                      with the model's values; the memory answer counts their\n"
    "                      readings, N x values per line (at most 16000)\n"
    "  --interval S        sample interval in seconds (default 60)\n"
    "  --unit C|F          temperature unit letter, lower case allowed (default C)\n"
    "  --status N          logging status of the 't' answer, 1 = logging (default 0)\n"
    "  --errors            put a few sensor-error readings into the records\n"
    "  --daily             values follow a day's cycle (temperature about 21 C, second\n"
    "                      temperature about 4 C, humidity about 50 %) instead of ramps\n"
    "  --baud N            pace the output at N/10 bytes per second (default: no pacing)\n"
    "  --start \"YYYY-MM-DD HH:MM:SS\"\n"
    "                      time of the first record (default: now minus records x interval)\n"
    "  --calibration \"VALUES\"\n"
    "                      the calibration the logger holds: five whole numbers for models\n"
    "                      41651 and 41653, \"Z S\" for model 41660 (default 0 0 0 0 0,\n"
    "                      -1.5 5.0)\n"
    "  --fault KIND[=n]    misbehave; may be repeated. KIND is one of\n"
    "                        silent[=LETTERS]  answer nothing (or nothing to these commands)\n"
    "                        garbage[=TEXT]    noise bytes in front of every answer\n"
    "                        no-cr=N           the N-th line sent lacks its carriage return\n"
    "                        disconnect=N      close the line after N lines sent\n"
    "                        data-after-q=N    N more data lines after Q (default 3)\n"
    "                        extra-records=N   send N more records than held (negative: fewer)\n"
    "                        pause=R[:MS]      stop the data stream before record R for MS ms\n"
    "                                          (default 5000)\n"
    "                        crlf              end every line with CR LF instead of CR\n"
    "                        flood=N           after N data lines, lines that are not data\n"
    "                                          without end\n"
    "                        cali-answer=VALUES  answer \"r\" with these values instead of\n"
    "                                          the calibration held (a failed write)\n"
    "  --help              show this text\n";

bool toInt(std::string_view text, int &out) {
    if (text.empty()) return false;
    const char *b = text.data();
    const char *e = b + text.size();
    if (*b == '+') ++b;
    const auto r = std::from_chars(b, e, out);
    return r.ec == std::errc() && r.ptr == e;
}

bool parseStart(const std::string &text, cRtc &out) {
    int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
    char tail = 0;
    if (std::sscanf(text.c_str(), "%d-%d-%d %d:%d:%d%c", &y, &mo, &d, &h, &mi, &s, &tail) != 6) return false;
    if (y < 2000 || y > 2099 || mo < 1 || mo > 12 || d < 1 || h < 0 || h > 23 || mi < 0 || mi > 59 || s < 0 || s > 59) {
        return false;
    }
    const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    if (d > mMonthTab[(leap ? 12 : 0) + mo - 1]) return false;
    out = sim::makeCRtc(y, mo, d, h, mi, s);
    return true;
}

bool parseFault(const std::string &text, sim::Fault &fault) {
    const std::size_t eq = text.find('=');
    const std::string kind = text.substr(0, eq);
    const bool hasArg = eq != std::string::npos;
    const std::string arg = hasArg ? text.substr(eq + 1) : std::string();
    int n = 0;
    if (kind == "silent") {
        if (hasArg && !arg.empty())
            fault.noAnswerTo = arg;
        else
            fault.noAnswer = true;
        return true;
    }
    if (kind == "garbage") {
        fault.garbage = hasArg && !arg.empty() ? arg : std::string("#~\x7f\x01");
        return true;
    }
    if (kind == "cali-answer") {
        fault.caliAnswer = arg;
        return !arg.empty();
    }
    if (kind == "crlf" && !hasArg) {
        fault.crlf = true;
        return true;
    }
    if (kind == "data-after-q") {
        if (!hasArg)
            n = 3;
        else if (!toInt(arg, n) || n < 0)
            return false;
        fault.dataLinesAfterQ = n;
        return true;
    }
    if (kind == "pause") {
        const std::size_t colon = arg.find(':');
        int ms = 5000;
        if (!toInt(std::string_view(arg).substr(0, colon), n) || n < 0) return false;
        if (colon != std::string::npos && (!toInt(std::string_view(arg).substr(colon + 1), ms) || ms < 0)) {
            return false;
        }
        fault.pauseAtRecord = n;
        fault.pauseMs = ms;
        return true;
    }
    if (!toInt(arg, n)) return false;
    if (kind == "no-cr" && n > 0)
        fault.noCrAtLine = n;
    else if (kind == "disconnect" && n > 0)
        fault.disconnectAfterLines = n;
    else if (kind == "extra-records")
        fault.extraRecords = n;
    else if (kind == "flood" && n > 0)
        fault.floodAfterRecords = n;
    else
        return false;
    return true;
}

// A few sensor-error readings spread over the records and the positions of the data line.
void sprinkleErrors(sim::LoggerConfig &config) {
    const int n = sim::valuesPerLine(config);
    const int at[3] = {2, config.records / 2, config.records - 1};
    int code = 1;
    for (int k = 0; k < 3; ++k) {
        if (at[k] < 0 || at[k] >= config.records) continue;
        bool taken = false;
        for (const sim::ErrorReading &e : config.errors) taken = taken || e.record == at[k];
        if (taken) continue;
        config.errors.push_back({at[k], k % n, code});
        code += 2;
    }
}

// The calibration the logger holds, as --calibration gives it for the configured model: five
// whole numbers, or the two texts Z and S. False when they do not fit the model.
bool setCalibration(const std::string &text, sim::LoggerConfig &config) {
    std::vector<std::string> words;
    for (std::size_t start = 0; start <= text.size();) {
        const std::size_t space = std::min(text.find(' ', start), text.size());
        if (space > start) words.push_back(text.substr(start, space - start));
        start = space + 1;
    }
    switch (calibrationKind(sim::modelIndexOfConfig(config))) {
        case Calibration::Temperature:
            if (words.size() != config.tempCali.size()) return false;
            for (std::size_t k = 0; k < words.size(); ++k)
                if (!toInt(words[k], config.tempCali[k])) return false;
            return true;
        case Calibration::Humidity:
            if (words.size() != 2) return false;
            config.rhCaliZ = words[0];
            config.rhCaliS = words[1];
            return true;
        case Calibration::None: break;
    }
    return false;
}

std::string printable(const std::string &line) {
    std::string out;
    for (unsigned char c : line) {
        if (c >= 32 && c < 127) {
            out += static_cast<char>(c);
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        }
    }
    return out;
}

// The value of option opt into config; false when it does not convert or is out of range.
bool setOption(const std::string &opt, const std::string &val, sim::LoggerConfig &config) {
    if (opt == "--model") {
        config.modelName = val;
        return true;
    }
    if (opt == "--version") {
        config.versionSuffix = val;
        return true;
    }
    if (opt == "--id") {
        config.id = val;
        return val.size() <= 10;
    }
    if (opt == "--records") return toInt(val, config.records) && config.records >= 0 && config.records <= 65535;
    if (opt == "--interval") return toInt(val, config.interval) && config.interval > 0 && config.interval <= 65536;
    if (opt == "--unit") {
        const bool ok = val.size() == 1 && std::strchr("CFcf", val[0]) != nullptr;
        if (ok) config.unit = val[0];
        return ok;
    }
    if (opt == "--status") return toInt(val, config.status);
    if (opt == "--baud") return toInt(val, config.baud) && config.baud >= 0;
    if (opt == "--start") {
        cRtc t = 0;
        if (!parseStart(val, t)) return false;
        config.firstRecord = t;
        return true;
    }
    return parseFault(val, config.fault);   // --fault
}

bool takesValue(const std::string &opt) {
    for (const char *o : {"--model", "--version", "--id", "--records", "--interval", "--unit", "--status", "--baud",
                          "--start", "--calibration", "--fault"})
        if (opt == o) return true;
    return false;
}

// The command line into config. -1 to go on serving, otherwise the exit status (0 after --help,
// 2 for a bad command line, with its message printed).
int readCommandLine(int argc, char **argv, sim::LoggerConfig &config) {
    bool errors = false;
    bool daily = false;
    std::string calibration;   // applied once the model is known
    for (int i = 1; i < argc; ++i) {
        const std::string opt = argv[i];
        if (opt == "--help" || opt == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (opt == "--errors" || opt == "--daily") {
            (opt == "--errors" ? errors : daily) = true;
            continue;
        }
        if (!takesValue(opt)) {
            std::fprintf(stderr, "tavix-sim: unknown option %s (see --help)\n", opt.c_str());
            return 2;
        }
        if (i + 1 >= argc) {
            std::fprintf(stderr, "tavix-sim: %s needs a value (see --help)\n", opt.c_str());
            return 2;
        }
        const std::string val = argv[++i];
        if (opt == "--calibration") {
            calibration = val;
            continue;
        }
        if (!setOption(opt, val, config)) {
            std::fprintf(stderr, "tavix-sim: bad value for %s: %s (see --help)\n", opt.c_str(), val.c_str());
            return 2;
        }
    }
    if (!calibration.empty() && !setCalibration(calibration, config)) {
        std::fprintf(stderr, "tavix-sim: bad value for --calibration: %s (model %s; see --help)\n", calibration.c_str(),
                     config.modelName.c_str());
        return 2;
    }
    if (daily) sim::followTheDay(config);
    if (errors) sprinkleErrors(config);
    return -1;
}

}   // namespace

int main(int argc, char **argv) {
    sim::LoggerConfig config;
    if (const int status = readCommandLine(argc, argv, config); status >= 0) return status;

    // The signals are taken by sigwait below; the simulator's thread inherits the mask.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);

    sim::SimLogger logger(config);
    logger.setCommandObserver([](const std::string &line) {
        std::fprintf(stderr, "tavix-sim: received \"%s\"\n", printable(line).c_str());
        std::fflush(stderr);
    });
    if (!logger.start()) {
        std::fprintf(stderr, "tavix-sim: cannot open a pseudo-terminal: %s\n", std::strerror(errno));
        return 1;
    }
    std::printf("%s\n", logger.devicePath().c_str());
    std::fflush(stdout);
    const sim::LoggerConfig s = logger.state();
    std::fprintf(stderr, "tavix-sim: model %s%s (index %d), id %s, %d records every %d s, unit %c\n",
                 s.modelName.c_str(), s.versionSuffix.c_str(), sim::modelIndexOfConfig(s), s.id.c_str(), s.records,
                 s.interval, s.unit);

    int sig = 0;
    sigwait(&signals, &sig);
    logger.stop();
    std::fprintf(stderr, "tavix-sim: stopped (%d lines sent, %d data lines)\n", logger.linesSent(),
                 logger.dataLinesSent());
    return 0;
}
