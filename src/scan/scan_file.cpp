#include "scan/scan_file.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <string>

#include "io/platform.h"

namespace {

// Room kept in front of every block: a word that may straddle two blocks stays whole.
constexpr std::size_t carryRoom = 2 * keptWordLength;

// The six whitespace characters of the classic locale; every other byte belongs to a word.
constexpr std::array<bool, 256> blankBytes = [] {
    std::array<bool, 256> blank{};
    for (const char c : {' ', '\t', '\n', '\v', '\f', '\r'}) {
        blank[static_cast<unsigned char>(c)] = true;
    }
    return blank;
}();

// The same with the guidance feed's framing: SOH and ETX around a product, RS before
// each station.
constexpr std::array<bool, 256> framedBlankBytes = [] {
    std::array<bool, 256> blank = blankBytes;
    for (const char c : framingCharacters) {
        blank[static_cast<unsigned char>(c)] = true;
    }
    return blank;
}();

bool isBlank(const ScanFile& scan, char c) {
    return (scan.framingIsBlank ? framedBlankBytes : blankBytes)[static_cast<unsigned char>(c)];
}

void resetState(ScanFile& scan, std::size_t blockSize) {
    scan.blockSize = std::max<std::size_t>(blockSize, 1);
    scan.buffer.resize(scan.blockSize + carryRoom);
    scan.textTaken = 0;
    scan.fileTaken = 0;
    scan.next = 0;
    scan.end = 0;
    scan.bufferStart = 0;
    scan.sourceEnded = false;
    scan.atEnd = false;
    scan.failed = false;
    scan.framingIsBlank = false;
    scan.limit = noScanLimit;
}

// Moves the bytes from `keepFrom` on to the front of the buffer and appends the next
// block of the source. False when the source had nothing more.
bool readMore(ScanFile& scan, std::size_t keepFrom) {
    if (scan.sourceEnded) {
        return false;
    }
    char* data = scan.buffer.data();
    const std::size_t kept = scan.end - keepFrom;
    if (keepFrom > 0) {
        std::memmove(data, data + keepFrom, kept);
        scan.bufferStart += keepFrom;
        scan.next -= keepFrom;
        scan.end = kept;
    }
    std::size_t got = 0;
    // Nothing at or beyond the limit is read: there the source ends for this reading.
    const std::uint64_t read = scan.bufferStart + scan.end;
    const std::size_t wanted =
        read >= scan.limit
            ? 0
            : static_cast<std::size_t>(std::min<std::uint64_t>(scan.blockSize, scan.limit - read));
    if (scan.stream != nullptr) {
        // fread comes back short only at the end of the stream or on an error.
        got = wanted == 0 ? 0 : std::fread(data + scan.end, 1, wanted, scan.stream);
        scan.fileTaken += got;
        scan.sourceEnded = got < scan.blockSize;
    } else if (scan.descriptor >= 0) {
        got =
            wanted == 0 ? 0 : readFileAt(scan.descriptor, data + scan.end, wanted, scan.fileTaken);
        scan.fileTaken += got;
        // A plain file gives a short read only at its end (or on an error, which ends the
        // reading just the same).
        scan.sourceEnded = got < scan.blockSize;
    } else {
        got = std::min(wanted, scan.text.size() - scan.textTaken);
        std::memcpy(data + scan.end, scan.text.data() + scan.textTaken, got);
        scan.textTaken += got;
        scan.sourceEnded = scan.textTaken == scan.text.size() || got < scan.blockSize;
    }
    scan.end += got;
    return got > 0;
}

// How many bytes of the current word follow in the buffer (0 when it has ended); meets
// the end of the file when the word runs up to it.
std::size_t wordBytesAvailable(ScanFile& scan) {
    if (scan.next == scan.end && !scanRefill(scan)) {
        scan.atEnd = true;
        return 0;
    }
    const char* data = scan.buffer.data();
    std::size_t i = scan.next;
    while (i < scan.end && !isBlank(scan, data[i])) {
        ++i;
    }
    return i - scan.next;
}

// Consumes the rest of the current word.
void skipRestOfWord(ScanFile& scan) {
    while (const std::size_t run = wordBytesAvailable(scan)) {
        scan.next += run;
    }
}

// The byte of `word` that occurs least often in the next stretch of the buffer: the one
// to search for, so that a byte common in the file (an F in a file full of FOG and FROST,
// or one word of a million F) does not stop the search at every turn.
std::size_t rarestByte(const char* data, std::size_t size, std::string_view word) {
    std::array<std::uint32_t, 256> counts{};
    for (std::size_t i = 0; i < std::min<std::size_t>(size, 2048); ++i) {
        ++counts[static_cast<unsigned char>(data[i])];
    }
    std::size_t rarest = 0;
    for (std::size_t i = 1; i < word.size(); ++i) {
        if (counts[static_cast<unsigned char>(word[i])] <
            counts[static_cast<unsigned char>(word[rarest])]) {
            rarest = i;
        }
    }
    return rarest;
}

// The first place in [from, limit) where `word` stands as a whole word, or `limit`: after
// whitespace or at `start` (where the search began, whatever precedes it), and followed
// by whitespace or by the end of the file. Every byte up to limit + word.size() is in the
// buffer. Candidates come from memchr over the block for the word's rarest byte.
std::size_t findWholeWord(const ScanFile& scan, std::size_t from, std::size_t limit,
                          std::uint64_t start, std::string_view word) {
    const char* data = scan.buffer.data();
    const std::size_t length = word.size();
    const std::size_t anchor = rarestByte(data + from, limit - from, word);
    // Only bytes in the buffer are searched: near the end of the file a candidate may
    // start before `limit` and still run past the last byte.
    const std::size_t anchorLimit = std::min(limit + anchor, scan.end);
    std::size_t at = from;
    while (at + anchor < anchorLimit) {
        const void* found =
            std::memchr(data + at + anchor, word[anchor], anchorLimit - (at + anchor));
        if (found == nullptr) {
            return limit;
        }
        const std::size_t candidate =
            static_cast<std::size_t>(static_cast<const char*>(found) - data) - anchor;
        if (scan.bufferStart + candidate != start &&
            (candidate == 0 || !isBlank(scan, data[candidate - 1]))) {
            // Inside a word: the next word starts after the next whitespace.
            at = candidate + 1;
            while (at < limit && !isBlank(scan, data[at])) {
                ++at;
            }
            continue;
        }
        std::size_t same = 0;
        while (same < length && candidate + same < scan.end &&
               data[candidate + same] == word[same]) {
            ++same;
        }
        if (same == length &&
            (candidate + length == scan.end || isBlank(scan, data[candidate + length]))) {
            return candidate;
        }
        at = candidate + 1;
    }
    return limit;
}

// Tells whether the line starting at `lineStart` begins with a watched word and notes it;
// false when the buffer ends inside its first word, and more of the file is to come.
bool watchLine(const ScanFile& scan, std::size_t lineStart, LineWatch& watch) {
    const char* data = scan.buffer.data();
    std::size_t word = lineStart;
    while (word < scan.end && data[word] != '\n' && isBlank(scan, data[word])) {
        ++word;
    }
    // Only as many bytes as the longest watched word and one more are looked at.
    for (const std::string_view wanted : watch.words) {
        const std::size_t after = word + wanted.size();
        if (after >= scan.end) {
            if (!scan.sourceEnded) {
                return false;
            }
            if (after > scan.end) {
                continue;
            }
        }
        if (data[word] == wanted[0] &&
            std::memcmp(data + word, wanted.data(), wanted.size()) == 0 &&
            (after == scan.end || isBlank(scan, data[after]))) {
            watch.found = scan.bufferStart + lineStart;
            return true;
        }
    }
    return true;
}

// Notes in `watch` the first line starting after a line feed in [from, to) whose first word
// is one of the watched words. A line whose first word runs past the buffer is left
// pending, kept in the buffer for the next block when it fits there, else noted as it is:
// the note only has to come no later than the first such line.
void watchLines(const ScanFile& scan, std::size_t from, std::size_t to, LineWatch& watch) {
    const char* data = scan.buffer.data();
    std::size_t at = from;
    // A pending line is judged first, and waits again while it still runs past the buffer.
    std::size_t lineStart = from;
    bool judging = watch.pending != noScanLimit;
    if (judging) {
        lineStart = static_cast<std::size_t>(watch.pending - scan.bufferStart);
        watch.pending = noScanLimit;
    }
    while (watch.found == noScanLimit) {
        if (judging) {
            at = lineStart;
            if (!watchLine(scan, lineStart, watch)) {
                if (scan.end - lineStart < carryRoom) {
                    watch.pending = scan.bufferStart + lineStart;
                } else {
                    watch.found = scan.bufferStart + lineStart;
                }
                return;
            }
        }
        if (at >= to) {
            return;
        }
        const void* feed = std::memchr(data + at, '\n', to - at);
        if (feed == nullptr) {
            return;
        }
        lineStart = static_cast<std::size_t>(static_cast<const char*>(feed) - data) + 1;
        judging = true;
    }
}

// Notes in `watch` the first whole-word place in [from, to) of each word not yet met.
void watchWords(const ScanFile& scan, std::size_t from, std::size_t to, std::uint64_t start,
                WordWatch& watch) {
    for (std::size_t i = 0; i < watch.words.size(); ++i) {
        if (watch.found[i] != noScanLimit) {
            continue;
        }
        const std::size_t at = findWholeWord(scan, from, to, start, watch.words[i]);
        if (at < to) {
            watch.found[i] = scan.bufferStart + at;
        }
    }
}

}  // namespace

