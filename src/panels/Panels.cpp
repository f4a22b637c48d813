// The commands that configure the logger: dimmed until a logger has answered.
#include "panels/Panels.h"

#include "model/Models.h"
#include "runtime/ui.h"

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
    if (currDeviceId != 24) SetCtrlAttribute(idMonitor, MONITOR_MENU4, ATTR_DIMMED, 0);
    SetCtrlAttribute(idSetLogger, SETLOGGER_LOG_OK, ATTR_DIMMED, 0);
    SetCtrlAttribute(idSetLogger, SETLOGGER_CLOCK_OK, ATTR_DIMMED, 0);
    SetCtrlAttribute(idSetLogger, SETLOGGER_ID_OK, ATTR_DIMMED, 0);
    int titleDimmed = 0;
    GetCtrlAttribute(idSetLogger, SETLOGGER_CALITITLE, ATTR_DIMMED, &titleDimmed);
    if (!titleDimmed) SetCtrlAttribute(idSetLogger, SETLOGGER_CALI_START, ATTR_DIMMED, 0);
}
