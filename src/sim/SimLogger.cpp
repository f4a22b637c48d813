#include "sim/SimLogger.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstdlib>

#include "model/Models.h"
#include "base/clock.h"

namespace sim {
namespace {

constexpr std::size_t kMaxCommandLine = 1024;   // longer command lines are cut
constexpr std::size_t kIdCapacity = 10;         // the logger keeps 10 identifier characters
constexpr int kMaxCount = 16000;                // readings a logger holds at most

std::string num(long long v) {
    char buf[24];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, r.ptr);
}

std::vector<std::string> splitFields(const std::string &line) {
    // Fields are separated by exactly one space; two spaces give an empty field.
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t sp = line.find(' ', start);
        if (sp == std::string::npos) {
            fields.push_back(line.substr(start));
            return fields;
        }
        fields.push_back(line.substr(start, sp - start));
        start = sp + 1;
    }
}

long long toNumber(const std::string &field) {
    long long v = 0;
    const char *b = field.data();
    const char *e = b + field.size();
    if (b != e && *b == '+') ++b;
    std::from_chars(b, e, v);
    return v;
}

const std::string &fieldAt(const std::vector<std::string> &f, std::size_t i) {
    static const std::string empty;
    return i < f.size() ? f[i] : empty;
}

void setRaw(int fd) {
    termios t{};
    if (tcgetattr(fd, &t) != 0) return;
    cfmakeraw(&t);
    t.c_cflag |= CLOCAL | CREAD;
    tcsetattr(fd, TCSANOW, &t);
}

void setNonBlocking(int fd) {
    const int flags = fcntl(fd, F_GETFL);
    if (flags >= 0) fcntl(fd, F_SETFL, flags | O_NONBLOCK);
    fcntl(fd, F_SETFD, FD_CLOEXEC);
}

}   // namespace

int modelIndexOfConfig(const LoggerConfig &config) { return modelIndexOf(config.modelName.c_str()); }

int valuesPerLine(const LoggerConfig &config) {
    const int n = loggerDataNum(modelIndexOfConfig(config));
    return n > 0 ? n : 1;
}

float firmwareVersion(const LoggerConfig &config) {
    // The PC reads a version from the last three characters when the fourth from the end is 'V'.
    const std::string name = config.modelName + config.versionSuffix;
    if (name.size() >= 4 && name[name.size() - 4] == 'V') {
        float v = 0.0f;
        const char *b = name.data() + name.size() - 3;
        std::from_chars(b, name.data() + name.size(), v);
        return v;
    }
    return 2.4f;
}

int defaultRawValue(int modelIndex, int record, int slot) {
    if (record < 0) record = -record;
    if (modelIndex == 1) return 1500 + (record % 100) * 10;   // thermistor wire value
    // What the slot carries: 0 temperature, 1 second temperature, 2 humidity.
    int channel = 0;
    if (slot > 0) {
        const int layout = loggerType(modelIndex);
        if (layout == LAYOUT_T_RH)
            channel = 2;
        else if (layout == LAYOUT_T_T2)
            channel = 1;
        else
            channel = slot;   // layout 3: temperature, second temperature, humidity
    }
    switch (channel) {
        case 1: return -50 + record % 40;    // -5.0 .. -1.1
        case 2: return 450 + record % 100;   // 45.0 .. 54.9 % RH
        default: return 200 + record % 50;   // 20.0 .. 24.9
    }
}

std::string intervalField(int interval) {
    // A 16-bit field: intervals above 32767 go out as their negative two's-complement value.
    long long v = interval;
    if (v > 32767 && v <= 65536) v -= 65536;
    return num(v);
}

cRtc makeCRtc(int year, int month, int day, int hour, int minute, int second) {
    const long long days = bRtc2Days(year, month, day) - 1;
    return static_cast<cRtc>(((days * 24 + hour) * 60 + minute) * 60 + second);
}

unsigned loggerClockOf(const LoggerConfig &config, cRtc pcTime) {
    if (!(firmwareVersion(config) <= 2.21f)) return pcTime;
    // Old firmware counts inside the three-year block that holds the time.
    int i = 0;
    while (i < 23 && pcTime >= cRtc_Limit[i]) ++i;
    return pcTime - cRtc_Limit[i - 1];
}

