// The trip-report window: the profile list, the page's preview, Save PDF… and Print….
//
// The window is loaded when it is first opened and gets its texts then. Each opening reads
// the profiles file again (the user may have edited it) and takes the data table's limits as
// they are now; the page is made again from the records held whenever the window opens, the
// profile changes, or the page is saved or printed (the preview then shows what went out).
#include <cstdio>
#include <filesystem>
#include <string>

#include "files/DataFile.h"
#include "local/Local.h"
#include "local/ReportTexts.h"
#include "model/Records.h"
#include "panels/Panels.h"
#include "report/Report.h"
#include "runtime/page.h"
#include "runtime/ui.h"

namespace {

// The profile list from reportProfiles, the chosen one selected, and the profiles file's
// trouble (if any) in the window's message line.
void fillProfiles() {
    ClearListCtrl(idTripReport, TRIPREPORT_PROFILE);
    for (std::size_t k = 0; k < reportProfiles.size(); ++k)
        InsertListItem(idTripReport, TRIPREPORT_PROFILE, -1, reportProfiles[k].name.c_str(), static_cast<int>(k));
    SetCtrlVal(idTripReport, TRIPREPORT_PROFILE, reportProfileIndex);
    const std::string message =
        reportProfilesError.empty() ? std::string() : std::string(msgProfilesUnread) + " " + reportProfilesError;
    SetCtrlVal(idTripReport, TRIPREPORT_MESSAGE, message.c_str());
}

void showPreview() {
    rt::Page page;
    if (currentTripReportPage(page)) ShowPagePreview(idTripReport, TRIPREPORT_PREVIEW, page);
}

// "trip-report-<identifier or file name>.pdf" in the data folder.
std::string defaultPdfName() {
    std::string base = recordsShownId();
    if (base.empty()) base = std::filesystem::path(fileName).stem().string();
    for (char &c : base)
        if (c == '/' || c == '\\' || c == ':' || c == ' ') c = '_';
    return "trip-report" + (base.empty() ? std::string() : "-" + base) + ".pdf";
}

}   // namespace

bool currentTripReportPage(rt::Page &page) {
    if (loggedLength <= 0 || reportProfiles.empty()) return false;
    if (reportProfileIndex < 0 || reportProfileIndex >= static_cast<int>(reportProfiles.size())) reportProfileIndex = 0;
    const Profile &profile = reportProfiles[reportProfileIndex];
    Verdict verdict;
    if (judgeRecordsHeld(profile, verdict) != 0) return false;
    page = tripReportPage(profile, verdict, factsOfRecordsHeld());
    return true;
}

int cTripReportCallBack(int, int, int event, void *, int, int) {
    if (event != EVENT_COMMIT) return 0;
    if (loggedLength <= 0) {
        MessagePopup(rptHeading, msgReportNoRecords);
        return 0;
    }
    if (idTripReport <= 0) {
        idTripReport = LoadPanel(0, TRIPREPORT);
        if (idTripReport <= 0) {
            idTripReport = 0;
            return 0;
        }
    }
    localTripReportWindow();
    loadReportProfiles();
    fillProfiles();
    DisplayPanel(idTripReport);
    showPreview();
    return 0;
}

int sTripReportProfileCallBack(int panel, int control, int event, void *, int, int) {
    if (event != EVENT_COMMIT && event != EVENT_VAL_CHANGED) return 0;
    int index = 0;
    if (GetCtrlVal(panel, control, &index) < 0 || index < 0 || index >= static_cast<int>(reportProfiles.size()))
        return 0;
    reportProfileIndex = index;
    showPreview();
    return 0;
}

int cTripReportSavePdfCallBack(int panel, int control, int event, void *, int, int) {
    if (event != EVENT_COMMIT) return 0;
    rt::Page page;
    if (!currentTripReportPage(page)) {
        MessagePopup(rptHeading, msgReportNoRecords);
        return 0;
    }
    // what is written is what the window shows
    ShowPagePreview(idTripReport, TRIPREPORT_PREVIEW, page);
    char dir[FILE_NAME_SIZE];
    defaultDataFolder(dir, sizeof dir);
    char title[REPORT_TEXT_SIZE] = "";
    GetCtrlAttribute(panel, control, ATTR_LABEL_TEXT, title, sizeof title);
    char path[FILE_NAME_SIZE];
    // cancelled, or a path too long to keep: nothing happens
    if (FileSelectPopupEx(dir, defaultPdfName().c_str(), "PDF files(*.pdf)", title, VAL_SAVE_BUTTON, 0, 1, path,
                          sizeof path) <= 0)
        return 0;
    std::error_code ec;
    if (std::filesystem::exists(path, ec)) {
        char text[3 * MSG_TEXT_SIZE + FILE_NAME_SIZE];
        std::snprintf(text, sizeof text, "%s %s %s", warn21, path, warn22);
        if (!ConfirmPopup(warn9, text, VAL_DEFAULT_NO)) return 0;   // "Warning", "the file ... exists. Replace it?"
    }
    const int status = rt::WritePagesPdf({page}, path, rptHeading);
    const std::string text = std::string(status == 0 ? msgReportSaved : msgReportNotWritten) + "\n" + path;
    MessagePopup(rptHeading, text.c_str());
    return 0;
}

int cTripReportPrintCallBack(int, int, int event, void *, int, int) {
    if (event != EVENT_COMMIT) return 0;
    rt::Page page;
    if (!currentTripReportPage(page)) {
        MessagePopup(rptHeading, msgReportNoRecords);
        return 0;
    }
    ShowPagePreview(idTripReport, TRIPREPORT_PREVIEW, page);
    const int status = rt::PrintPagesToPrinter({page}, rptHeading, 1);
    if (status < 0) {
        const std::string text = std::string(msgReportNotPrinted) + " " + GetUILErrorString(status);
        MessagePopup(rptHeading, text.c_str());
    }
    return 0;
}

int cTripReportExitCallBack(int, int, int event, void *, int, int) {
    if (event == EVENT_COMMIT) HidePanel(idTripReport);
    return 0;
}

int pTripReportCallBack(int, int event, void *, int, int) {
    if (event == EVENT_CLOSE) HidePanel(idTripReport);
    return 0;
}
