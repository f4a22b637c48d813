// The communication settings and the automatic port detection.
#include "link/ComSetting.h"

#include <cstdio>
#include <string>
#include <system_error>

#include <filesystem>

#include "link/Link.h"
#include "local/Local.h"
#include "local/Texts.h"
#include "panels/Panels.h"
#include "runtime/serial.h"
#include "runtime/ui.h"

namespace {

// A device path typed by the user: at most this many bytes are taken.

// Detection: the logger settles for kSettleWaits waits of kSettleWait seconds, then every port
// is opened with small queues and held open for kTryWait seconds.
constexpr int kSettleWaits = 3;
constexpr double kSettleWait = 1.0;
constexpr int kDetectQueueSize = 256;
constexpr double kTryWait = 0.2;

// The device field shows the device of the port number chosen in the ring.
void showChosenDevice(int panel) {
    int port = 0;
    if (GetCtrlVal(panel, SETTING_PORT, &port) < 0) return;
    SetCtrlVal(panel, SETTING_DEVICE, rt::ComPortDevice(port).c_str());
}

// Leading and trailing blanks of a typed path are typing slips, never part of the path.
std::string trimmed(const char *text) {
    std::string s(text);
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!s.empty() && blank(s.back())) s.pop_back();
    std::size_t first = 0;
    while (first < s.size() && blank(s[first])) ++first;
    return s.substr(first);
}

// The mark after a port's label: the device exists now; a bound device that is missing (a
// default device that is missing is the usual case and gets none).
std::string portMark(int port) {
    const std::string device = rt::ComPortDevice(port);
    std::error_code error;
    if (!device.empty() && std::filesystem::exists(device, error)) return std::string("  ") + commPortPresent;
    if (device != rt::DefaultComPortDevice(port)) return std::string("  ") + commPortMissing;
    return {};
}

}   // namespace

void showPortDevices(int panel) {
    int chosen = 0;
    if (GetCtrlVal(panel, SETTING_PORT, &chosen) < 0) chosen = 1;
    ClearListCtrl(panel, SETTING_PORT);
    for (int port = 1; port <= MAX_COM_PORT; ++port) {
        const std::string label = "COM" + std::to_string(port) + "  " + rt::ComPortDevice(port) + portMark(port);
        InsertListItem(panel, SETTING_PORT, -1, label.c_str(), port);
    }
    SetCtrlVal(panel, SETTING_PORT, chosen >= 1 && chosen <= MAX_COM_PORT ? chosen : 1);
    showChosenDevice(panel);
}

int Get_ComPort() {
    // 1. the user confirms, then the logger gets three seconds to settle
    MessagePopup(warn28, warn29);   // "Serial port detection", "connect the logger, then press OK"
    for (int i = 0; i < kSettleWaits; ++i) Delay(kSettleWait);

    // 2. port 1 stands for "none found yet"
    portNo = PORT_NOT_CHOSEN;
    SetCtrlAttribute(idSetting, SETTING_PORT, ATTR_TEXT_COLOR, VAL_RED);

    // 3. try every port; the window shows the one being tried
    for (int p = 1; p <= MAX_COM_PORT; ++p) {
        SetCtrlVal(idSetting, SETTING_PORT, p);
        showChosenDevice(idSetting);
        ProcessDrawEvents();
        const bool opens =
            OpenComConfig(p, "", baudRate, parity, dataBits, stopBits, kDetectQueueSize, kDetectQueueSize) >= 0;
        if (opens && portNo == PORT_NOT_CHOSEN) portNo = p;
        Delay(kTryWait);
        CloseCom(p);
    }

    // 4. show and keep the choice
    SetCtrlAttribute(idSetting, SETTING_PORT, ATTR_TEXT_COLOR, VAL_BLACK);
    SetCtrlVal(idSetting, SETTING_PORT, portNo);
    showChosenDevice(idSetting);
    SavePanelState(idSetting, TAVIX_STATE_FILE, COMM_SETTINGS_STATE);
    return portNo;
}

// ---------------------------------------------------------------- the window