std::string identityLine(const LoggerConfig &config) {
    return "i " + config.id + " " + config.modelName + config.versionSuffix;
}

std::string memoryLine(const LoggerConfig &config) {
    int count = 0;
    if (config.countOverride) {
        count = *config.countOverride;
    } else {
        const long long c = static_cast<long long>(std::max(config.records, 0)) * valuesPerLine(config);
        count = static_cast<int>(std::min<long long>(c, kMaxCount));
    }
    const unsigned clock = loggerClockOf(config, config.firstRecord.value_or(0));
    char hex[16];
    std::snprintf(hex, sizeof hex, "%04X %04X", (clock >> 16) & 0xFFFFu, clock & 0xFFFFu);
    const std::string interval = config.intervalText ? *config.intervalText : intervalField(config.interval);
    return "m " + num(count) + " " + interval + " " + std::string(1, config.unit) + " " + hex;
}

std::string statusLine(const LoggerConfig &config) { return "t " + num(config.status); }

std::string rawLine(const LoggerConfig &config, int record) {
    const int index = modelIndexOfConfig(config);
    const int n = valuesPerLine(config);
    std::string line = "d";
    for (int slot = 0; slot < n; ++slot) {
        line += ' ';
        const auto err = std::find_if(config.errors.begin(), config.errors.end(),
                                      [&](const ErrorReading &e) { return e.record == record && e.slot == slot; });
        if (err != config.errors.end()) {
            line += "E" + num(err->code);
        } else {
            line += num(config.value ? config.value(record, slot) : defaultRawValue(index, record, slot));
        }
    }
    return line;
}

std::string calibrationLine(const LoggerConfig &config) {
    switch (calibrationKind(modelIndexOfConfig(config))) {
        case Calibration::Temperature: {
            std::string line = "r";
            for (int v : config.tempCali) line += " " + num(v);
            return line;
        }
        case Calibration::Humidity: return "r " + config.rhCaliZ + " " + config.rhCaliS;
        case Calibration::None: break;
    }
    return {};
}

// ------------------------------------------------------------------------------ SimLogger

SimLogger::SimLogger(LoggerConfig config) : config_(std::move(config)) {}

SimLogger::~SimLogger() { stop(); }

bool SimLogger::start() {
    if (thread_.joinable() || master_ >= 0) return false;
    master_ = posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0) return false;
    char name[128] = {0};
    if (grantpt(master_) != 0 || unlockpt(master_) != 0 || ptsname_r(master_, name, sizeof name - 1) != 0) {
        closeLine();
        return false;
    }
    path_ = name;
    slave_ = open(name, O_RDWR | O_NOCTTY);
    if (slave_ < 0) {
        closeLine();
        return false;
    }
    setRaw(slave_);
    setNonBlocking(master_);
    setNonBlocking(slave_);
    if (pipe(wake_) != 0) {
        wake_[0] = wake_[1] = -1;
        closeLine();
        return false;
    }
    setNonBlocking(wake_[0]);
    setNonBlocking(wake_[1]);
    {
        std::lock_guard lock(mutex_);
        if (config_.id.size() > kIdCapacity) config_.id.resize(kIdCapacity);
        if (!config_.firstRecord) {
            const rt::LocalTime t = rt::Now();
            const cRtc now = makeCRtc(t.year, t.month, t.day, t.hour, t.minute, t.second);
            const long long span = static_cast<long long>(std::max(config_.records, 0)) * config_.interval;
            config_.firstRecord = static_cast<cRtc>(std::max<long long>(0, now - span));
        }
    }
    stop_ = false;
    thread_ = std::thread([this] { run(); });
    return true;
}

void SimLogger::stop() {
    stop_ = true;
    if (wake_[1] >= 0) {
        const char c = 'x';
        [[maybe_unused]] const ssize_t n = write(wake_[1], &c, 1);
    }
    if (thread_.joinable()) thread_.join();
    closeLine();
    for (int &fd : wake_) {
        if (fd >= 0) close(fd);
        fd = -1;
    }
}

void SimLogger::closeLine() {
    if (slave_ >= 0) close(slave_);
    if (master_ >= 0) close(master_);
    slave_ = master_ = -1;
}

