// The verdict on an archived recording, as the archive window's list shows it: the recording's
// readings judged against a profile, as the trip report judges the records held.
//
// State: the verdicts already made, by recording, its number of records and the profile's
// name, so that listing again (another filter, another order) judges nothing twice. A
// recording that grew has more records and is judged again.
#pragma once

#include <cstdint>
#include <string>

#include "analysis/Verdict.h"

// The verdict's word for the recording: PASS or FAIL in the window's language (rptPass,
// rptFail), "" when the recording cannot be read or judged.
std::string recordingVerdictText(std::int64_t recording, int records, const Profile &profile);

// Forget the verdicts made (the profiles file was read again; tests).
void resetRecordingVerdicts();
