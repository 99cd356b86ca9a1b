#pragma once

#include <span>
#include <string>

#include "app/command_table.h"
#include "verify/verify_command.h"

// The words of `wxguide verify`, and the ratio WXGUIDE_RATIO gives option 1.

/// Reads the words after `verify` into `request`, and WXGUIDE_RATIO (when set) as the ratio
/// the blend is scored at; false with the fault, one line: days not a whole number 1 to
/// maxVerifyDays, an end date not written 12/08/2026, a value given twice, an operand, a
/// WXGUIDE_RATIO that is no ratio from 0 to 1.
bool readVerifyRequest(std::span<const char* const> words, VerifyRequest& request,
                       std::string& fault);

/// Reads WXGUIDE_RATIO's `value` (null or empty: not set) as the ratio of the blend scored;
/// false with the fault when it is no ratio from 0 to 1.
bool readRatioVariable(const char* value, VerifyRequest& request, std::string& fault);
