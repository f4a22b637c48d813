// The link control: the main window's timer decides which single command goes to the logger
// next, waits for its answer, ends a download by silence and shows the reminders; the serial
// notification reads each answered line and hands it to the interpreter. The Start and End
// buttons of a download live here too.
#include <cstdio>
#include <cstring>

#include "base/Notify.h"
#include "link/Link.h"
#include "local/Texts.h"
#include "model/Clock.h"
#include "model/Models.h"
#include "model/Records.h"
#include "panels/Panels.h"
#include "runtime/serial.h"
#include "runtime/ui.h"

namespace {

constexpr int kLineEnd = 13;           // every line ends with a carriage return
constexpr int kPortQueueSize = 1024;   // input and output queues of the logger's port
constexpr double kPortTimeout = 1.0;   // seconds a read or a write may wait
// Lines the tick reads from the queue at most: a line that keeps sending cannot hold it up.
constexpr int kLinesPerTick = 200;
// Once in 16 timer events, at a count of the low four bits of ticks: the reminders, and a
// closed port tried again (away from the reminders).
constexpr unsigned kPhaseMask = 0x0F;
constexpr unsigned kReminderPhase = 3;
constexpr unsigned kReopenPhase = 11;

// Read one line from the port into rxBuf with its three terminating zeros; the count read.
// A logger that ends its lines with CR LF leaves the line feed at the start of the next line;
// it is skipped.
int readLine(int port) {
    rxLen = ComRdTerm(port, rxBuf, RX_LINE_MAX, kLineEnd);
    if (rxLen < 0) rxLen = 0;
    if (rxLen > RX_LINE_MAX) rxLen = RX_LINE_MAX;
    if (rxLen > 0 && rxBuf[0] == '\n') {
        std::memmove(rxBuf, rxBuf + 1, static_cast<std::size_t>(rxLen - 1));
        --rxLen;
    }
    rxBuf[rxLen] = rxBuf[rxLen + 1] = rxBuf[rxLen + 2] = 0;
    return rxLen;
}

// Read and interpret at most max of the lines waiting in the input queue; how many were read.
int readQueuedLines(int max) {
    int lines = 0;
    while (lines < max && GetInQLen(portNo) > 0 && readLine(portNo) > 0) {
        analysisComPortData();
        ++lines;
    }
    return lines;
}

void installLineNotification() {
    InstallComCallback(portNo, LWRS_RXFLAG, 0, kLineEnd, comPortCharDetCallBack, nullptr);
}

// The download's own message in the status line, followed by what the archive said about it
// (in red when the archive did not take it).
void showWithDownloadNote(const char *text, bool warning) {
    if (downloadNote[0] == '\0') {
        if (warning)
            sendWarnMessage(text);
        else
            sendUserMessage(text);
        return;
    }
    char shown[static_cast<int>(MSG_TEXT_SIZE) + static_cast<int>(DOWNLOAD_NOTE_SIZE) + 2];
    std::snprintf(shown, sizeof shown, "%s %s", text, downloadNote);
    if (warning || downloadNoteWarns)
        sendWarnMessage(shown);
    else
        sendUserMessage(shown);
}

// The logger's device has gone (cable or adapter removed): what did arrive is still read, then
// the port is closed and the user told once. The logger is unknown until it answers again; a
// running download ends with the records that arrived.
void losePort() {
    noteDownloadKept("", false);
    readQueuedLines(kLinesPerTick);
    CloseCom(portNo);
    sendCmdChar = 0;
    cmdRecvCnt = 0;
    keyStart = 0;
    setLoggerStep = 0;
    // the records that arrived stay, still to be saved
    forgetLogger(HeldRecords::Kept);
    if (fDownloadNow) {
        fDownloadNow = 0;
        keyEnd = 0;
        hideRecordProgress();
        notifyRecordsToDraw();
        if (loggedLength > 0) gFlag |= GFLAG_NOT_SAVED;
        updateMainTitle();
        // the download has ended too: what arrived is kept before the user is told
        notifyDownloadEnded(false);
    }
    showWithDownloadNote(msgPortClosed, true);
    // The box must not hold up the timer that opens the port again when the device is back.
    NoticePopup(warn9, msgPortClosed);   // "Warning"
}

// Step 1 of the tick, after the clocks: a port whose device has gone is closed and reported;
// a closed port is tried again now and then, so that a replugged adapter comes back by itself.
// True when the port has just been opened again: the tick then sends nothing, so the adapter
// settles and the user reads that the port is back before the logger's answers follow.
bool watchLoggerPort() {
    switch (rt::ComPortStatus(portNo)) {
        case rt::COM_PORT_LOST: losePort(); break;
        case rt::COM_PORT_CLOSED:
            if ((ticks & kPhaseMask) == kReopenPhase && openLoggerPort() >= 0) {
                sendUserMessage(msgPortReopened);
                return true;
            }
            break;
        default: break;
    }
    return false;
}

// Step 2 of the tick while a command is pending.
void watchPendingCommand() {
    if (++cmdRecvCnt < ANSWER_WAIT_TICKS) return;
    // 2.1 no answer at all
    if (fCmdFail && sendCmdChar != 't') {
        if (gFlag & GFLAG_ID_KNOWN) sendWarnMessage(warn16);   // "the logger did not answer"
        keyStart = 0;
        openLoggerPort();
    }
    // 2.2 a settings sequence goes on or ends
    if (setLoggerStep) {
        if (fCmdFail) {
            setLoggerStep = 0;
            keySetting = 0;
            MessagePopup(warn9, warn16);   // "Warning", "the logger did not answer"
        } else {
            if (sendCmdChar != 'A') setLoggerStep = 0;   // "A" is followed by "S"
            if (sendCmdChar == 'S') HidePanel(idSetLogger);
        }
    }
    // 2.3 the wait is over: the next tick may send again
    cmdRecvCnt = 0;
    sendCmdChar = 0;
}

// Step 2 of the tick without a pending command: the first that applies.
void chooseNextCommand() {
    cmdRecvCnt = 0;
    if (keyEnd) {
        linkEventHandler('k');
    } else if (!(gFlag & GFLAG_ID_KNOWN)) {
        linkEventHandler('n');
    } else if (!(gFlag & GFLAG_SCHEDULE_KNOWN)) {
        linkEventHandler('s');
    } else if (!(gFlag & GFLAG_STATUS_ASKED)) {
        linkEventHandler('t');
        gFlag |= GFLAG_STATUS_ASKED;
    } else if (!(gFlag & GFLAG_STATUS_APPLIED)) {
        // no status answer: the model decides
        if (unaskedCommands(currDeviceId) == UnaskedCommands::Dimmed)
            SetLoggerDisable();
        else
            SetLoggerEnable();
        gFlag |= GFLAG_STATUS_APPLIED;
    } else if (keyStart) {
        linkEventHandler('k');
    } else if (keySetId || keyClock || keySetAlarm || keySetting || keyTempCali) {
        setLoggerStep = 1;
        linkEventHandler('k');
        fCmdFail = 1;
    }
}

// Step 3: the download has fallen silent. The lines still queued are read and interpreted, a
// tick's worth at a time. When lines remain after that, the download goes on while data lines
// are among them; lines that are not data may keep coming for ever (a noisy line), so without
// data the rest is dropped and the download ends as usual.
void finishDownload() {
    readQueuedLines(kLinesPerTick);
    if (GetInQLen(portNo) > 0) {
        if (fRecvD != 0) return;
        FlushInQ(portNo);
    }
    updateAllPoint();
    fDownloadNow = 0;
    keyEnd = 0;
}

void send(char letter) {
    sendCommand(letter);
    sendCmdChar = letter;
}

}   // namespace

