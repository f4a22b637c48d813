// Fuzz target for the logger link's receiving side: arbitrary bytes cut into lines at each
// carriage return, as the serial notification reads them, each put into the receive buffer
// and interpreted (tokenizer and interpreter together, with every response handler).
//
// The first byte chooses the state the lines meet: the connected model (1..24), whether a
// download runs, the calibration request state and the pending command letter.
//
// Checked beyond the sanitizers: the scan never leaves the line and its three terminating
// zeros; the record count stays within the store's capacity; the texts filled from the line
// stay terminated within their fields; the memory length is limited to 16000.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "config/Config.h"
#include "link/Link.h"
#include "model/Models.h"
#include "model/Records.h"

namespace {

void check(bool ok) {
    if (!ok) std::abort();
}

bool terminatedWithin(const char *text, std::size_t capacity) { return std::memchr(text, 0, capacity) != nullptr; }

void interpret(const std::uint8_t *line, std::size_t length) {
    setRxLine(reinterpret_cast<const char *>(line), static_cast<int>(length));
    mLast = rxBuf;   // a line that is ignored leaves the scan where it starts
    analysisComPortData();
    check(mLast >= rxBuf && mLast <= rxBuf + rxLen + 2);
    check(loggedLength >= 0 && loggedLength <= recordCapacity());
    check(terminatedWithin(eId, sizeof eId) && terminatedWithin(eDeviceName, sizeof eDeviceName));
    check(terminatedWithin(rhCaliZstr, sizeof rhCaliZstr) && terminatedWithin(rhCaliSstr, sizeof rhCaliSstr));
    check(currDeviceId >= 1 && currDeviceId < MODEL_COUNT);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    static const bool ready = [] {
        resetModelState();
        return true;
    }();
    (void)ready;
    if (size == 0) return 0;

    resetLinkState();
    loggedLength = 0;
    const std::uint8_t mode = data[0];
    currDeviceId = 1 + mode % 24;
    ValPtrInit(currDeviceId);
    fDownloadNow = (mode >> 5) & 1;
    keyTempCali = static_cast<unsigned char>((mode >> 6) * 2);   // 0, 2, 4, 6
    static const char pending[] = {0, 'I', 'S', 'C'};
    sendCmdChar = pending[(mode >> 3) & 3];
    eSampleTime = 0xFFFFF000u;   // record times wrap
    eSampleRate = 4096;

    std::size_t start = 1;
    for (std::size_t i = 1; i <= size; ++i) {
        if (i == size || data[i] == '\r') {
            // A line longer than the receive buffer arrives in parts, as the serial read cuts it.
            for (std::size_t p = start; p < i; p += RX_LINE_MAX) {
                const std::size_t n = i - p < RX_LINE_MAX ? i - p : RX_LINE_MAX;
                interpret(data + p, n);
            }
            if (start == i) interpret(data + start, 0);
            start = i + 1;
        }
    }
    if (eCmd == 'm') check(eLength <= MAX_RECORDS);
    return 0;
}
