// The audit trail: an append-only list in the archive of what was done with the loggers and
// their records, who did it and when. The program only ever appends to it. Each entry is
// chained to the one before: its hash is the SHA-256 (64 hex digits) over the UTF-8 bytes of
//
//   previous hash 0x1F sequence 0x1F time 0x1F UTC offset 0x1F user 0x1F host 0x1F action
//   0x1F details
//
// (the first entry's previous hash is empty), so an entry changed, removed or inserted by hand
// breaks the chain at that entry. What it does not prove: whoever can write the file can rewrite
// the whole chain; a printed chain head (auditHead) or a copy held elsewhere shows that.
//
// The entries live in the open archive (Archive.h); without one nothing is appended.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct AuditEntry {
    std::int64_t sequence = 0;   // 1, 2, 3, ... in the order appended
    std::string timeUtc;         // ISO 8601 UTC, "2026-12-11T12:30:43.120Z"
    std::string utcOffset;       // the PC's UTC offset then, "+01:00"
    std::string user;            // the PC user and host name
    std::string host;
    std::string action;         // "download", "save", "export", "clock", ...
    std::string details;        // free text: what and how (old -> new)
    std::string previousHash;   // the hash of the entry before ("" for the first)
    std::string hash;
};

// Appends an entry with the PC's time, user and host; its sequence number (0 and error when no
// archive is open or the database refuses).
std::int64_t auditAppend(const std::string &action, const std::string &details, std::string &error);

// The entries with a time from `from` up to (not including) `to`, both Unix seconds UTC, in
// sequence order; false (error) when no archive is open or the database refuses.
bool listAudit(std::optional<std::int64_t> from, std::optional<std::int64_t> to, std::vector<AuditEntry> &out,
               std::string &error);

// The current head of the chain: the last entry's sequence and hash (0 and "" while the trail
// is empty or no archive is open).
struct AuditHead {
    std::int64_t sequence = 0;
    std::string hash;
};
AuditHead auditHead();

enum class AuditFault {
    None,       // every entry's hash and link hold
    Changed,    // the entry's fields or hash no longer match
    Removed,    // the entry is missing (the next one links past it)
    Inserted,   // the entry was not appended by the chain
    Failed,     // the trail could not be read: error
};

struct AuditCheck {
    AuditFault fault = AuditFault::Failed;
    std::int64_t sequence = 0;   // the first entry at fault (the sequence it should have had)
    std::int64_t entries = 0;    // entries read
    AuditHead head;              // the last entry read
    std::string error;
};

// Recomputes the chain from the first entry and names the first one changed, removed or
// inserted.
AuditCheck verifyAuditTrail();

// The hash of an entry from its previous hash and fields (what the chain stores).
std::string auditEntryHash(const AuditEntry &entry);

// The PC user and host name the archive records ("" when unknown).
std::string pcUserName();
std::string pcHostName();
