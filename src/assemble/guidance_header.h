#pragma once

#include <cstddef>
#include <string_view>

#include "blend/guidance_groups.h"

// The lines of a saved guidance product: which open a bulletin, which end one, and which
// characters of the feed's framing never reach a bulletin file.

/// The group of the bulletin file (an index of guidanceGroups) that guidance of `kind`
/// fills, or guidanceGroups.size() for `other`.
std::size_t guidanceGroupOfKind(GuidanceKind kind);

/// A header line: where its station word and its date stand in the line, and its words.
struct GuidanceHeader {
    GuidanceKind kind = GuidanceKind::other;
    std::string_view station;
    std::string_view date;
    std::string_view run;
    std::size_t stationAt = 0;  // the station word's first character in the line
    std::size_t dateAt = 0;
};

/// True when `line` (without its LF) is a bulletin header: after blanks, framing characters
/// or HTML tags, a station word, then "<model> MOS GUIDANCE <date> <run> UTC" or
/// "NBM [<version>] <product> GUIDANCE <date> <run> UTC", and nothing more.
bool readGuidanceHeader(std::string_view line, GuidanceHeader& header);

/// True when `line` cannot belong to a bulletin: a line of only blanks or framing, a `$$`
/// line, a line holding an HTML tag, a WMO heading, a sequence line or an AWIPS identifier.
bool endsBulletin(std::string_view line);

/// The line up to its first HTML tag: a saved page may close its <pre> right after the
/// last row, on the same line.
std::string_view beforeFirstTag(std::string_view line);

/// True for the feed's framing characters SOH, ETX and RS, which count as blank space.
bool isFramingCharacter(char c);
