// The serial run-time against a pseudo-terminal: the test holds the master side and plays the
// logger; the slave side is bound to a port number and opened through the run-time.
#include "runtime/serial.h"

#include "ReadFaults.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QSettings>
#include <QTemporaryDir>

#include <chrono>
#include <ctime>
#include <cstdlib>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <poll.h>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kPort = 7;

// Run the event loop until pred holds or ms have passed.
bool pumpUntil(const std::function<bool()> &pred, int ms = 2000) {
    QElapsedTimer t;
    t.start();
    while (!pred()) {
        if (t.elapsed() > ms) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

void pumpFor(int ms) {
    pumpUntil([] { return false; }, ms);
}

// A temporary working directory, so "Tavix.ini" lands there.
class InTempDir : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        previous_ = QDir::currentPath();
        ASSERT_TRUE(QDir::setCurrent(dir_.path()));
        rt::LoadComPortBindings();
    }
    void TearDown() override {
        for (int port = 1; port <= MAX_COM_PORT; ++port) CloseCom(port);
        QDir::setCurrent(previous_);
        rt::LoadComPortBindings();
    }
    QTemporaryDir dir_;
    QString previous_;
};

// A pseudo-terminal whose slave is bound to kPort and opened.
class SerialPty : public InTempDir {
protected:
    void SetUp() override {
        InTempDir::SetUp();
        master_ = posix_openpt(O_RDWR | O_NOCTTY);
        ASSERT_GE(master_, 0);
        ASSERT_EQ(grantpt(master_), 0);
        ASSERT_EQ(unlockpt(master_), 0);
        slave_ = ptsname(master_);
        ASSERT_EQ(rt::BindComPort(kPort, slave_), 0);
        ASSERT_GE(OpenComConfig(kPort, "", 9600, 0, 8, 1, 1024, 1024), 0);
        ASSERT_EQ(SetComTime(kPort, 0.2), 0);
    }
    void TearDown() override {
        InTempDir::TearDown();
        if (master_ >= 0) ::close(master_);
    }

