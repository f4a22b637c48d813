// Fingerprints: the SHA-256 of bytes, and of a recording. A data file's bytes depend on when
// it was saved (its Date: line) and on the date-format preference (its record dates), so the
// fingerprint of a recording is taken over the fixed form of its text (formatFixedDataFile:
// dates year-month-day, an empty Date: line, values at the one decimal the file shows): the
// records downloaded and the same records saved and read back have the same fingerprint.
#pragma once

#include <cstddef>
#include <string>

// The SHA-256 of length bytes, as 64 lower-case hexadecimal digits.
std::string sha256Hex(const void *data, std::size_t length);
std::string sha256Hex(const std::string &bytes);

// The fingerprint of the records held and their description; "" when memory ran out.
std::string recordsFingerprint();
