// Data files on disk: the Save File and Retrieve File commands, their folders and names, and
// showing a file just read. The file's text (its layout, reading and writing it, the date
// order) is the datafile module's (datafile/DataFileText.h); this module opens and replaces
// the files and shows what was read.
#pragma once

#include <cstddef>
#include <string>

#include "datafile/DataFileText.h"

enum {
    FILE_NAME_SIZE = 261,   // a path of up to 260 characters
};

// The full path last chosen in any file dialog of the program (save, retrieve, group files).
extern char fileName[FILE_NAME_SIZE];

// Back to the start-up state: no file chosen, nothing refused (the datafile state too).
void resetFilesState();

// Results of saveDataFile.
enum {
    DATA_FILE_ERR_CREATE = -1,   // the file cannot be created (or the existing one not replaced)
    DATA_FILE_ERR_WRITE = -2,    // writing failed; the previous file is untouched
};

// ---------------------------------------------------------------- folders and names

// The default data folder (the user's documents folder + "/Tavix"), created when missing (a
// failure is ignored: the file dialog then starts where it can).
void defaultDataFolder(char *dir, std::size_t capacity);
// The default name of a new data file: today's date as YYYYMMDD + ".txt".
void defaultSaveFileName(char *name, std::size_t capacity);

// ---------------------------------------------------------------- saving and retrieval

// Writes the record store to path (through a temporary file in the same folder that replaces
// the target only when everything was written), with the progress in the status line; on
// success clears the not-yet-saved bit of gFlag and shows msg5. A symbolic link is followed:
// the file it points to is replaced and the link stays. Returns 0 or a DATA_FILE_ERR code
// (DATA_FILE_ERR_CREATE also for a target that is a folder, a FIFO or a device); on failure
// the previous file and gFlag are unchanged and nothing is shown.
int saveDataFile(const char *path);

// Shows the data just read from the file at path as after a download: the chart's scaling
// for all channels, the identifier, the window laid out for the model, chart, table, msg4
// and "File name: ..." with the display form of path; for dates that fit no order, the warning
// msgFileDatesUnread with the record number.
void showRetrievedFile(const char *path);

// Reads a data file into the record store and the logger description and shows it as after a
// download (showRetrievedFile); then the connected logger's identifier is cleared (the window
// still shows it and the records keep it) and the identity and schedule count as known.
// Returns the number of records stored, DATA_FILE_NOT_OPENED when the file cannot be opened or
// DATA_FILE_NO_RECORDS when it has no record line (then nothing has changed).
int readDataFile(const char *path);

// The same for the text of a data file kept elsewhere (the archive's copy), shown as the file
// named shownName: the records held are replaced, as by Retrieve File. Returns the records
// stored or DATA_FILE_NO_RECORDS (nothing changed).
int readDataFileText(const std::string &text, const char *shownName);

// ---------------------------------------------------------------- reading into other arrays

// Reads the data file at path by the rules of Retrieve File into the arrays reader.layOut gives:
// each record at the index of its record number, its values in the order of the model's channel
// set. A record number outside 1..capacity is refused, and so is every line once capacity
// records are stored; *refused (when given) counts them. The dates are read as DataFileDates
// says (*dates, when given, tells how). Lines 2, 3 and 5 are not used, no extremes are tracked,
// nothing is shown. Returns the number of records stored, or DATA_FILE_NOT_OPENED /
// DATA_FILE_NO_RECORDS (then layOut has not been called).
int readDataFileRecords(const char *path, const RecordReader &reader, int *refused = nullptr,
                        DataFileDates *dates = nullptr);
// (parseDataFileRecords does the same from the text of a data file.)

// ---------------------------------------------------------------- commands

// The main window's Save File and Retrieve File commands: the file dialog in the default data
// folder, then saveDataFile (after asking before replacing a file) or readDataFile.
int cSaveFileCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
int cRetrieveFileCallBack(int panel, int control, int event, void *callbackData, int eventData1, int eventData2);
