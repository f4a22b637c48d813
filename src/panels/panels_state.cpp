// The window handles and the communication settings, with their start-up values.
#include "panels/Panels.h"

int idStatistic = 0, idMonitor = 0, idTable = 0, idMonitors = 0, idSetLogger = 0, idTempCali = 0, idRhCali = 0,
    idMsg = 0, idSetting = 0;
int scalMenuHandle = 0;
int idTripReport = 0;

int portNo = DEFAULT_PORT_NO, baudRate = DEFAULT_BAUD_RATE, parity = DEFAULT_PARITY, dataBits = DEFAULT_DATA_BITS,
    stopBits = DEFAULT_STOP_BITS;

void useDefaultCommSettings() {
    portNo = DEFAULT_PORT_NO;
    baudRate = DEFAULT_BAUD_RATE;
    parity = DEFAULT_PARITY;
    dataBits = DEFAULT_DATA_BITS;
    stopBits = DEFAULT_STOP_BITS;
}

void resetPanelsState() {
    idStatistic = idMonitor = idTable = idMonitors = idSetLogger = idTempCali = idRhCali = idMsg = idSetting = 0;
    scalMenuHandle = 0;
    idTripReport = 0;
    useDefaultCommSettings();
}
