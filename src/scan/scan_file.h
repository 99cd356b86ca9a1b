#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The one reading layer for every data file. It reads words, single characters, integers
// and decimal numbers exactly as formatted stream extraction reads them (the same value,
// the same position afterwards, the same end-of-file and failed state), but through one
// large buffer, in bounded memory whatever the file holds, and it finds a wanted word by
// searching whole blocks rather than word by word.

/// How many bytes one read of the file asks for.
inline constexpr std::size_t scanBlockSize = std::size_t{256} * 1024;

/// Words are kept up to this many characters; a longer word is still consumed whole.
inline constexpr std::size_t keptWordLength = 256;

/// The longest word a search may be for: one character shorter than the kept part, so
/// that the kept part of a longer word equals none.
inline constexpr std::size_t maxSearchedWordLength = keptWordLength - 1;

/// No limit: the source is read to its end.
inline constexpr std::uint64_t noScanLimit = UINT64_MAX;

/// A data file (or a text in memory) being read, with its buffer and its read state.
/// Made once, it may be opened and closed again and again; the buffer is kept.
struct ScanFile {
    ScanFile() = default;
    ScanFile(const ScanFile&) = delete;
    ScanFile& operator=(const ScanFile&) = delete;

    int descriptor = -1;          // the open data file, read by position; not owned
    std::FILE* stream = nullptr;  // a pipe or standard input, read in order; not owned
    std::uint64_t fileTaken = 0;  // how much of the file has gone into the buffer
    std::string_view text;        // the source when reading from memory
    std::size_t textTaken = 0;    // how much of `text` has gone into the buffer
    std::vector<char> buffer;
    std::size_t blockSize = scanBlockSize;
    std::size_t next = 0;               // the next unread byte of the buffer
    std::size_t end = 0;                // the end of the bytes in the buffer
    std::uint64_t bufferStart = 0;      // how many bytes of the source lie before buffer[0]
    bool sourceEnded = false;           // every byte of the source is in the buffer
    bool atEnd = false;                 // a read met the end of the file (eofbit)
    bool failed = false;                // a read failed (failbit); nothing more is read
    bool framingIsBlank = false;        // SOH, ETX and RS count as whitespace
    std::uint64_t limit = noScanLimit;  // bytes from here on are read as if the file ended
};

/// Reads the open file `descriptor` from its start, resetting the read state; the
/// descriptor stays open and may be read by other scans at once. An invalid descriptor
/// (-1) leaves `scan` failed, so that every read fails, as on a stream. Byte offsets are
/// file positions on every platform, so scanSeek can move straight to one; line ends
/// arrive as written (a CR is whitespace).
bool openScanFile(ScanFile& scan, int descriptor, std::size_t blockSize = scanBlockSize);

/// Reads `stream` (standard input, a pipe) in order as it comes, from where it stands,
/// resetting the read state; nothing of it can be read twice, so scanSeek and
/// openScanAgain refuse it.
void openScanStream(ScanFile& scan, std::FILE* stream, std::size_t blockSize = scanBlockSize);

/// Reads `text` instead of a file (it must outlive the reading), taking it `blockSize`
/// bytes at a time as a file would be.
void openScanText(ScanFile& scan, std::string_view text, std::size_t blockSize = scanBlockSize);

/// Opens `scan` on the source of `source` (the same open file, or the same text) at
/// `offset` bytes from its start, where a word remembered by its offset begins.
bool openScanAgain(ScanFile& scan, const ScanFile& source, std::uint64_t offset);

/// The guidance feed's framing characters: SOH and ETX around a product, RS before each
/// station. They never reach a bulletin file.
inline constexpr char startOfHeading = '\x01';
inline constexpr char endOfText = '\x03';
inline constexpr char recordSeparator = '\x1e';
inline constexpr std::array<char, 3> framingCharacters = {startOfHeading, endOfText,
                                                          recordSeparator};

/// Makes the guidance feed's framing characters (SOH, ETX, RS) whitespace
/// for every later read of `scan`, as they are in a bulletin file.
void treatFramingAsBlank(ScanFile& scan);

/// True when `c` is whitespace for `scan`.
bool scanIsBlank(const ScanFile& scan, char c);

