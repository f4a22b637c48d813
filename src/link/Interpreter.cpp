// The response interpreter: recognises the response words of a received line, has the
// protocol's decoding read their fields into the logger description, the record store and the
// calibration reported, then shows them in the main window, tells the windows above through the
// notifications, and acknowledges the pending command.
#include <cstdio>
#include <cstring>

#include "base/Notify.h"
#include "link/Link.h"
#include "local/Texts.h"
#include "model/Clock.h"
#include "model/Models.h"
#include "model/Records.h"
#include "panels/Panels.h"
#include "protocol/Protocol.h"
#include "runtime/ui.h"

namespace {

// The range list of the chart: its own first items, then the items a larger memory adds, at
// the positions that follow them. A list of kOwnRangeItems, k8kRangeItems or k16kRangeItems
// items fits a small, an 8k or a 16k memory.
struct RangeItem {
    const char *label;
    int records;
};
constexpr int kOwnRangeItems = 6;
constexpr RangeItem kMemoryRangeItems[] = {{"8k", 8000}, {"12k", 12000}, {"16k", 16000}};
constexpr int k8kRangeItems = kOwnRangeItems + 1;
constexpr int k16kRangeItems = kOwnRangeItems + 3;

// Insert the memory's range item of a position (kOwnRangeItems or later) into the list.
void insertRangeItem(int position) {
    const RangeItem &item = kMemoryRangeItems[position - kOwnRangeItems];
    InsertListItem(idMonitor, MONITOR_RANGE, position, item.label, item.records);
}

// The progress of a download: the records held and the word for points in the status line,
// and the progress bar against the records the logger reported.
void showProgress(bool full) {
    showRecordProgress(loggedLength, readingsToRecords(currDeviceId, eLength));
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
    decodeIdentity();
    updateDeviceName();
    updateId();
    // another model: the logger-settings window is filled for it and its settings recalled
    if (prevDeviceId != currDeviceId) notifyLoggerModelChanged();
}

void handleMemory() {
    decodeMemory();
    updateSchedule();
}

void handleStatus() {
    gFlag |= GFLAG_STATUS_APPLIED;
    loggerStatus = decodeStatus();
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
    decodeDataFields(loggerDataNum(currDeviceId));
    updatePoint();
}

// The calibration window shows the answer to its read, or compares a read-back with what
// was written.
void handleCalibration() {
    const Calibration kind = calibrationKind(currDeviceId);
    if (kind != Calibration::None) {
        decodeCalibration(kind);
        notifyCalibrationArrived(keyTempCali == CALI_READ_SENT ? CalibrationAnswer::ForWindow
                                                               : CalibrationAnswer::ReadBack);
    }
    keyTempCali = CALI_IDLE;
}

}   // namespace

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

    // 4. the logger's confirmation of a new clock, identifier and sleep mode, or logging
    //    settings; the identifier's "sending" message would otherwise stay for good
    if (sendCmdChar == 'C') sendUserMessage(msg10);              // "the logger's clock has been set"
    if (sendCmdChar == 'J') sendUserMessage(msgIdentifierSet);   // "identifier and sleep mode accepted"
    if (sendCmdChar == 'S') sendUserMessage(msg9);               // "the logger has accepted the settings"

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

void updateId() {
    gFlag |= GFLAG_ID_KNOWN;
    char text[32];
    std::snprintf(text, sizeof text, "ID=%s", eId);
    SetCtrlVal(idMonitor, MONITOR_ID, text);
    updateMainTitle();
    sendUserMessage(msg1);   // "Logger identified"
}

void updatePanelMonitor() {
    // 1. the record store's views for the model; records held keep the layout of the logger
    // they came from (another logger identified now does not reinterpret them)
    const int model = recordsDescription().model;
    ValPtrInit(model);

    // 2. the right axis carries humidity
    const int layout = loggerType(model);
    const bool humidity = layout == LAYOUT_T_RH || layout == LAYOUT_T_T2_RH;
    SetCtrlAttribute(idMonitor, MONITOR_GRAPH, ATTR_ACTIVE_YAXIS, VAL_RIGHT_YAXIS);
    SetCtrlAttribute(idMonitor, MONITOR_GRAPH, ATTR_YLABEL_VISIBLE, humidity ? 1 : 0);
    SetCtrlAttribute(idMonitor, MONITOR_GRAPH, ATTR_YNAME, humidity ? "%Rh" : "");
    SetCtrlAttribute(idMonitor, MONITOR_GRAPH, ATTR_ACTIVE_YAXIS, VAL_LEFT_YAXIS);

    // 3. the chart's range list and offset follow the memory
    int items = 0;
    if (GetNumListItems(idMonitor, MONITOR_RANGE, &items) < 0) items = 0;
    const MemoryClass memory = memoryClass(model);
    switch (memory) {
        case MemoryClass::K8:
            if (items == k16kRangeItems)
                DeleteListItem(idMonitor, MONITOR_RANGE, k8kRangeItems, k16kRangeItems - k8kRangeItems);
            if (items == kOwnRangeItems) insertRangeItem(kOwnRangeItems);
            break;
        case MemoryClass::Small:
            if (items == k8kRangeItems || items == k16kRangeItems)
                DeleteListItem(idMonitor, MONITOR_RANGE, kOwnRangeItems, items - kOwnRangeItems);
            break;
        case MemoryClass::K16:
            if (items == kOwnRangeItems) insertRangeItem(kOwnRangeItems);
            if (items == kOwnRangeItems || items == k8kRangeItems) {
                for (int position = k8kRangeItems; position < k16kRangeItems; ++position) insertRangeItem(position);
            }
            break;
        case MemoryClass::None: return;
    }
    SetCtrlAttribute(idMonitor, MONITOR_OFFSET, ATTR_MAX_VALUE, memoryOffsetMax(memory));
}

void updateSchedule() {
    // 1. the schedule is known
    gFlag |= GFLAG_SCHEDULE_KNOWN;
    // 2. "<model> <count> <records>, <rate>=hh:mm:ss, <unit>=<letter as received>": the logger
    // reports readings over all channels; what it holds are records of one reading per channel
    char text[160];
    const int records = readingsToRecords(currDeviceId, eLength < 0 ? 0 : eLength);
    std::snprintf(text, sizeof text, "%s%s%i %s, %s=%02d:%02d:%02d, %s=%c", eDeviceName,
                  eDeviceName[0] != '\0' ? ": " : "", records, wRecords, wRate, eSampleRate / 3600,
                  eSampleRate % 3600 / 60, eSampleRate % 60, wUnit, eUnit);
    SetCtrlVal(idMonitor, MONITOR_INFO, text);
    // 3. shown as received, kept within the store and with an upper-case unit
    if (eLength > MAX_RECORDS) eLength = MAX_RECORDS;
    if (eUnit >= 'a' && eUnit <= 'z') eUnit = static_cast<char>(eUnit - 'a' + 'A');
    // 4. the user is told; a download shows its progress bar from now on
    if (fDownloadNow) showRecordProgress(loggedLength, readingsToRecords(currDeviceId, eLength));
    sendUserMessage(msg2);   // "Logger memory and schedule read"
}

void updatePoint() {
    switch (storeDataRecord()) {
        case DataRecord::Stored: showProgress(false); break;
        case DataRecord::Refused:
            ++refusedRecords;
            showProgress(true);
            break;
        case DataRecord::Undecodable: break;
    }
}
