// Commands whose modules are not built yet (help and version). They are attached by the
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

int cCmdCallback(int, int, int, void *, int, int) { return 0; }
int cHelpCallBack(int, int, int, void *, int, int) { return 0; }
int mVersionCallback(int, int, int, void *, int, int) { return 0; }
