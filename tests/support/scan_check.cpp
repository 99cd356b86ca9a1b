#include "scan_check.h"

#include <bit>
#include <cstdint>
#include <locale>
#include <sstream>

#include "scan/scan_number.h"

namespace {

// What one read gave, in a form both sides can be compared and shown in.
struct ReadResult {
    bool ok = false;
    std::string value;
    std::uint64_t offset = 0;
    bool atEnd = false;
    bool failed = false;

    bool operator==(const ReadResult&) const = default;
};

// The words a search reads one by one, exactly as the readers once did on a stream.
bool streamSkipPast(std::istream& in, std::string_view target, std::string_view stopWord) {
    std::string word;
    while (in >> word) {
        if (word == target) {
            return true;
        }
        if (!stopWord.empty() && word == stopWord) {
            return false;
        }
    }
    return false;
}

std::string bitsOf(double value) {
    std::ostringstream text;
    text.precision(17);
    text << value << " (" << std::hex << std::bit_cast<std::uint64_t>(value) << ")";
    return text.str();
}

ReadResult readScan(ScanFile& scan, const ScanRead& read) {
    ReadResult result;
    switch (read.kind) {
        case ScanReadKind::word: {
            std::string word = "untouched";
            result.ok = scanWord(scan, word);
            result.value = word;
            break;
        }
        case ScanReadKind::wordIs:
            result.ok = scanWordIs(scan, read.target);
            break;
        case ScanReadKind::character: {
            char c = '?';
            result.ok = scanChar(scan, c);
            result.value = std::string(1, c);
            break;
        }
        case ScanReadKind::integer: {
            std::int32_t value = 12345;
            result.ok = scanInteger(scan, value);
            result.value = std::to_string(value);
            break;
        }
        case ScanReadKind::decimal: {
            double value = -7.25;
            result.ok = scanDouble(scan, value);
            result.value = bitsOf(value);
            break;
        }
        case ScanReadKind::skipPast:
            result.ok = skipPastWord(scan, read.target, read.stopWord);
            break;
    }
    result.offset = scanOffset(scan);
    result.atEnd = scan.atEnd;
    result.failed = scan.failed;
    return result;
}

ReadResult readStream(std::istream& in, const ScanRead& read) {
    ReadResult result;
    switch (read.kind) {
        case ScanReadKind::word: {
            std::string word = "untouched";
            result.ok = static_cast<bool>(in >> word);
            // The layer keeps a bounded part of a long word.
            result.value = word.substr(0, keptWordLength);
            break;
        }
        case ScanReadKind::wordIs: {
            std::string word;
            result.ok = in >> word && word == read.target;
            break;
        }
        case ScanReadKind::character: {
            char c = '?';
            result.ok = static_cast<bool>(in >> c);
            result.value = std::string(1, c);
            break;
        }
        case ScanReadKind::integer: {
            std::int32_t value = 12345;
            result.ok = static_cast<bool>(in >> value);
            result.value = std::to_string(value);
            break;
        }
        case ScanReadKind::decimal: {
            double value = -7.25;
            result.ok = static_cast<bool>(in >> value);
            result.value = bitsOf(value);
            break;
        }
        case ScanReadKind::skipPast:
            result.ok = streamSkipPast(in, read.target, read.stopWord);
            break;
    }
    // The buffer's position is there even in a failed stream, where tellg gives none.
    result.offset =
        static_cast<std::uint64_t>(in.rdbuf()->pubseekoff(0, std::ios::cur, std::ios::in));
    result.atEnd = in.eof();
    result.failed = in.fail();
    return result;
}

std::string describe(const ReadResult& result) {
    std::ostringstream text;
    text << (result.ok ? "read" : "not read") << ", value \"" << result.value.substr(0, 40)
         << (result.value.size() > 40 ? "...\"" : "\"") << ", offset " << result.offset
         << (result.atEnd ? ", at end" : "") << (result.failed ? ", failed" : "");
    return text.str();
}

constexpr const char* kindNames[] = {"word",    "wordIs",  "character",
                                     "integer", "decimal", "skipPast"};

}  // namespace

bool scanWordIs(ScanFile& scan, std::string_view word) {
    if (!scanSkipBlanks(scan)) {
        return false;
    }
    std::size_t length = 0;
    bool same = true;
    for (int c = scanPeek(scan);
         c != -1 && !std::isspace(static_cast<char>(c), std::locale::classic());
         c = scanPeek(scan)) {
        same = same && length < word.size() && word[length] == static_cast<char>(c);
        ++length;
        ++scan.next;
    }
    // As extraction: a word that runs up to the end of the file meets it.
    scan.atEnd = scan.atEnd || scanPeek(scan) == -1;
    return same && length == word.size();
}

std::string firstDifference(ScanFile& scan, std::istream& in, std::span<const ScanRead> reads) {
    for (std::size_t i = 0; i < reads.size(); ++i) {
        const ReadResult layer = readScan(scan, reads[i]);
        const ReadResult stream = readStream(in, reads[i]);
        if (!(layer == stream)) {
            std::ostringstream text;
            text << "read " << i + 1 << " (" << kindNames[static_cast<int>(reads[i].kind)] << " "
                 << reads[i].target << "): layer " << describe(layer) << "; stream "
                 << describe(stream);
            return text.str();
        }
    }
    return {};
}
