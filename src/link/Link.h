// The logger link: the command encoder, the response tokenizer and interpreter, the link
// control driven by the main window's timer, and the status line of the main window.
//
// Everything runs on the event-loop thread. The state is global and single-instance; a test
// puts it back to the start-up state with resetLinkState().
#pragma once

#include <cstddef>

#include "model/Records.h"
#include "protocol/Protocol.h"

// ---------------------------------------------------------------- link state

// gFlag bits
enum {
    GFLAG_ID_KNOWN = 0x01,         // identity known
    GFLAG_SCHEDULE_KNOWN = 0x02,   // memory and schedule known
    GFLAG_NOT_SAVED = 0x04,        // downloaded data not yet saved
    GFLAG_SPARE_BIT3 = 0x08,       // not used; kept as it is
    GFLAG_CLOCK_FOLLOWS_PC = 0x10,
    GFLAG_STATUS_ASKED = 0x20,
    GFLAG_STATUS_APPLIED = 0x40,
    GFLAG_SPARE_BIT7 = 0x80,   // not used; kept as it is
};
// What survives when the link goes back to "unidentified".
enum { GFLAG_KEEP_ON_RESET = GFLAG_NOT_SAVED | GFLAG_SPARE_BIT3 | GFLAG_CLOCK_FOLLOWS_PC | GFLAG_SPARE_BIT7 };

extern unsigned char gFlag;
// The calibration cycle's steps in keyTempCali. A calibration window asks for a write (the tick
// sends R, then the read-back r, whose answer is compared with the window) or for a read that
// fills the window (r, marked as sent); the answer ends the cycle.
enum : unsigned char {
    CALI_IDLE = 0,
    CALI_WRITE = 1,       // send the write (R)
    CALI_READ_BACK = 2,   // send the read-back (r) of the write
    CALI_READ = 3,        // send a read for the calibration window (r)
    CALI_READ_SENT = 4,   // the read for the window is on its way
};
// Request keys: set by Start/End and the configuration windows, turned into commands by the tick.
extern unsigned char keyStart, keyEnd, keySetId, keyClock, keySetAlarm, keySetting, keyTempCali;
extern char sendCmdChar;             // letter of the command waiting for its answer, 0 when none
extern int cmdRecvCnt;               // ticks the pending command has waited
extern unsigned char fCmdFail;       // the pending settings command has not been answered yet
extern int setLoggerStep;            // a settings sequence is running
extern unsigned char fDownloadNow;   // a download is running
extern unsigned char fRecvD;         // data-silence counter (ticks)
extern unsigned char fEndCnt;        // stop counter (ticks)
extern unsigned char ticks;          // free-running counter of timer events

// Ticks of silence that end a download, and ticks a stop request lasts.
enum { DATA_SILENCE_TICKS = 15, STOP_TICKS = 20, ANSWER_WAIT_TICKS = 5 };

// Back to the start-up state: every variable of the link control, the encoder and the
// interpreter, all defined beside it in link_state.cpp, and the response decoding's (start-up,
// tests): no command pending, nothing received.
void resetLinkState();

// Whether the caller of forgetLogger also discards the records held.
enum class HeldRecords { Kept, Discarded };
// Forget the logger: the link goes back to "unidentified", so the next ticks ask for its
// identity, schedule and status again, and the commands that configure a logger are dimmed
// until it has answered. The bits of GFLAG_KEEP_ON_RESET stay, except that discarded records
// take the not-saved bit with them and leave the title naming no data. Nothing else changes:
// the other window texts, the pending command and a running download are the caller's.
void forgetLogger(HeldRecords records);

// Data not saved yet are never lost silently. While the not-saved bit is set the user is asked
// (Save / Discard / Cancel, with the given title and question) before anything drops them;
// Save runs Save File. True when the held records may go: all was saved, the user saved them
// or let them go. Cancel, a cancelled or failed save keep them and answer false.
bool unsavedDataLetGo(const char *title, const char *question);
// Before an action replaces the records held (Start, the chart title's reset): data not saved
// yet ask Save / Discard / Cancel; saved records held ask warn10 (No is the default). True when
// the action may go on; nothing held goes on without a question.
bool heldRecordsMayGo();

// ---------------------------------------------------------------- command encoder

enum { TX_BUF_SIZE = 1028 };
// The text of the last command sent.
extern char txBuf[TX_BUF_SIZE];

// Format the command of a letter ('I', 'M', 't', 'D', 'Q', 'S', 'A', 'C', 'J', 'R', 'r') into
// txBuf and send it. 'S' and 'C' convert lpSchedule / rtcValue for the logger's firmware and
// keep the converted value. A letter without a command, an alarm request for a model without
// an alarm layout and a calibration request for a model without calibration send nothing.
void sendCommand(char letter);
// The same text formatted into txBuf without sending it (a dry run); false when the letter has
// no command for the model (then txBuf is as it was). 'S' and 'C' convert as sendCommand does.
bool formatCommand(char letter);
// Write a command text to the logger's port (the count is not used: the text's length is).
void txCommand(const char *text, int count);

