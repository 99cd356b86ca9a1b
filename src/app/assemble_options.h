#pragma once

#include <span>
#include <string>

#include "assemble/assemble_command.h"

// The words of `wxguide assemble`.

/// Reads the words after `assemble` into `request`; false with the fault, one line, in
/// `fault`: an unknown or misplaced option, a value missing or given twice, a date not
/// written as 12/08/2026, no product, or standard input given twice.
bool readAssembleRequest(std::span<const char* const> arguments, AssembleRequest& request,
                         std::string& fault);
