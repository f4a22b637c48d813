// The texts of the chosen language that the system shows: messages and warnings, the
// button captions and the window texts that several windows share. All start empty and
// are filled from the language file when the windows get their texts.
#pragma once

enum { MSG_TEXT_SIZE = 100, WINDOW_TEXT_SIZE = 30, COMMAND_TEXT_SIZE = 16 };

// Every shared text is named once in these lists: its global and, for the messages, its key in
// section "Message" of the language file. The declarations, the definitions, clearTexts and
// the table that reads section "Message" are made from them. WARN23 is read with the others
// and shown nowhere; the numbers 24 to 27 do not exist. The two texts of the PDF offer (where
// no printer is installed) and the two port texts come last.
#define TAVIX_MESSAGE_TEXTS(X)                    \
    X(msg1, "MSG1")                               \
    X(msg2, "MSG2")                               \
    X(msg3, "MSG3")                               \
    X(msg4, "MSG4")                               \
    X(msg5, "MSG5")                               \
    X(msg6, "MSG6")                               \
    X(msg7, "MSG7")                               \
    X(msg8, "MSG8")                               \
    X(msg9, "MSG9")                               \
    X(msg10, "MSG10")                             \
    X(msg11, "MSG11")                             \
    X(msg12, "MSG12")                             \
    X(msg13, "MSG13")                             \
    X(msg14, "MSG14")                             \
    X(msg15, "MSG15")                             \
    X(msg16, "MSG16")                             \
    X(warn1, "WARN1")                             \
    X(warn2, "WARN2")                             \
    X(warn3, "WARN3")                             \
    X(warn4, "WARN4")                             \
    X(warn5, "WARN5")                             \
    X(warn6, "WARN6")                             \
    X(warn7, "WARN7")                             \
    X(warn8, "WARN8")                             \
    X(warn9, "WARN9")                             \
    X(warn10, "WARN10")                           \
    X(warn11, "WARN11")                           \
    X(warn12, "WARN12")                           \
    X(warn13, "WARN13")                           \
    X(warn14, "WARN14")                           \
    X(warn15, "WARN15")                           \
    X(warn16, "WARN16")                           \
    X(warn17, "WARN17")                           \
    X(warn18, "WARN18")                           \
    X(warn19, "WARN19")                           \
    X(warn20, "WARN20")                           \
    X(warn21, "WARN21")                           \
    X(warn22, "WARN22")                           \
    X(warn23, "WARN23")                           \
    X(warn28, "WARN28")                           \
    X(warn29, "WARN29")                           \
    X(warn30, "WARN30")                           \
    X(warn31, "WARN31")                           \
    X(msgPrintToPdf, "msgPrintToPdf")             \
    X(msgPdfTitle, "msgPdfTitle")                 \
    X(msgIdChars, "msgIdChars")                   \
    X(msgUnsaved, "msgUnsaved")                   \
    X(msgUnsavedReplace, "msgUnsavedReplace")     \
    X(msgPdfSaved, "msgPdfSaved")                 \
    X(msgPrintRangeUnread, "msgPrintRangeUnread") \
    X(msgPortClosed, "msgPortClosed")             \
    X(msgPortReopened, "msgPortReopened")         \
    X(msgHelpMissing, "msgHelpMissing")           \
    X(msgHelpNoViewer, "msgHelpNoViewer")         \
    X(msgIdentifierSet, "msgIdentifierSet")       \
    X(msgCsvWritten, "msgCsvWritten")             \
    X(msgFileMissing, "msgFileMissing")           \
    X(msgFileNoPermission, "msgFileNoPermission") \
    X(msgFileNotData, "msgFileNotData")           \
    X(msgFileNoRecords, "msgFileNoRecords")       \
    X(msgFileDatesUnread, "msgFileDatesUnread")   \
    X(msgArchiveUnopened, "msgArchiveUnopened")   \
    X(msgArchiveNotKept, "msgArchiveNotKept")     \
    X(msgArchiveStored, "msgArchiveStored")       \
    X(msgArchiveExtended, "msgArchiveExtended")   \
    X(msgArchiveAlready, "msgArchiveAlready")     \
    X(msgArchiveFlagged, "msgArchiveFlagged")     \
    X(msgArchiveOriginal, "msgArchiveOriginal")   \
    X(msgArchiveImported, "msgArchiveImported")   \
    X(msgArchiveChanged, "msgArchiveChanged")     \
    X(msgArchiveUnknown, "msgArchiveUnknown")     \
    X(msgArchiveOff, "msgArchiveOff")             \
    X(msgArchiveHeader, "msgArchiveHeader")

