#pragma once

#include <cstddef>
#include <istream>
#include <string>
#include <string_view>

// The one word scanner for every data file: whitespace-separated words, as stream
// extraction reads them, but in bounded memory whatever the file holds.

/// Words are kept up to this many characters; a longer word is still consumed whole,
/// and its kept part (one character longer than any word compared with) equals none.
inline constexpr std::size_t maxKeptWordLength = 255;

/// Reads the next word into `word`, like `in >> word`: skips whitespace, stops before
/// the next whitespace character, sets eofbit when the file ends in the word, and
/// failbit (returning false) when no word is left.
bool readWord(std::istream& in, std::string& word);

/// Reads words until one equals `target` exactly (whole word, case-sensitive) and returns
/// true. Returns false at the end of input, in a failed stream, or when `stopWord`
/// (if not empty) is read first; the word that ended the search has been consumed.
bool skipPastWord(std::istream& in, std::string_view target, std::string_view stopWord = {});
