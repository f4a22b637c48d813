// The texts of the trip report: its window's captions and the words of its page, from section
// "TripReportWindow" of the language file, and its messages, from section "Message". Each text
// starts in English, so a language file made before the trip report existed still shows every
// word; localTripReportWindow replaces them with the language file's.
#pragma once

#include <cstddef>

enum { REPORT_TEXT_SIZE = 320 };

// The words of the page and the window's texts kept for the report module: global, key, English.
#define TAVIX_REPORT_TEXTS(X)                                                                             \
    X(rptHeading, "rptHeading", "Trip report")                                                            \
    X(rptPass, "rptPass", "PASS")                                                                         \
    X(rptFail, "rptFail", "FAIL")                                                                         \
    X(rptModel, "rptModel", "Logger model")                                                               \
    X(rptIdentifier, "rptIdentifier", "Identifier")                                                       \
    X(rptFirmware, "rptFirmware", "Firmware")                                                             \
    X(rptFirmwareUnknown, "rptFirmwareUnknown", "not in the data file")                                   \
    X(rptFile, "rptFile", "Data file")                                                                    \
    X(rptInterval, "rptInterval", "Interval")                                                             \
    X(rptFirst, "rptFirst", "First record")                                                               \
    X(rptLast, "rptLast", "Last record")                                                                  \
    X(rptDuration, "rptDuration", "Duration")                                                             \
    X(rptRecords, "rptRecords", "Records")                                                                \
    X(rptProfile, "rptProfile", "Profile")                                                                \
    X(rptDeltaH, "rptDeltaH", "Activation energy \xCE\x94H")                                              \
    X(rptMktLimit, "rptMktLimit", "MKT limit")                                                            \
    X(rptNone, "rptNone", "none")                                                                         \
    X(rptHeld, "rptHeld", "held")                                                                         \
    X(rptExceeded, "rptExceeded", "exceeded")                                                             \
    X(rptWindowRecording, "rptWindowRecording", "whole recording")                                        \
    X(rptWindowDay, "rptWindowDay", "any 24 hours")                                                       \
    X(rptWindowMonth, "rptWindowMonth", "any 30 days")                                                    \
    X(rptFigures, "rptFigures", "Figures per channel")                                                    \
    X(rptFigure, "rptFigure", "Figure")                                                                   \
    X(rptReadings, "rptReadings", "Readings (n)")                                                         \
    X(rptErrors, "rptErrors", "Sensor errors")                                                            \
    X(rptNoReading, "rptNoReading", "Time without a reading")                                             \
    X(rptMinimum, "rptMinimum", "Minimum")                                                                \
    X(rptMaximum, "rptMaximum", "Maximum")                                                                \
    X(rptFirstAt, "rptFirstAt", "first at")                                                               \
    X(rptMean, "rptMean", "Mean")                                                                         \
    X(rptSd, "rptSd", "Standard deviation")                                                               \
    X(rptInRange, "rptInRange", "Time in range")                                                          \
    X(rptMkt, "rptMkt", "MKT, whole recording")                                                           \
    X(rptMktWorst, "rptMktWorst", "MKT, worst window")                                                    \
    X(rptDewPoint, "rptDewPoint", "Dew point min / mean / max")                                           \
    X(rptZones, "rptZones", "Zones")                                                                      \
    X(rptChannel, "rptChannel", "Channel")                                                                \
    X(rptZone, "rptZone", "Zone")                                                                         \
    X(rptKind, "rptKind", "Kind")                                                                         \
    X(rptSingle, "rptSingle", "single event")                                                             \
    X(rptCumulative, "rptCumulative", "cumulative")                                                       \
    X(rptLimit, "rptLimit", "Delay / allowance")                                                          \
    X(rptEvents, "rptEvents", "Events")                                                                   \
    X(rptTotal, "rptTotal", "Total")                                                                      \
    X(rptLongest, "rptLongest", "Longest")                                                                \
    X(rptFirstIn, "rptFirstIn", "First in zone")                                                          \
    X(rptAlarm, "rptAlarm", "Alarm")                                                                      \
    X(rptYes, "rptYes", "yes")                                                                            \
    X(rptNo, "rptNo", "no")                                                                               \
    X(rptNoZones, "rptNoZones", "The profile sets no zone for the channels of this logger.")              \
    X(rptFingerprint, "rptFingerprint", "SHA-256 of the data")                                            \
    X(rptGenerated, "rptGenerated", "Generated at")                                                       \
    X(rptAuditHead, "rptAuditHead", "Audit chain head")                                                   \
    X(rptNoArchive, "rptNoArchive", "no archive open")                                                    \
    X(rptConvention, "rptConvention",                                                                     \
      "Time convention: each reading stands for one sample interval; a sensor error belongs to no zone, " \
      "ends a run and its time is time without a reading. Values are judged at the one decimal shown.")

#define TAVIX_REPORT_MESSAGES(X)                                                                           \
    X(msgReportNoRecords, "msgReportNoRecords", "No records are held: retrieve a file or download first.") \
    X(msgProfilesUnread, "msgProfilesUnread",                                                              \
      "The profiles file cannot be used; only the data table's limits are offered:")                       \
    X(msgReportSaved, "msgReportSaved", "The trip report was saved as PDF:")                               \
    X(msgReportNotWritten, "msgReportNotWritten", "The trip report cannot be written:")                    \
    X(msgReportNotPrinted, "msgReportNotPrinted", "The trip report cannot be printed:")

#define TAVIX_DECLARE_REPORT_TEXT(name, key, english) extern char name[REPORT_TEXT_SIZE];
TAVIX_REPORT_TEXTS(TAVIX_DECLARE_REPORT_TEXT)
TAVIX_REPORT_MESSAGES(TAVIX_DECLARE_REPORT_TEXT)
#undef TAVIX_DECLARE_REPORT_TEXT

// Every text back to its English wording (start-up, tests).
void resetReportTexts();

// The trip report's texts from the language file (languagePath, made by localMainWindow): the
// window's captions when it is loaded, and the texts above. A key that is missing leaves its
// text as it was.
void localTripReportWindow();