int openLoggerPort() {
    CloseCom(portNo);
    const int result = OpenComConfig(portNo, "", baudRate, parity, dataBits, stopBits, kPortQueueSize, kPortQueueSize);
    if (result < 0) return result;
    SetComTime(portNo, kPortTimeout);
    FlushInQ(portNo);
    FlushOutQ(portNo);
    installLineNotification();
    return result;
}

void forgetLogger(HeldRecords records) {
    unsigned char kept = GFLAG_KEEP_ON_RESET;
    if (records == HeldRecords::Discarded) kept &= static_cast<unsigned char>(~GFLAG_NOT_SAVED);
    gFlag &= kept;
    SetLoggerDisable();
    if (records == HeldRecords::Discarded) setDataOrigin(DataOrigin::None);
}

bool allRecordsArrived() {
    return (gFlag & GFLAG_SCHEDULE_KNOWN) != 0 && loggedLength >= readingsToRecords(currDeviceId, eLength);
}

void linkEventHandler(char event) {
    switch (event) {
        case 'k':
            if (keyEnd) {
                send('Q');   // keyEnd stays set until its counter runs out
            } else if (keyStart) {
                send('D');
                keyStart = 0;
            } else if (keySetId) {
                send('J');
                keySetId = 0;
            } else if (keyClock) {
                send('C');
                keyClock = 0;
            } else if (keySetAlarm) {
                send('A');
                keySetAlarm = 0;
            } else if (keySetting) {
                send('S');
                keySetting = 0;
            } else if (keyTempCali == CALI_WRITE) {
                send('R');
                keyTempCali = CALI_READ_BACK;
            } else if (keyTempCali == CALI_READ_BACK) {
                send('r');
                keyTempCali = CALI_IDLE;
            } else if (keyTempCali == CALI_READ) {
                send('r');
                keyTempCali = CALI_READ_SENT;
            }
            break;
        case 'n': send('I'); break;
        case 's': send('M'); break;
        case 't': send('t'); break;
        default: break;
    }
}

