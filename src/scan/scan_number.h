#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "scan/scan_file.h"

// Integers and decimal numbers read from a data file, exactly as formatted extraction
// reads them: the same characters consumed, the same value stored (also on overflow and
// on failure), the same end-of-file and failed state.

/// A decimal number keeps this many significant digits and whether any later digit is
/// nonzero: enough to round to the nearest double as if every digit had been kept.
inline constexpr std::size_t maxKeptDigits = 800;

/// Reads an integer like `in >> value`: optional sign, digits up to the first other
/// character, which stays unread. No digits store 0 and fail; a value beyond 32 bits
/// stores the nearest limit and fails. When the file ends first, `value` is untouched.
bool scanInteger(ScanFile& scan, std::int32_t& value);

/// Reads a decimal number like `in >> value`: optional sign, digits with an optional
/// point, optional exponent, correctly rounded however many digits it has. Anything
/// else stores 0 and fails; a value beyond the double range stores the largest double
/// of its sign and fails. When the file ends first, `value` is untouched.
bool scanDouble(ScanFile& scan, double& value);

/// Reads the next word like scanWord and hands its kept part in `word`: straight from the
/// buffer when the word ends inside it (valid until the next read of `scan`), else from
/// `storage`. Numbers are then read in place, without a copy of every word.
bool scanWordInPlace(ScanFile& scan, std::string& storage, std::string_view& word);

/// Reads the whole of `text` as std::from_chars reads a decimal number (no leading '+'):
/// true when every character belongs to the number and its value is finite. The value,
/// also what a failure leaves in it, is the one std::from_chars gives; short plain decimals
/// such as "-12.25" take a quicker exact path.
bool readWholeDecimal(std::string_view text, double& value);
