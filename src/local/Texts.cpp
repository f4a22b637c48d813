#include "local/Texts.h"
#include "local/ReportTexts.h"

#include <cstring>

#define TAVIX_DEFINE_MESSAGE_TEXT(name, key) char name[MSG_TEXT_SIZE] = {};
#define TAVIX_DEFINE_WINDOW_TEXT(name) char name[WINDOW_TEXT_SIZE] = {};
#define TAVIX_DEFINE_COMMAND_TEXT(name) char name[COMMAND_TEXT_SIZE] = {};
TAVIX_MESSAGE_TEXTS(TAVIX_DEFINE_MESSAGE_TEXT)
TAVIX_WINDOW_TEXTS(TAVIX_DEFINE_WINDOW_TEXT)
TAVIX_COMMAND_TEXTS(TAVIX_DEFINE_COMMAND_TEXT)
char wDegree[2][WINDOW_TEXT_SIZE] = {};

namespace {

const char kPortClosed[] =
    "The logger's port has closed (cable or adapter removed?). Tavix opens it again when it is back.";
const char kPortReopened[] = "The logger's port is open again.";
static_assert(sizeof kPortClosed <= MSG_TEXT_SIZE && sizeof kPortReopened <= MSG_TEXT_SIZE);

void resetPortTexts() {
    std::memcpy(msgPortClosed, kPortClosed, sizeof kPortClosed);
    std::memcpy(msgPortReopened, kPortReopened, sizeof kPortReopened);
}

const char kPrintToPdf[] = "No printer is installed. Save the print as a PDF file instead?";
const char kPdfTitle[] = "Save the print as a PDF file";
static_assert(sizeof kPrintToPdf <= MSG_TEXT_SIZE && sizeof kPdfTitle <= MSG_TEXT_SIZE);

void resetPdfTexts() {
    std::memcpy(msgPrintToPdf, kPrintToPdf, sizeof kPrintToPdf);
    std::memcpy(msgPdfTitle, kPdfTitle, sizeof kPdfTitle);
}

// The questions (Save / Discard / Cancel) before the program ends, and before other records
// replace the held ones, while data are not saved yet.
const char kUnsaved[] = "The downloaded data are not saved yet. Save them before Tavix ends?";
const char kUnsavedReplace[] = "The downloaded data are not saved yet and will be replaced. Save them first?";
static_assert(sizeof kUnsaved <= MSG_TEXT_SIZE && sizeof kUnsavedReplace <= MSG_TEXT_SIZE);

void resetUnsavedTexts() {
    std::memcpy(msgUnsaved, kUnsaved, sizeof kUnsaved);
    std::memcpy(msgUnsavedReplace, kUnsavedReplace, sizeof kUnsavedReplace);
}

// A file that is no data file, and a data file whose dates read in no order (followed by the
// record number).
const char kFileNoRecords[] = "This is not a Tavix data file: it has no record line. Nothing has been changed.";
const char kFileDatesUnread[] =
    "The dates of the file could not be read; records dated from today. First unread record:";
static_assert(sizeof kFileNoRecords <= MSG_TEXT_SIZE && sizeof kFileDatesUnread <= MSG_TEXT_SIZE);

void resetFileTexts() {
    std::memcpy(msgFileNoRecords, kFileNoRecords, sizeof kFileNoRecords);
    std::memcpy(msgFileDatesUnread, kFileDatesUnread, sizeof kFileDatesUnread);
}

// The record number's word in the cursor read-outs and the caption of a retrieved file's name:
// a language file made before they were keys still shows them.
const char kRecordNo[] = "No.";
const char kFileName[] = "File name:";
static_assert(sizeof kRecordNo <= WINDOW_TEXT_SIZE && sizeof kFileName <= WINDOW_TEXT_SIZE);

void resetRecordTexts() {
    std::memcpy(wRecordNo, kRecordNo, sizeof kRecordNo);
    std::memcpy(wFileName, kFileName, sizeof kFileName);
}

// The program starts with the English wording.
const bool kUnsavedTextsSet = (resetUnsavedTexts(), true);
const bool kPortTextsSet = (resetPortTexts(), true);
const bool kPdfTextsSet = (resetPdfTexts(), true);
const bool kFileTextsSet = (resetFileTexts(), true);
const bool kRecordTextsSet = (resetRecordTexts(), true);

}   // namespace

void clearTexts() {
#define TAVIX_CLEAR_MESSAGE_TEXT(name, key) std::memset(name, 0, sizeof name);
#define TAVIX_CLEAR_TEXT(name) std::memset(name, 0, sizeof name);
    TAVIX_MESSAGE_TEXTS(TAVIX_CLEAR_MESSAGE_TEXT)
    TAVIX_WINDOW_TEXTS(TAVIX_CLEAR_TEXT)
    TAVIX_COMMAND_TEXTS(TAVIX_CLEAR_TEXT)
#undef TAVIX_CLEAR_MESSAGE_TEXT
#undef TAVIX_CLEAR_TEXT
    std::memset(wDegree, 0, sizeof wDegree);
    resetPortTexts();
    resetPdfTexts();
    resetUnsavedTexts();
    resetFileTexts();
    resetRecordTexts();
    resetReportTexts();
}
