// The response interpreter: recognises the response words of a received line, reads their
// fields with the tokenizer, updates the logger description, the record store and the main
// window, and acknowledges the pending command.
#include <charconv>
#include <cstdio>
#include <cstring>

#include "config/Config.h"
#include "display/Display.h"
#include "link/Link.h"
#include "local/Texts.h"
#include "model/Clock.h"
#include "model/Models.h"
#include "model/Records.h"
#include "panels/Panels.h"
#include "runtime/ui.h"

namespace {

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

// The sample interval field of the 'm' response.
int readSampleRate() {
    pToken = nextToken(0);
    const char *t = pToken != nullptr ? pToken : "";
    if (std::strcmp(t, "--") == 0) return 32768;
    if (t[0] == 11) return 32767;
    if (t[0] == 'E') {
        int n = 0;
        std::from_chars(t + 1, t + std::strlen(t), n);   // at most nine digits: no overflow
        return 32767 - n;
    }
    int v = 0;
    const char *p = t[0] == '+' ? t + 1 : t;
    std::from_chars(p, p + std::strlen(p), v);
    // A 16-bit count above 32767 arrives negative; 0 stands for 65536.
    return v > 0 ? v : v + 65536;
}

// The status-line progress of a download: the records held and the word for points.
void showProgress(bool full) {
    char text[64];
    if (full)
        std::snprintf(text, sizeof text, "%4d %s (max).", loggedLength, wPoints);
    else
        std::snprintf(text, sizeof text, "%4d %s.", loggedLength, wPoints);
    if (full)
        sendWarnMessage(text);
    else
        sendUserMessage(text);
}

void handleIdentity() {
    isString(eId);
    isString(eDeviceName);
    updateDeviceName();
    updateId();
    if (prevDeviceId != currDeviceId) {
        updatePanelLogSetting();
        RecallLogSetting();
    }
}

void handleMemory() {
    eLength = isNumber();
    eSampleRate = readSampleRate();
    eUnit = isCharacter();
    const unsigned high = static_cast<unsigned>(isHexNumber());
    const unsigned low = static_cast<unsigned>(isHexNumber());
    eSampleTime = log2Pc(high * 65536u + low);
    updateSchedule();
}

void handleStatus() {
    gFlag |= GFLAG_STATUS_APPLIED;
    loggerStatus = isNumber();
    if (loggerStatus == 1)
        SetLoggerDisable();
    else
        SetLoggerEnable();
}

void handleData() {
    if (!fDownloadNow) {
        // Data while no download runs: make the tick stop the logger.
        keyEnd = 1;
        fEndCnt = STOP_TICKS;
        return;
    }
    fRecvD = DATA_SILENCE_TICKS;
    if (keyEnd) return;   // the download is being stopped: nothing more is stored
    const int count = loggerDataNum(currDeviceId);
    if (count >= 1) eValue1 = isNumber();
    if (count >= 2) eValue2 = isNumber();
    if (count >= 3) eValue3 = isNumber();
    updatePoint();
}

void handleCalibration() {
    switch (calibrationKind(currDeviceId)) {
        case Calibration::Temperature:
            for (int &point : tempCaliData) point = isNumber();
            if (keyTempCali == 4) {
                SetTempCaliInput();
                DisplayPanel(idTempCali);
            } else {
                CheckTempCaliArray();
            }
            break;
        case Calibration::Humidity:
            isString(rhCaliZstr);
            isString(rhCaliSstr);
            if (keyTempCali == 4) {
                SetRhCaliInput();
                DisplayPanel(idRhCali);
            } else {
                CheckRhCali();
            }
            break;
        case Calibration::None: break;
    }
    keyTempCali = 0;
}

}  // namespace

void analysisComPortData() { eiPaser(); }

void eiPaser() {
    // rxBuf always ends the line with three zeros within its 1028 bytes.
    if (rxLen < 0) rxLen = 0;
    if (rxLen > RX_LINE_MAX) rxLen = RX_LINE_MAX;
    rxBuf[rxLen] = rxBuf[rxLen + 1] = rxBuf[rxLen + 2] = 0;

    // 1. a lone character other than the prompt is noise
    if (rxLen == 1 && rxBuf[0] != '>') return;
    const char first = rxBuf[0];

    // 2. the first response word is read from the start of the line
    istEvent = 1;
    endOfBuf = 0;

    // 3. every response of the line
    while (!endOfBuf) {
        eCmd = isCommand();
        switch (eCmd) {
            case 'i': handleIdentity(); break;
            case 'm': handleMemory(); break;
            case 't': handleStatus(); break;
            case 'd': handleData(); break;
            case 'r': handleCalibration(); break;
            case '>':
            default: break;   // the prompt, or a token that is no response word
        }
    }

    // 4. the logger's confirmation of a new clock or new logging settings
    if (sendCmdChar == 'C') sendUserMessage(msg10);
    if (sendCmdChar == 'S') sendUserMessage(msg9);

    // 5. acknowledgement: the prompt or a lower-case response other than 'r' and 't'
    if (first == '>' || (first >= 'a' && first <= 'z' && first != 'r' && first != 't')) {
        fCmdFail = 0;
        // The setting commands stay pending until the tick's wait has run out.
        const bool setting = sendCmdChar != 0 && std::strchr("ASCJR", sendCmdChar) != nullptr;
        if (!setting) sendCmdChar = 0;
    }
}