    void send(const std::string &bytes) {
        ASSERT_EQ(::write(master_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }
    // Everything the port sends within ms.
    std::string receive(int ms = 300) {
        std::string got;
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < ms) {
            pollfd pfd{master_, POLLIN, 0};
            if (::poll(&pfd, 1, 20) > 0 && (pfd.revents & POLLIN)) {
                char buf[256];
                const ssize_t n = ::read(master_, buf, sizeof buf);
                if (n > 0) got.append(buf, static_cast<std::size_t>(n));
            }
        }
        return got;
    }
    // Wait until the port holds n bytes (they reach the slave a moment after the write).
    bool waitQueued(int n) {
        return pumpUntil([&] { return GetInQLen(kPort) >= n; });
    }
    std::string readLine(int max = 1024) {
        std::vector<char> buf(static_cast<std::size_t>(max) + 8, '#');
        const int n = ComRdTerm(kPort, buf.data(), max, 13);
        EXPECT_GE(n, 0);
        EXPECT_LE(n, max);
        for (std::size_t i = static_cast<std::size_t>(std::max(n, 0)); i < buf.size(); ++i)
            EXPECT_EQ(buf[i], '#') << "written beyond the count at " << i;
        return std::string(buf.data(), static_cast<std::size_t>(std::max(n, 0)));
    }

    int master_ = -1;
    std::string slave_;
};

// ------------------------------------------------------------------ device table and bindings

TEST(SerialDevices, DefaultTable) {
    const struct {
        int port;
        const char *device;
    } cases[] = {
        {-1, ""},
        {0, ""},
        {1, "/dev/ttyS0"},
        {4, "/dev/ttyS3"},
        {5, "/dev/ttyUSB0"},
        {12, "/dev/ttyUSB7"},
        {13, "/dev/ttyACM0"},
        {16, "/dev/ttyACM3"},
        {17, ""},
    };
    for (const auto &c : cases) EXPECT_EQ(rt::DefaultComPortDevice(c.port), c.device) << "port " << c.port;
}

using SerialBindings = InTempDir;

TEST_F(SerialBindings, KeptInTheStateFileBesideOtherGroups) {
    {
        QSettings panel("Tavix.ini", QSettings::IniFormat);
        panel.setValue("PanelState1/SETTING_PORT", 4);
        panel.sync();
    }
    rt::LoadComPortBindings();
    EXPECT_EQ(rt::ComPortDevice(3), "/dev/ttyS2");

    EXPECT_EQ(rt::BindComPort(3, "/dev/pts/9"), 0);
    EXPECT_EQ(rt::BindComPort(16, "/dev/serial/by-id/usb-Logger_01-if00"), 0);
    EXPECT_EQ(rt::ComPortDevice(3), "/dev/pts/9");
    EXPECT_EQ(rt::ComPortDevice(4), "/dev/ttyS3");
    EXPECT_EQ(rt::ComPortDevice(16), "/dev/serial/by-id/usb-Logger_01-if00");
    EXPECT_EQ(rt::ComPortDevice(17), "");

    {
        QSettings file("Tavix.ini", QSettings::IniFormat);
        EXPECT_EQ(file.value("ComPorts/COM3").toString(), "/dev/pts/9");
        EXPECT_EQ(file.value("PanelState1/SETTING_PORT").toInt(), 4);
    }

    // Another writer changes the file: loading again picks that up.
    {
        QSettings other("Tavix.ini", QSettings::IniFormat);
        other.setValue("ComPorts/COM5", "/dev/pts/2");
        other.sync();
    }
    rt::LoadComPortBindings();
    EXPECT_EQ(rt::ComPortDevice(5), "/dev/pts/2");
    EXPECT_EQ(rt::ComPortDevice(3), "/dev/pts/9");

    // An empty device removes the binding.
    EXPECT_EQ(rt::BindComPort(3, ""), 0);
    EXPECT_EQ(rt::ComPortDevice(3), "/dev/ttyS2");
    rt::LoadComPortBindings();
    EXPECT_EQ(rt::ComPortDevice(3), "/dev/ttyS2");
    EXPECT_EQ(rt::ComPortDevice(16), "/dev/serial/by-id/usb-Logger_01-if00");
    {
        QSettings file("Tavix.ini", QSettings::IniFormat);
        EXPECT_FALSE(file.contains("ComPorts/COM3"));
        EXPECT_EQ(file.value("PanelState1/SETTING_PORT").toInt(), 4);
    }

    EXPECT_LT(rt::BindComPort(0, "/dev/pts/1"), 0);
    EXPECT_LT(rt::BindComPort(17, "/dev/pts/1"), 0);
}

TEST_F(SerialBindings, BelongToTheWorkingDirectory) {
    ASSERT_EQ(rt::BindComPort(2, "/dev/pts/5"), 0);
    QTemporaryDir elsewhere;
    ASSERT_TRUE(QDir::setCurrent(elsewhere.path()));
    rt::LoadComPortBindings();
    EXPECT_EQ(rt::ComPortDevice(2), "/dev/ttyS1");
    ASSERT_TRUE(QDir::setCurrent(dir_.path()));
    rt::LoadComPortBindings();
    EXPECT_EQ(rt::ComPortDevice(2), "/dev/pts/5");
}

// ------------------------------------------------------------------ open and close

TEST_F(SerialPty, OpenCloseAndCloseAgain) {
    EXPECT_EQ(GetInQLen(kPort), 0);
    EXPECT_GE(CloseCom(kPort), 0);
    EXPECT_LT(GetInQLen(kPort), 0);
    CloseCom(kPort);   // harmless
    CloseCom(kPort);
    EXPECT_GE(OpenComConfig(kPort, "", 9600, 0, 8, 1, 1024, 1024), 0);
    EXPECT_EQ(ComWrt(kPort, "I\r", 2), 2);
    EXPECT_EQ(receive(), "I\r");
}

TEST_F(SerialPty, OpeningAnOpenPortReopensIt) {
    send("old\r");
    ASSERT_TRUE(waitQueued(4));
    EXPECT_GE(OpenComConfig(kPort, "", 19200, 2, 7, 2, 1024, 1024), 0);
    EXPECT_EQ(GetInQLen(kPort), 0);
    EXPECT_EQ(ComWrt(kPort, "M\r", 2), 2);
    EXPECT_EQ(receive(), "M\r");
    // A reopening that fails leaves the port closed, as its result says.
    EXPECT_LT(OpenComConfig(kPort, "", 9600, 9, 8, 1, 1024, 1024), 0);
    EXPECT_LT(GetInQLen(kPort), 0);
    EXPECT_LT(ComWrt(kPort, "M\r", 2), 0);
}

TEST_F(SerialPty, EveryParityDataBitsAndStopBitsOpen) {
    for (int parity = 0; parity <= 4; ++parity)
        for (int dataBits = 5; dataBits <= 8; ++dataBits)
            for (int stopBits = 1; stopBits <= 2; ++stopBits)
                EXPECT_GE(OpenComConfig(kPort, "", 4800, parity, dataBits, stopBits, 256, 256), 0)
                    << parity << " " << dataBits << " " << stopBits;
}

TEST_F(SerialPty, DeviceNameOverridesTheTable) {
    CloseCom(kPort);
    ASSERT_GE(OpenComConfig(2, slave_.c_str(), 9600, 0, 8, 1, 1024, 1024), 0);
    EXPECT_EQ(ComWrt(2, "t\r", 2), 2);
    EXPECT_EQ(receive(), "t\r");
}

TEST_F(SerialPty, ADeviceInUseDoesNotOpenTwice) {
    EXPECT_LT(OpenComConfig(3, slave_.c_str(), 9600, 0, 8, 1, 1024, 1024), 0);
    EXPECT_LT(GetInQLen(3), 0);
    EXPECT_EQ(ComWrt(kPort, "I\r", 2), 2);   // the first stays usable
    EXPECT_EQ(receive(), "I\r");
}

TEST_F(SerialPty, PortsThatCannotOpen) {
    ASSERT_EQ(rt::BindComPort(9, "/nonexistent/ttyX"), 0);
    const struct {
        const char *what;
        int port;
        const char *device;
        long baud;
        int parity, dataBits, stopBits;
    } cases[] = {
        {"bound path missing", 9, "", 9600, 0, 8, 1},
        {"named device missing", 10, "/dev/ttyNoSuchPort", 9600, 0, 8, 1},
        {"not a terminal", 10, "/dev/null", 9600, 0, 8, 1},
        {"port 0", 0, "", 9600, 0, 8, 1},
        {"port 17", 17, "", 9600, 0, 8, 1},
        {"port -1", -1, "", 9600, 0, 8, 1},
        {"baud 0", 8, "", 0, 0, 8, 1},
        {"parity 5", 8, "", 9600, 5, 8, 1},
        {"parity -1", 8, "", 9600, -1, 8, 1},
        {"data bits 4", 8, "", 9600, 0, 4, 1},
        {"data bits 9", 8, "", 9600, 0, 9, 1},
        {"stop bits 0", 8, "", 9600, 0, 8, 0},
        {"stop bits 3", 8, "", 9600, 0, 8, 3},
    };
    ASSERT_EQ(rt::BindComPort(8, slave_), 0);
    CloseCom(kPort);   // port 8 would otherwise find the device busy
    for (const auto &c : cases) {
        EXPECT_LT(OpenComConfig(c.port, c.device, c.baud, c.parity, c.dataBits, c.stopBits, 1024, 1024), 0) << c.what;
        EXPECT_LT(GetInQLen(c.port), 0) << c.what;
    }
}

TEST(SerialClosed, CallsOnAPortNotOpenAreRefused) {
    char buf[8];
    for (int port : {0, 11, 17}) {
        EXPECT_LT(CloseCom(port), 0);
        EXPECT_LT(ComWrt(port, "x", 1), 0);
        EXPECT_LT(ComRdTerm(port, buf, sizeof buf, 13), 0);
        EXPECT_LT(GetInQLen(port), 0);
        EXPECT_LT(FlushInQ(port), 0);
        EXPECT_LT(FlushOutQ(port), 0);
        EXPECT_LT(SetComTime(port, 1.0), 0);
        EXPECT_LT(InstallComCallback(port, LWRS_RXFLAG, 0, 13, nullptr, nullptr), 0);
    }
}

// ------------------------------------------------------------------ writing

TEST_F(SerialPty, WriteSendsExactlyTheBytes) {
    const std::string command = "S 1 2 3 ABC\r";
    EXPECT_EQ(ComWrt(kPort, command.data(), static_cast<int>(command.size())), static_cast<int>(command.size()));
    EXPECT_EQ(ComWrt(kPort, "", 0), 0);
    EXPECT_EQ(receive(), command);
    const char binary[] = {'\0', '\n', '\r', '\x7f', '\xff'};
    EXPECT_EQ(ComWrt(kPort, binary, 5), 5);
    EXPECT_EQ(receive(), std::string(binary, 5));
    EXPECT_LT(ComWrt(kPort, "x", -1), 0);
}

// ------------------------------------------------------------------ line notification

struct Notified {
    int calls = 0;
    int depth = 0;
    int nested = 0;
    int wrongPort = 0;
    int wrongMask = 0;
    std::vector<std::string> lines;
};

// Behaves as the program's serial callback: one line per notification.
void lineCallback(int port, int mask, void *data) {
    auto *n = static_cast<Notified *>(data);
    ++n->calls;
    if (n->depth++ > 0) ++n->nested;
    if (port != kPort) ++n->wrongPort;
    if (mask != LWRS_RXFLAG) ++n->wrongMask;
    if (GetInQLen(port) > 0) {
        char buf[1024];
        const int len = ComRdTerm(port, buf, sizeof buf, 13);
        if (len > 0) n->lines.emplace_back(buf, static_cast<std::size_t>(len));
    }
    --n->depth;
}

void countingCallback(int, int, void *data) { ++static_cast<Notified *>(data)->calls; }

TEST_F(SerialPty, OneNotificationPerCarriageReturnOnTheEventLoop) {
    Notified n;
    ASSERT_EQ(InstallComCallback(kPort, LWRS_RXFLAG, 0, 13, lineCallback, &n), 0);
    send("i LOG 4123\r");
    ASSERT_TRUE(pumpUntil([&] { return n.calls >= 1; }));
    send("m 16000 60 C\rd 1 23.5\r");
    ASSERT_TRUE(pumpUntil([&] { return n.calls >= 3; }));
    pumpFor(100);
    EXPECT_EQ(n.calls, 3);
    EXPECT_EQ(n.nested, 0);
    EXPECT_EQ(n.wrongPort, 0);
    EXPECT_EQ(n.wrongMask, 0);
    EXPECT_EQ(n.lines, (std::vector<std::string>{"i LOG 4123", "m 16000 60 C", "d 1 23.5"}));
    EXPECT_EQ(GetInQLen(kPort), 0);
}

TEST_F(SerialPty, NoCallbackRunsInsideARead) {
    Notified n;
    ASSERT_EQ(InstallComCallback(kPort, LWRS_RXFLAG, 0, 13, lineCallback, &n), 0);
    send("first\rsecond\r");
    EXPECT_EQ(readLine(), "first");   // the read takes both lines and announces both
    EXPECT_EQ(n.calls, 0);
    pumpFor(50);
    // Two carriage returns were announced; the first notification reads "second", and the
    // second finds no line left, so it does not call back (the callback would wait for a line).
    EXPECT_EQ(n.calls, 1);
    EXPECT_EQ(n.lines, std::vector<std::string>{"second"});
    EXPECT_EQ(GetInQLen(kPort), 0);
}

TEST_F(SerialPty, InstallingAgainReplacesTheCallback) {
    Notified first, second;
    ASSERT_EQ(InstallComCallback(kPort, LWRS_RXFLAG, 0, 13, countingCallback, &first), 0);
    ASSERT_EQ(InstallComCallback(kPort, LWRS_RXFLAG, 0, 13, countingCallback, &second), 0);
    send("a\r");
    ASSERT_TRUE(pumpUntil([&] { return second.calls >= 1; }));
    pumpFor(50);
    EXPECT_EQ(first.calls, 0);
    EXPECT_EQ(second.calls, 1);
}

TEST_F(SerialPty, EveryByteNotificationWhenAsked) {
    Notified n;
    ASSERT_EQ(InstallComCallback(kPort, LWRS_RXCHAR, 0, 0, countingCallback, &n), 0);
    send("ab");
    ASSERT_TRUE(pumpUntil([&] { return n.calls >= 1; }));
    EXPECT_EQ(GetInQLen(kPort), 2);
    EXPECT_EQ(InstallComCallback(kPort, 0, 0, 0, nullptr, nullptr), 0);   // removed
    const int before = n.calls;
    send("cd");
    ASSERT_TRUE(waitQueued(4));
    pumpFor(50);
    EXPECT_EQ(n.calls, before);
}

TEST_F(SerialPty, NoNotificationAfterCloseOrReopen) {
    Notified n;
    ASSERT_EQ(InstallComCallback(kPort, LWRS_RXFLAG, 0, 13, countingCallback, &n), 0);
    // A read of one byte takes the whole line from the device: its notification is posted, not
    // yet delivered.
    send("x\r");
    EXPECT_EQ(readLine(1), "x");
    CloseCom(kPort);
    pumpFor(50);
    EXPECT_EQ(n.calls, 0);

    ASSERT_GE(OpenComConfig(kPort, "", 9600, 0, 8, 1, 1024, 1024), 0);
    ASSERT_EQ(InstallComCallback(kPort, LWRS_RXFLAG, 0, 13, countingCallback, &n), 0);
    send("y\r");
    EXPECT_EQ(readLine(1), "y");
    ASSERT_GE(OpenComConfig(kPort, "", 9600, 0, 8, 1, 1024, 1024), 0);
    ASSERT_EQ(InstallComCallback(kPort, LWRS_RXFLAG, 0, 13, countingCallback, &n), 0);
    pumpFor(50);
    EXPECT_EQ(n.calls, 0);
}

TEST_F(SerialPty, FlushedLinesAreNotAnnounced) {
    Notified n;
    ASSERT_EQ(InstallComCallback(kPort, LWRS_RXFLAG, 0, 13, lineCallback, &n), 0);
    send("junk\rpartial");
    EXPECT_EQ(readLine(1), "j");   // the rest waits, its carriage return announced
    EXPECT_EQ(FlushInQ(kPort), 0);
    EXPECT_EQ(GetInQLen(kPort), 0);
    pumpFor(50);
    EXPECT_EQ(n.calls, 0);
    send("ok\r");
    ASSERT_TRUE(pumpUntil([&] { return n.calls >= 1; }));
    EXPECT_EQ(n.lines, std::vector<std::string>{"ok"});
}

// ------------------------------------------------------------------ reading

TEST_F(SerialPty, ReadWaitsForTheCarriageReturnWithinTheTimeOut) {
    ASSERT_EQ(SetComTime(kPort, 1.0), 0);   // room for a slow machine; the read ends at the CR
    send("abc");
    std::thread logger([this] {
        std::this_thread::sleep_for(std::chrono::milliseconds(60));
        send("def\rgh");
    });
    const std::string line = readLine();
    logger.join();
    EXPECT_EQ(line, "abcdef");
    ASSERT_TRUE(waitQueued(2));
    EXPECT_EQ(GetInQLen(kPort), 2);
}

TEST_F(SerialPty, ReadWithoutCarriageReturnReturnsThePartialBytes) {
    send("partial");
    ASSERT_TRUE(waitQueued(7));
    QElapsedTimer t;
    t.start();
    EXPECT_EQ(readLine(), "partial");
    EXPECT_GE(t.elapsed(), 150);   // it waited for the rest of the line
    EXPECT_EQ(GetInQLen(kPort), 0);
    EXPECT_EQ(readLine(), "");   // nothing at all: 0
}

TEST_F(SerialPty, DrainingTheQueueEnds) {
    send("d 1\rd 2\rtail");
    ASSERT_TRUE(waitQueued(12));
    std::vector<std::string> lines;
    for (int guard = 0; GetInQLen(kPort) > 0 && guard < 10; ++guard) lines.push_back(readLine());
    EXPECT_EQ(lines, (std::vector<std::string>{"d 1", "d 2", "tail"}));
    EXPECT_EQ(GetInQLen(kPort), 0);
}

TEST_F(SerialPty, ReadStopsAtTheMaximumCount) {
    send("0123456789\rabcd\r");
    ASSERT_TRUE(waitQueued(16));
    EXPECT_EQ(readLine(4), "0123");
    EXPECT_EQ(readLine(4), "4567");
    EXPECT_EQ(readLine(4), "89");     // the carriage return ends it and is consumed
    EXPECT_EQ(readLine(4), "abcd");   // exactly the maximum: the carriage return stays
    EXPECT_EQ(GetInQLen(kPort), 1);
    EXPECT_EQ(readLine(4), "");
    EXPECT_EQ(GetInQLen(kPort), 0);
    char c = '#';
    EXPECT_EQ(ComRdTerm(kPort, &c, 0, 13), 0);
    EXPECT_EQ(c, '#');
}

TEST_F(SerialPty, ReadWithoutTimeOutTakesWhatIsThere) {
    ASSERT_EQ(SetComTime(kPort, 0.0), 0);
    send("ab");
    ASSERT_TRUE(waitQueued(2));
    EXPECT_EQ(readLine(), "ab");
    EXPECT_LT(SetComTime(kPort, -1.0), 0);
}

// ------------------------------------------------------------------ queues

TEST_F(SerialPty, FlushInputDiscardsWhatIsWaiting) {
    send("stale data\r");
    ASSERT_TRUE(waitQueued(11));
    EXPECT_EQ(FlushInQ(kPort), 0);
    EXPECT_EQ(GetInQLen(kPort), 0);
    send("fresh\r");
    ASSERT_TRUE(waitQueued(6));
    EXPECT_EQ(readLine(), "fresh");
}

TEST_F(SerialPty, FlushOutputIsAccepted) {
    EXPECT_EQ(FlushOutQ(kPort), 0);
    EXPECT_EQ(ComWrt(kPort, "Q\r", 2), 2);
    EXPECT_EQ(receive(), "Q\r");
}

// The queue holds at most its size; what does not fit waits in the device and is taken as the
// queue is read. Nothing is lost, even when the program falls behind the line.
TEST_F(SerialPty, AFullInputQueueLosesNothing) {
    ASSERT_GE(OpenComConfig(kPort, "", 9600, 0, 8, 1, 16, 16), 0);
    ASSERT_EQ(SetComTime(kPort, 0.2), 0);
    send(std::string(40, 'x') + "\rok\r");
    ASSERT_TRUE(waitQueued(16));
    pumpFor(50);
    EXPECT_EQ(GetInQLen(kPort), 16);
    // a line longer than the queue comes in pieces of the queue's size
    EXPECT_EQ(readLine(), std::string(16, 'x'));
    EXPECT_EQ(readLine(), std::string(16, 'x'));
    EXPECT_EQ(readLine(), std::string(8, 'x'));
    EXPECT_EQ(readLine(), "ok");
    EXPECT_EQ(GetInQLen(kPort), 0);
}

TEST_F(SerialPty, ABurstOfLinesLargerThanTheQueueArrivesWhole) {
    Notified n;
    ASSERT_EQ(InstallComCallback(kPort, LWRS_RXFLAG, 0, 13, countingCallback, &n), 0);
    std::string burst;
    for (int i = 0; i < 400; ++i) burst += "d " + std::to_string(i) + " 248 655\r";   // ~6 KB, 1 KB queue
    send(burst);
    std::string got;
    int lines = 0;
    pumpUntil(
        [&] {
            while (GetInQLen(kPort) > 0) {
                got += readLine() + "\n";
                ++lines;
            }
            return lines >= 400;
        },
        5000);
    EXPECT_EQ(lines, 400);
    std::string expected;
    for (int i = 0; i < 400; ++i) expected += "d " + std::to_string(i) + " 248 655\n";
    EXPECT_EQ(got, expected);
}

// ------------------------------------------------------------------ reads that find nothing

// A read of a live device that comes back empty (the bytes were taken a moment earlier, the
// errno is a leftover) must not cost the port: the line goes on and no byte is lost.
struct EmptyRead {
    const char *name;
    int result;   // what read() returns
    int err;      // the errno it leaves
};
void PrintTo(const EmptyRead &e, std::ostream *os) { *os << e.name; }

class SerialEmptyRead : public SerialPty, public ::testing::WithParamInterface<EmptyRead> {
protected:
    void TearDown() override {
        readfaults::clear();
        SerialPty::TearDown();
    }
    void failNextRead() { readfaults::failReads(slave_, 1, 1, GetParam().result, GetParam().err); }
};

TEST_P(SerialEmptyRead, OnTheNotifierPathKeepsThePort) {
    Notified n;
    ASSERT_EQ(InstallComCallback(kPort, LWRS_RXFLAG, 0, 13, lineCallback, &n), 0);
    failNextRead();
    send("i LOG 4123\r");
    ASSERT_TRUE(pumpUntil([&] { return n.calls >= 1; })) << "the line never arrived";
    EXPECT_EQ(readfaults::readsFailed(), 1);
    send("m 16000 60 C\r");
    ASSERT_TRUE(pumpUntil([&] { return n.calls >= 2; }));
    EXPECT_EQ(n.lines, (std::vector<std::string>{"i LOG 4123", "m 16000 60 C"}));
    EXPECT_EQ(ComWrt(kPort, "I\r", 2), 2);
    EXPECT_EQ(receive(), "I\r");
}

TEST_P(SerialEmptyRead, InsideAReadKeepsThePort) {
    send("abc");
    ASSERT_TRUE(waitQueued(3));
    failNextRead();
    send("def\r");
    EXPECT_EQ(readLine(), "abcdef");
    EXPECT_EQ(readfaults::readsFailed(), 1);
    EXPECT_EQ(rt::ComPortStatus(kPort), rt::COM_PORT_OPEN);
    send("ghi\r");
    ASSERT_TRUE(waitQueued(4));
    EXPECT_EQ(readLine(), "ghi");
}

const EmptyRead kEmptyReads[] = {
    {"nothing_EAGAIN", 0, EAGAIN},
    {"nothing_EIO", 0, EIO},
    {"failure_EAGAIN", -1, EAGAIN},
    {"failure_EIO", -1, EIO},
};
INSTANTIATE_TEST_SUITE_P(Reads, SerialEmptyRead, ::testing::ValuesIn(kEmptyReads),
                         [](const auto &info) { return std::string(info.param.name); });

// ------------------------------------------------------------------ the other end goes away

TEST_F(SerialPty, AVanishedDeviceReportsWriteFailureAndCloses) {
    Notified n;
    ASSERT_EQ(InstallComCallback(kPort, LWRS_RXFLAG, 0, 13, countingCallback, &n), 0);
    ::close(master_);
    master_ = -1;
    // The read error must not repeat for ever and keep the event loop busy.
    const std::clock_t cpuBefore = std::clock();
    pumpFor(300);
    const double cpuMs = 1000.0 * static_cast<double>(std::clock() - cpuBefore) / CLOCKS_PER_SEC;
    EXPECT_LT(cpuMs, 150.0) << "the event loop kept spinning";
    EXPECT_EQ(rt::ComPortStatus(kPort), rt::COM_PORT_LOST);
    EXPECT_LT(ComWrt(kPort, "I\r", 2), 0);
    EXPECT_EQ(readLine(), "");
    EXPECT_LE(GetInQLen(kPort), 0);
    EXPECT_EQ(n.calls, 0);
    EXPECT_GE(CloseCom(kPort), 0);
}

}   // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
