#pragma once

#include <cstddef>
#include <filesystem>

#include "net/download.h"

// The framing of downloaded byte ranges of a GRIB2 file, checked on their own bytes
// without ecCodes: a range that the server cut, shifted or padded does not frame.

/// Whole when `file` is `messages` whole GRIB2 messages one after the other, as their own
/// indicator lengths and closing "7777" frame them; refused otherwise. Reads a few bytes of
/// each message only.
BodyCheck checkWholeMessages(const std::filesystem::path& file, std::size_t messages);
