// The logger models and the description of the connected logger.
//
// Everything the system knows about a logger model is one row of MODEL_TABLE, addressed by
// the model index currDeviceId (1..24 in use). Other modules read the table by index and never
// compare model names themselves. An index outside 0..24 is never used to read the table:
// the lookups below give a safe answer for it.
#pragma once

#include <cstddef>
#include <cstdint>

#include "model/Clock.h"

inline constexpr int MODEL_COUNT = 25;   // model indexes 0..24

// Channel layouts (LOGGER_TYPE): which channels a record has.
enum { LAYOUT_T = 0, LAYOUT_T_RH = 1, LAYOUT_T_T2 = 2, LAYOUT_T_T2_RH = 3 };

// How the chart's range list and offset follow the logger's memory.
enum class MemoryClass : std::uint8_t {
    None,    // no memory class (index 0, index 2)
    Small,   // the range list keeps its first six items, offset maximum 3000
    K8,      // the list ends with "8k", offset maximum 7500
    K16,     // the list ends with "8k", "12k", "16k", offset maximum 15000
};

// How the raw numbers of one data line become values.
enum class DecodeRule : std::uint8_t {
    None,         // no data lines are decoded (index 0, index 2)
    Thermistor,   // the thermistor wire value (index 1)
    Tenths,       // raw / 10 + 0.00001
    TenthsToF,    // the same, the temperature converted to degrees F for an 'F'/'f' logger
};

// Which channels' limits the alarm command carries.
enum class AlarmLayout : std::uint8_t {
    None,
    A1,       // channel 0
    A2,       // channels 0 and 1
    A3,       // channels 0, 1 and 2
    A4,       // channels 0 and 2
    A5,       // channel 2 alone
    A1orA5,   // A1 for an upper-case unit letter, A5 for a lower-case one (index 4)
};

enum class Calibration : std::uint8_t { None, Temperature, Humidity };

// The names the windows give the two temperature channels.
enum class ChannelNames : std::uint8_t {
    Plain,         // wTemperature, wTemperature2 and their relatives
    Suffix41670,   // the variants whose keys end in _41670 (indexes 11 and 14)
};

// The commands that configure the logger while no status answer has said whether it logs.
enum class UnaskedCommands : std::uint8_t {
    Offered,   // SetLoggerEnable
    Dimmed,    // SetLoggerDisable (index 15)
};

// What SetLoggerEnable does with the main window's logger-settings command.
enum class SettingsCommand : std::uint8_t {
    Offered,   // undimmed with the other logger commands
    AsItIs,    // left dimmed or undimmed as it is (index 24)
};

struct ModelRow {
    int index;
    const char *identifiers[4];   // model names the logger reports; unused slots are nullptr
    int layout;                   // LOGGER_TYPE
    int valuesPerLine;            // LOGGER_DATANUM
    unsigned char leftAxis;       // fLeftYScalEnable: 1 with a second temperature channel
    MemoryClass memory;
    DecodeRule decode;
    AlarmLayout alarm;
    Calibration calibration;
    ChannelNames names;
    UnaskedCommands unasked;
    SettingsCommand settingsCommand;
    // A data file of this model whose first record carries a second value is read as this
    // model index instead; 0 = never.
    int secondValueModel;
};

extern const ModelRow MODEL_TABLE[MODEL_COUNT];
extern const int LOGGER_TYPE[MODEL_COUNT];
extern const int LOGGER_DATANUM[MODEL_COUNT];

// The row of a model index, nullptr outside 0..24.
const ModelRow *modelRow(int index);
// Model index of a model name (exact text, version suffix already removed); 1 for any name
// that is not in the table, the empty text and nullptr included.
int modelIndexOf(const char *name);
// LOGGER_TYPE of an index, -1 outside 0..24.
int loggerType(int index);
// LOGGER_DATANUM of an index, 0 outside 0..24.
int loggerDataNum(int index);
// The left-axis flag, memory class, decode rule and calibration of an index (0 / None outside).
unsigned char leftAxisFlag(int index);
MemoryClass memoryClass(int index);
DecodeRule decodeRule(int index);
Calibration calibrationKind(int index);
// The channel names, the logger commands before a status answer, the logger-settings command
// and the model a data file with a second value stands for (Plain / Offered / Offered / 0
// outside 0..24).
ChannelNames channelNames(int index);
UnaskedCommands unaskedCommands(int index);
SettingsCommand settingsCommand(int index);
int secondValueModel(int index);
// Records a logger of model index holds when it reports readings readings (eLength counts the
// readings over all channels): readings / 3 for a model that sends three values per line,
// readings / 2 for two, readings itself for the others. What a download has to bring.
int readingsToRecords(int index, int readings);
// The alarm layout of an index for the unit letter: index 4 gives A5 for a lower-case letter
// (code 97 or above) and A1 otherwise. None outside 0..24.
AlarmLayout alarmLayout(int index, char unit);
// Channels whose limits an alarm layout carries: bit k for channel k.
int alarmChannelMask(AlarmLayout layout);
// The chart offset maximum of a memory class (15000, 7500, 3000; 0 for None).
int memoryOffsetMax(MemoryClass memory);

// ---------------------------------------------------------------- the connected logger
extern int currDeviceId;           // model index, 1 at start-up
extern int prevDeviceId;           // the index before the last identification
enum { LOGGER_ID_SIZE = 15 };      // the identifier, at most 14 characters, with its terminator
extern char eId[LOGGER_ID_SIZE];   // identifier
extern char eDeviceName[12];       // model name, at most 11 characters
extern float eVersion;             // firmware version, 2.4 when the logger names none
extern int eLength;                // readings held, over all channels; at most 16000
extern int eSampleRate;            // sample interval in seconds (or a status code)
extern cRtc eSampleTime;           // time of the first record
extern char eUnit;                 // temperature unit letter, 'C' or 'F'

// Bounded copies into eId and eDeviceName (longer texts are cut).
void setEId(const char *text);
void setEDeviceName(const char *text);

// Copies src into dst of the given capacity, cutting it; dst is always terminated.
void copyBounded(char *dst, std::size_t capacity, const char *src);

// Back to the start-up state: index 1, empty description, version 2.4, unit 'C'.
void resetLoggerDescription();
