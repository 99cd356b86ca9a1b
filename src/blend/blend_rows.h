#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "blend/bulletin_check.h"
#include "scan/scan_file.h"

// The rows of a Blend NBS bulletin. Every row holds fields of exactly three characters
// after its label, so a value of 100 or a negative one touches its neighbour and the rows
// cannot be read word by word: a value is the field under its forecast hour in FHR.

/// Lines are kept up to this many characters from their label on; a field beyond holds
/// no value.
inline constexpr std::size_t blendLineLength = 4096;

/// The first line of a body whose first word is each label of blendRowLabels, from the
/// label on (empty when no line starts with it).
struct BlendRows {
    std::array<std::string, blendRowLabels.size()> lines;
    std::array<bool, blendRowLabels.size()> found{};
};

/// Whether the body has a line whose first word is `label`, one of blendRowLabels.
bool blendRowFound(const BlendRows& rows, std::string_view label);

/// Reads the body that `bounds` gives (from its rows on, to its end) and keeps its rows.
bool readBlendRows(ScanFile& in, const BulletinBounds& bounds, BlendRows& rows);

/// The value of field `field` (1 based) of a row line: false when the field is blank, past
/// the end of the line, or not an optional minus sign and digits once blanks are removed.
bool blendField(const ScanFile& in, std::string_view line, int field, std::int32_t& value);

/// Takes the values of row `label` at hours first, first + step, ... (`count` of them) into
/// `values`. False when the FHR row or the row is missing, FHR lacks one of the hours, or
/// a needed field holds no number; `unreadLabel` then names the row to blame.
bool blendValuesAtHours(const ScanFile& in, const BlendRows& rows, std::string_view label,
                        int first, int step, int count, std::int32_t* values,
                        std::string_view& unreadLabel);
