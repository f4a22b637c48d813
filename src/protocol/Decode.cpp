// The decoding of the logger's responses: each reads its fields with the tokenizer, in the
// order the logger sends them, into the logger description, the record store or the
// calibration reported.
#include <charconv>
#include <cstring>

#include "base/Notify.h"
#include "model/Clock.h"
#include "model/LoggerSettings.h"
#include "model/Models.h"
#include "model/Records.h"
#include "protocol/Protocol.h"

namespace {

// What the interval field of the 'm' response may carry instead of an interval: "--", a
// vertical tab, or "E" + n, which stand for these codes and the codes below the second.
constexpr int kRateDashes = 32768;
constexpr int kRateCodeTop = 32767;
constexpr char kVerticalTab = '\v';
// An interval is a 16-bit count: sent as a signed number, it is taken modulo this.
constexpr int kWordRange = 65536;
// The firmware version a model name without a version suffix stands for.
constexpr float kVersionUnnamed = 2.4f;

// The number a text begins with, read in the C locale whatever the user's locale (0 when the
// text does not begin with a number).
double leadingReal(const char *text) {
    while (*text == ' ' || *text == '\t') ++text;
    if (*text == '+') ++text;
    double value = 0.0;
    const char *end = text + std::strlen(text);
    const auto result = std::from_chars(text, end, value);
    return result.ec == std::errc() ? value : 0.0;
}

}   // namespace

void decodeIdentity() {
    isString(eId);
    isString(eDeviceName);
}

int chkDeviceMode(char *name) {
    // 1. a version suffix "Vx.y"
    const std::size_t length = std::strlen(name);
    if (length >= 4 && name[length - 4] == 'V') {
        eVersion = static_cast<float>(leadingReal(name + length - 3));
        name[length - 4] = 0;
    } else {
        eVersion = kVersionUnnamed;
    }
    // 2.-3. the model
    prevDeviceId = currDeviceId;
    currDeviceId = modelIndexOf(name);
    // 4. the chart's scale follows all channels again
    notifyLoggerModelIdentified();
    return currDeviceId;
}

int readSampleRate() {
    pToken = nextToken(0);
    const char *t = pToken != nullptr ? pToken : "";
    if (std::strcmp(t, "--") == 0) return kRateDashes;
    if (t[0] == kVerticalTab) return kRateCodeTop;
    if (t[0] == 'E') {
        int n = 0;
        std::from_chars(t + 1, t + std::strlen(t), n);   // at most nine digits: no overflow
        return kRateCodeTop - n;
    }
    int v = 0;
    const char *p = t[0] == '+' ? t + 1 : t;
    std::from_chars(p, p + std::strlen(p), v);
    // A 16-bit count above 32767 arrives negative; 0 stands for 65536.
    return v > 0 ? v : v + kWordRange;
}

void decodeMemory() {
    eLength = isNumber();
    eSampleRate = readSampleRate();
    eUnit = isCharacter();
    const unsigned high = static_cast<unsigned>(isHexNumber());
    const unsigned low = static_cast<unsigned>(isHexNumber());
    eSampleTime = log2Pc(high * 65536u + low);
}

int decodeStatus() { return isNumber(); }

void decodeDataFields(int channels) {
    if (channels >= 1) eValue1 = isNumber();
    if (channels >= 2) eValue2 = isNumber();
    if (channels >= 3) eValue3 = isNumber();
}

DataRecord storeDataRecord() {
    const int n = loggedLength;
    const int raw[3] = {eValue1, eValue2, eValue3};
    double values[3];
    // 1. decode by the model's rule (a model without one sends no data lines)
    if (decodeLine(currDeviceId, raw, eUnit, values) < 0) return DataRecord::Undecodable;
    // The first record of a download: the store follows this logger, and the records keep its
    // description whatever logger answers later.
    if (n == 0) {
        if (recordLayout() != loggerType(currDeviceId)) ValPtrInit(currDeviceId);
        describeRecords();
    }
    // 2.-5. store with its time; the store refuses a record past its capacity
    const cRtc time = eSampleTime + static_cast<cRtc>(eSampleRate) * static_cast<cRtc>(n);
    return storeLineAt(n, time, values) < 0 ? DataRecord::Refused : DataRecord::Stored;
}

void decodeCalibration(Calibration kind) {
    switch (kind) {
        case Calibration::Temperature:
            for (int &point : tempCaliData) point = isNumber();
            break;
        case Calibration::Humidity:
            isString(rhCaliZstr);
            isString(rhCaliSstr);
            break;
        case Calibration::None: break;
    }
}
