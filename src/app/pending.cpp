// Commands of the windows whose modules are not built yet. They are attached by the
// layouts so that every window is complete. Each is already declared in the header of
// the module that will own it; its definition moves to that module when the module is
// built, and is deleted here.
#include "app/Tavix.h"
#include "config/Config.h"
#include "display/Display.h"
#include "files/Group.h"
#include "link/Link.h"
#include "local/Local.h"
#include "table/Table.h"

int cCaliStartCallBack(int, int, int, void *, int, int) { return 0; }
int cCancelClockCallBack(int, int, int, void *, int, int) { return 0; }
int cCancelIdCallBack(int, int, int, void *, int, int) { return 0; }
int cCmdCallback(int, int, int, void *, int, int) { return 0; }
int cHelpCallBack(int, int, int, void *, int, int) { return 0; }
int cOkClockCallBack(int, int, int, void *, int, int) { return 0; }
int cOkIdCallBack(int, int, int, void *, int, int) { return 0; }
int cOkRhCaliCallBack(int, int, int, void *, int, int) { return 0; }
int cOkTempCaliCallBack(int, int, int, void *, int, int) { return 0; }
int cRefreshRhCaliCallBack(int, int, int, void *, int, int) { return 0; }
int cRefreshTempCaliCallBack(int, int, int, void *, int, int) { return 0; }
int cRhCaliExitCallBack(int, int, int, void *, int, int) { return 0; }
int cSleepModeCallBack(int, int, int, void *, int, int) { return 0; }
int cTempCaliExitCallBack(int, int, int, void *, int, int) { return 0; }
int mVersionCallback(int, int, int, void *, int, int) { return 0; }
int sIdCallBack(int, int, int, void *, int, int) { return 0; }
int sRealDateCallBack(int, int, int, void *, int, int) { return 0; }
int sRealTimeCallBack(int, int, int, void *, int, int) { return 0; }
int pRhCaliCallBack(int, int, void *, int, int) { return 0; }
int pTempCaliCallBack(int, int, void *, int, int) { return 0; }
int pMsgCallBack(int, int, void *, int, int) { return 0; }


// Logger configuration: the settings window, its file, calibration.
void SetTempCaliInput() {}
void SetRhCaliInput() {}
void CheckTempCaliArray() {}
void CheckRhCali() {}
