// tavix-cli identify: wait until the program knows the logger, then print what it knows.
#include <charconv>
#include <cstdio>

#include "cli/Common.h"
#include "link/Link.h"
#include "model/Clock.h"
#include "model/Models.h"

namespace cli {

int identify(const Options &, rt::ScriptedAgent &) {
    if (const int result = waitForLogger(); result != EXIT_OK) return result;
    const ModelRow *row = modelRow(currDeviceId);
    const char *model = eDeviceName[0] ? eDeviceName : row && row->identifiers[0] ? row->identifiers[0] : "?";
    char version[16] = "";
    const auto converted = std::to_chars(version, version + sizeof version - 1, eVersion);
    *converted.ptr = '\0';
    char date[sizeof rtcDate], time[sizeof rtcTime];
    cRtc2Rtc(eSampleTime, date, time);
    const char *logging = loggerStatus == 1 ? "yes" : loggerStatus < 0 ? "unknown (no answer)" : "no";

    std::printf("Identifier:    %s\n", eId);
    std::printf("Model:         %s (index %d)\n", model, currDeviceId);
    std::printf("Firmware:      %s\n", version);
    std::printf("Readings held: %d\n", eLength);
    // the readings are counted over the channels; a record holds one of each
    std::printf("Records held:  %d\n", readingsToRecords(currDeviceId, eLength));
    std::printf("Interval:      %02d:%02d:%02d\n", eSampleRate / 3600, eSampleRate % 3600 / 60, eSampleRate % 60);
    std::printf("Unit:          %c\n", eUnit);
    std::printf("First record:  %s %s\n", date, time);
    std::printf("Logging:       %s\n", logging);
    return EXIT_OK;
}

}   // namespace cli