// ---------------------------------------------------------------- response interpreter

extern char eCmd;   // the last response letter

// Interpret the line in rxBuf.
void analysisComPortData();
void eiPaser();
// Steps of the interpreter, each callable on its own (data-file retrieval uses updateId and
// updatePanelMonitor).
void updateDeviceName();
void updateId();
void updatePanelMonitor();
void updateSchedule();
void updatePoint();

// Records refused in the running download because the store was full (0 normally).
extern int refusedRecords;
// The logging status of the last 't' answer (1 = the logger is logging), -1 before one arrived.
extern int loggerStatus;

// ---------------------------------------------------------------- link control

// The main window's timer: the link control runs on EVENT_TIMER_TICK; every event counts.
int timeTickCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
// The main window's Start button: empties the record store (records held only on the user's
// word) and asks the logger for its records. End stops a running download.
int cStartCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int cEndCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
// Called on the event loop for every carriage return received on the logger's port.
void comPortCharDetCallBack(int port, int eventMask, void *callbackData);
// Open the logger's port with the current communication settings: an open port is closed
// first; queues of 1024 bytes, a time-out of 1 s, both queues flushed, the line notification
// installed. The run-time's result: 0 or more when open, negative when it did not open.
int openLoggerPort();
// Turn an event letter into a command: 'k' the keys, 'n' "I", 's' "M", 't' "t".
void linkEventHandler(char event);
// The end-of-download check. Complete: the chart is drawn, the data marked unsaved and msg3
// shown. Incomplete: the records that did arrive are drawn and marked unsaved too (so that
// nothing is lost without a question), and warn8 is shown and popped up.
void updateAllPoint();
// Whether this download brought every record the logger reported: its schedule has arrived
// and the records held reach its count of readings per line (tavix-cli judges by this).
bool allRecordsArrived();

// ---------------------------------------------------------------- status line

// The status line: information in blue, warnings in red.
void sendUserMessage(const char *text);
void sendWarnMessage(const char *text);
// A hint about the control the user has just entered (in blue); the empty text takes the hint
// away when the user leaves. A message shown less than STATUS_HOLD_TICKS ago stays: the hint
// waits until then, and is dropped if the user leaves first. A hint never removes a message.
void sendHintMessage(const char *text);
// Called by every timer tick: the status line's message ages, and a waiting hint is shown once
// the message has been read.
void ageStatusLine();
enum {
    STATUS_HOLD_TICKS = 15,
    HINT_TEXT_SIZE = 100
};                                // hold: three seconds of the main window's timer; a hint is a message text
extern unsigned char statusAge;   // ticks since the status line's text was shown (at most 255)
extern bool statusIsHint;         // the status line shows a hint, not a message
extern bool hintWaiting;          // a hint waits for the message to have been read
extern char waitingHint[HINT_TEXT_SIZE];

// What the keeper of downloads (the archive) says about the download that has just ended: set
// while notifyDownloadEnded runs, it follows the download's own message in the status line, in
// red as a warning. Each end of a download starts without one.
enum { DOWNLOAD_NOTE_SIZE = 200 };
extern char downloadNote[DOWNLOAD_NOTE_SIZE];
extern bool downloadNoteWarns;
void noteDownloadKept(const char *text, bool warning);

// The progress bar beside the status line: done of total records ("120 / 5333 records"; a
// total below done counts as done), shown until hideRecordProgress.
void showRecordProgress(int done, int total);
void hideRecordProgress();

// ---------------------------------------------------------------- the main window's title

// Where the records held come from, for the title: nothing held, a download from the logger
// (named by its identifier), or a data file (named by the display form of its path).
enum class DataOrigin { None, Logger, File };
extern DataOrigin dataOrigin;
extern char dataFileShown[FILE_NAME_SHOWN_SIZE];   // the file's display form (DataOrigin::File)
// What the archive found about the file read (original, changed, not in it), for the title;
// emptied whenever the origin changes.
enum { DATA_FILE_NOTE_SIZE = 200 };
extern char dataFileNote[DATA_FILE_NOTE_SIZE];

// The title: the MainTitle text, then " — ID= <identifier>" for a download or " — <file name>"
// for a file (and the archive's note about the file in parentheses), then " *" while the data
// are not saved. Called wherever data arrive, are read,
// saved or cleared.
void updateMainTitle();
// The records held come from origin now (fileShown: the file's display form); the title follows.
void setDataOrigin(DataOrigin origin, const char *fileShown = nullptr);
// The archive's note about the file the records were read from; the title follows.
void setDataFileNote(const char *note);
