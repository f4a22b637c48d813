// The logger's protocol, receiving side: the tokenizer that cuts a received line into fields,
// and the decoding of each response into the logger description (model/Models.h), the record
// store (model/Records.h) and the calibration reported (model/LoggerSettings.h). No windows and
// no port: the link reads the lines and decides what the window shows; the simulator and the
// fuzz target use the same code.
//
// The state is global and single-instance, defined in protocol_state.cpp beside
// resetProtocolState().
#pragma once

#include <cstddef>

#include "model/Models.h"

// ---------------------------------------------------------------- response tokenizer

enum { RX_LINE_MAX = 1024, RX_BUF_SIZE = 1028, TOKEN_MAX = 10 };
// The received line: at most 1024 characters followed by three zero bytes.
extern char rxBuf[RX_BUF_SIZE];
extern int rxLen;
extern char *mLast;              // where the next token starts
extern char *mPre;               // start of the token being cut
extern char *pToken;             // the last token returned (nullptr for none)
extern unsigned char endOfBuf;   // the scanner has met the end of the line
extern unsigned char istEvent;   // the next response-letter read starts at the beginning of rxBuf
// The response words.
extern const char ev1[2], ev2[2], ev3[2], ev4[2], ev6[2], ev7[2];

// Put a line into rxBuf (cut to 1024 characters) with its three terminating zeros.
void setRxLine(const char *line, int length);

// 1 for carriage return, tab, space, zero and line feed (a zero also sets endOfBuf), else 0.
unsigned char delimits(char c);
// The next token (cut in place), or nullptr for an empty field or the end of the line.
// restart: begin again at the start of rxBuf.
char *nextToken(int restart);
// The next token as a response letter: '>', 'i', 'm', 'd', 'r', 't', or 0.
char isCommand();
// 1 when the token equals the one-character response word, else 0.
int lookupCommand(const char *token, const char *word);
// The next token as a number: "E" + n gives 100000 + 10 n (a sensor error code), otherwise
// its leading decimal integer; 0 for an empty field.
int isNumber();
// The first character of the next token, 0 for an empty field.
char isCharacter();
// The value of at most the first four hexadecimal digits of the next token (0..65535).
int isHexNumber();
// Copy the next token to dest (capacity bytes, cut to fit); the empty text for an empty field.
void isString(char *dest, std::size_t capacity);
template <std::size_t N>
void isString(char (&dest)[N]) {
    isString(dest, N);
}
// The value of one hexadecimal digit; 0 for any other character.
int hex2Dec(char c);

// ---------------------------------------------------------------- response decoding

extern int eValue1, eValue2, eValue3;   // raw numbers of the current data line

// Back to the start-up state: the tokenizer's line and scan position, the data line's numbers.
void resetProtocolState();

// The fields of an identity response ('i'): identifier and model name into eId and eDeviceName.
void decodeIdentity();
// The model of a model name: a version suffix "Vx.y" is cut off the name and read into eVersion
// (2.4 without one); prevDeviceId keeps the model before, currDeviceId takes the name's model
// index; the chart is told that a model has been identified. Returns currDeviceId.
int chkDeviceMode(char *name);
// The fields of a memory response ('m'): readings held, the sample interval (or the code the
// logger sends instead), the unit letter as received and the time of the first record.
void decodeMemory();
// The sample interval field of the memory response: "--" is 32768, a vertical tab 32767, "E" + n
// is 32767 - n; a number is a 16-bit count (a negative one taken modulo 65536, 0 as 65536).
int readSampleRate();
// The field of a status response ('t'): the logging status (1 = logging).
int decodeStatus();
// The raw numbers of a data line ('d') into eValue1..3, as many as the model has channels.
void decodeDataFields(int channels);
// What became of a data line's numbers.
enum class DataRecord { Undecodable, Stored, Refused };
// Decode eValue1..3 by the model's rule and store them as record loggedLength, with its time
// from the first record's time and the interval. The first record of a download lays the store
// out for the model (when it differs) and describes the records. Refused: the store is full.
DataRecord storeDataRecord();
// The fields of a calibration response ('r') for a model's kind of calibration: five
// temperature points into tempCaliData, or the humidity texts Z and S; nothing for None.
void decodeCalibration(Calibration kind);
