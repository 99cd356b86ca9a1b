#pragma once

#include <span>
#include <string>

#include "app/run_command.h"

// The words of `wxguide run`.

/// Reads the words after `run` into `request`; false with the fault, one line, in `fault`.
bool readRunRequest(std::span<const char* const> arguments, RunRequest& request,
                    std::string& fault);
