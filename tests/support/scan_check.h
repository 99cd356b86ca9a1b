#pragma once

#include <istream>
#include <span>
#include <string>
#include <string_view>

#include "scan/scan_file.h"

// The layer's promise, checked: the same reads made through the layer and through
// formatted stream extraction must give the same results. The tests and the fuzz target
// share this check.

/// Reads the next word like scanWord and says whether it is `word` exactly (whole word,
/// case-sensitive); `word` may be of any length. False also when no word is left.
bool scanWordIs(ScanFile& scan, std::string_view word);

/// One read: which kind, and for a search its target and stop word.
enum class ScanReadKind { word, wordIs, character, integer, decimal, skipPast };

struct ScanRead {
    ScanReadKind kind = ScanReadKind::word;
    std::string_view target;
    std::string_view stopWord;
};

/// Makes `reads` through `scan` and through `in` (both opened on the same bytes) and
/// describes the first read whose result, value, position, end-of-file or failed state
/// differ; empty when all agree.
std::string firstDifference(ScanFile& scan, std::istream& in, std::span<const ScanRead> reads);
