// The commands that configure the logger: dimmed until a logger has answered. The
// communication settings as the settings window shows them.
#include "panels/Panels.h"

#include "model/Models.h"
#include "runtime/ui.h"

namespace {

void showSettings(int panel, int port, int baud, int parityCode, int data, int stop) {
    SetCtrlVal(panel, SETTING_PORT, port);
    SetCtrlVal(panel, SETTING_BAUD, baud);
    SetCtrlVal(panel, SETTING_DATABITS, data);
    SetCtrlVal(panel, SETTING_PARITY, parityCode);
    SetCtrlVal(panel, SETTING_STOPBITS, stop);
}

}  // namespace

void showCommSettings(int panel) { showSettings(panel, portNo, baudRate, parity, dataBits, stopBits); }

void showDefaultCommSettings(int panel) {
    showSettings(panel, DEFAULT_PORT_NO, DEFAULT_BAUD_RATE, DEFAULT_PARITY, DEFAULT_DATA_BITS, DEFAULT_STOP_BITS);
}

void SetLoggerDisable() {
    SetCtrlAttribute(idMonitor, MONITOR_MENU4, ATTR_DIMMED, 1);
    SetCtrlAttribute(idSetLogger, SETLOGGER_LOG_OK, ATTR_DIMMED, 1);
    SetCtrlAttribute(idSetLogger, SETLOGGER_CLOCK_OK, ATTR_DIMMED, 1);
    SetCtrlAttribute(idSetLogger, SETLOGGER_ID_OK, ATTR_DIMMED, 1);
    int titleDimmed = 0;
    GetCtrlAttribute(idSetLogger, SETLOGGER_CALITITLE, ATTR_DIMMED, &titleDimmed);
    if (!titleDimmed) SetCtrlAttribute(idSetLogger, SETLOGGER_CALI_START, ATTR_DIMMED, 1);
}

void SetLoggerEnable() {
    if (settingsCommand(currDeviceId) == SettingsCommand::Offered)
        SetCtrlAttribute(idMonitor, MONITOR_MENU4, ATTR_DIMMED, 0);
    SetCtrlAttribute(idSetLogger, SETLOGGER_LOG_OK, ATTR_DIMMED, 0);
    SetCtrlAttribute(idSetLogger, SETLOGGER_CLOCK_OK, ATTR_DIMMED, 0);
    SetCtrlAttribute(idSetLogger, SETLOGGER_ID_OK, ATTR_DIMMED, 0);
    int titleDimmed = 0;
    GetCtrlAttribute(idSetLogger, SETLOGGER_CALITITLE, ATTR_DIMMED, &titleDimmed);
    if (!titleDimmed) SetCtrlAttribute(idSetLogger, SETLOGGER_CALI_START, ATTR_DIMMED, 0);
}