void treatFramingAsBlank(ScanFile& scan) {
    scan.framingIsBlank = true;
}

bool scanIsBlank(const ScanFile& scan, char c) {
    return isBlank(scan, c);
}

bool scanSeek(ScanFile& scan, std::uint64_t offset, std::uint64_t limit) {
    if (scan.stream != nullptr) {
        return false;
    }
    if (scan.descriptor >= 0) {
        // Read by position: the next block starts at the offset, nothing before it is read.
        scan.fileTaken = offset;
    } else {
        scan.textTaken =
            static_cast<std::size_t>(std::min<std::uint64_t>(offset, scan.text.size()));
    }
    scan.bufferStart = offset;
    scan.next = 0;
    scan.end = 0;
    scan.limit = limit;
    scan.sourceEnded = offset >= limit;
    scan.atEnd = false;
    scan.failed = false;
    return true;
}

namespace {

// Reads the current line into `line`, at most `keep` bytes of it; `wholeLine` reads on to
// its line feed however long it is, else the read stops once `keep` bytes are kept.
bool readLine(ScanFile& scan, std::string& line, std::size_t keep, bool wholeLine) {
    line.clear();
    if (scan.failed || (scan.next == scan.end && !scanRefill(scan))) {
        scan.atEnd = true;
        return false;
    }
    for (;;) {
        const char* data = scan.buffer.data() + scan.next;
        const std::size_t available = scan.end - scan.next;
        const void* feed = std::memchr(data, '\n', available);
        const std::size_t run =
            feed == nullptr ? available
                            : static_cast<std::size_t>(static_cast<const char*>(feed) - data);
        const std::size_t taken = std::min(run, keep - line.size());
        line.append(data, taken);
        if (!wholeLine && taken < run) {
            scan.next += taken;
            return true;
        }
        scan.next += run;
        if (feed != nullptr) {
            ++scan.next;
            return true;
        }
        if (!scanRefill(scan)) {
            scan.atEnd = true;
            return true;
        }
    }
}

}  // namespace

