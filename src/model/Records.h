// The record store: one 192000-byte block, allocated at start-up and never freed, holding up
// to 16000 record times and the channel values of the records, laid out for the model's
// channel set:
//
//   layout 0: times, 16000 temperatures
//   layout 1: times, 8000 temperatures, 8000 humidities
//   layout 2: times, 8000 temperatures, 8000 second temperatures
//   layout 3: times, 5333 temperatures, 5333 second temperatures, 5333 humidities
//
// The times start at byte 0, the values at byte 64000. A view the layout lacks is nullptr.
// loggedLength records are held. A value above 10000 is a sensor error code (10000 + n);
// every other value, 10000 included, is a measurement.
#pragma once

#include <cstddef>

#include "model/Clock.h"
#include "model/Models.h"

inline constexpr std::size_t RECORD_BLOCK_SIZE = 192000;
inline constexpr std::size_t RECORD_VALUES_OFFSET = 64000;   // bytes of the 16000 times
inline constexpr int MAX_RECORDS = 16000;
// A decoded value above this is a sensor error code.
inline constexpr double SENSOR_ERROR_BASE = 10000.0;
// Room for the text of any sensor error code with its terminator: E and the integer part of the
// largest double (309 digits).
inline constexpr std::size_t SENSOR_ERROR_TEXT_SIZE = 320;

// The text every view shows for a sensor error (a value above SENSOR_ERROR_BASE): "E" and the
// integer part of (value - SENSOR_ERROR_BASE) with at least two digits ("E00", "E05", "E123"),
// in the C locale. The chart, the table, the report and the data files show the same digits.
// Writes into out (capacity bytes, always terminated, cut when it does not fit) and returns the
// length written; a value that is no sensor error writes "" and returns 0.
std::size_t sensorErrorText(char *out, std::size_t capacity, double value);

extern unsigned char *ldPtr;
extern cRtc *rtcPtr;
extern double *vTemPtr;
extern double *vTem2Ptr;
extern double *vRhPtr;
extern int loggedLength;

// Running extremes per channel (temperature, second temperature, humidity) since start-up.
extern float lpMaxVal[3];
extern float lpMinVal[3];
// Bounds of the alarm limit fields, per channel and unit (0 = Celsius, 1 = Fahrenheit).
extern float LimitMaxVal[3][2];
extern float LimitMinVal[3][2];

// Allocates the block into ldPtr (once; later calls keep it). False when there is no memory.
bool allocateRecordBlock();
// Tests: make allocateRecordBlock report a shortage of memory (true) or behave again (false).
void simulateRecordBlockShortage(bool shortage);

// Points the views at the layout of the model index. Returns 0, or -1 (views unchanged) for an
// index outside 0..24 or before the block exists. The data are not moved (callers clear the
// store); a loggedLength above the new layout's capacity is cut to it, so that no reader of
// loggedLength records goes beyond a view.
int ValPtrInit(int index);

// Sets every time entry to 0 and every value slot (whatever the layout) to 1e-7, and counts a
// new set of records (recordsGeneration). loggedLength is not changed.
void clearLoggedData();
// Counts the sets of records the store has held: a reader that remembers it can tell that the
// records it described have been replaced, even by as many new ones.
extern unsigned recordsGeneration;

// Feeds one record's values (channel order; 10000 for an absent channel) to the extremes.
// Values of 10000 and above are ignored.
void GetLogMaxMinVal(float t1, float t2, float rh);

// Records a layout holds: 16000, 8000, 8000, 5333; 0 for an unknown layout.
int layoutCapacity(int layout);
// Records the present views hold (0 before ValPtrInit).
int recordCapacity();
// The layout the views follow (-1 before ValPtrInit).
int recordLayout();

// Stores one record at index loggedLength: the values of the present channels, the time,
// the extremes (10000 for absent channels), then loggedLength + 1. Values of absent channels
// are ignored. Returns the new loggedLength, or -1 (nothing stored) when the store is full.
int storeRecord(cRtc time, double t1, double t2, double rh);
// The same at record index n (a data file numbers its records): refused (-1, nothing stored)
// when n lies outside the store or loggedLength has reached the capacity.
int storeRecordAt(int n, cRtc time, double t1, double t2, double rh);
// The same with the values in the order of a data line or data file record: layout 1 sends
// temperature and humidity, layout 2 both temperatures, layout 3 temperature, second
// temperature and humidity.
int storeLineAt(int n, cRtc time, const double values[3]);
// The reverse: the values of record i in that order, for the given layout; their number (0 for
// a layout without records).
int recordValues(int layout, int i, double values[3]);

// One raw value of the tenths rule: raw / 10 + 0.00001.
double decodeTenths(int raw);
// A decoded temperature to degrees F for an 'F'/'f' unit letter; a sensor error code (above
// 10000) is never converted.
double tenthsToUnit(double value, char unit);
// Decodes the raw values of one data line of model index by its decode rule, in line order,
// into out (LOGGER_DATANUM values; the rest of out's three entries are set to 0).
// Returns the number of values, or -1 for an index without a decode rule.
int decodeLine(int index, const int raw[3], char unit, double out[3]);

// The description of the logger the records held came from. The logger description (eId and
// its siblings) follows whatever logger answers now; once another logger is plugged in it no
// longer describes the records, so saving, the chart, the table, the CSV and the report read
// this one. It is taken when a download stores its first record and when a data file has been
// read, and stays until new records replace the store.
struct RecordsDescription {
    int model = 1;                  // model index
    char id[LOGGER_ID_SIZE] = "";   // identifier
    int readings = 0;               // readings the logger reported, over all channels (eLength)
    int interval = 0;               // sample interval in seconds
    cRtc firstTime = 0;             // time of the first record
    char unit = 'C';                // temperature unit letter
    bool fromFile = false;          // read from a data file (shown by its name), not downloaded
};

// The display form of a data file's path, as the title, the windows and the print-outs name
// the file: at most 36 characters, with its terminator.
enum { FILE_NAME_SHOWN_SIZE = 37 };

// Takes the logger description (currDeviceId, eId, eLength, eSampleRate, eSampleTime, eUnit) as
// the description of the records held.
void describeRecords(bool fromFile = false);
// The description of the records held; while none are held (or the store was filled without
// describing them), the connected logger's. Emptying the store (clearLoggedData) forgets it.
RecordsDescription recordsDescription();
// The identifier that names the records held: the one of the logger they were downloaded from;
// empty for records read from a data file (which are named by the file).
const char *recordsShownId();

// Start-up state of the whole measurement model (start-up, tests): the block allocated (when
// memory allows) and laid out for index 1 and cleared, no records, extremes -10000/+10000, the logger description and
// the thermistor's last reading reset.
void resetModelState();
