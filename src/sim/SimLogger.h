// A simulated logger: the device side of the logger protocol on a pseudo-terminal.
//
// The simulator owns the master side of a pseudo-terminal pair; the program under test opens
// the slave path (devicePath()) as if it were a serial port. A thread of the simulator's own
// reads the command lines the PC sends (each ended by a carriage return) and answers them as a
// logger does: every response line ends with one carriage return, fields are separated by
// exactly one space, and every command is answered by a prompt line ">".
//
//   "I"  -> "i <id> <model><suffix>"  ">"
//   "M"  -> "m <count> <interval> <unit> <hex hi> <hex lo>"  ">"
//   "t"  -> "t <status>"  ">"
//   "D"  -> one "d v1 [v2 [v3]]" line per record, then ">"  (streamed; "Q" interrupts it)
//   "Q"  -> ">"  (stops a running stream)
//   "S <rate> <unit> <schedule> <points>", "A <limits...>", "C <time>", "J <id> <sleep>",
//   "R <calibration...>"  -> stored, ">"
//   "r"  -> "r <five numbers>" (models 12 and 13) or "r <Z> <S>" (model 18), then ">": what the
//           last "R" wrote (the factory calibration before one), unless a fault says otherwise
//   anything else -> ">"
//
// Plain C++ and POSIX only (no Qt), so it can run inside a test process whose main thread runs
// an event loop. All public members are thread-safe.
#pragma once

#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "model/Clock.h"

namespace sim {

// Misbehaviour on demand, to test how the PC copes with a faulty line or logger.
struct Fault {
    // No answer at all to any command (the commands are still logged).
    bool noAnswer = false;
    // No answer to these command letters only, e.g. "J" or "SA".
    std::string noAnswerTo;
    // Bytes sent in front of the first line of every answer (noise on the line). Empty = none.
    std::string garbage;
    // The n-th line sent (1-based, counting every line the simulator sends) goes out without its
    // carriage return, so it runs into the next line. 0 = never.
    int noCrAtLine = 0;
    // Close the master side (the line goes dead) once n lines have been sent. 0 = never.
    int disconnectAfterLines = 0;
    // After "Q" has been answered, n more data lines follow (continuing the record sequence,
    // also when no stream was running).
    int dataLinesAfterQ = 0;
    // "D" sends records + extraRecords data lines (negative: fewer than the 'm' count promises).
    int extraRecords = 0;
    // Before the data line of this record (0-based) the stream stops for pauseMs milliseconds.
    // -1 = never.
    int pauseAtRecord = -1;
    int pauseMs = 0;
    // Every line ends with a carriage return and a line feed, as some loggers send them.
    bool crlf = false;
    // After this many data lines of a stream, lines that are not data ("#") follow as fast as
    // the line takes them, without end, until "Q" or the stop. 0 = never.
    int floodAfterRecords = 0;
    // The 'r' answer carries these fields instead of the calibration held, as a logger that
    // did not take a write would answer: "1 2 3 4 5" (models 12, 13), "-1.4 5.0" (model 18).
    // Empty = the calibration held. Models without calibration still answer ">" alone.
    std::string caliAnswer;
};

// A sensor-error reading "E<code>" in place of one value of one record.
struct ErrorReading {
    int record = 0;   // 0-based record number
    int slot = 0;     // 0-based position on the data line (0 .. values per line - 1)
    int code = 0;     // sent as "E<code>"
};

struct LoggerConfig {
    std::string modelName = "4143";   // the model identifier the logger reports
    std::string versionSuffix;        // appended to the model name in the 'i' line, e.g. "V2.1"
    std::string id = "TAVIX-01";      // logger identifier (at most 10 characters are kept)
    int records = 100;                // records held
    // The 'm' count: records x values per line, at most 16000, unless set here (any number).
    std::optional<int> countOverride;
    int interval = 60;   // sample interval in seconds (> 32767 goes out as negative)
    // Sent verbatim as the interval field instead of the number, e.g. "--", "\v", "E2".
    std::optional<std::string> intervalText;
    char unit = 'C';   // sent as given ('c' and 'f' too)
    // Time of the first record as a PC time. Empty: now (the run-time clock) minus
    // records x interval, taken at start(). Firmware 2.21 and older (a version suffix of V2.1,
    // V1.9, ...) report it as the offset inside its three-year block, as such loggers count.
    std::optional<cRtc> firstRecord;
    int status = 0;   // the 't' answer: 1 = logging

    // Raw value of one record (0-based) at one position of the data line, as the logger sends
    // it: tenths of a degree or of % RH, the thermistor wire value (75..5109) for model index 1.
    // Empty: defaultRawValue().
    std::function<int(int record, int slot)> value;
    std::vector<ErrorReading> errors;

    std::array<int, 5> tempCali{0, 0, 0, 0, 0};   // 'r' answer of models 12 and 13
    std::string rhCaliZ = "-1.5";                 // 'r' answer of model 18: Z, then S
    std::string rhCaliS = "5.0";

    int baud = 0;   // 0 = as fast as the line takes it; else at most baud / 10 bytes per second

