#include "model/Records.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <new>
#include <system_error>

#include "model/Models.h"
#include "model/Thermistor.h"

unsigned char *ldPtr = nullptr;
cRtc *rtcPtr = nullptr;
double *vTemPtr = nullptr;
double *vTem2Ptr = nullptr;
double *vRhPtr = nullptr;
int loggedLength = 0;
unsigned recordsGeneration = 0;

float lpMaxVal[3] = {-10000.0f, -10000.0f, -10000.0f};
float lpMinVal[3] = {10000.0f, 10000.0f, 10000.0f};

// The range of a signed 16-bit count of tenths.
float LimitMaxVal[3][2] = {{3276.7f, 3276.7f}, {3276.7f, 3276.7f}, {3276.7f, 3276.7f}};
float LimitMinVal[3][2] = {{-3276.8f, -3276.8f}, {-3276.8f, -3276.8f}, {-3276.8f, -3276.8f}};

namespace {

constexpr int kValueSlots = static_cast<int>((RECORD_BLOCK_SIZE - RECORD_VALUES_OFFSET) / sizeof(double));
static_assert(kValueSlots == MAX_RECORDS, "the value area holds 16000 doubles");
static_assert(RECORD_VALUES_OFFSET == MAX_RECORDS * sizeof(cRtc), "the times fill the first 64000 bytes");
static_assert(3 * 5333 <= kValueSlots, "three channels of 5333 fit");

int currentLayout = -1;
int currentCapacity = 0;

RecordsDescription heldDescription;
// The records held have been described (by a download's first record or a data file); a store
// filled otherwise, or emptied, follows the logger description.
bool described = false;

RecordsDescription loggerDescription() {
    RecordsDescription d;
    d.model = currDeviceId;
    copyBounded(d.id, sizeof d.id, eId);
    d.readings = eLength;
    d.interval = eSampleRate;
    d.firstTime = eSampleTime;
    d.unit = eUnit;
    return d;
}

}   // namespace

int layoutCapacity(int layout) {
    switch (layout) {
        case LAYOUT_T: return MAX_RECORDS;
        case LAYOUT_T_RH:
        case LAYOUT_T_T2: return MAX_RECORDS / 2;
        case LAYOUT_T_T2_RH: return MAX_RECORDS / 3;
        default: return 0;
    }
}

int recordCapacity() { return currentCapacity; }

int recordLayout() { return currentLayout; }

namespace {
bool g_simulatedShortage = false;
}

void simulateRecordBlockShortage(bool shortage) { g_simulatedShortage = shortage; }

bool allocateRecordBlock() {
    if (g_simulatedShortage) return false;
    if (ldPtr != nullptr) return true;
    ldPtr = new (std::nothrow) unsigned char[RECORD_BLOCK_SIZE];
    return ldPtr != nullptr;
}

int ValPtrInit(int index) {
    const int layout = loggerType(index);
    if (layout < 0 || ldPtr == nullptr) return -1;
    const int capacity = layoutCapacity(layout);
    double *values = reinterpret_cast<double *>(ldPtr + RECORD_VALUES_OFFSET);
    rtcPtr = reinterpret_cast<cRtc *>(ldPtr);
    vTemPtr = values;
    vTem2Ptr = nullptr;
    vRhPtr = nullptr;
    switch (layout) {
        case LAYOUT_T_RH: vRhPtr = values + capacity; break;
        case LAYOUT_T_T2: vTem2Ptr = values + capacity; break;
        case LAYOUT_T_T2_RH:
            vTem2Ptr = values + capacity;
            vRhPtr = values + 2 * capacity;
            break;
        default: break;
    }
    currentLayout = layout;
    currentCapacity = capacity;
    // A smaller layout never leaves more records counted than its views hold.
    if (loggedLength > capacity) loggedLength = capacity;
    return 0;
}

void clearLoggedData() {
    ++recordsGeneration;
    if (ldPtr == nullptr) return;
    cRtc *times = reinterpret_cast<cRtc *>(ldPtr);
    double *values = reinterpret_cast<double *>(ldPtr + RECORD_VALUES_OFFSET);
    // Block copies, not a loop over the slots: a data file read clears the store every time,
    // and the copies cost a fraction of it (in the fuzz build most of all).
    std::memset(times, 0, MAX_RECORDS * sizeof(cRtc));
    values[0] = 1e-7;
    for (int done = 1; done < kValueSlots; done *= 2) {
        const int n = done < kValueSlots - done ? done : kValueSlots - done;
        std::memcpy(values + done, values, static_cast<std::size_t>(n) * sizeof(double));
    }
    described = false;
}

void GetLogMaxMinVal(float t1, float t2, float rh) {
    const float v[3] = {t1, t2, rh};
    for (int k = 0; k < 3; ++k) {
        if (!(v[k] < 10000.0f)) continue;   // absent channel, sensor error (or NaN)
        if (v[k] > lpMaxVal[k]) lpMaxVal[k] = v[k];
        if (v[k] < lpMinVal[k]) lpMinVal[k] = v[k];
    }
}

