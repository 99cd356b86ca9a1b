#pragma once

#include <optional>
#include <ostream>
#include <span>
#include <string>

// Spreadsheet files as RFC 4180 has them: fields parted by commas, a field quoted when it
// holds a comma, a quote or a line end, every record ended by CR LF.

/// `text` as one field.
std::string csvField(const std::string& text);

/// `value` in the fewest digits that read back as the same double; empty when there is none.
std::string csvNumber(const std::optional<double>& value);

/// Writes the fields, each made a field by csvField, as one record.
void writeCsvRecord(std::ostream& out, std::span<const std::string> fields);