    Fault fault;
};

// Settings the PC has sent, as the simulator received them (numbers as on the wire).
struct ReceivedSettings {
    int settingsCount = 0;          // "S" commands received
    int sampleRate = 0;             // S: rate
    char unit = 0;                  // S: unit letter as sent
    long long schedule = 0;         // S: start time (logger clock) or start-mode code
    int points = 0;                 // S: points code
    int alarmCount = 0;             // "A" commands received
    std::vector<long long> alarm;   // A: the limits in the order sent
    int clockCount = 0;             // "C" commands received
    long long clock = 0;            // C: the time as sent (logger clock)
    int idCount = 0;                // "J" commands received
    int sleep = 0;                  // J: sleep mode
    int caliCount = 0;              // "R" commands received
};

// Model index of the configured model name (1 for a name not in the model table).
int modelIndexOfConfig(const LoggerConfig &config);
// Values per data line of the configured model (1, 2 or 3).
int valuesPerLine(const LoggerConfig &config);
// Firmware version the PC reads from model name + suffix (2.4 without a suffix).
float firmwareVersion(const LoggerConfig &config);

// The default value pattern: a slow saw-tooth per position, plausible for the channel
// (temperature around 20 degrees, humidity around 50 %, thermistor wire values 1500..2490).
int defaultRawValue(int modelIndex, int record, int slot);

// The lines the simulator sends, without their carriage return.
std::string identityLine(const LoggerConfig &config);          // "i TAVIX-01 4143V2.1"
std::string memoryLine(const LoggerConfig &config);            // "m 300 60 C 2D23 9E80"
std::string statusLine(const LoggerConfig &config);            // "t 0"
std::string rawLine(const LoggerConfig &config, int record);   // "d 215 -12 455", "d E3 ..."
std::string calibrationLine(const LoggerConfig &config);       // "r ..." (empty: no calibration)
// The interval field of the 'm' line: 43200 -> "-22336".
std::string intervalField(int interval);
// The first-record time as the logger reports it (block offset for firmware 2.21 and older).
unsigned loggerClockOf(const LoggerConfig &config, cRtc pcTime);
// Compressed time of a calendar time (no range check beyond what bRtc2Days does).
cRtc makeCRtc(int year, int month, int day, int hour, int minute, int second);

class SimLogger {
public:
    explicit SimLogger(LoggerConfig config = {});
    ~SimLogger();   // stops
    SimLogger(const SimLogger &) = delete;
    SimLogger &operator=(const SimLogger &) = delete;

    // Opens the pseudo-terminal pair (raw mode) and starts the thread. False on failure.
    bool start();
    // Stops the thread and closes the pseudo-terminal. Safe to call more than once.
    void stop();

    // The slave path the program under test opens ("" before start()).
    const std::string &devicePath() const;

    // Exact command lines received (without the carriage return), in order.
    std::vector<std::string> received() const;
    // Waits until at least count command lines have been received; false after timeoutMs.
    bool waitReceived(std::size_t count, int timeoutMs) const;
    // The current state: the configuration with the settings the PC has sent applied
    // (S: interval and unit; J: identifier; R: calibration values) and firstRecord resolved.
    LoggerConfig state() const;
    ReceivedSettings settings() const;
    // Changes the configuration while running (e.g. a fault, the status).
    void configure(const std::function<void(LoggerConfig &)> &edit);
    // Called on the simulator's thread with every command line received.
    void setCommandObserver(std::function<void(const std::string &)> observer);

    int dataLinesSent() const;   // 'd' lines completely written
    int linesSent() const;       // all lines completely written
    bool streaming() const;      // a "D" stream is running
    // Records are still to come: a stream that has not sent its last record (noise does not
    // count), data lines queued, or data lines after "Q" still due.
    bool dataPending() const;
    bool disconnected() const;   // the disconnect fault has closed the line

private:
    struct Out {
        std::string bytes;
        bool data = false;   // a 'd' line
        bool line = true;    // counts as a line (garbage does not)
    };
    using Clock = std::chrono::steady_clock;

    void run();
    void handleLine(const std::string &line);          // with mutex_ held
    void answer(std::vector<std::string> lines);       // with mutex_ held
    void queueLine(std::string line, bool data);       // with mutex_ held
    void queueGarbage();                               // with mutex_ held
    void dropPendingData();                            // with mutex_ held
    bool produce(Clock::time_point now);               // next stream line, with mutex_ held
    void writeFront(Clock::time_point now);            // with mutex_ held
    bool disconnectDue(Clock::time_point now) const;   // with mutex_ held
    void closeLine();

    mutable std::mutex mutex_;
    mutable std::condition_variable receivedCv_;
    LoggerConfig config_;
    ReceivedSettings settings_;
    std::vector<std::string> received_;
    std::function<void(const std::string &)> observer_;

    // output, owned by the thread (guarded by mutex_ where the handlers touch it)
    std::vector<Out> queue_;
    std::size_t frontWritten_ = 0;
    bool streaming_ = false;
    int nextRecord_ = 0;
    int streamEnd_ = 0;
    int afterQ_ = 0;   // data lines still to send after "Q" (fault)
    bool pausedOnce_ = false;
    Clock::time_point nextWrite_{};   // pacing: no write before this
    Clock::time_point resumeAt_{};    // pause fault: no stream line before this
    bool disconnectPending_ = false;
    Clock::time_point disconnectAt_{};
    std::string lineBuf_;   // command line being received (cut at 1024 characters)

    std::string path_;
    int master_ = -1;
    int slave_ = -1;   // kept open so the line never hangs up between the PC's opens
    int wake_[2] = {-1, -1};
    std::thread thread_;
    std::atomic<bool> stop_{false};
    std::atomic<int> dataLinesSent_{0};
    std::atomic<int> linesSent_{0};
    std::atomic<bool> disconnected_{false};
};

// Make the values follow a day's cycle (temperature about 21 C, second temperature about 4 C,
// humidity about 50 %) instead of the default ramps. The thermistor logger keeps its pattern.
void followTheDay(LoggerConfig &config);

}   // namespace sim