bool scanLine(ScanFile& scan, std::string& line, std::size_t keep) {
    return readLine(scan, line, keep, true);
}

bool scanLineHead(ScanFile& scan, std::string& line, std::size_t keep) {
    return readLine(scan, line, keep, false);
}

bool scanBoundedLine(ScanFile& scan, std::string& storage, std::string_view& line,
                     std::size_t longest, bool& cut) {
    // Most lines lie whole in the buffer: handed where they stand, without a copy.
    if (!scan.failed && scan.next < scan.end) {
        const char* data = scan.buffer.data() + scan.next;
        const void* feed = std::memchr(data, '\n', scan.end - scan.next);
        if (feed != nullptr) {
            const auto run = static_cast<std::size_t>(static_cast<const char*>(feed) - data);
            cut = run > longest;
            line = std::string_view(data, cut ? longest : run);
            scan.next += run + 1;
            return true;
        }
    }
    // One byte more than kept tells a line that runs on from one that just fits.
    const bool read = scanLine(scan, storage, longest + 1);
    cut = storage.size() > longest;
    if (cut) {
        storage.resize(longest);
    }
    line = storage;
    return read;
}

bool scanReadWhole(const ScanFile& scan) {
    return scan.stream == nullptr || std::ferror(scan.stream) == 0;
}

void openScanStream(ScanFile& scan, std::FILE* stream, std::size_t blockSize) {
    closeScanFile(scan);
    resetState(scan, blockSize);
    scan.stream = stream;
}

bool openScanFile(ScanFile& scan, int descriptor, std::size_t blockSize) {
    closeScanFile(scan);
    resetState(scan, blockSize);
    scan.descriptor = descriptor;
    if (descriptor < 0) {
        scan.sourceEnded = true;
        scan.failed = true;
        return false;
    }
    return true;
}

void openScanText(ScanFile& scan, std::string_view text, std::size_t blockSize) {
    closeScanFile(scan);
    resetState(scan, blockSize);
    scan.text = text;
}

bool openScanAgain(ScanFile& scan, const ScanFile& source, std::uint64_t offset) {
    if (source.stream != nullptr) {
        return false;
    }
    if (source.descriptor >= 0) {
        openScanFile(scan, source.descriptor, source.blockSize);
        scan.fileTaken = offset;
    } else {
        openScanText(scan, source.text, source.blockSize);
        if (offset > scan.text.size()) {
            return false;
        }
        scan.textTaken = static_cast<std::size_t>(offset);
    }
    scan.framingIsBlank = source.framingIsBlank;
    // Straight to the remembered place, as a seek: nothing before it is read again.
    scan.bufferStart = offset;
    return true;
}

