#pragma once

#include <span>
#include <string>

#include "fetch/fetch_command.h"

// The words of `wxguide fetch`.

/// Reads the words after `fetch` into `request`; false with the fault, one line, in
/// `fault`: no or an unknown product (bulletins, profile), a model other than gfs, rap
/// or hrrr, a station that is not four letters or digits, an unknown option or one the
/// product does not take, a value missing or given twice, a date not written as
/// 12/08/2026 or a run not written as 2026120812.
bool readFetchRequest(std::span<const char* const> arguments, FetchRequest& request,
                      std::string& fault);
