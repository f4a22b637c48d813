// The data file's text: reading a data file into the record store (or into arrays of the
// caller's own) and making the text of the record store, with no window and no dialog. Every
// number is written and read in the C locale, whatever the process locale is. The file commands
// (files/DataFile.h) open, replace and show the files; this module only reads and writes text,
// from memory or from an open file.
//
// The file has six header lines and one line per record:
//
//      #10                                  model index
//   Date: 03-05-2024                        date of saving, in the date-format preference
//   ID= LOG-42                              identifier
//   Sample_Rate= 00:01:30                   interval, hours:minutes:seconds
//   Total_Records= 300                      readings the logger reported
//   Unit: C                                 temperature unit letter
//       1  03-01-2024 08:00:00  21.5  19.0  55.1
//       2  03-01-2024 08:01:30  -5.0  E05   55.0
//
// A record line is "%5d  %10s %8s " (number, date, time) and one value field per channel of
// the model: " %5.1f " for a measurement (10000 and below), or a blank, E, the error code with
// at least two digits and a blank for a sensor error (a value above 10000).
//
// State: the dates and the refused lines of the last file read into the record store.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

#include "model/Clock.h"
#include "model/Records.h"   // FILE_NAME_SHOWN_SIZE, the display form of a path

enum {
    DATA_FILE_LINE_MAX = 78,   // the reader keeps this many characters of a line
};

// Results of reading a data file.
enum {
    DATA_FILE_NOT_OPENED = -1,   // the file does not open (or is a folder)
    DATA_FILE_NO_RECORDS = -2,   // no record line: not a data file; nothing has changed
};

// Date orders of a data file's record dates, as the date-format preference numbers them.
enum { DATE_ORDER_MDY = 0, DATE_ORDER_DMY = 1, DATE_ORDER_YMD = 2 };

// How the record dates of a data file are read. A file carries the order of the PC that saved
// it: a four-digit first field is year-month-day; otherwise month-day-year or day-month-year,
// the preferred one tried first: the order under which every record's date and time read and
// consecutive records lie one sample interval apart (by record number), else one under which
// every one reads. When no order reads every record, the records are dated from today's
// midnight one interval apart and firstUnread names the first record whose date or time does
// not read under the order that read the most records before failing (the preferred on a tie).
struct DataFileDates {
    int order = DATE_ORDER_MDY;
    bool fits = true;      // false: the records are dated from today
    int firstUnread = 0;   // record number; 0 when every record reads
    int records = 0;       // record lines: a number, a date and a time word, at least one value
};

// The dates of the last data file read into the record store.
extern DataFileDates fileDates;

// Record lines of the last file read into the record store that were read but not stored: a
// record number outside 1..capacity, or a line after the store was full.
extern int fileRefusedRecords;

// Back to the start-up state: no dates, nothing refused.
void resetDataFileState();

// What the reader and the writer report while they go through the records of a file: step,
// when set, after each record with how far they are (the writer: the records written; the
// reader: the record number of the record just stored), the records expected in all (the
// writer: the store's records; the reader: the header's promise, within the store) and whether
// this is the last report of the file (the reader repeats its last record for it). The caller
// decides what to show and how often.
struct DataFileProgress {
    void (*step)(int done, int total, bool last, void *data) = nullptr;
    void *data = nullptr;
};

// ---------------------------------------------------------------- text forms

// One value field into out (capacity bytes, always terminated): " %5.1f " for a value of 10000
// or less, " E%02d " with the error code for a value above 10000. Returns its length.
std::size_t formatFileVal(char *out, std::size_t capacity, double value);
// Writes one value field to an open file.
void BuildFileValStr(std::FILE *file, double value);

// The value of one value word: "E<n>" is a sensor error (above 10000, code n: E00 included);
// anything else is its leading decimal number in the C locale, 0 when there is none (or when
// it is not a finite number).
double GetFileVal(const char *text);

// The display form of a path, at most 36 characters: a shorter path unchanged, else the start
// of the folder, "...", the separator and the file name (or the start of a long file name and
// "..."). Both '/' and '\' separate folders. destination holds at least 37 bytes.
void FileNamePrintOut(char *destination, const char *path);

// ---------------------------------------------------------------- writing

// The text of the data file of the record store and the description of the logger the records
// came from (recordsDescription), the date of saving today's (dateStr). False (text empty) when
// memory ran out.
bool formatDataFile(std::string &text);

// The fixed form of the same text, which does not depend on when or where it is made: the
// record dates year-month-day whatever the date-format preference, and an empty Date: line.
// Two stores with the same records and description give the same text (the fingerprint of a
// recording is taken over it). False (text empty) when memory ran out.
bool formatFixedDataFile(std::string &text);

// The same text written to an open file, reporting each record written. False when a write
// failed (then the file holds part of the text).
bool writeDataFile(std::FILE *file, const DataFileProgress &progress = {});

// ---------------------------------------------------------------- reading into the record store

// How the record dates of a data file's text read, preferred order first (see DataFileDates).
DataFileDates dataFileDates(const char *text, std::size_t length, int preferred);

// Reads the text of a data file (length bytes) into the record store, the logger description
// (model, identifier, interval, readings reported, unit) and the records' description, the
// dates in the order the file carries (fileDates; the date-format preference's tried first);
// fileRefusedRecords counts the record lines refused. Each record stored is reported with its
// record number as done (records lie at the index of their number, so done is no count). Returns
// the number of records stored, or DATA_FILE_NO_RECORDS (nothing changed) for a text without a
// record line.
int parseDataFile(const char *text, std::size_t length, const DataFileProgress &progress = {});

// The same from a file open for reading (from where it stands); DATA_FILE_NOT_OPENED for no
// file.
int readDataFileStream(std::FILE *file, const DataFileProgress &progress = {});

// ---------------------------------------------------------------- reading into other arrays

// Arrays of the caller's own that a data file's records go to instead of the record store (the
// group-files window's slots): the record times and the values of the channels the model has,
// capacity records each; an array the model lacks is nullptr.
struct RecordArrays {
    cRtc *times = nullptr;
    double *tem = nullptr;
    double *tem2 = nullptr;
    double *rh = nullptr;
    int capacity = 0;
};

// What the readers into arrays call: layOut once the header is read, with the model index
// (line 1, corrected by the first record line) and the unit letter (line 6, '\0' when the line
// has none), for the arrays to fill (no times or no temperatures: no record is read); progress,
// when set, after each record stored with its record number.
struct RecordReader {
    RecordArrays (*layOut)(int model, char unit, void *data) = nullptr;
    void (*progress)(int number, void *data) = nullptr;
    void *data = nullptr;
};

// Reads the text of a data file (length bytes) by the rules of Retrieve File into the arrays
// reader.layOut gives: each record at the index of its record number, its values in the order
// of the model's channel set. A record number outside 1..capacity is refused, and so is every
// line once capacity records are stored; *refused (when given) counts them. The dates are read
// as DataFileDates says (*dates, when given, tells how). Lines 2, 3 and 5 are not used, no
// extremes are tracked. Returns the number of records stored, or DATA_FILE_NO_RECORDS (then
// layOut has not been called); 0 without reader.layOut.
int parseDataFileRecords(const char *text, std::size_t length, const RecordReader &reader, int *refused = nullptr,
                         DataFileDates *dates = nullptr);
// The same from a file open for reading (from where it stands); DATA_FILE_NOT_OPENED for no
// file or no reader.layOut.
int readDataFileRecordsStream(std::FILE *file, const RecordReader &reader, int *refused = nullptr,
                              DataFileDates *dates = nullptr);
