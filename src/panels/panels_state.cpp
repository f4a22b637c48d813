// The window handles and the communication settings, with their start-up values.
#include "panels/Panels.h"

int idStatistic = 0, idMonitor = 0, idTable = 0, idMonitors = 0, idSetLogger = 0, idTempCali = 0, idRhCali = 0,
    idMsg = 0, idSetting = 0;
int scalMenuHandle = 0;

int portNo = 1, baudRate = 9600, parity = 0, dataBits = 8, stopBits = 1;
