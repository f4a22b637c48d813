// CSV export: every record held, whatever page the data table shows, as a file a spreadsheet
// opens.
//
// The file is UTF-8 with LF line ends, comma separated, a field quoted (RFC 4180) only when it
// holds a comma, a quote or a line end. A header row "Record,Time," and one column per channel
// of the model in channel order, each named by its window text and unit: "Temperature (°C)",
// "Ext. temperature (°C)", "Humidity (%RH)" with the English texts. Then one row per record:
// its number, its time as YYYY-MM-DD HH:MM:SS whatever the date preference, and each value with
// a full stop and one decimal whatever the locale; a sensor error is an empty cell.
#pragma once

#include <cstddef>
#include <string>

// Results of writeCsvFile.
enum {
    CSV_ERR_CREATE = -1,   // the file cannot be created (or the existing one not replaced)
    CSV_ERR_WRITE = -2,    // writing failed (or memory ran out); a previous file is untouched
};

// The CSV text of the record store and the logger description. Nothing is shown. False (text
// empty) when memory ran out.
bool formatCsv(std::string &text);

// Writes the CSV text to path through a temporary file in the same folder that replaces the
// target only when everything was written (a symbolic link is followed). Nothing is shown.
// Returns 0 or a CSV_ERR code; on failure a previous file is unchanged.
int writeCsvFile(const char *path);

// The default name of a CSV file: today's date as YYYYMMDD + ".csv".
void defaultCsvFileName(char *name, std::size_t capacity);
