// Records held as a download leaves them, for the archive's tests and its helper program:
// a logger's description and count records one interval apart, with values as the logger
// decodes them (tenths and a tiny offset) that change from record to record.
#pragma once

#include <string>

#include "model/Clock.h"
#include "model/Models.h"
#include "model/Records.h"

struct HeldLogger {
    int model = 10;   // three channels
    std::string id = "LOG-42";
    cRtc first = 850000000u;   // in 2026
    int interval = 60;
    int seed = 0;   // another seed, other values
};

// The value channel c of record i holds.
inline double heldValue(const HeldLogger &logger, int i, int c) {
    const int raw[3] = {200 + (i * 7 + logger.seed) % 50, 100 + (i + logger.seed) % 30,
                        500 + (i * 3 + logger.seed) % 100};
    return decodeTenths(raw[c]);
}

// The record store holding count records of the logger, described as downloaded from it.
inline void holdRecords(const HeldLogger &logger, int count) {
    resetModelState();
    currDeviceId = logger.model;
    setEId(logger.id.c_str());
    eSampleRate = logger.interval;
    eSampleTime = logger.first;
    eLength = count * loggerDataNum(logger.model);
    eUnit = 'C';
    ValPtrInit(logger.model);
    clearLoggedData();
    loggedLength = 0;
    for (int i = 0; i < count; ++i)
        storeRecord(logger.first + static_cast<cRtc>(i * logger.interval), heldValue(logger, i, 0),
                    heldValue(logger, i, 1), heldValue(logger, i, 2));
    describeRecords();
}
