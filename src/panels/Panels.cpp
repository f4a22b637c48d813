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

// The logger-settings window's commands: its three OK buttons and the calibration start. While
// the calibration title is dimmed (a model without calibration), the start is left as it is.
void dimSetLoggerCommands(int dimmed) {
    SetCtrlAttribute(idSetLogger, SETLOGGER_LOG_OK, ATTR_DIMMED, dimmed);
    SetCtrlAttribute(idSetLogger, SETLOGGER_CLOCK_OK, ATTR_DIMMED, dimmed);
    SetCtrlAttribute(idSetLogger, SETLOGGER_ID_OK, ATTR_DIMMED, dimmed);
    int titleDimmed = 0;
    GetCtrlAttribute(idSetLogger, SETLOGGER_CALITITLE, ATTR_DIMMED, &titleDimmed);
    if (!titleDimmed) SetCtrlAttribute(idSetLogger, SETLOGGER_CALI_START, ATTR_DIMMED, dimmed);
}

}   // namespace

void showCommSettings(int panel) { showSettings(panel, portNo, baudRate, parity, dataBits, stopBits); }

void showDefaultCommSettings(int panel) {
    showSettings(panel, DEFAULT_PORT_NO, DEFAULT_BAUD_RATE, DEFAULT_PARITY, DEFAULT_DATA_BITS, DEFAULT_STOP_BITS);
}

void readCommSettings(int panel, int *port, int *baud, int *data, int *parityCode, int *stop) {
    GetCtrlVal(panel, SETTING_PORT, port);
    GetCtrlVal(panel, SETTING_BAUD, baud);
    GetCtrlVal(panel, SETTING_DATABITS, data);
    GetCtrlVal(panel, SETTING_PARITY, parityCode);
    GetCtrlVal(panel, SETTING_STOPBITS, stop);
}

void SetLoggerDisable() {
    SetCtrlAttribute(idMonitor, MONITOR_MENU4, ATTR_DIMMED, 1);
    dimSetLoggerCommands(1);
}

void SetLoggerEnable() {
    if (settingsCommand(currDeviceId) == SettingsCommand::Offered)
        SetCtrlAttribute(idMonitor, MONITOR_MENU4, ATTR_DIMMED, 0);
    dimSetLoggerCommands(0);
}
