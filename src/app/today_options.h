#pragma once

#include <span>
#include <string>

#include "today/today_command.h"

// The words of `wxguide today`, and the command's row runner.

struct CommandContext;

/// Reads the words after `today` into `request`, the ETA weight from --ratio or else from
/// `ratioVariable` (WXGUIDE_RATIO's value, null when unset); false with the fault, one
/// line, in `fault`: no weight at all (saying how to give one), a weight that is no number
/// from 0 to 1, a station that is no four-letter id, a time not written as 2026120815, an
/// empty folder, an option given twice or one of another command.
bool readTodayRequest(std::span<const char* const> arguments, const char* ratioVariable,
                      TodayRequest& request, std::string& fault);

/// Runs `wxguide today` with the words of `context`: each step through the command table,
/// as typed. Returns the exit status: 2 for a usage error, else runToday's.
int runTodayCommand(const CommandContext& context);
