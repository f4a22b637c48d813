// The state of the file commands, beside its reset.
#include "files/DataFile.h"

char fileName[FILE_NAME_SIZE] = "";
int fileRefusedRecords = 0;

void resetFilesState() {
    fileName[0] = '\0';
    fileRefusedRecords = 0;
}
