#pragma once

#include <string>
#include <string_view>

#include "blend/bulletin_check.h"

// Option 1's reading of a bulletin file's text held in memory, before any file is written:
// the check and both element readers, as a run on that file would make them.

/// Option 1's line for a row a reader could not read: "The DPT row of bulletin 1 (KBKX,
/// ETA group) is missing or could not be read."
std::string explainUnreadRow(const UnreadRow& unread, const StationSet& set);

/// What option 1 would make of a file.
enum class TextReading { read, refused, rowUnread };

/// Checks `text` as option 1 checks its file of the stations of `set` and reads it with
/// both readers. Unless it is
/// `read`, `problem` holds the line option 1 would print on its second line.
TextReading readBulletinText(std::string_view text, const StationSet& set, std::string& problem);

/// True when both readers read every row of `bulletin`, one bulletin of `group` (0 to 2)
/// header first, as they would in a file where the station word `next` follows it (empty:
/// the file's last bulletin).
bool bulletinReadsAlone(std::string_view bulletin, int group, std::string_view next);
