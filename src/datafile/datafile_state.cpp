// The state of the datafile module, beside its reset.
#include "datafile/DataFileText.h"
#include "datafile/Lines.h"

int fileRefusedRecords = 0;
DataFileDates fileDates;
std::vector<datafile::PendingTime> datafile::pendingTimes;

void resetDataFileState() {
    fileRefusedRecords = 0;
    fileDates = DataFileDates{};
    datafile::pendingTimes = {};
}