int timeTickCallBack(int, int, int event, void *, int, int) {
    if (event == EVENT_TIMER_TICK) {
        // 1. the clocks
        SetCtrlVal(idMonitor, MONITOR_DATE, dateStr());
        SetCtrlVal(idMonitor, MONITOR_TIME, TimeStr());
        if (idSetLogger > 0 && (gFlag & GFLAG_CLOCK_FOLLOWS_PC)) {
            SetCtrlVal(idSetLogger, SETLOGGER_LOGGERDATE, dateStr());
            SetCtrlVal(idSetLogger, SETLOGGER_LOGGERTIME, TimeStr());
        }
        // a hint waiting for the status line's message to have been read
        ageStatusLine();
        // the logger's port: gone, or back again
        const bool reopened = watchLoggerPort();
        // 2. the pending command, or the next one
        if (sendCmdChar != 0)
            watchPendingCommand();
        else if (!reopened)
            chooseNextCommand();
        // 3. end of a download by silence
        if (fRecvD == 0 && fDownloadNow) finishDownload();
        // 4. a running download counts the silence
        if (fDownloadNow && fRecvD != 0) --fRecvD;
        // 5. a stop request lasts its ticks
        if (fEndCnt == 0)
            keyEnd = 0;
        else
            --fEndCnt;
    }
    // Once in 16 events: the reminders.
    ++ticks;
    if ((ticks & kPhaseMask) == kReminderPhase) {
        if (!(gFlag & GFLAG_ID_KNOWN)) sendWarnMessage(warn2);   // "no logger answers"
        if (gFlag & GFLAG_NOT_SAVED) sendWarnMessage(warn3);     // "the data are not saved yet"
    }
    return 0;
}

void comPortCharDetCallBack(int port, int, void *) {
    if (GetInQLen(port) <= 0) return;
    if (readLine(port) > 0) analysisComPortData();
}

bool unsavedDataLetGo(const char *title, const char *question) {
    if (!(gFlag & GFLAG_NOT_SAVED)) return true;
    switch (SaveDiscardCancelPopup(title, question)) {
        case VAL_SAVE_ANSWER: notifySaveRecords(); return !(gFlag & GFLAG_NOT_SAVED);
        case VAL_DISCARD_ANSWER: return true;
        default: return false;
    }
}

bool heldRecordsMayGo() {
    // "Warning", "not saved yet and will be replaced"
    if (gFlag & GFLAG_NOT_SAVED) return unsavedDataLetGo(warn9, msgUnsavedReplace);
    // "Warning", "the records held will be discarded"
    return loggedLength <= 0 || ConfirmPopup(warn9, warn10, VAL_DEFAULT_NO) == 1;
}

int cStartCallBack(int, int, int event, void *, int, int) {
    if (event != EVENT_COMMIT) return 0;
    // 1. a stop is in progress
    if (keyEnd) return 0;
    // 2. records held are discarded only on the user's word
    if (!heldRecordsMayGo()) return 0;
    // 3. a fresh queue; a port that is not open (its device had gone) is tried once more
    if (rt::ComPortStatus(portNo) == rt::COM_PORT_OPEN) {
        FlushInQ(portNo);
        installLineNotification();
    } else {
        openLoggerPort();
    }
    // 4.-5. identity, schedule and status are read anew, the logger commands wait for them;
    // the records held go below
    forgetLogger(HeldRecords::Discarded);
    // 6. the download is asked for at the next free tick
    keyStart = 1;
    keyEnd = 0;
    fDownloadNow = 1;
    fRecvD = DATA_SILENCE_TICKS;
    refusedRecords = 0;
    // 7. the record store is emptied; the title names the logger, the progress bar waits for
    //    the number of records it reports
    clearLoggedData();
    loggedLength = 0;
    setDataOrigin(DataOrigin::Logger);
    hideRecordProgress();
    // 8. chart and table emptied
    notifyChartClearForDownload();
    notifyTablePage();
    sendUserMessage(warn4);   // "Download started"
    return 0;
}

int cEndCallBack(int, int, int event, void *, int, int) {
    if (event != EVENT_COMMIT) return 0;
    if (fRecvD == 0) return 0;   // no data expected
    keyEnd = 1;
    fEndCnt = STOP_TICKS;
    notifyRecordsToDraw();
    sendUserMessage(warn5);   // "Download stopped by the user"
    return 0;
}

void updateAllPoint() {
    hideRecordProgress();
    // The records that arrived are drawn and wait to be saved even when some are missing, so
    // that they are never lost without a question.
    const bool complete = allRecordsArrived() || keyEnd;
    notifyRecordsToDraw();
    if (complete || loggedLength > 0) gFlag |= GFLAG_NOT_SAVED;
    noteDownloadKept("", false);
    notifyDownloadEnded(allRecordsArrived());
    updateMainTitle();
    if (complete) {
        showWithDownloadNote(msg3, false);   // "Download complete"
        if (refusedRecords > 0) {
            // More records arrived than the store holds for this model: say so.
            char text[64];
            std::snprintf(text, sizeof text, "%4d %s (max).", loggedLength, wPoints);
            showWithDownloadNote(text, true);
        }
    } else {
        showWithDownloadNote(warn8, false);   // "The download is incomplete"
        MessagePopup(warn11, warn8);          // "Attention", "The download is incomplete"
    }
}
