// A data file read checked against the archive: the records just read are compared with the
// archived recordings (store/Archive.h) and what was found goes to the status line, the main
// window's title and the audit trail. And the archive's notes in the user's words.
#pragma once

#include <string>

#include "store/Archive.h"

// A text of the language file with its place holders filled: %1 by first, %2 by second. The
// text is never used as a format, so a place holder a translation leaves out is just missing.
std::string fillText(const char *text, const std::string &first, const std::string &second = {});

// A time the archive keeps (ISO 8601 UTC) as the user reads it: "2026-12-11 12:30 UTC".
std::string archiveTimeShown(const std::string &utc);

// What a verification found, in the user's words (msgArchiveOriginal, msgArchiveChanged, ...);
// "archive off" when no archive is open.
std::string archiveCheckNote(const VerifyResult &result);

// Checks the records held, just read from the file at path, against the archive; the note goes
// after msg4 in the status line (red for a changed file) and into the title, the outcome into
// the trail. Returns what was found (Failed with no archive open).
VerifyResult checkRetrievedFile(const char *path);
