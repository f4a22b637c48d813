// The trip report's state, with its start-up values.
#include "report/Report.h"

std::vector<Profile> reportProfiles;
int reportProfileIndex = 0;
std::string reportProfilesError;
std::string reportProgram;

void resetReportState() {
    reportProfiles.clear();
    reportProfileIndex = 0;
    reportProfilesError.clear();
    reportProgram.clear();
}