void updateDeviceName() {
    chkDeviceMode(eDeviceName);
    updatePanelMonitor();
}

int chkDeviceMode(char *name) {
    // 1. a version suffix "Vx.y"
    const std::size_t length = std::strlen(name);
    if (length >= 4 && name[length - 4] == 'V') {
        eVersion = static_cast<float>(leadingReal(name + length - 3));
        name[length - 4] = 0;
    } else {
        eVersion = 2.4f;
    }
    // 2.-3. the model
    prevDeviceId = currDeviceId;
    currDeviceId = modelIndexOf(name);
    // 4. the chart's scale follows all channels again
    resetChartScaling();
    return currDeviceId;
}

void updateId() {
    gFlag |= GFLAG_ID_KNOWN;
    char text[32];
    std::snprintf(text, sizeof text, "ID=%s", eId);
    SetCtrlVal(idMonitor, MONITOR_ID, text);
    sendUserMessage(msg1);
}

void updatePanelMonitor() {
    // 1. the record store's views for the model
    ValPtrInit(currDeviceId);

    // 2. the right axis carries humidity
    const int layout = loggerType(currDeviceId);
    const bool humidity = layout == LAYOUT_T_RH || layout == LAYOUT_T_T2_RH;
    SetCtrlAttribute(idMonitor, MONITOR_GRAPH, ATTR_ACTIVE_YAXIS, VAL_RIGHT_YAXIS);
    SetCtrlAttribute(idMonitor, MONITOR_GRAPH, ATTR_YLABEL_VISIBLE, humidity ? 1 : 0);
    SetCtrlAttribute(idMonitor, MONITOR_GRAPH, ATTR_YNAME, humidity ? "%Rh" : "");
    SetCtrlAttribute(idMonitor, MONITOR_GRAPH, ATTR_ACTIVE_YAXIS, VAL_LEFT_YAXIS);

    // 3. the chart's range list and offset follow the memory
    int items = 0;
    if (GetNumListItems(idMonitor, MONITOR_RANGE, &items) < 0) items = 0;
    const MemoryClass memory = memoryClass(currDeviceId);
    switch (memory) {
        case MemoryClass::K8:
            if (items == 9) DeleteListItem(idMonitor, MONITOR_RANGE, 7, 2);
            if (items == 6) InsertListItem(idMonitor, MONITOR_RANGE, 6, "8k", 8000);
            break;
        case MemoryClass::Small:
            if (items == 7) DeleteListItem(idMonitor, MONITOR_RANGE, 6, 1);
            if (items == 9) DeleteListItem(idMonitor, MONITOR_RANGE, 6, 3);
            break;
        case MemoryClass::K16:
            if (items == 6) InsertListItem(idMonitor, MONITOR_RANGE, 6, "8k", 8000);
            if (items == 6 || items == 7) {
                InsertListItem(idMonitor, MONITOR_RANGE, 7, "12k", 12000);
                InsertListItem(idMonitor, MONITOR_RANGE, 8, "16k", 16000);
            }
            break;
        case MemoryClass::None: return;
    }
    SetCtrlAttribute(idMonitor, MONITOR_OFFSET, ATTR_MAX_VALUE, memoryOffsetMax(memory));
}

void updateSchedule() {
    // 1.
    gFlag |= GFLAG_SCHEDULE_KNOWN;
    // 2. "<count> <records>, <rate>=hh:mm:ss, <unit>=<letter as received>"
    char text[160];
    std::snprintf(text, sizeof text, "%i %s, %s=%02d:%02d:%02d, %s=%c", eLength, wRecords, wRate, eSampleRate / 3600,
                  eSampleRate % 3600 / 60, eSampleRate % 60, wUnit, eUnit);
    SetCtrlVal(idMonitor, MONITOR_INFO, text);
    // 3.
    if (eLength > MAX_RECORDS) eLength = MAX_RECORDS;
    if (eUnit >= 'a' && eUnit <= 'z') eUnit = static_cast<char>(eUnit - 'a' + 'A');
    // 4.
    sendUserMessage(msg2);
}

void updatePoint() {
    const int n = loggedLength;
    const int raw[3] = {eValue1, eValue2, eValue3};
    double values[3];
    // 1. decode by the model's rule (a model without one sends no data lines)
    if (decodeLine(currDeviceId, raw, eUnit, values) < 0) return;
    // 2.-5. store with its time; the store refuses a record past its capacity
    const cRtc time = eSampleTime + static_cast<cRtc>(eSampleRate) * static_cast<cRtc>(n);
    if (storeLineAt(n, time, values) < 0) {
        ++refusedRecords;
        showProgress(true);
        return;
    }
    // 6. progress
    showProgress(false);
}
