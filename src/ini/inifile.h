// The INI store: the contents of an INI-style text file held in memory as an ordered
// sequence of named sections, each an ordered sequence of tag/value items, together with
// the comments of the file. A store is created empty, filled from a file, queried and
// changed by section name and tag, and written back to a file as a whole.
//
// Plain functions over an opaque handle; every function that returns an int returns a
// negative code on failure (the INI_ERR_... constants below). Section and tag arguments
// are matched without regard to letter case and to surrounding white space.
//
// The store works on bytes: UTF-8 files (the language files) pass through unchanged.
// No Qt, only the standard library.
#pragma once

#include <cstddef>
#include <string>

struct IniStore;
typedef IniStore *IniHandle;

// Failure codes.
inline constexpr int INI_ERR_NO_MEMORY = -12;       // memory exhausted
inline constexpr int INI_ERR_NULL_ARGUMENT = -65;   // no store given, or another required argument missing
inline constexpr int INI_ERR_ACCESS = -95;          // target not writable, or access denied while writing
inline constexpr int INI_ERR_DISK_FULL = -97;       // disk full while writing
inline constexpr int INI_ERR_IO = -93;              // any other failure while writing or replacing the target
inline constexpr int INI_ERR_OPEN = -5001;          // the file to read cannot be opened
inline constexpr int INI_ERR_READ = -5002;          // error while reading the file
inline constexpr int INI_ERR_NOT_INTEGER = -5021;   // Ini_GetInt: not an integer in range
inline constexpr int INI_ERR_NOT_NUMBER = -5023;    // Ini_GetDouble: not a number, or out of range

// Limits: a line of a file is taken up to its first INI_MAX_LINE characters; section
// names and tags hold at most INI_MAX_NAME characters (longer ones are cut).
inline constexpr int INI_MAX_LINE = 1024;
inline constexpr int INI_MAX_NAME = 255;

// A new empty store; with automaticSorting on, sections are kept ordered by name and items
// by tag (and lookups use binary search). Null when memory is short.
IniHandle Ini_New(int automaticSorting);

// Frees the store with all it holds; a null store is ignored.
void Ini_Dispose(IniHandle ini);

// Appends the sections of the text (length bytes, the contents of a file) to the store
// (never merging). 0, INI_ERR_NO_MEMORY (the store keeps what was read so far), or
// INI_ERR_NULL_ARGUMENT without a store or without a text of non-zero length.
int Ini_ReadFromText(IniHandle ini, const char *text, std::size_t length);

// Appends the sections of the file to the store, as Ini_ReadFromText. 0, or INI_ERR_OPEN,
// INI_ERR_READ, INI_ERR_NO_MEMORY; after a failure the store keeps what was read so far.
int Ini_ReadFromFile(IniHandle ini, const char *path);

// The store's contents as Ini_WriteToFile writes them (CR LF line ends) into text. 0, or
// INI_ERR_NULL_ARGUMENT without a store, INI_ERR_NO_MEMORY (text then empty).
int Ini_WriteToText(IniHandle ini, std::string &text);

// Replaces the file by the store's contents. The text goes to a temporary file in the
// target's folder (ini$$<n>.TMP) that is then renamed over the target, so the target is never
// missing or half written: after any failure (negative code) the previous file is left as it
// was. A symbolic link is followed: the file it points to is replaced and the link stays.
// INI_ERR_ACCESS when the target is not a regular file that may be written (a folder, a FIFO,
// a device) or its folder is missing.
int Ini_WriteToFile(IniHandle ini, const char *path);

// Number of sections, duplicates counted.
int Ini_NumberOfSections(IniHandle ini);

// Number of items of the section; 0 when there is no such section (or no store).
int Ini_NumberOfItems(IniHandle ini, const char *section);

// 1 when a section of that name exists, else 0 (also 0 without a store).
int Ini_SectionExists(IniHandle ini, const char *section);

// 1 with *value pointing at the stored value (enclosing quotes already removed, escapes not
// interpreted); 0 with *value null when the section or the tag is missing. The pointer stays
// valid until that item is replaced or the store is disposed.
int Ini_GetPointerToRawString(IniHandle ini, const char *section, const char *tag, const char **value);
int Ini_GetPointerToRawString(IniHandle ini, const char *section, const char *tag, char **value);

// 1 when converted; 0 when the item is missing or its value is only white space (*value
// untouched); INI_ERR_NOT_INTEGER when the value is not a 32-bit integer (*value untouched).
int Ini_GetInt(IniHandle ini, const char *section, const char *tag, int *value);

// 1 when converted ("Inf", "+Inf", "-Inf" in any letter case give the infinities); 0 when
// missing or only white space (*value untouched); INI_ERR_NOT_NUMBER when the value is not a
// number or out of range (*value receives the longest leading part that reads as a number).
// Always the C notation with a '.', whatever the process locale.
int Ini_GetDouble(IniHandle ini, const char *section, const char *tag, double *value);

// Store the value (as "%d", resp. "%.16g" in the C locale) under the tag, replacing every item
// of that tag, making the section when it is missing. 0, INI_ERR_NO_MEMORY, or
// INI_ERR_NULL_ARGUMENT when a name is missing or blank.
int Ini_PutInt(IniHandle ini, const char *section, const char *tag, int value);
int Ini_PutDouble(IniHandle ini, const char *section, const char *tag, double value);

// Store the text as it stands under the tag, as Ini_PutInt, but the comment lines above the
// first replaced item stay above the new one: every item of that tag is replaced, the first
// one's place kept (in a store made without sorting
// the file keeps its order); a missing section is made at the end. 0, INI_ERR_NO_MEMORY, or
// INI_ERR_NULL_ARGUMENT when a name is missing or blank, the value is missing, or it holds
// a line end.
int Ini_PutString(IniHandle ini, const char *section, const char *tag, const char *value);