void closeScanFile(ScanFile& scan) {
    scan.descriptor = -1;
    scan.stream = nullptr;
    scan.text = {};
    scan.next = 0;
    scan.end = 0;
    scan.sourceEnded = true;
}

std::uint64_t scanOffset(const ScanFile& scan) {
    return scan.bufferStart + scan.next;
}

bool scanRefill(ScanFile& scan) {
    return readMore(scan, scan.end);
}

bool scanSkipBlanks(ScanFile& scan) {
    if (!scanGood(scan)) {
        scan.failed = true;
        return false;
    }
    for (;;) {
        const char* data = scan.buffer.data();
        while (scan.next < scan.end && isBlank(scan, data[scan.next])) {
            ++scan.next;
        }
        if (scan.next < scan.end) {
            return true;
        }
        if (!scanRefill(scan)) {
            scan.atEnd = true;
            scan.failed = true;
            return false;
        }
    }
}

bool scanWord(ScanFile& scan, std::string& word) {
    if (!scanSkipBlanks(scan)) {
        return false;
    }
    word.clear();
    while (const std::size_t run = wordBytesAvailable(scan)) {
        const std::size_t room = keptWordLength - word.size();
        word.append(scan.buffer.data() + scan.next, std::min(run, room));
        scan.next += run;
    }
    return true;
}

bool scanWordsEqual(ScanFile& scan, ScanFile& other) {
    const bool scanHasWord = scanSkipBlanks(scan);
    const bool otherHasWord = scanSkipBlanks(other);
    if (!scanHasWord || !otherHasWord) {
        if (scanHasWord) {
            skipRestOfWord(scan);
        }
        if (otherHasWord) {
            skipRestOfWord(other);
        }
        return false;
    }
    bool same = true;
    for (;;) {
        const std::size_t run = wordBytesAvailable(scan);
        const std::size_t otherRun = wordBytesAvailable(other);
        if (run == 0 || otherRun == 0) {
            same = same && run == otherRun;
            skipRestOfWord(scan);
            skipRestOfWord(other);
            return same;
        }
        const std::size_t step = std::min(run, otherRun);
        same = same && std::memcmp(scan.buffer.data() + scan.next, other.buffer.data() + other.next,
                                   step) == 0;
        scan.next += step;
        other.next += step;
    }
}

bool scanChar(ScanFile& scan, char& c) {
    if (!scanSkipBlanks(scan)) {
        return false;
    }
    c = scan.buffer[scan.next++];
    return true;
}

bool skipPastWord(ScanFile& scan, std::string_view target, std::string_view stopWord,
                  LineWatch* watch, WordWatch* words) {
    if (!scanGood(scan)) {
        scan.failed = true;
        return false;
    }
    // The first word starts where the search starts, whatever stands before it.
    const std::uint64_t start = scanOffset(scan);
    std::size_t longest = std::max(target.size(), stopWord.size());
    if (words != nullptr) {
        for (const std::string_view word : words->words) {
            longest = std::max(longest, word.size());
        }
    }
    std::size_t from = scan.next;
    for (;;) {
        // Words starting before `settled` are whole in the buffer with the byte after them.
        std::size_t settled = scan.end;
        if (!scan.sourceEnded) {
            settled = std::max(from, scan.end - std::min(scan.end, longest));
        }
        const std::size_t hit = findWholeWord(scan, from, settled, start, target);
        // The stop word matters only where it comes before the target.
        const std::size_t stop =
            stopWord.empty() ? hit : findWholeWord(scan, from, hit, start, stopWord);
        if (watch != nullptr) {
            watchLines(scan, from, std::min(hit, stop), *watch);
        }
        if (words != nullptr) {
            watchWords(scan, from, std::min(hit, stop), start, *words);
        }
        if (stop < hit) {
            scan.next = stop + stopWord.size();
            scan.atEnd = scan.next == scan.end && scan.sourceEnded;
            return false;
        }
        if (hit < settled) {
            scan.next = hit + target.size();
            scan.atEnd = scan.next == scan.end && scan.sourceEnded;
            return true;
        }
        if (scan.sourceEnded) {
            scan.next = scan.end;
            scan.atEnd = true;
            scan.failed = true;
            return false;
        }
        // One byte before `settled` tells whether a word starts there; a line the watch
        // could not yet judge stays in the buffer too.
        scan.next = settled;
        std::size_t keepFrom = settled > 0 ? settled - 1 : 0;
        if (watch != nullptr && watch->pending != noScanLimit) {
            keepFrom =
                std::min(keepFrom, static_cast<std::size_t>(watch->pending - scan.bufferStart));
        }
        readMore(scan, keepFrom);
        from = scan.next;
    }
}