int cSettingCallBack(int, int, int event, void *, int, int) {
    if (event != EVENT_COMMIT) return 0;
    // A window still loaded (hidden by its close box, or open) is replaced, never left
    // behind without a handle: its values were kept in the state file when it was hidden.
    if (idSetting > 0) DiscardPanel(idSetting);
    idSetting = LoadPanel(0, SETTING);
    if (idSetting < 0) {
        idSetting = 0;
        return -1;
    }
    const int controls[] = {SETTING_PORT,   SETTING_BAUD,     SETTING_DATABITS,
                            SETTING_PARITY, SETTING_STOPBITS, SETTING_CANCEL};
    // one font and one size for the whole window, so that no field stands out
    for (int c : controls) SetCtrlAttribute(idSetting, c, ATTR_TEXT_FONT, VAL_APP_META_FONT);
    // detection is not offered here
    SetCtrlAttribute(idSetting, SETTING_AUTO, ATTR_VISIBLE, 0);
    RecallPanelState(idSetting, TAVIX_STATE_FILE, COMM_SETTINGS_STATE);
    localCommSetWindow();
    // the port list's marks in the window's language; the state file may hold a device text
    // from before a binding changed
    showPortDevices(idSetting);
    DisplayPanel(idSetting);
    return 0;
}

int cOkCallBack(int panel, int, int event, void *, int, int) {
    if (event != EVENT_COMMIT) return 0;
    // 1. the new settings: port and baud rate kept aside until the port opens
    int newPort = portNo, newBaud = baudRate;
    readCommSettings(panel, &newPort, &newBaud, &dataBits, &parity, &stopBits);

    // 2., 3. the old port goes, the new one opens
    CloseCom(portNo);
    const int oldPort = portNo, oldBaud = baudRate;
    portNo = newPort;
    baudRate = newBaud;
    if (openLoggerPort() < 0) {
        // 5. the window stays for another choice; the port in use stays the old one
        portNo = oldPort;
        baudRate = oldBaud;
        MessagePopup(warn1, warn1);   // title and text: "the serial port cannot be opened"
        return 0;
    }

    // 4. the link starts again on the new port and identifies the logger anew
    char text[MSG_TEXT_SIZE + 32];
    std::snprintf(text, sizeof text, "COM%d %s", portNo, msg15);   // "is open; waiting for the logger"
    sendUserMessage(text);
    forgetLogger(HeldRecords::Kept);
    SetCtrlVal(idMonitor, MONITOR_ID, "ID=");
    SavePanelState(panel, TAVIX_STATE_FILE, COMM_SETTINGS_STATE);
    DiscardPanel(panel);
    if (panel == idSetting) idSetting = 0;
    return 0;
}

int cCancelCallBack(int panel, int, int event, void *, int, int) {
    if (event != EVENT_COMMIT) return 0;
    DiscardPanel(panel);
    if (panel == idSetting) idSetting = 0;
    return 0;
}

int pSettingCallBack(int panel, int event, void *, int, int) {
    if (event != EVENT_CLOSE) return 0;
    // kept for the next start, not applied now; the window stays loaded
    SavePanelState(panel, TAVIX_STATE_FILE, COMM_SETTINGS_STATE);
    HidePanel(panel);
    return 0;
}

int cAutoCallBack(int, int, int event, void *, int, int) {
    if (event == EVENT_COMMIT) Get_ComPort();
    return 0;
}

int cBindCallBack(int panel, int, int event, void *, int, int) {
    if (event != EVENT_COMMIT) return 0;
    int port = 0;
    if (GetCtrlVal(panel, SETTING_PORT, &port) < 0) return 0;
    // port number 1 stands for "not chosen": a device bound to it would be taken for none
    if (port == PORT_NOT_CHOSEN) {
        MessagePopup(warn9, commPortOneRefused);   // "Warning"
        return 0;
    }
    char typed[DEVICE_TEXT_SIZE] = "";
    GetCtrlVal(panel, SETTING_DEVICE, typed);
    // an empty path gives the port number its default device back
    if (rt::BindComPort(port, trimmed(typed)) < 0) {
        char text[MSG_TEXT_SIZE + 32];
        std::snprintf(text, sizeof text, "%s %s", warn6, TAVIX_STATE_FILE);   // "cannot be written"
        MessagePopup(warn9, text);                                            // "Warning"
    }
    // the labels and the field show what the port number stands for now
    showPortDevices(panel);
    return 0;
}

// The port number shows its device; the settings themselves are read on OK.
int sPortNoCallBack(int panel, int, int event, void *, int, int) {
    if (event == EVENT_COMMIT || event == EVENT_VAL_CHANGED) showChosenDevice(panel);
    return 0;
}
int sBaudRateCallBack(int, int, int, void *, int, int) { return 0; }
int sDataBitsCallBack(int, int, int, void *, int, int) { return 0; }
int sParityCallBack(int, int, int, void *, int, int) { return 0; }
int sStopBitsCallBack(int, int, int, void *, int, int) { return 0; }
