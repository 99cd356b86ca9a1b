#pragma once

#include <span>
#include <string>

#include "extract/extract_command.h"

// The words of `wxguide extract`.

/// Reads the words after `extract` into `request`; false with the fault, one line, in
/// `fault`: an unknown option, a value missing or given twice, a step outside 1 to 240, no
/// profile, a place given twice, or a second profile with no place for GRIB2 files.
bool readExtractRequest(std::span<const char* const> arguments, ExtractRequest& request,
                        std::string& fault);
