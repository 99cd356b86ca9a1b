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

/// A file name as typed at the file-name prompt.
struct TypedName {
    std::string text;            // without its quotes when it was quoted
    bool unclosedQuote = false;  // a quote was opened and the line ended before its mate
};

/// Reads a file name: one word as readTypedWord reads it, except that a name starting
/// with a double quote runs to the next double quote on the same line, may hold blanks,
/// and is kept without its quotes (Windows' "Copy as path" quotes every path). When the
/// line or the input ends before the closing quote, the rest of the line is consumed
/// and `unclosedQuote` is set. False when no word is left.
bool readTypedName(std::istream& in, TypedName& name);

/// True when `word` holds a control character (a NUL, an escape, a delete...): such a
/// word cannot be a file name the forecaster meant.
bool holdsControlCharacter(const std::string& word);