const std::string &SimLogger::devicePath() const { return path_; }

std::vector<std::string> SimLogger::received() const {
    std::lock_guard lock(mutex_);
    return received_;
}

bool SimLogger::waitReceived(std::size_t count, int timeoutMs) const {
    std::unique_lock lock(mutex_);
    return receivedCv_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return received_.size() >= count; });
}

LoggerConfig SimLogger::state() const {
    std::lock_guard lock(mutex_);
    return config_;
}

ReceivedSettings SimLogger::settings() const {
    std::lock_guard lock(mutex_);
    return settings_;
}

void SimLogger::configure(const std::function<void(LoggerConfig &)> &edit) {
    std::lock_guard lock(mutex_);
    edit(config_);
}

void SimLogger::setCommandObserver(std::function<void(const std::string &)> observer) {
    std::lock_guard lock(mutex_);
    observer_ = std::move(observer);
}

int SimLogger::dataLinesSent() const { return dataLinesSent_; }
int SimLogger::linesSent() const { return linesSent_; }
bool SimLogger::disconnected() const { return disconnected_; }

bool SimLogger::streaming() const {
    std::lock_guard lock(mutex_);
    return streaming_;
}

bool SimLogger::dataPending() const {
    std::lock_guard lock(mutex_);
    if (disconnected_) return false;
    const int flood = config_.fault.floodAfterRecords;
    const bool recordsDue = streaming_ && nextRecord_ < streamEnd_ && !(flood > 0 && nextRecord_ >= flood);
    const bool queued = std::any_of(queue_.begin(), queue_.end(), [](const Out &o) { return o.data; });
    return recordsDue || queued || afterQ_ > 0;
}

void SimLogger::queueLine(std::string line, bool data) {
    line += config_.fault.crlf ? "\r\n" : "\r";
    queue_.push_back(Out{std::move(line), data, true});
}

void SimLogger::queueGarbage() {
    if (!config_.fault.garbage.empty()) queue_.push_back(Out{config_.fault.garbage, false, false});
}

void SimLogger::answer(std::vector<std::string> lines) {
    queueGarbage();
    for (std::string &l : lines) queueLine(std::move(l), false);
}

void SimLogger::dropPendingData() {
    // Data lines not yet on the wire are dropped; those already written cannot be recalled.
    const bool frontStarted = !queue_.empty() && frontWritten_ > 0;
    std::vector<Out> kept;
    for (std::size_t i = 0; i < queue_.size(); ++i) {
        if (!queue_[i].data || (i == 0 && frontStarted)) kept.push_back(std::move(queue_[i]));
    }
    queue_ = std::move(kept);
}

