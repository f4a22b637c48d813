// The response decoding's state, all of it, and its start-up values: the tokenizer's line and
// scan position, and the numbers of the current data line.
#include <cstring>

#include "protocol/Protocol.h"

char rxBuf[RX_BUF_SIZE];
int rxLen = 0;
char *mLast = rxBuf;
char *mPre = rxBuf;
char *pToken = nullptr;
unsigned char endOfBuf = 0;
unsigned char istEvent = 0;

int eValue1 = 0, eValue2 = 0, eValue3 = 0;

void resetProtocolState() {
    std::memset(rxBuf, 0, sizeof rxBuf);
    rxLen = 0;
    mLast = mPre = rxBuf;
    pToken = nullptr;
    endOfBuf = 0;
    istEvent = 0;
    eValue1 = eValue2 = eValue3 = 0;
}
