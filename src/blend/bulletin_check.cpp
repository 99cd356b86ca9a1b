#include "blend/bulletin_check.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "scan/scan_file.h"

namespace {

// Opens `again` on the source of `source` at `offset` bytes.
bool openAt(ScanFile& again, const ScanFile& source, std::uint64_t offset) {
    return openScanAgain(again, source, 0) && scanSeek(again, offset);
}

// The kept part of the word that starts after `offset` bytes of the file.
std::string wordAt(const ScanFile& source, std::uint64_t offset) {
    ScanFile again;
    std::string word;
    if (openAt(again, source, offset)) {
        scanWord(again, word);
    }
    closeScanFile(again);
    return word;
}

// Reads the header words of a bulletin of `station` in `group` (its station just read)
// and tests them; a `later` bulletin is not the file's first. Bulletin 1's date, at `referenceDate`
// bytes, is compared whole with each later date by reading it again, so dates of any length compare
// exactly. A Blend header in the first group has a version word (not in the oldest products) and a
// product word that must be NBS.
bool headerMatches(ScanFile& in, std::string_view station, int group, bool later,
                   std::uint64_t& referenceDate, BulletinVerdict& verdict) {
    BulletinHeader& header = verdict.header;
    header.station = station;
    header.wordsRead = 1;
    const auto readHeaderWord = [&](std::string& word) {
        if (!scanWord(in, word)) {
            return false;
        }
        ++header.wordsRead;
        return true;
    };
    bool sameDate = true;
    std::uint64_t dateOffset = 0;
    bool dateRead = false;
    const auto readDate = [&] {
        dateOffset = scanOffset(in);
        // No reference yet (a date never stands at the start): this header's date is one.
        if (referenceDate == 0) {
            referenceDate = dateOffset;
            dateRead = readHeaderWord(header.date);
            return dateRead;
        }
        ScanFile reference;
        openAt(reference, in, referenceDate);
        dateRead = scanSkipBlanks(in);
        sameDate = dateRead && scanWordsEqual(in, reference);
        closeScanFile(reference);
        header.wordsRead += dateRead ? 1 : 0;
        return dateRead;
    };
    // A later date is kept only to be told: reading it again costs a reopening.
    const auto keepDate = [&] {
        if (later && dateRead) {
            header.date = wordAt(in, dateOffset);
        }
    };
    const GuidanceGroup& rule = guidanceGroups[static_cast<std::size_t>(group)];
    bool read = readHeaderWord(header.model);
    // An NBM header is read by its own words in any group, so that a refusal quotes it
    // whole, up to its run.
    if (read && header.model == blendModelWord) {
        read = readHeaderWord(header.unexamined[0]);
        if (read && header.unexamined[0] != blendProductWord) {
            header.version = header.unexamined[0];
            header.hasVersion = true;
            read = readHeaderWord(header.unexamined[0]);
        }
    } else if (read) {
        read = readHeaderWord(header.unexamined[0]);
    }
    if (!read || !readHeaderWord(header.unexamined[1]) || !readDate() ||
        !readHeaderWord(header.run)) {
        verdict.fault = BulletinFault::cutShort;
        keepDate();
        return false;
    }
    const bool modelFits =
        header.model == rule.olderModel || header.model == rule.newerModel ||
        (rule.standIn == GuidanceKind::blendShortRange && header.model == blendModelWord &&
         header.unexamined[0] == blendProductWord);
    if (!modelFits || header.run != rule.run) {
        verdict.fault = BulletinFault::wrongHeader;
        keepDate();
        return false;
    }
    if (!sameDate) {
        verdict.fault = BulletinFault::otherDate;
        keepDate();
        verdict.referenceDate = wordAt(in, referenceDate);
        return false;
    }
    return true;
}

// Reads on to the station word that opens `bulletin` (0 to 3N-1): bulletin 0's is the
// file's first word (kept in `firstWord`), a later one's the first word equal to its station.
bool findBulletinStation(ScanFile& in, int bulletin, const StationSet& set, std::string& firstWord,
                         LineWatch* watch, WordWatch* rows) {
    if (bulletin == 0) {
        return scanWord(in, firstWord) && firstWord == set.ids[0];
    }
    // Reaching the end of the file, even with the very word that matches, leaves no
    // bulletin behind it.
    return skipPastWord(in, bulletinStation(bulletin, set), {}, watch, rows) && !in.atEnd;
}

// Notes in `verdict` the bulletin the check has come to and what is due there.
void comeTo(BulletinVerdict& verdict, int bulletin, const StationSet& set) {
    verdict.bulletin = bulletin;
    verdict.station = bulletinStation(bulletin, set);
    verdict.group = bulletinGroupOf(bulletin, set.ids.size());
}

bool headerMatches(ScanFile& in, int bulletin, const StationSet& set, std::uint64_t& referenceDate,
                   BulletinVerdict& verdict) {
    return headerMatches(in, bulletinStation(bulletin, set),
                         bulletinGroupOf(bulletin, set.ids.size()), bulletin > 0, referenceDate,
                         verdict);
}

bool checkBulletins(ScanFile& in, const StationSet& set, BulletinVerdict& verdict,
                    BulletinFileBounds& bounds) {
    std::uint64_t referenceDate = 0;
    const int count = bulletinCountOf(set.ids.size());
    comeTo(verdict, 0, set);
    if (!findBulletinStation(in, 0, set, verdict.header.station, nullptr, nullptr)) {
        verdict.fault = BulletinFault::wrongFirstWord;
        return false;
    }
    if (!headerMatches(in, 0, set, referenceDate, verdict)) {
        return false;
    }
    for (int bulletin = 1; bulletin <= count; ++bulletin) {
        // The body just read: it starts after its header; the search for the next station
        // passes over it once and notes where an NBS body's first row line stands, or where
        // each row label of another body first stands, so that the readers go straight there.
        BulletinBounds& body = bounds[static_cast<std::size_t>(bulletin - 1)];
        body.bodyStart = scanOffset(in);
        body.rowsStart = body.bodyStart;
        body.blend = verdict.header.model == blendModelWord;
        if (bulletin == count) {
            verdict.referenceDate = wordAt(in, referenceDate);
            break;
        }
        LineWatch watch{blendRowLabels};
        comeTo(verdict, bulletin, set);
        verdict.header = BulletinHeader{};
        std::string station;
        WordWatch rows{mosRowLabels, body.rows};
        if (!findBulletinStation(in, bulletin, set, station, body.blend ? &watch : nullptr,
                                 body.blend ? nullptr : &rows)) {
            verdict.fault = BulletinFault::notFound;
            return false;
        }
        body.bodyEnd = scanOffset(in) - verdict.station.size();
        if (body.blend) {
            body.rowsStart = std::min({watch.found, watch.pending, body.bodyEnd});
        }
        if (!headerMatches(in, bulletin, set, referenceDate, verdict)) {
            return false;
        }
    }
    return true;
}

std::string cutWord(const std::string& word, bool& cut) {
    if (word.size() <= quotedWordLength) {
        return word;
    }
    cut = true;
    return word.substr(0, quotedWordLength) + "...";
}

std::string headerText(const BulletinHeader& header, bool& cut) {
    std::vector<const std::string*> words = {&header.station, &header.model};
    if (header.hasVersion) {
        words.push_back(&header.version);
    }
    words.insert(words.end(),
                 {&header.unexamined[0], &header.unexamined[1], &header.date, &header.run});
    std::string text;
    for (std::size_t word = 0;
         word < static_cast<std::size_t>(header.wordsRead) && word < words.size(); ++word) {
        text += (word > 0 ? " " : "") + cutWord(*words[word], cut);
    }
    return text;
}

// "ETA, NAM or NBS 1200 UTC": the models a bulletin of `group` may come from, and its run.
std::string groupText(int group) {
    return std::string(guidanceGroups[static_cast<std::size_t>(group)].checkName);
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool isCapital(char c) {
    return c >= 'A' && c <= 'Z';
}

bool isLetterOrDigit(char c) {
    return isDigit(c) || isCapital(c) || (c >= 'a' && c <= 'z');
}

template <typename Test>
bool allOf(std::string_view word, Test test) {
    return std::all_of(word.begin(), word.end(), test);
}

// What a file that starts with the wrong word most likely is: a product as the feed sends
// it (a sequence number such as "906", or a WMO heading such as "FOUS46" first), or the
// bulletins of other stations (a station id such as "KSUX").
std::string_view firstWordHint(std::string_view word) {
    const bool sequence = !word.empty() && word.size() <= 3 && allOf(word, isDigit);
    const bool heading =
        word.size() == 6 && allOf(word.substr(0, 4), isCapital) && allOf(word.substr(4), isDigit);
    if (sequence || heading) {
        return "It looks like a saved product: wxguide assemble picks option 1's bulletins out "
               "of it (see wxguide --help).";
    }
    if (word.size() == 4 && !isDigit(word[0]) && allOf(word, isLetterOrDigit)) {
        return "For another city's stations, give --stations (see wxguide --help).";
    }
    return {};
}

}  // namespace

std::string_view bulletinGroup(int bulletin, std::size_t stationCount) {
    return guidanceGroups[static_cast<std::size_t>(bulletinGroupOf(bulletin, stationCount))]
        .shortName;
}

bool openBulletinFile(ScanFile& in, const DataFile& data) {
    const bool opened = openScanFile(in, data.descriptor);
    treatFramingAsBlank(in);
    return opened;
}

bool checkBulletinFile(const DataFile& data, BulletinVerdict& verdict, BulletinFileBounds& bounds,
                       const StationSet& set) {
    verdict = BulletinVerdict{};
    bounds = BulletinFileBounds{};
    ScanFile bulletins;
    openBulletinFile(bulletins, data);
    const bool valid = checkBulletins(bulletins, set, verdict, bounds);
    closeScanFile(bulletins);
    return valid;
}

void openBulletinText(ScanFile& in, std::string_view text) {
    openScanText(in, text);
    treatFramingAsBlank(in);
}

bool checkBulletinText(std::string_view text, BulletinVerdict& verdict, BulletinFileBounds& bounds,
                       const StationSet& set) {
    verdict = BulletinVerdict{};
    bounds = BulletinFileBounds{};
    ScanFile bulletins;
    openBulletinText(bulletins, text);
    return checkBulletins(bulletins, set, verdict, bounds);
}

bool checkBulletinText(std::string_view text, BulletinVerdict& verdict, const StationSet& set) {
    BulletinFileBounds bounds;
    return checkBulletinText(text, verdict, bounds, set);
}

bool checkLoneBulletin(std::string_view text, int group, std::string_view next,
                       BulletinBounds& bounds) {
    bounds = BulletinBounds{};
    // A buffer the size of the one bulletin: this runs for every bulletin a product offers.
    ScanFile in;
    openScanText(in, text, std::max<std::size_t>(text.size(), 1));
    treatFramingAsBlank(in);
    std::string station;
    if (!scanWord(in, station)) {
        return false;
    }
    // Its header read as the first one of a file, its date the reference.
    std::uint64_t referenceDate = 0;
    BulletinVerdict verdict;
    if (!headerMatches(in, station, group, group > 0, referenceDate, verdict)) {
        return false;
    }
    bounds.bodyStart = scanOffset(in);
    bounds.rowsStart = bounds.bodyStart;
    bounds.blend = verdict.header.model == blendModelWord;
    if (next.empty()) {
        return true;
    }
    LineWatch watch{blendRowLabels};
    if (!skipPastWord(in, next, {}, bounds.blend ? &watch : nullptr)) {
        return false;
    }
    bounds.bodyEnd = scanOffset(in) - next.size();
    if (bounds.blend) {
        bounds.rowsStart = std::min({watch.found, watch.pending, bounds.bodyEnd});
    }
    return true;
}

bool checkBulletinFile(const DataFile& data) {
    BulletinVerdict verdict;
    BulletinFileBounds bounds;
    return checkBulletinFile(data, verdict, bounds);
}

std::string explainVerdict(const BulletinVerdict& verdict) {
    const std::string number = std::to_string(verdict.bulletin + 1);
    const std::string& station = verdict.station;
    bool cut = false;
    std::string line;
    std::string_view hint;
    switch (verdict.fault) {
        case BulletinFault::none:
            return {};
        case BulletinFault::wrongFirstWord:
            line =
                "Bulletin 1 should start the file with " + station +
                (verdict.header.station.empty() ? ", but the file holds no words."
                                                : ", but the file starts with \"" +
                                                      cutWord(verdict.header.station, cut) + "\".");
            hint = firstWordHint(verdict.header.station);
            break;
        case BulletinFault::notFound:
            line = "Bulletin " + number + " (" + station + ", " + groupText(verdict.group) +
                   ") was not found before the end of the file.";
            break;
        case BulletinFault::cutShort:
            line = "Bulletin " + number + " (" + station + ", " + groupText(verdict.group) +
                   ") is cut short: the file ends in its header \"" +
                   headerText(verdict.header, cut) + "\".";
            break;
        case BulletinFault::wrongHeader:
            line = "Bulletin " + number + " should be the " + groupText(verdict.group) +
                   " bulletin of " + station + ", but its header reads \"" +
                   headerText(verdict.header, cut) + "\".";
            break;
        case BulletinFault::otherDate: {
            const std::string date = cutWord(verdict.header.date, cut);
            line = "Bulletin " + number + " has the date \"" + date + "\", but bulletin 1 has \"" +
                   cutWord(verdict.referenceDate, cut) + "\".";
            break;
        }
    }
    if (cut) {
        line += " (Words longer than " + std::to_string(quotedWordLength) +
                " characters are cut short and end in \"...\".)";
    }
    if (!hint.empty()) {
        line += "\n" + std::string(hint);
    }
    return line;
}