void SimLogger::handleLine(const std::string &line) {
    const std::vector<std::string> f = splitFields(line);
    const std::string &word = f[0];
    const Fault &fault = config_.fault;
    if (fault.noAnswer || (word.size() == 1 && fault.noAnswerTo.find(word[0]) != std::string::npos)) {
        return;   // the logger ignores the command altogether
    }
    const int index = modelIndexOfConfig(config_);
    if (word == "I") {
        answer({identityLine(config_), ">"});
    } else if (word == "M") {
        answer({memoryLine(config_), ">"});
    } else if (word == "t") {
        answer({statusLine(config_), ">"});
    } else if (word == "D") {
        // A new stream starts from the first record; lines of an earlier one still queued go.
        dropPendingData();
        queueGarbage();
        streaming_ = true;
        nextRecord_ = 0;
        streamEnd_ = std::max(0, config_.records + fault.extraRecords);
        pausedOnce_ = false;
        afterQ_ = 0;
    } else if (word == "Q") {
        dropPendingData();
        streaming_ = false;
        answer({">"});
        afterQ_ = fault.dataLinesAfterQ;
    } else if (word == "S") {
        settings_.settingsCount++;
        settings_.sampleRate = static_cast<int>(toNumber(fieldAt(f, 1)));
        settings_.unit = fieldAt(f, 2).empty() ? '\0' : fieldAt(f, 2)[0];
        settings_.schedule = toNumber(fieldAt(f, 3));
        settings_.points = static_cast<int>(toNumber(fieldAt(f, 4)));
        config_.interval = settings_.sampleRate;
        if (settings_.unit != '\0') config_.unit = settings_.unit;
        answer({">"});
    } else if (word == "A") {
        settings_.alarmCount++;
        settings_.alarm.clear();
        for (std::size_t i = 1; i < f.size(); ++i) settings_.alarm.push_back(toNumber(f[i]));
        answer({">"});
    } else if (word == "C") {
        settings_.clockCount++;
        settings_.clock = toNumber(fieldAt(f, 1));
        answer({">"});
    } else if (word == "J") {
        settings_.idCount++;
        config_.id = fieldAt(f, 1).substr(0, kIdCapacity);
        settings_.sleep = static_cast<int>(toNumber(fieldAt(f, 2)));
        answer({">"});
    } else if (word == "R") {
        settings_.caliCount++;
        const Calibration kind = calibrationKind(index);
        if (kind == Calibration::Temperature) {
            for (std::size_t k = 0; k < config_.tempCali.size(); ++k) {
                config_.tempCali[k] = static_cast<int>(toNumber(fieldAt(f, k + 1)));
            }
        } else if (kind == Calibration::Humidity) {
            config_.rhCaliZ = fieldAt(f, 1);
            config_.rhCaliS = fieldAt(f, 2);
        }
        answer({">"});
    } else if (word == "r") {
        std::string cal = calibrationLine(config_);
        if (!cal.empty() && !fault.caliAnswer.empty()) cal = "r " + fault.caliAnswer;
        if (cal.empty())
            answer({">"});
        else
            answer({cal, ">"});
    } else {
        answer({">"});
    }
}

bool SimLogger::produce(Clock::time_point now) {
    if (!queue_.empty()) return false;
    if (afterQ_ > 0) {
        --afterQ_;
        queueLine(rawLine(config_, nextRecord_++), true);
        return true;
    }
    if (!streaming_) return false;
    if (nextRecord_ >= streamEnd_) {
        streaming_ = false;
        queueLine(">", false);
        return true;
    }
    const Fault &fault = config_.fault;
    if (!pausedOnce_ && fault.pauseAtRecord >= 0 && nextRecord_ == fault.pauseAtRecord && fault.pauseMs > 0) {
        pausedOnce_ = true;
        resumeAt_ = now + std::chrono::milliseconds(fault.pauseMs);
    }
    if (now < resumeAt_) return false;
    if (fault.floodAfterRecords > 0 && nextRecord_ >= fault.floodAfterRecords) {
        queueLine("#", false);   // the noise goes on; the stream never reaches its end
        return true;
    }
    queueLine(rawLine(config_, nextRecord_++), true);
    return true;
}

void SimLogger::writeFront(Clock::time_point now) {
    Out &o = queue_.front();
    if (frontWritten_ == 0 && o.line && config_.fault.noCrAtLine > 0 && linesSent_ + 1 == config_.fault.noCrAtLine &&
        !o.bytes.empty() && o.bytes.back() == '\r') {
        o.bytes.pop_back();
    }
    const ssize_t n = write(master_, o.bytes.data() + frontWritten_, o.bytes.size() - frontWritten_);
    if (n <= 0) return;   // the line is full: try again when it drains
    frontWritten_ += static_cast<std::size_t>(n);
    if (config_.baud > 0) {
        const long long us = static_cast<long long>(n) * 10 * 1000000 / config_.baud;
        nextWrite_ = now + std::chrono::microseconds(us);
    }
    if (frontWritten_ < o.bytes.size()) return;
    const bool line = o.line;
    const bool data = o.data;
    queue_.erase(queue_.begin());
    frontWritten_ = 0;
    if (!line) return;
    ++linesSent_;
    if (data) ++dataLinesSent_;
    const int after = config_.fault.disconnectAfterLines;
    if (after > 0 && linesSent_ >= after && !disconnectPending_) {
        // The cable is pulled once the PC has taken in what was sent: closing the master at
        // once would throw away the bytes still waiting on the PC's side of the line.
        disconnectPending_ = true;
        disconnectAt_ = now + std::chrono::milliseconds(500);
    }
}