int storeRecordAt(int n, cRtc time, double t1, double t2, double rh) {
    if (rtcPtr == nullptr || vTemPtr == nullptr) return -1;
    if (n < 0 || n >= currentCapacity || loggedLength < 0 || loggedLength >= currentCapacity) return -1;
    vTemPtr[n] = t1;
    if (vTem2Ptr != nullptr) vTem2Ptr[n] = t2;
    if (vRhPtr != nullptr) vRhPtr[n] = rh;
    rtcPtr[n] = time;
    GetLogMaxMinVal(static_cast<float>(t1), vTem2Ptr != nullptr ? static_cast<float>(t2) : 10000.0f,
                    vRhPtr != nullptr ? static_cast<float>(rh) : 10000.0f);
    return ++loggedLength;
}

int storeRecord(cRtc time, double t1, double t2, double rh) { return storeRecordAt(loggedLength, time, t1, t2, rh); }

int storeLineAt(int n, cRtc time, const double values[3]) {
    switch (currentLayout) {
        case LAYOUT_T: return storeRecordAt(n, time, values[0], 10000.0, 10000.0);
        case LAYOUT_T_RH: return storeRecordAt(n, time, values[0], 10000.0, values[1]);
        case LAYOUT_T_T2: return storeRecordAt(n, time, values[0], values[1], 10000.0);
        case LAYOUT_T_T2_RH: return storeRecordAt(n, time, values[0], values[1], values[2]);
        default: return -1;
    }
}

std::size_t sensorErrorText(char *out, std::size_t capacity, double value) {
    if (out == nullptr || capacity == 0) return 0;
    out[0] = '\0';
    if (!(value > SENSOR_ERROR_BASE)) return 0;
    char text[SENSOR_ERROR_TEXT_SIZE];
    std::size_t n = 0;
    text[n++] = 'E';
    const double code = std::trunc(value - SENSOR_ERROR_BASE);
    char digits[SENSOR_ERROR_TEXT_SIZE];
    const auto r = std::to_chars(digits, digits + sizeof digits, code, std::chars_format::fixed, 0);
    const std::size_t d = r.ec == std::errc() ? static_cast<std::size_t>(r.ptr - digits) : 0;
    for (std::size_t pad = d; pad < 2; ++pad) text[n++] = '0';
    for (std::size_t k = 0; k < d && n < sizeof text; ++k) text[n++] = digits[k];
    const std::size_t written = n < capacity ? n : capacity - 1;
    for (std::size_t k = 0; k < written; ++k) out[k] = text[k];
    out[written] = '\0';
    return written;
}

double decodeTenths(int raw) { return raw / 10.0 + 0.00001; }

double tenthsToUnit(double value, char unit) {
    if ((unit == 'F' || unit == 'f') && !(value > SENSOR_ERROR_BASE)) return value * 1.8 + 32;
    return value;
}

int decodeLine(int index, const int raw[3], char unit, double out[3]) {
    const DecodeRule rule = decodeRule(index);
    const int count = loggerDataNum(index);
    out[0] = out[1] = out[2] = 0.0;
    switch (rule) {
        case DecodeRule::Thermistor: out[0] = thermistorReading(raw[0], unit); return 1;
        case DecodeRule::Tenths:
        case DecodeRule::TenthsToF:
            for (int k = 0; k < count && k < 3; ++k) out[k] = decodeTenths(raw[k]);
            // Only the temperature is converted; humidity never is.
            if (rule == DecodeRule::TenthsToF) out[0] = tenthsToUnit(out[0], unit);
            return count;
        case DecodeRule::None: break;
    }
    return -1;
}

void describeRecords(bool fromFile) {
    described = true;
    heldDescription = loggerDescription();
    heldDescription.fromFile = fromFile;
    if (loggedLength > 0 && rtcPtr != nullptr && fromFile) heldDescription.firstTime = rtcPtr[0];
}

const char *recordsShownId() {
    if (!described || loggedLength <= 0) return eId;
    return heldDescription.fromFile ? "" : heldDescription.id;
}

RecordsDescription recordsDescription() {
    return described && loggedLength > 0 ? heldDescription : loggerDescription();
}

void resetModelState() {
    resetLoggerDescription();
    heldDescription = RecordsDescription{};
    described = false;
    resetThermistorState();
    allocateRecordBlock();
    ValPtrInit(currDeviceId);
    clearLoggedData();
    loggedLength = 0;
    for (int k = 0; k < 3; ++k) {
        lpMaxVal[k] = -10000.0f;
        lpMinVal[k] = 10000.0f;
    }
}

int recordValues(int layout, int i, double values[3]) {
    switch (layout) {
        case LAYOUT_T: values[0] = vTemPtr[i]; return 1;
        case LAYOUT_T_RH:
            values[0] = vTemPtr[i];
            values[1] = vRhPtr[i];
            return 2;
        case LAYOUT_T_T2:
            values[0] = vTemPtr[i];
            values[1] = vTem2Ptr[i];
            return 2;
        case LAYOUT_T_T2_RH:
            values[0] = vTemPtr[i];
            values[1] = vTem2Ptr[i];
            values[2] = vRhPtr[i];
            return 3;
        default: return 0;
    }
}
