// The link's state, all of it, and its start-up values: the link control's flags and
// counters, the encoder's command text and the interpreter's fields (the response decoding's own
// state is reset with them). resetLinkState puts every one back.
#include <cstring>

#include "link/Link.h"

// ---------------------------------------------------------------- link control
unsigned char gFlag = 0;
unsigned char keyStart = 0, keyEnd = 0, keySetId = 0, keyClock = 0, keySetAlarm = 0, keySetting = 0, keyTempCali = 0;
char sendCmdChar = 0;
int cmdRecvCnt = 0;
unsigned char fCmdFail = 0;
int setLoggerStep = 0;
unsigned char fDownloadNow = 0;
unsigned char fRecvD = 0;
unsigned char fEndCnt = 0;
unsigned char ticks = 0;

// ---------------------------------------------------------------- command encoder
char txBuf[TX_BUF_SIZE];

// ---------------------------------------------------------------- response interpreter
char eCmd = 0;
int refusedRecords = 0;
int loggerStatus = -1;

// ---------------------------------------------------------------- status line
unsigned char statusAge = 0;
bool statusIsHint = false;
bool hintWaiting = false;
char waitingHint[HINT_TEXT_SIZE] = {};
char downloadNote[DOWNLOAD_NOTE_SIZE] = {};
bool downloadNoteWarns = false;

// ---------------------------------------------------------------- the main window's title
DataOrigin dataOrigin = DataOrigin::None;
char dataFileShown[FILE_NAME_SHOWN_SIZE] = {};
char dataFileNote[DATA_FILE_NOTE_SIZE] = {};

void resetLinkState() {
    gFlag = 0;
    keyStart = keyEnd = keySetId = keyClock = keySetAlarm = keySetting = keyTempCali = 0;
    sendCmdChar = 0;
    cmdRecvCnt = 0;
    fCmdFail = 0;
    setLoggerStep = 0;
    fDownloadNow = 0;
    fRecvD = 0;
    fEndCnt = 0;
    ticks = 0;
    statusAge = 0;
    statusIsHint = false;
    hintWaiting = false;
    std::memset(waitingHint, 0, sizeof waitingHint);
    downloadNote[0] = '\0';
    downloadNoteWarns = false;

    std::memset(txBuf, 0, sizeof txBuf);

    resetProtocolState();
    eCmd = 0;
    refusedRecords = 0;
    loggerStatus = -1;

    dataOrigin = DataOrigin::None;
    dataFileShown[0] = '\0';
    dataFileNote[0] = '\0';
}
