#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "grib/grib_fields.h"

// NCEP's names of the GRIB2 fields `extract` reads, as the grib filter and the .idx files
// beside the GFS files write them, and the byte ranges of a file that hold those fields.

/// A field as NCEP names it: the variable and the level ("TMP", "2 m above ground").
struct NcepField {
    std::string_view variable;
    std::string_view level;
};

/// The fields extract reads, in the order of GribField.
inline constexpr std::array<NcepField, gribFieldCount> ncepFields = {{
    {"PRMSL", "mean sea level"},
    {"TMP", "2 m above ground"},
    {"TMP", "850 mb"},
    {"TMP", "700 mb"},
    {"TMP", "500 mb"},
    {"HGT", "1000 mb"},
    {"HGT", "500 mb"},
    {"RH", "2 m above ground"},
    {"APCP", "surface"},
    {"TCDC", "entire atmosphere"},
    {"UGRD", "10 m above ground"},
    {"VGRD", "10 m above ground"},
    {"UGRD", "900 mb"},
    {"VGRD", "900 mb"},
    {"UGRD", "500 mb"},
    {"VGRD", "500 mb"},
    {"UGRD", "250 mb"},
    {"VGRD", "250 mb"},
    {"4LFTX", "surface"},
    {"LFTX", "surface"},
    {"CAPE", "surface"},
    {"CIN", "surface"},
    {"POT", "0.995 sigma level"},
    {"LHTFL", "surface"},
    {"SHTFL", "surface"},
}};

/// Whether a field comes only over a period (a sum or an average from an earlier hour), and
/// so is in no file of hour 0.
bool fieldOverAPeriod(GribField field);

/// The grib filter's words for the fields: "var_APCP=on&...&lev_2_m_above_ground=on&...",
/// each variable and each level once. The filter sends a message whose variable and
/// level are both ticked.
std::string gribFilterFields();

/// One line of an .idx: "12:4816374:d=2026120800:TMP:2 m above ground:6 hour fcst:".
struct IndexLine {
    std::string number;  // "12", or "12.1" for a part of a message
    std::uint64_t offset = 0;
    std::string run;  // YYYYMMDDHH, from d=
    std::string variable;
    std::string level;
    std::string time;  // "6 hour fcst", the last colon not required
};

/// Reads an .idx; false with `fault` naming the line: fewer than five fields, an offset
/// that is no number, a date that is no d=YYYYMMDDHH, an offset lower than the line's
/// before, or no line at all.
bool readGribIndex(std::string_view text, std::vector<IndexLine>& lines, std::string& fault);

/// Bytes first to last of a file; no last: to the file's end.
struct ByteRange {
    std::uint64_t first = 0;
    std::optional<std::uint64_t> last;
    std::size_t messages = 0;  // whole messages in it
};

/// The range as a Range header takes it: "100-199" or "100-".
std::string writeByteRange(const ByteRange& range);

/// Which lines are wanted, one flag a line of `lines`.
using WantedLines = std::vector<bool>;

/// The ranges holding the messages with a wanted line: a message runs from its offset to one
/// byte before the next message's, the last to the file's end; lines sharing an offset are
/// one message, fetched whole when any of them is wanted; neighbouring messages share one
/// range.
std::vector<ByteRange> wantedRanges(const std::vector<IndexLine>& lines, const WantedLines& wanted);

/// The lines extract reads: each a field of ncepFields (TCDC also at "entire atmosphere
/// (considered as a single layer)", as older files name it).
WantedLines linesExtractReads(const std::vector<IndexLine>& lines);

/// The fields of ncepFields no line of `lines` holds.
std::vector<GribField> fieldsNotListed(const std::vector<IndexLine>& lines);
