#pragma once

#include <cstdint>
#include <istream>
#include <string>
#include <string_view>

// Reading the values of one element row inside one bulletin. Every function stops at the
// end of the file or in a failed stream, and none reads past the next bulletin's header.

/// Reads words until the row label; false when the bulletin ends first (at the word
/// `nextStation` that opens the next one, or at the end of the file).
bool findRow(std::istream& in, std::string_view label, std::string_view nextStation);

/// Reads one word of a row; false at the end of the file or at the next bulletin's header.
bool readRowWord(std::istream& in, std::string& word, std::string_view nextStation);

/// Reads one integer of a row; an attached "|" stays in the input.
bool readRowInteger(std::istream& in, std::int32_t& value);

/// Reads `count` integers of a row into `values`.
bool readRowIntegers(std::istream& in, std::int32_t* values, int count);

/// Reads the one non-blank character after a column, whichever it is.
bool readSeparator(std::istream& in);

/// Discards the character after the last column of an extended-range row. The file may
/// end right after the last value: that is no fault, every value has been read.
void discardAfterLastColumn(std::istream& in);