#define TAVIX_WINDOW_TEXTS(X) \
    X(wRetrieveFile)          \
    X(wSaveFile)              \
    X(wDate)                  \
    X(wTime)                  \
    X(wTemperature)           \
    X(wTemperature2)          \
    X(wTemp1C)                \
    X(wTemp1F)                \
    X(wTemp2C)                \
    X(wTemp2F)                \
    X(wTemperature_41670)     \
    X(wTemperature2_41670)    \
    X(wTemp1C_41670)          \
    X(wTemp1F_41670)          \
    X(wTemp2C_41670)          \
    X(wTemp2F_41670)          \
    X(wHumidity)              \
    X(wTempC)                 \
    X(wTempF)                 \
    X(wRh)                    \
    X(wNotes)                 \
    X(wMainTitle)             \
    X(wRecords)               \
    X(wPoints)                \
    X(wVersion)               \
    X(wRhUnit)                \
    X(wStatistic)             \
    X(wUnit)                  \
    X(wRate)                  \
    X(wStartMode0)            \
    X(wStartMode1)            \
    X(wStartMode2)            \
    X(wStartMode3)            \
    X(wStartMode4)            \
    X(wStartMode20)           \
    X(wUnit1)                 \
    X(wUnit3)                 \
    X(wHistogramT)            \
    X(wHistogramT2)           \
    X(wHistogramR)            \
    X(wTempAxis)              \
    X(wRecordNo)              \
    X(wFileName)              \
    X(wFileButton)            \
    X(wRecordSpan)

#define TAVIX_COMMAND_TEXTS(X) \
    X(cmdOk)                   \
    X(cmdCancel)               \
    X(cmdGo)                   \
    X(cmdSet)                  \
    X(cmdRecall)

#define TAVIX_DECLARE_MESSAGE_TEXT(name, key) extern char name[MSG_TEXT_SIZE];
#define TAVIX_DECLARE_WINDOW_TEXT(name) extern char name[WINDOW_TEXT_SIZE];
#define TAVIX_DECLARE_COMMAND_TEXT(name) extern char name[COMMAND_TEXT_SIZE];
TAVIX_MESSAGE_TEXTS(TAVIX_DECLARE_MESSAGE_TEXT)
TAVIX_WINDOW_TEXTS(TAVIX_DECLARE_WINDOW_TEXT)
TAVIX_COMMAND_TEXTS(TAVIX_DECLARE_COMMAND_TEXT)
#undef TAVIX_DECLARE_MESSAGE_TEXT
#undef TAVIX_DECLARE_WINDOW_TEXT
#undef TAVIX_DECLARE_COMMAND_TEXT

// The unit words "°C" and "°F", indexed by the unit.
extern char wDegree[2][WINDOW_TEXT_SIZE];

// Empty every text again (tests start from a clean state); the port texts and the texts of the
// PDF offer go back to their English wording, so a language file made before they existed
// still shows them.
void clearTexts();

// The marks of the communication-settings window's port list (a device that exists; a bound
// device that is missing), its refusal to bind port number 1, and the two messages of the
// preferences window (saved for the next start; the file cannot be written). English until a
// language file with the keys is applied.
extern char commPortPresent[WINDOW_TEXT_SIZE];
extern char commPortMissing[WINDOW_TEXT_SIZE];
extern char commPortOneRefused[2 * MSG_TEXT_SIZE];
extern char prefsTitle[WINDOW_TEXT_SIZE];
extern char prefsSaved[2 * MSG_TEXT_SIZE];
extern char prefsNotWritten[2 * MSG_TEXT_SIZE];
extern char prefsLimitsOrder[2 * MSG_TEXT_SIZE];
// the preferences window's refusal of a server address with a password in it
extern char prefsServerPassword[2 * MSG_TEXT_SIZE];
