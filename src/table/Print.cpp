// The window prints of the main window and the statistics window, and the printer probe that
// every print command shares: where no printer is installed the user may save the print as a
// PDF file instead.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "files/DataFile.h"
#include "local/Texts.h"
#include "local/Trail.h"
#include "panels/Panels.h"
#include "runtime/ui.h"
#include "table/Table.h"

namespace {

constexpr int kPrintPointSize = 12;

// The default name of a print saved as a PDF file: today's date as YYYYMMDD + ".pdf".
void defaultPdfName(char (&name)[32]) {
    defaultSaveFileName(name, sizeof name);
    if (char *dot = std::strrchr(name, '.')) std::snprintf(dot, sizeof name - (dot - name), ".pdf");
}

// The file dialog for the PDF, in the default data folder; replacing a file is confirmed.
// False when the user gave no file.
bool askPdfFile(char (&path)[FILE_NAME_SIZE]) {
    char dir[FILE_NAME_SIZE];
    defaultDataFolder(dir, sizeof dir);
    char name[32];
    defaultPdfName(name);
    if (FileSelectPopupEx(dir, name, "PDF files(*.pdf)", msgPdfTitle, VAL_SAVE_BUTTON, 0, 1, path, sizeof path) <= 0)
        return false;
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) return true;
    char text[3 * MSG_TEXT_SIZE + FILE_NAME_SIZE];
    std::snprintf(text, sizeof text, "%s %s %s", warn21, path, warn22);   // "The file", "exists. Replace it?"
    return ConfirmPopup(warn9, text, VAL_DEFAULT_NO) != 0;                // "Warning"
}

// A window printed whole goes into the archive's trail: the PDF file written, or the printer.
void notePrint(int target) {
    if (target != PRINT_TARGET_PDF) {
        notePrinted("print", "window to the printer");
        return;
    }
    char pdf[FILE_NAME_SIZE] = "";
    GetPrintAttribute(ATTR_PRINT_PDF_FILE, pdf, sizeof pdf);
    noteFileWritten("print", pdf);
}

// The window's print: landscape, with the run-time's date and time stamps, in the system font;
// the print dialog when a printer is the target.
void printWindow(int panel, int scaling) {
    const int target = choosePrintTarget();
    if (target == PRINT_TARGET_NONE) return;
    SetPrintAttribute(ATTR_ORIENTATION, VAL_LANDSCAPE);
    SetPrintAttribute(ATTR_PRINT_DATE, 1);
    SetPrintAttribute(ATTR_PRINT_TIME, 1);
    SetPrintAttribute(ATTR_PRINT_FONT_NAME, VAL_SYSTEM_META_FONT);
    SetPrintAttribute(ATTR_PRINT_POINT_SIZE, kPrintPointSize);
    const int status = PrintPanel(panel, "", scaling, VAL_FULL_PANEL, 1);
    if (status == 0) notePrint(target);
    releasePrintTarget(target);
    // a cancelled dialog says nothing; a failure is never passed over in silence
    if (status > 0 && status != PRINT_STATUS_CANCELLED)
        MessagePopup(warn7, warn20);   // "Printing is not possible", "not printed completely"
    else if (status < 0)
        MessagePopup(warn7, GetUILErrorString(status));
}

}   // namespace

int choosePrintTarget() {
    char printer[FILE_NAME_SIZE];
    const int status = GetPrintAttribute(ATTR_PRINTER_NAME, printer, sizeof printer);
    if (status >= 0) return PRINT_TARGET_PRINTER;
    // "Printing is not possible", "save as PDF instead?": No ends the print, the question has
    // said why
    if (!ConfirmPopup(warn7, msgPrintToPdf)) return PRINT_TARGET_NONE;
    char path[FILE_NAME_SIZE];
    if (!askPdfFile(path)) return PRINT_TARGET_NONE;
    SetPrintAttribute(ATTR_PRINT_PDF_FILE, path);
    return PRINT_TARGET_PDF;
}

void releasePrintTarget(int target) {
    if (target == PRINT_TARGET_PDF) SetPrintAttribute(ATTR_PRINT_PDF_FILE, "");
}

int cPrintGraphCallBack(int panel, int, int event, void *, int, int) {
    if (event == EVENT_COMMIT) printWindow(panel, VAL_NO_SCALING);
    return 0;
}

int cPrintCallBack(int, int, int event, void *, int, int) {
    if (event == EVENT_COMMIT) printWindow(idStatistic, VAL_SCALE_TO_PAGE);
    return 0;
}
