// The trip report: the verdict on the records held against a profile, on one page (window,
// PDF, printer), and the summary of data files that tavix-cli prints (a line, JSON Lines, CSV).
//
// The records are judged as the record store holds them (analysis/Verdict.h), so a download,
// a data file read by Retrieve File and an archived recording get the same verdict. The
// profiles come from the profiles file of the program folder (analysis/Profiles.h); the
// "Data table limits" profile takes its zones from the data table's limit fields, which hold
// the preferences' default limits until the user changes them.
//
// State: the profiles offered and the one chosen in the window, the program's name and
// version for the page's footer, and the audit chain head the page names. Numbers on the page
// and in the summaries are in the C locale; dates are year-month-day.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "analysis/Profiles.h"
#include "analysis/Verdict.h"
#include "runtime/page.h"

// ---------------------------------------------------------------- state

// The profiles offered (the window's list), the index of the one chosen, and why the profiles
// file could not be used ("" when it could).
extern std::vector<Profile> reportProfiles;
extern int reportProfileIndex;
extern std::string reportProfilesError;
// The program and its version, for the page's footer ("Tavix 1.0"); app sets it at start-up.
extern std::string reportProgram;

// Back to the start-up state: no profiles, the first chosen, no program named.
void resetReportState();

// ---------------------------------------------------------------- profiles and the verdict

// The data table's limits as a profile takes them: the high and low limit of the channel the
// table tests, each present while its test is switched on; while the table's window is open,
// as its fields are, otherwise as the table last processed (the preferences' default limits
// with every test on until then).
std::array<ChannelLimits, VERDICT_CHANNELS> dataTableLimits();

// Read the profiles file of the program folder into reportProfiles, in the file's order. The
// profile marked as the data table's gets the data table's limits; a file without one gets a
// fresh one first. A file that cannot be read or is refused leaves the data table's profile
// alone on the list, with reportProfilesError saying why. reportProfileIndex stays on the
// profile of the same name when there is one, else goes to the first.
void loadReportProfiles();
// The index of the profile of that name (any letter case) in reportProfiles, -1 when none.
int reportProfileByName(const std::string &name);

// Judge the records held against the profile. 0, or a failure code of judgeRecording.
int judgeRecordsHeld(const Profile &profile, Verdict &verdict);

// ---------------------------------------------------------------- the page

// What the page says besides the verdict: the data file's name ("" for a download), the
// fingerprint of the records (store/Fingerprint.h) and when the page was made.
struct ReportFacts {
    std::string file;
    std::string fingerprint;
    std::string generatedAt;   // "YYYY-MM-DD HH:MM:SS +HH:MM"
};
// The facts of the records held, now.
ReportFacts factsOfRecordsHeld();

// The page of the records held judged against the profile.
rt::Page tripReportPage(const Profile &profile, const Verdict &verdict, const ReportFacts &facts);

// ---------------------------------------------------------------- the summary

// "FILE: PASS (profile)" and, below it, a line per zone alarm and one when the MKT limit does
// not hold. Ends with a newline.
std::string summaryLines(const std::string &file, const Profile &profile, const Verdict &verdict);
// One JSON object on one line (no newline) with the members file, sha256, model, id,
// interval_s, first, last, records, profile, delta_h_kj_mol, verdict and channels (each with
// its figures and zones); durations in minutes; a figure that does not exist is null.
std::string summaryJson(const std::string &file, const std::string &fingerprint, const Profile &profile,
                        const Verdict &verdict);
// The CSV: its header line, and the rows of one file: one per channel and zone, the file's and
// the channel's figures repeated on each; a channel without zones has one row with its zone
// columns empty. Lines end with CRLF as the data table's CSV does.
std::string summaryCsvHeader();
std::string summaryCsvRows(const std::string &file, const std::string &fingerprint, const Profile &profile,
                           const Verdict &verdict);

// ---------------------------------------------------------------- the window

// The trip-report window: opened by the main window's and the statistics window's command
// (nothing but a message while no records are held), with the profile list, the page's
// preview, Save PDF… (a file dialog, then the PDF) and Print… (the print dialog).
int cTripReportCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int sTripReportProfileCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int cTripReportSavePdfCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int cTripReportPrintCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int cTripReportExitCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int pTripReportCallBack(int panel, int event, void *callbackData, int eventData1, int eventData2);
// The page of the records held with the profile chosen, as the window shows it; false (and
// the page untouched) when no records are held or they cannot be judged.
bool currentTripReportPage(rt::Page &page);
