// The archive in the running program: which archive is opened at start-up (the program folder's
// TavixArchive.db, or the one tavix-cli names, or none), and keeping every download in it the
// moment the download ends, before the user is asked or told anything about it.
//
// A download is never lost for the archive's sake: an archive that cannot be opened is said
// once at start-up, and one that refuses a download (read-only, full disk) is said with a
// warning while the records stay held, shown and unsaved as after any download.
//
// State: how the archive is used in this run, the archive chosen before start-up, why it did not
// open, and what happened to the last download (for tavix-cli); resetArchiving restores the
// start-up values.
#pragma once

#include <string>

#include "store/Archive.h"

// How this run uses the archive.
enum class ArchiveUse {
    Off,        // the preferences switch it off
    Skipped,    // the caller asked for none (tavix-cli --no-archive)
    Open,       // open: downloads are kept, files checked, actions noted
    Unopened,   // it should be used but could not be opened (archiveOpenError says why)
};
extern ArchiveUse archiveUse;
extern std::string archiveOpenError;

// What became of the last download ended in this run; lastDownloadKept is false until one ended
// while the archive was open.
extern bool lastDownloadKept;
extern ArchiveResult lastDownloadResult;

// Back to the start-up values (nothing chosen, nothing open); the archive itself is closed.
void resetArchiving();

// Before start-up: the archive at path ("" = the program folder's) or, with skip, none.
void chooseArchive(const std::string &path, bool skip);
// The path start-up opens: the chosen one, else the program folder's TavixArchive.db.
std::string chosenArchivePath();

// Before start-up: the server archive and the site name the caller names in place of the
// preferences' ("" = the preference's; tavix-cli --server and --site).
void chooseServer(const std::string &url, const std::string &site);
// The server archive in use ("" = none) and the site name (the host name when none is set).
std::string archiveServerUrl();
// After a download was stored while a server is configured: tavix-cli archive sync is started
// as a process of its own, not waited for (the window never waits for the network). False
// when it could not be started (no tavix-cli beside the program).
bool startSync();

// At start-up, once the preferences are read: opens the archive unless the preference or the
// caller says no. One that does not open is said in a warning (msgArchiveUnopened, the path and
// the reason) and the program goes on without it. Returns archiveUse.
ArchiveUse startArchive();
// At shutdown: closes it.
void stopArchive();

// The end of a download (installed as notifications.downloadEnded): the records held are
// stored with the logger's model, name, identifier and firmware and the data file's text as
// Save File writes it. What happened is noted for the status line (noteDownloadKept); a
// refusal also in a warning pop-up. Nothing when the archive is not open or nothing is held.
void archiveDownload(bool complete);

// What a store of the records did, in the user's words (msgArchiveStored, ...); for Failed,
// msgArchiveNotKept and the reason.
std::string archiveResultNote(const ArchiveResult &result);
