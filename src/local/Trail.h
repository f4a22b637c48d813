// What the windows note in the archive's audit trail: an action with its details, and every
// file the program writes (its exact bytes' SHA-256 goes to the archive's list of files
// written). Without an open archive (switched off, or it did not open: the user was told at
// start-up) nothing is noted and nothing fails: the trail never stops what the user does.
#pragma once

#include <string>

// Appends action and details to the trail of the open archive.
void noteInTrail(const char *action, const std::string &details);

// The file at path has just been written by the program: its SHA-256 is noted as a file written,
// and the trail gets action with the path, that SHA-256 and, with fingerprint, the fingerprint of
// the records held (what a saved data file, an export or a print holds).
void noteFileWritten(const char *action, const std::string &path, bool fingerprint = true);

// The same for a print that went to a printer (no file): the trail gets action with what went
// out and the records' fingerprint.
void notePrinted(const char *action, const std::string &what);
