// A process of its own that stores into an archive, for the tests that need a second writer or
// one to kill while it stores:
//   store_writer ARCHIVE many PREFIX COUNT   COUNT recordings of 60 records, loggers PREFIX1...;
//                                            exit 0 when every one was stored new
//   store_writer ARCHIVE loop RECORDS        recordings of RECORDS records of one logger, each
//                                            with another first record, until killed; prints
//                                            "stored N" after each
//   store_writer ARCHIVE fill PREFIX COUNT RECORDS   COUNT recordings of RECORDS records each,
//                                            stored as site PREFIX
//   store_writer ARCHIVE sync URL SITE       the archive pushed to the server as site SITE;
//                                            prints "pushed R E" or the reason (exit 1; 12
//                                            when the chain is refused)
//   store_writer ARCHIVE once RECORDS        one recording; prints the outcome or the reason;
//                                            run as root it first becomes an unprivileged user,
//                                            so that a file's missing write permission counts
#include <QCoreApplication>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "HeldRecords.h"
#include "store/Archive.h"
#include "store/Sync.h"

namespace {

constexpr uid_t kUnprivileged = 65534;   // nobody

int many(const std::string &prefix, int count, int records = 60) {
    for (int k = 1; k <= count; ++k) {
        HeldLogger logger;
        logger.id = prefix + std::to_string(k);
        logger.seed = k;
        holdRecords(logger, records);
        const ArchiveResult result = archiveRecords({});
        if (result.outcome != ArchiveOutcome::StoredNew) {
            std::fprintf(stderr, "%s: %s\n", logger.id.c_str(), result.error.c_str());
            return 1;
        }
    }
    return 0;
}

int loop(int records) {
    HeldLogger logger;
    logger.model = 3;                               // one channel: 16000 records
    logger.id = "L" + std::to_string(::getpid());   // a logger of its own in each run
    for (int k = 1;; ++k) {
        logger.first += static_cast<cRtc>(records) * 60u;
        holdRecords(logger, records);
        const ArchiveResult result = archiveRecords({});
        if (result.outcome != ArchiveOutcome::StoredNew) {
            std::fprintf(stderr, "%s\n", result.error.c_str());
            return 1;
        }
        std::printf("stored %d\n", k);
        std::fflush(stdout);
    }
}

int sync(const std::string &url) {
    const SyncResult result = syncArchive(url);
    if (result.outcome == SyncOutcome::Done) {
        std::printf("pushed %d %d\n", result.recordingsPushed, result.entriesPushed);
        return 0;
    }
    std::printf("failed: %s (after entry %lld)\n", result.error.c_str(), static_cast<long long>(result.agreed));
    return result.outcome == SyncOutcome::ChainRefused ? 12 : 1;
}

int once(int records) {
    HeldLogger logger;
    logger.model = 3;
    logger.id = "ONCE";
    holdRecords(logger, records);
    const ArchiveResult result = archiveRecords({});
    if (result.outcome == ArchiveOutcome::Failed) {
        std::printf("failed: %s\n", result.error.c_str());
        return 1;
    }
    std::printf("stored %lld\n", static_cast<long long>(result.recording));
    return 0;
}

}   // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    if (argc < 4) return 2;
    const std::string mode = argv[2];
    if (mode == "once" && ::geteuid() == 0 && (::setgid(kUnprivileged) != 0 || ::setuid(kUnprivileged) != 0)) return 3;
    std::string error;
    if (!openArchive(argv[1], error)) {
        std::printf("failed: %s\n", error.c_str());
        return 1;
    }
    if (mode == "many" && argc == 5) return many(argv[3], std::atoi(argv[4]));
    if (mode == "fill" && argc == 6) {
        setArchiveSiteName(argv[3]);   // the prefix names the site too
        return many(argv[3], std::atoi(argv[4]), std::atoi(argv[5]));
    }
    if (mode == "sync" && argc == 5) {
        setArchiveSiteName(argv[4]);
        return sync(argv[3]);
    }
    if (mode == "loop") return loop(std::atoi(argv[3]));
    if (mode == "once") return once(std::atoi(argv[3]));
    return 2;
}
