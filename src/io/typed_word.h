#pragma once

#include <cstddef>
#include <istream>
#include <string>

// What the forecaster types (an option, a file name, a ratio) is read a word at a time,
// in bounded memory however long the word is.

/// A typed word is kept up to this many characters. No path the system opens is this
/// long, so the kept part of a longer word names no file and no option.
inline constexpr std::size_t maxTypedWordLength = 4096;

/// Reads the next word, like `in >> word`: skips whitespace, stops before the next
/// whitespace character, sets eofbit when the input ends in the word, and failbit
/// (returning false) when no word is left. Of a longer word only the first
/// maxTypedWordLength characters are kept; the rest is consumed.
bool readTypedWord(std::istream& in, std::string& word);

/// True when `word` holds a control character (a NUL, an escape, a delete...): such a
/// word cannot be a file name the forecaster meant.
bool holdsControlCharacter(const std::string& word);
