// The link's state, all of it, and its start-up values: the link control's flags and
// counters, the encoder's command text, the tokenizer's line and scan position, and the
// interpreter's fields. resetLinkState puts every one back.
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

// ---------------------------------------------------------------- response tokenizer
char rxBuf[RX_BUF_SIZE];
int rxLen = 0;
char *mLast = rxBuf;
char *mPre = rxBuf;
char *pToken = nullptr;
unsigned char endOfBuf = 0;
unsigned char istEvent = 0;

// ---------------------------------------------------------------- response interpreter
int eValue1 = 0, eValue2 = 0, eValue3 = 0;
char eCmd = 0;
int refusedRecords = 0;
int loggerStatus = -1;

// ---------------------------------------------------------------- status line
unsigned char statusAge = 0;
bool statusIsHint = false;
bool hintWaiting = false;
char waitingHint[HINT_TEXT_SIZE] = {};

// ---------------------------------------------------------------- the main window's title
DataOrigin dataOrigin = DataOrigin::None;
char dataFileShown[DATA_FILE_SHOWN_SIZE] = {};

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

    std::memset(txBuf, 0, sizeof txBuf);

    std::memset(rxBuf, 0, sizeof rxBuf);
    rxLen = 0;
    mLast = mPre = rxBuf;
    pToken = nullptr;
    endOfBuf = 0;
    istEvent = 0;

    eValue1 = eValue2 = eValue3 = 0;
    eCmd = 0;
    refusedRecords = 0;
    loggerStatus = -1;

    dataOrigin = DataOrigin::None;
    dataFileShown[0] = '\0';
}
