// The state of the file commands and of the group-files window, beside its reset.
#include "files/DataFile.h"
#include "files/Group.h"

char fileName[FILE_NAME_SIZE] = "";

// ---------------------------------------------------------------- group files
// red, green, blue bytes, slot A to H: blue, red, green, purple, brown, teal, crimson, grey.
// Each reads on white as text does (contrast 4.5 : 1 at least) and their hues lie apart, so
// that no two slots look alike.
#define TAVIX_GROUP_DEFAULT_COLORS \
    { 0x0047AB, 0xC00000, 0x007A00, 0x8E24AA, 0x8B5A00, 0x007C87, 0xD4006A, 0x404040 }
const int GROUP_DEFAULT_COLORS[GROUP_SLOTS] = TAVIX_GROUP_DEFAULT_COLORS;

int groupDeviceId[GROUP_SLOTS] = {};
char groupUnit[GROUP_SLOTS] = {};
int groupLength[GROUP_SLOTS] = {};
int groupRefusedRecords[GROUP_SLOTS] = {};
unsigned char *groupPtr[GROUP_SLOTS] = {};
cRtc *groupRtcPtr[GROUP_SLOTS] = {};
double *groupTemPtr[GROUP_SLOTS] = {};
double *groupTem2Ptr[GROUP_SLOTS] = {};
double *groupRhPtr[GROUP_SLOTS] = {};
int groupColors[GROUP_SLOTS] = TAVIX_GROUP_DEFAULT_COLORS;
int groupHandlerTem[GROUP_SLOTS] = {};
int groupHandlerTem2[GROUP_SLOTS] = {};
int groupHandlerRh[GROUP_SLOTS] = {};
int groupHandlerTemText[GROUP_SLOTS] = {};
int groupHandlerTem2Text[GROUP_SLOTS] = {};
int groupHandlerRhText[GROUP_SLOTS] = {};
char logNo = '\0';
int vChartOffset = 0;
int vChartGain = GROUP_MAX_POSITIONS;
int vCursorX = 0;
bool fRhLogger = false;

void resetFilesState() {
    fileName[0] = '\0';
    resetDataFileState();

    // The slots as at start-up: no block, nothing read, nothing drawn, the default colours.
    for (int k = 0; k < GROUP_SLOTS; ++k) {
        delete[] groupPtr[k];
        groupPtr[k] = nullptr;
        groupRtcPtr[k] = nullptr;
        groupTemPtr[k] = groupTem2Ptr[k] = groupRhPtr[k] = nullptr;
        groupDeviceId[k] = 0;
        groupUnit[k] = '\0';
        groupLength[k] = 0;
        groupRefusedRecords[k] = 0;
        groupColors[k] = GROUP_DEFAULT_COLORS[k];
        groupHandlerTem[k] = groupHandlerTem2[k] = groupHandlerRh[k] = 0;
        groupHandlerTemText[k] = groupHandlerTem2Text[k] = groupHandlerRhText[k] = 0;
    }
    logNo = '\0';
    vChartOffset = 0;
    vChartGain = GROUP_MAX_POSITIONS;
    vCursorX = 0;
    fRhLogger = false;
}