bool SimLogger::disconnectDue(Clock::time_point now) const {
    if (!disconnectPending_) return false;
    // The bytes reach the PC's read queue a moment after the write; give them that moment.
    if (now < disconnectAt_ - std::chrono::milliseconds(450)) return false;
    int waiting = 0;
    if (now >= disconnectAt_ || ioctl(slave_, FIONREAD, &waiting) != 0) return true;
    return waiting == 0;
}

void SimLogger::run() {
    std::vector<std::string> arrived;
    while (!stop_ && !disconnected_) {
        int timeoutMs = 100;
        bool wantWrite = false;
        {
            std::lock_guard lock(mutex_);
            const Clock::time_point now = Clock::now();
            if (disconnectDue(now)) {
                disconnected_ = true;
                closeLine();
                break;
            }
            if (disconnectPending_) {
                timeoutMs = 10;   // sends nothing more; watches the PC take in the last bytes
            } else {
                produce(now);
                if (!queue_.empty()) {
                    if (now >= nextWrite_) {
                        wantWrite = true;
                    } else {
                        const auto wait = std::chrono::ceil<std::chrono::milliseconds>(nextWrite_ - now).count();
                        timeoutMs = static_cast<int>(std::min<long long>(timeoutMs, wait));
                    }
                } else if (streaming_ && now < resumeAt_) {
                    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(resumeAt_ - now).count();
                    timeoutMs = static_cast<int>(std::min<long long>(timeoutMs, wait));
                }
            }
        }
        pollfd fds[2] = {{master_, static_cast<short>(POLLIN | (wantWrite ? POLLOUT : 0)), 0}, {wake_[0], POLLIN, 0}};
        const int ready = poll(fds, 2, timeoutMs);
        if (stop_) break;
        if (ready < 0) {
            if (errno == EINTR) continue;
            break;
        }
        if (fds[0].revents & POLLIN) {
            char buf[512];
            const ssize_t n = read(master_, buf, sizeof buf);
            if (n > 0) {
                std::function<void(const std::string &)> observer;
                {
                    std::lock_guard lock(mutex_);
                    for (ssize_t k = 0; k < n; ++k) {
                        const char c = buf[k];
                        if (c != '\r') {
                            if (lineBuf_.size() < kMaxCommandLine) lineBuf_ += c;
                            continue;
                        }
                        received_.push_back(lineBuf_);
                        arrived.push_back(lineBuf_);
                        handleLine(lineBuf_);
                        lineBuf_.clear();
                    }
                    observer = observer_;
                }
                if (!arrived.empty()) {
                    receivedCv_.notify_all();
                    if (observer) {
                        for (const std::string &l : arrived) observer(l);
                    }
                    arrived.clear();
                }
            } else if (n < 0 && errno != EAGAIN && errno != EINTR) {
                // Nobody holds the line open; wait for the next opener.
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            }
        }
        if (wantWrite && (fds[0].revents & POLLOUT)) {
            std::lock_guard lock(mutex_);
            if (!queue_.empty()) writeFront(Clock::now());
        }
    }
}

// Values that rise by day and fall by night, with a little wobble, as a warehouse would show.
void followTheDay(LoggerConfig &config) {
    const int index = modelIndexOfConfig(config);
    if (index == 1) return;   // the thermistor logger keeps its wire-value pattern
    const int layout = loggerType(index);
    const int interval = config.interval;
    config.value = [layout, interval](int record, int slot) {
        int channel = slot;   // 0 temperature, 1 second temperature, 2 humidity
        if (slot == 1 && layout == LAYOUT_T_RH) channel = 2;
        const double hours = static_cast<double>(record) * interval / 3600.0;
        const double day = std::sin((hours - 9.0) / 24.0 * 2.0 * 3.14159265358979);
        const double wobble = std::sin(record * 0.7) * 0.15 + std::sin(record * 0.13) * 0.25;
        double v = 0;
        switch (channel) {
            case 1: v = 4.0 + 1.2 * day + wobble * 0.5; break;
            case 2: v = 50.0 - 8.0 * day + wobble * 2.0; break;
            default: v = 21.0 + 2.5 * day + wobble; break;
        }
        return static_cast<int>(std::lround(v * 10.0));
    };
}

}   // namespace sim
