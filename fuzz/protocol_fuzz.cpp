// Fuzz target for the logger protocol's receiving side: arbitrary bytes cut into lines at each
// carriage return, as the serial notification reads them, each put into the receive buffer
// and decoded response by response as the link's interpreter does (tokenizer and every
// response's decoding: identity and model, memory and schedule, status, data lines for every
// model and decode rule, calibration). No windows and no port.
//
// The first byte chooses the state the lines meet: the connected model (1..24), whether data
// lines are stored (a download runs) and the calibration kind's model.
//
// Checked beyond the sanitizers: the scan never leaves the line and its three terminating
// zeros; the record count stays within the store's capacity; the texts filled from the line
// stay terminated within their fields; the model index stays in the table; the memory length
// read is limited to 16000 where the interpreter limits it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "model/LoggerSettings.h"
#include "model/Models.h"
#include "model/Records.h"
#include "protocol/Protocol.h"

namespace {

void check(bool ok) {
    if (!ok) std::abort();
}

bool terminatedWithin(const char *text, std::size_t capacity) { return std::memchr(text, 0, capacity) != nullptr; }

bool downloading = false;

// Every response of the line, as the interpreter walks them.
void decode(const std::uint8_t *line, std::size_t length) {
    setRxLine(reinterpret_cast<const char *>(line), static_cast<int>(length));
    mLast = rxBuf;   // a line that is ignored leaves the scan where it starts
    if (rxLen == 1 && rxBuf[0] != '>') return;
    istEvent = 1;
    endOfBuf = 0;
    while (!endOfBuf) {
        switch (isCommand()) {
            case 'i':
                decodeIdentity();
                chkDeviceMode(eDeviceName);
                break;
            case 'm':
                decodeMemory();
                if (eLength > MAX_RECORDS) eLength = MAX_RECORDS;
                check(eLength <= MAX_RECORDS);
                break;
            case 't': decodeStatus(); break;
            case 'd':
                if (!downloading) break;
                decodeDataFields(loggerDataNum(currDeviceId));
                storeDataRecord();
                break;
            case 'r': decodeCalibration(calibrationKind(currDeviceId)); break;
            default: break;
        }
        check(mLast >= rxBuf && mLast <= rxBuf + rxLen + 2);
    }
    check(loggedLength >= 0 && loggedLength <= recordCapacity());
    check(terminatedWithin(eId, sizeof eId) && terminatedWithin(eDeviceName, sizeof eDeviceName));
    check(terminatedWithin(rhCaliZstr, sizeof rhCaliZstr) && terminatedWithin(rhCaliSstr, sizeof rhCaliSstr));
    check(currDeviceId >= 1 && currDeviceId < MODEL_COUNT);
}

}   // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    static const bool ready = [] {
        resetModelState();
        return true;
    }();
    (void)ready;
    if (size == 0) return 0;

    resetProtocolState();
    resetCalibrationState();
    loggedLength = 0;
    const std::uint8_t mode = data[0];
    currDeviceId = 1 + mode % 24;
    ValPtrInit(currDeviceId);
    downloading = ((mode >> 5) & 1) != 0;
    eSampleTime = 0xFFFFF000u;   // record times wrap
    eSampleRate = 4096;

    std::size_t start = 1;
    for (std::size_t i = 1; i <= size; ++i) {
        if (i == size || data[i] == '\r') {
            // A line longer than the receive buffer arrives in parts, as the serial read cuts it.
            for (std::size_t p = start; p < i; p += RX_LINE_MAX) {
                const std::size_t n = i - p < RX_LINE_MAX ? i - p : RX_LINE_MAX;
                decode(data + p, n);
            }
            if (start == i) decode(data + start, 0);
            start = i + 1;
        }
    }
    return 0;
}
