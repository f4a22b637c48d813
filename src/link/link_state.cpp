// The link's state and its start-up values.
#include <cstring>

#include "link/Link.h"

unsigned char gFlag = 0;
unsigned char keyStart = 0, keyEnd = 0, keySetId = 0, keyClock = 0, keySetAlarm = 0, keySetting = 0,
              keyTempCali = 0;
char sendCmdChar = 0;
int cmdRecvCnt = 0;
unsigned char fCmdFail = 0;
int setLoggerStep = 0;
unsigned char fDownloadNow = 0;
unsigned char fRecvD = 0;
unsigned char fEndCnt = 0;
unsigned char ticks = 0;

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
}
