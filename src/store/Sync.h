// Many PCs, one archive: the local archive pushed to a server archive, and the fleet the server
// knows.
//
// The local archive is always where a download and an audit entry are written first; a sync
// pushes what the server lacks: recordings by fingerprint (a recording extended since the last
// sync replaces the server's copy of it), then audit entries by hash, in order. Each recording,
// and each batch of entries, is one transaction on the server, so a sync that is interrupted
// (the server stopped, the network gone, the process killed) leaves whole rows only, and the
// next sync goes on where it stopped; a sync that finds nothing to push changes nothing.
//
// The server keeps each archive's chain under the archive's identifier. Before anything is
// pushed, the local trail is compared with the server's copy: an entry the server holds that
// the local trail no longer has unchanged, or a new entry that does not continue the chain,
// refuses the whole push ("the local audit trail was changed after entry N"), so a rewritten
// local archive is caught by the central copy.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/Clock.h"

enum class SyncOutcome {
    Done,           // the server holds everything the archive holds
    Unreachable,    // the server could not be reached or is not set up: error says why
    ChainRefused,   // the local trail does not continue the server's: agreed names the last entry both hold
    Failed,         // the archive or the server refused a statement: error says why
};

struct SyncResult {
    SyncOutcome outcome = SyncOutcome::Failed;
    int recordingsPushed = 0;
    int entriesPushed = 0;
    std::int64_t agreed = 0;   // ChainRefused: the last entry the local trail and the server agree on
    std::string error;
};

// Pushes the open archive to the server at url (openServer's URL); the server connection is
// closed again at the end.
SyncResult syncArchive(const std::string &url);

// One logger the server knows, with its last recording.
struct FleetLogger {
    std::string site;   // where it was last read
    int model = 0;
    std::string modelName;
    std::string loggerId;
    std::string downloadedUtc;   // the last recording's download
    int records = 0;
    bool complete = false;
    cRtc firstTime = 0;
    cRtc lastTime = 0;
    std::string archive;       // the archive that holds the last recording
    std::int64_t origin = 0;   // its number there
    std::string calibration;   // the last "calibration" audit entry of that archive ("" none)
    // the last recording's readings (listFleet with readings): the sample interval, the unit
    // letter, and by channel the values (a channel the logger lacks is empty)
    int interval = 0;
    char unit = 'C';
    std::vector<cRtc> times;
    std::vector<double> values[3];
};

// Every logger the server at url knows, by site, model and identifier. False (error) when the
// server cannot be reached or read.
bool listFleet(const std::string &url, std::vector<FleetLogger> &out, std::string &error, bool withReadings = false);

// One recording of any site, as the server holds it.
struct SiteRecording {
    std::string site;
    std::string archive;
    std::int64_t origin = 0;
    std::string modelName;
    std::string loggerId;
    cRtc firstTime = 0;
    cRtc lastTime = 0;
    int records = 0;
    bool complete = false;
    bool imported = false;
    bool flagged = false;
    std::string downloadedUtc;
};
// Every recording on the server (site "" = all), newest download first.
bool listServerRecordings(const std::string &url, const std::string &site, std::vector<SiteRecording> &out,
                          std::string &error);