/// Moves straight to `offset` bytes from the start of the source and reads from there as
/// if the source ended at `limit` (noScanLimit: at its end), with a fresh read state.
/// False when the source cannot be positioned there.
bool scanSeek(ScanFile& scan, std::uint64_t offset, std::uint64_t limit = noScanLimit);

/// Reads the rest of the current line, up to and including its line feed or the end, and
/// keeps its first `keep` bytes (without the line feed) in `line`. False when nothing was
/// left to read.
bool scanLine(ScanFile& scan, std::string& line, std::size_t keep);

/// Reads the current line as scanLine does, but stops once `keep` bytes are kept: the rest
/// of a longer line is left unread, for a reader that refuses such a line at once.
bool scanLineHead(ScanFile& scan, std::string& line, std::size_t keep);

/// Reads the next line like scanLine, handing at most `longest` bytes of it in `line`
/// (valid until the next read of `scan` or change of `storage`, which keeps a line that
/// straddles two blocks); `cut` tells that the line ran on past them (the rest is
/// consumed all the same). Line ends arrive as written: a CR before the LF stays.
bool scanBoundedLine(ScanFile& scan, std::string& storage, std::string_view& line,
                     std::size_t longest, bool& cut);

/// False when reading the source failed before its end (an error, not its end, stopped
/// a stream); true for a file or a text, whose reads end only at their end.
bool scanReadWhole(const ScanFile& scan);

/// What a search may note on its way: the start of the first line whose first word is one
/// of `words` (a line starting where the search starts counts only from its next line).
/// `found` is a lower bound: where the buffer cannot show a whole first word, the line's
/// start is noted all the same.
struct LineWatch {
    std::span<const std::string_view> words;
    std::uint64_t found = noScanLimit;
    std::uint64_t pending = noScanLimit;  // a line whose first word the next block shows
};

/// What a search may also note on its way: where each of `words` first stands as a whole
/// word before the word that ends the search, as a search for that word from the same
/// start would find it; `found[i]` stays noScanLimit while words[i] is not met.
struct WordWatch {
    std::span<const std::string_view> words;
    std::span<std::uint64_t> found;
};

/// Ends the reading (the descriptor is its owner's to close); the buffer stays for the
/// next opening.
void closeScanFile(ScanFile& scan);

/// How many bytes have been consumed: the position a stream would give.
std::uint64_t scanOffset(const ScanFile& scan);

/// True when neither the end of the file has been met nor a read has failed.
inline bool scanGood(const ScanFile& scan) {
    return !scan.atEnd && !scan.failed;
}

/// Reads the next word like `in >> word`: skips whitespace, stops before the next
/// whitespace character, meets the end of the file when the word runs up to it, and
/// fails (returning false, `word` untouched) when no word is left. Keeps the first
/// keptWordLength characters and consumes the rest.
bool scanWord(ScanFile& scan, std::string& word);

/// Reads the next word of `scan` and the next word of `other` and says whether they are
/// equal, byte for byte at any length, keeping neither whole. Both words are consumed.
bool scanWordsEqual(ScanFile& scan, ScanFile& other);

/// Reads the next non-blank character like `in >> c`; false (and `c` untouched) when the
/// file ends first.
bool scanChar(ScanFile& scan, char& c);

/// Reads words until one equals `target` exactly (whole word, case-sensitive; at most
/// maxSearchedWordLength characters) and returns true. Returns false at the end of the file,
/// in a failed state, or when `stopWord` (if not empty) is read first; the word that
/// ended the search has been consumed. Searches whole blocks at a time.
bool skipPastWord(ScanFile& scan, std::string_view target, std::string_view stopWord = {},
                  LineWatch* watch = nullptr, WordWatch* words = nullptr);

// What the number readers build on: whitespace skipping and byte access.

/// Skips whitespace as extraction does before every item: false (and the end of the file
/// met and the state failed) when nothing but whitespace is left, or when already failed
/// or at the end.
bool scanSkipBlanks(ScanFile& scan);

/// Moves the next bytes of the file into the buffer once the buffer has been read up;
/// false at the end of the file.
bool scanRefill(ScanFile& scan);

/// The next byte without consuming it, or -1 at the end of the file.
inline int scanPeek(ScanFile& scan) {
    if (scan.next == scan.end && !scanRefill(scan)) {
        return -1;
    }
    return static_cast<unsigned char>(scan.buffer[scan.next]);
}
