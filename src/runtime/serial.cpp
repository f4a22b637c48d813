// The serial (COM-port) run-time on Qt SerialPort.
//
// Each open port has its own input queue: whatever the device delivers is moved into it as soon
// as it arrives (readyRead), and every read, length query and flush works on that queue. The
// queue holds at most the input queue size given at open (1024 bytes when 0 or less is given);
// bytes arriving while it is full are dropped, as a UART driver drops them when nobody reads.
// The output queue size is accepted but not used: ComWrt waits until its bytes have gone out.
//
// Waiting (ComRdTerm, ComWrt) uses the device's own blocking waits, which never dispatch events,
// so no callback can run inside a read or a write. The line notification is posted to the event
// loop and runs there later, between other callbacks.
//
// Pseudo-terminals work as well as real ports: the kernel keeps a pseudo-terminal at 8 data bits
// whatever is asked, which does not matter for a device that has no wire.
#include "runtime/serial.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QObject>
#include <QSerialPort>
#include <QSettings>

#ifdef Q_OS_UNIX
#include <poll.h>
#endif
#include <QString>

#include <algorithm>
#include <climits>
#include <cstring>
#include <map>
#include <memory>

namespace {

// Error codes; callers only look at the sign.
enum {
    kErrPortNumber = -2,   // port number outside 1..16
    kErrNotOpen = -3,      // the port is not open
    kErrParameter = -4,    // a bad argument (parity, data bits, buffer, ...)
    kErrNoDevice = -5,     // the device does not exist
    kErrBusy = -6,         // the device is in use or access is refused
    kErrOpen = -7,         // any other reason the device does not open
    kErrWrite = -8,        // the device refused the bytes (e.g. it has gone away)
    kErrTimeout = -99,     // nothing could be written within the time-out
};

constexpr int kDefaultQueueSize = 1024;
constexpr int kDefaultTimeoutMs = 1000;
const char *const kBindingFile = "Tavix.ini";
const char *const kBindingGroup = "ComPorts";

struct Port {
    bool open = false;
    std::unique_ptr<QSerialPort> device;
    bool deviceFailed = false;   // read error: the device is closed, the queue can still be read
    int idleReadErrors = 0;      // read errors in a row without a byte arriving in between
    unsigned session = 0;        // changes at every open and close
    QByteArray inQueue;
    int inQueueCapacity = kDefaultQueueSize;
    int timeoutMs = kDefaultTimeoutMs;
    ComCallbackPtr callback = nullptr;
    void *callbackData = nullptr;
    int eventMask = 0;
    int eventChar = -1;
};

// The ports and the object the notifications are posted to live until the application object
// goes away (a post routine closes everything then); they are never destroyed with the statics,
// when there is no event loop left to tidy up after them.
Port *ports() {
    static Port *table = new Port[MAX_COM_PORT + 1];
    return table;
}

QObject *gNotifier = nullptr;
bool gPostRoutineAdded = false;

std::map<int, std::string> gBindings;
bool gBindingsLoaded = false;

bool validPort(int port) { return port >= 1 && port <= MAX_COM_PORT; }

bool deviceUsable(const Port &p) { return p.device && !p.deviceFailed && p.device->isOpen(); }

void closeAllPorts() {
    for (int port = 1; port <= MAX_COM_PORT; ++port) CloseCom(port);
    delete gNotifier;
    gNotifier = nullptr;
    gPostRoutineAdded = false;
}

QObject *notifier() {
    if (!gNotifier) gNotifier = new QObject;
    if (!gPostRoutineAdded && QCoreApplication::instance()) {
        qAddPostRoutine(closeAllPorts);
        gPostRoutineAdded = true;
    }
    return gNotifier;
}

// True while an event character is waiting in the queue.
bool eventCharWaiting(const Port &p) {
    return p.eventChar >= 0 && p.eventChar <= 255 && p.inQueue.contains(static_cast<char>(p.eventChar));
}

void deliver(int port, unsigned session, int mask);

// Announce an event of the port on the event loop.
void post(int port, int mask) {
    const unsigned session = ports()[port].session;
    QMetaObject::invokeMethod(
        notifier(), [port, session, mask] { deliver(port, session, mask); }, Qt::QueuedConnection);
}

// New bytes from the device: keep what fits in the queue and announce them.
void takeBytes(int port, const QByteArray &bytes) {
    Port &p = ports()[port];
    const qsizetype room = std::max<qsizetype>(0, p.inQueueCapacity - p.inQueue.size());
    const QByteArray kept = bytes.left(room);
    if (kept.isEmpty()) return;
    p.inQueue.append(kept);
    if (!p.callback) return;
    if ((p.eventMask & LWRS_RXFLAG) && p.eventChar >= 0 && p.eventChar <= 255) {
        const qsizetype n = kept.count(static_cast<char>(p.eventChar));
        for (qsizetype i = 0; i < n; ++i) post(port, LWRS_RXFLAG);
    }
    if (p.eventMask & LWRS_RXCHAR) post(port, LWRS_RXCHAR);
}

// Move what the device object has already read from the system into the queue, as much as
// the queue has room for. Bytes that do not fit stay in the device object's own buffer (it has
// no limit) and are taken as the queue is read: nothing that arrived is ever lost. This makes
// no system call; only the read notifier and the waits of ComRdTerm read the device. Reading
// the device object also switches its read notifier back on where a failed read had switched
// it off.
void takeFromDevice(int port) {
    Port &p = ports()[port];
    if (!p.device || !p.device->isOpen()) return;
    const qsizetype room = std::max<qsizetype>(0, p.inQueueCapacity - p.inQueue.size());
    if (room == 0) return;
    takeBytes(port, p.device->read(room));
}

// Runs on the event loop. A notification of a port closed (or reopened) since it was posted is
// dropped, and so is a line notification whose line has already been read (by a drain, or by
// the callback of an earlier line): calling back then would make the callback wait for a line
// that is not there and cut the next one in two.
void deliver(int port, unsigned session, int mask) {
    Port &p = ports()[port];
    if (!p.open || p.session != session || !p.callback || !(p.eventMask & mask)) return;
    if (mask == LWRS_RXFLAG) {
        takeFromDevice(port);
        if (!eventCharWaiting(p)) return;
    }
    p.callback(port, mask, p.callbackData);
}

// Whether the other end of the line has gone (hang-up, adapter unplugged), as opposed to a
// read that merely found nothing.
bool deviceHungUp(Port &p) {
    if (!p.device) return true;
#ifdef Q_OS_UNIX
    pollfd pfd{static_cast<int>(p.device->handle()), POLLIN, 0};
    if (pfd.fd < 0) return true;
    if (::poll(&pfd, 1, 0) < 0) return false;
    return (pfd.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
#else
    return true;
#endif
}

// A line that has gone fails every read at once, again and again; a read that found nothing
// happens once in a while. This many failed reads in a row, without a byte arriving in between,
// mean the device has gone even where the system reports no hang-up.
constexpr int kReadErrorsOfAGoneDevice = 3;

// A failed read. Qt reports a read that returned nothing by whatever errno was left over: as a
// read error, or with EAGAIN or EIO as a resource error (and then switches its read notifier
// off). On a busy machine that happens to a live device whenever its bytes were taken between
// the event loop's poll and the notifier's read. So both kinds only close the device when the
// line has really gone; otherwise the error is forgotten and reading goes on.
void onDeviceError(int port, QSerialPort::SerialPortError error) {
    if (error != QSerialPort::ReadError && error != QSerialPort::ResourceError) return;
    Port &p = ports()[port];
    if (!p.device || p.deviceFailed) return;
    if (!deviceHungUp(p) && ++p.idleReadErrors < kReadErrorsOfAGoneDevice) {
        p.device->clearError();
        takeFromDevice(port);   // switches the read notifier on again
        return;
    }
    // The device has gone. The port stays open for the program, which can still read what has
    // arrived, learns of the loss from ComPortStatus and closes the port. The device object is
    // closed on the event loop, outside Qt's own read that reported the error.
    p.deviceFailed = true;
    const unsigned session = p.session;
    QMetaObject::invokeMethod(
        notifier(),
        [port, session] {
            Port &q = ports()[port];
            if (q.open && q.session == session && q.device) q.device->close();
        },
        Qt::QueuedConnection);
}

QSerialPort::Parity toParity(int parity) {
    switch (parity) {
        case 1: return QSerialPort::OddParity;
        case 2: return QSerialPort::EvenParity;
        case 3: return QSerialPort::MarkParity;
        case 4: return QSerialPort::SpaceParity;
        default: return QSerialPort::NoParity;
    }
}

void ensureBindings() {
    if (!gBindingsLoaded) rt::LoadComPortBindings();
}

QString bindingKey(int port) { return QStringLiteral("COM%1").arg(port); }

}   // namespace

int OpenComConfig(int port, const char *deviceName, long baudRate, int parity, int dataBits, int stopBits,
                  int inputQueueSize, int outputQueueSize) {
    (void)outputQueueSize;
    if (!validPort(port)) return kErrPortNumber;
    // An open port is closed first, so a negative result always leaves it closed.
    CloseCom(port);
    if (baudRate <= 0 || baudRate > INT_MAX || parity < 0 || parity > 4 || dataBits < 5 || dataBits > 8 ||
        stopBits < 1 || stopBits > 2)
        return kErrParameter;

    const std::string path = (deviceName && *deviceName) ? std::string(deviceName) : rt::ComPortDevice(port);
    if (path.empty()) return kErrNoDevice;

    auto device = std::make_unique<QSerialPort>();
    device->setPortName(QFile::decodeName(path.c_str()));
    device->setBaudRate(static_cast<qint32>(baudRate));
    device->setParity(toParity(parity));
    device->setDataBits(static_cast<QSerialPort::DataBits>(dataBits));
    device->setStopBits(stopBits == 2 ? QSerialPort::TwoStop : QSerialPort::OneStop);
    device->setFlowControl(QSerialPort::NoFlowControl);
    if (!device->open(QIODevice::ReadWrite)) {
        switch (device->error()) {
            case QSerialPort::DeviceNotFoundError: return kErrNoDevice;
            case QSerialPort::PermissionError: return kErrBusy;
            default: return kErrOpen;
        }
    }

    Port &p = ports()[port];
    p.device = std::move(device);
    p.open = true;
    p.deviceFailed = false;
    p.idleReadErrors = 0;
    ++p.session;
    p.inQueue.clear();
    p.inQueueCapacity = inputQueueSize > 0 ? inputQueueSize : kDefaultQueueSize;
    p.timeoutMs = kDefaultTimeoutMs;
    p.callback = nullptr;
    p.callbackData = nullptr;
    p.eventMask = 0;
    p.eventChar = -1;
    // readyRead means bytes did arrive from the system: the line is alive, whatever an earlier
    // empty read said (also while the queue is full and nothing is taken from the device).
    QObject::connect(p.device.get(), &QSerialPort::readyRead, notifier(), [port] {
        ports()[port].idleReadErrors = 0;
        takeFromDevice(port);
    });
    QObject::connect(p.device.get(), &QSerialPort::errorOccurred, notifier(),
                     [port](QSerialPort::SerialPortError e) { onDeviceError(port, e); });
    return 0;
}

int CloseCom(int port) {
    if (!validPort(port)) return kErrPortNumber;
    Port &p = ports()[port];
    if (!p.open) return kErrNotOpen;
    // Nothing of the device is on the call stack here: its signals only reach the handlers
    // above, which never call back into the program.
    if (p.device) {
        p.device->disconnect();
        p.device->close();
        p.device.reset();
    }
    p.open = false;
    p.deviceFailed = false;
    ++p.session;
    p.inQueue.clear();
    p.callback = nullptr;
    p.callbackData = nullptr;
    p.eventMask = 0;
    p.eventChar = -1;
    return 0;
}

int ComWrt(int port, const char *buffer, int count) {
    if (!validPort(port)) return kErrPortNumber;
    Port &p = ports()[port];
    if (!p.open) return kErrNotOpen;
    if (count < 0 || (count > 0 && !buffer)) return kErrParameter;
    if (count == 0) return 0;
    if (!deviceUsable(p)) return kErrWrite;
    if (p.device->write(buffer, count) != count) {
        p.device->clear(QSerialPort::Output);
        return kErrWrite;
    }
    const QDeadlineTimer deadline(p.timeoutMs);
    while (p.device->bytesToWrite() > 0 && deviceUsable(p)) {
        if (!p.device->waitForBytesWritten(static_cast<int>(deadline.remainingTime())) || deadline.hasExpired()) break;
    }
    if (!p.device) return kErrWrite;
    const qint64 pending = p.device->isOpen() ? p.device->bytesToWrite() : count;
    if (pending > 0) {
        // What did not go out within the time-out is dropped, not sent at some later moment.
        if (p.device->isOpen()) p.device->clear(QSerialPort::Output);
        const int sent = count - static_cast<int>(std::min<qint64>(pending, count));
        if (sent > 0) return sent;
        return p.deviceFailed ? kErrWrite : kErrTimeout;
    }
    if (p.device->error() == QSerialPort::TimeoutError) p.device->clearError();
    return count;
}

int ComRdTerm(int port, char *buffer, int maxCount, int terminator) {
    if (!validPort(port)) return kErrPortNumber;
    Port &p = ports()[port];
    if (!p.open) return kErrNotOpen;
    if (maxCount < 0 || (maxCount > 0 && !buffer)) return kErrParameter;
    if (maxCount == 0) return 0;
    const bool hasTerminator = terminator >= 0 && terminator <= 255;
    const QDeadlineTimer deadline(p.timeoutMs);
    for (;;) {
        takeFromDevice(port);
        if (hasTerminator) {
            const qsizetype at = p.inQueue.indexOf(static_cast<char>(terminator));
            if (at >= 0 && at < maxCount) {
                std::memcpy(buffer, p.inQueue.constData(), static_cast<std::size_t>(at));
                p.inQueue.remove(0, at + 1);
                return static_cast<int>(at);
            }
        }
        if (p.inQueue.size() >= maxCount) {
            std::memcpy(buffer, p.inQueue.constData(), static_cast<std::size_t>(maxCount));
            p.inQueue.remove(0, maxCount);
            return maxCount;
        }
        // Stop waiting at the time-out, when nothing more can arrive (device gone) or when
        // nothing more would be kept (queue full).
        if (deadline.hasExpired() || !deviceUsable(p) || p.inQueue.size() >= p.inQueueCapacity) break;
        p.device->waitForReadyRead(static_cast<int>(std::max<qint64>(1, deadline.remainingTime())));
        if (p.device && p.device->error() == QSerialPort::TimeoutError) p.device->clearError();
    }
    // The time-out ended the read: what did arrive is consumed and returned.
    const int n = static_cast<int>(p.inQueue.size());   // < maxCount here
    if (n > 0) std::memcpy(buffer, p.inQueue.constData(), static_cast<std::size_t>(n));
    p.inQueue.clear();
    return n;
}

int GetInQLen(int port) {
    if (!validPort(port)) return kErrPortNumber;
    Port &p = ports()[port];
    if (!p.open) return kErrNotOpen;
    takeFromDevice(port);
    return static_cast<int>(p.inQueue.size());
}

int FlushInQ(int port) {
    if (!validPort(port)) return kErrPortNumber;
    Port &p = ports()[port];
    if (!p.open) return kErrNotOpen;
    if (deviceUsable(p)) {
        p.device->readAll();   // bytes already taken from the system
        p.device->clear(QSerialPort::Input);
    }
    p.inQueue.clear();
    return 0;
}

int FlushOutQ(int port) {
    if (!validPort(port)) return kErrPortNumber;
    Port &p = ports()[port];
    if (!p.open) return kErrNotOpen;
    if (deviceUsable(p)) p.device->clear(QSerialPort::Output);
    return 0;
}

int SetComTime(int port, double seconds) {
    if (!validPort(port)) return kErrPortNumber;
    Port &p = ports()[port];
    if (!p.open) return kErrNotOpen;
    if (!(seconds >= 0.0) || seconds > 1.0e6) return kErrParameter;
    p.timeoutMs = static_cast<int>(seconds * 1000.0 + 0.5);
    return 0;
}

int InstallComCallback(int port, int eventMask, int notifyCount, int eventChar, ComCallbackPtr callback,
                       void *callbackData) {
    (void)notifyCount;
    if (!validPort(port)) return kErrPortNumber;
    Port &p = ports()[port];
    if (!p.open) return kErrNotOpen;
    if ((eventMask & LWRS_RXFLAG) && (eventChar < 0 || eventChar > 255)) return kErrParameter;
    // A mask of 0 or no callback removes the installation.
    p.callback = eventMask ? callback : nullptr;
    p.callbackData = p.callback ? callbackData : nullptr;
    p.eventMask = p.callback ? eventMask : 0;
    p.eventChar = p.callback ? eventChar : -1;
    return 0;
}

namespace rt {

int ComPortStatus(int port) {
    if (!validPort(port) || !ports()[port].open) return COM_PORT_CLOSED;
    return ports()[port].deviceFailed ? COM_PORT_LOST : COM_PORT_OPEN;
}

std::string DefaultComPortDevice(int port) {
    if (port >= 1 && port <= 4) return "/dev/ttyS" + std::to_string(port - 1);
    if (port >= 5 && port <= 12) return "/dev/ttyUSB" + std::to_string(port - 5);
    if (port >= 13 && port <= 16) return "/dev/ttyACM" + std::to_string(port - 13);
    return {};
}

std::string ComPortDevice(int port) {
    if (!validPort(port)) return {};
    ensureBindings();
    const auto it = gBindings.find(port);
    return it != gBindings.end() ? it->second : DefaultComPortDevice(port);
}

int BindComPort(int port, const std::string &device) {
    if (!validPort(port)) return kErrPortNumber;
    ensureBindings();
    QSettings settings(QString::fromLatin1(kBindingFile), QSettings::IniFormat);
    settings.beginGroup(QString::fromLatin1(kBindingGroup));
    if (device.empty())
        settings.remove(bindingKey(port));
    else
        settings.setValue(bindingKey(port), QFile::decodeName(device.c_str()));
    settings.endGroup();
    settings.sync();
    if (settings.status() != QSettings::NoError) return kErrParameter;
    if (device.empty())
        gBindings.erase(port);
    else
        gBindings[port] = device;
    return 0;
}

void LoadComPortBindings() {
    gBindings.clear();
    gBindingsLoaded = true;
    QSettings settings(QString::fromLatin1(kBindingFile), QSettings::IniFormat);
    settings.beginGroup(QString::fromLatin1(kBindingGroup));
    for (int port = 1; port <= MAX_COM_PORT; ++port) {
        const QString device = settings.value(bindingKey(port)).toString();
        if (!device.isEmpty()) gBindings[port] = QFile::encodeName(device).toStdString();
    }
}

}   // namespace rt
