#include "blend/bulletin_check.h"

#include <cstdint>

#include "scan/scan_file.h"

namespace {

struct BulletinGroupRule {
    std::string_view name;
    std::string_view model;
    std::string_view otherModel;  // the newer name of the same model
    std::string_view run;
};

constexpr std::array<BulletinGroupRule, 3> groupRules = {{
    {"ETA", "ETA", "NAM", "1200"},
    {"AVN", "AVN", "GFS", "1200"},
    {"MRF", "MRF", "GFSX", "0000"},
}};

const BulletinGroupRule& ruleOf(int bulletin) {
    return groupRules[static_cast<std::size_t>(bulletin / 4)];
}

std::string_view stationOf(int bulletin) {
    return StationIds[static_cast<std::size_t>(bulletin % 4)];
}

// The kept part of the word that starts after `offset` bytes of the file.
std::string wordAt(const ScanFile& source, std::uint64_t offset) {
    ScanFile again;
    std::string word;
    if (openScanAgain(again, source, offset)) {
        scanWord(again, word);
    }
    closeScanFile(again);
    return word;
}

// Reads the six header words of `bulletin` (its station just read, or for bulletin 0 read
// here) and tests them. Bulletin 1's date, at `referenceDate` bytes, is compared whole
// with each later date by reading it again, so dates of any length compare exactly.
bool headerMatches(ScanFile& in, int bulletin, std::uint64_t& referenceDate,
                   BulletinVerdict& verdict) {
    BulletinHeader& header = verdict.header;
    header.station = stationOf(bulletin);
    header.wordsRead = 1;
    std::uint64_t dateOffset = 0;
    const auto readHeaderWord = [&](std::string& word) {
        if (!scanWord(in, word)) {
            return false;
        }
        ++header.wordsRead;
        return true;
    };
    bool sameDate = true;
    const auto readDate = [&] {
        dateOffset = scanOffset(in);
        if (bulletin == 0) {
            referenceDate = dateOffset;
            return readHeaderWord(header.date);
        }
        ScanFile reference;
        openScanAgain(reference, in, referenceDate);
        const bool read = scanSkipBlanks(in);
        sameDate = read && scanWordsEqual(in, reference);
        closeScanFile(reference);
        header.date = wordAt(in, dateOffset);
        header.wordsRead += read ? 1 : 0;
        return read;
    };
    if (!readHeaderWord(header.model) || !readHeaderWord(header.unexamined[0]) ||
        !readHeaderWord(header.unexamined[1]) || !readDate() || !readHeaderWord(header.run)) {
        verdict.fault = BulletinFault::cutShort;
        return false;
    }
    const BulletinGroupRule& rule = ruleOf(bulletin);
    if ((header.model != rule.model && header.model != rule.otherModel) || header.run != rule.run) {
        verdict.fault = BulletinFault::wrongHeader;
        return false;
    }
    if (!sameDate) {
        verdict.fault = BulletinFault::otherDate;
        verdict.referenceDate = wordAt(in, referenceDate);
        return false;
    }
    return true;
}

bool checkBulletins(ScanFile& in, BulletinVerdict& verdict) {
    std::uint64_t referenceDate = 0;
    if (!findBulletinStation(in, 0, &verdict.header.station)) {
        verdict.fault = BulletinFault::wrongFirstWord;
        return false;
    }
    if (!headerMatches(in, 0, referenceDate, verdict)) {
        return false;
    }
    for (int bulletin = 1; bulletin < bulletinCount; ++bulletin) {
        verdict.bulletin = bulletin;
        verdict.header = BulletinHeader{};
        if (!findBulletinStation(in, bulletin)) {
            verdict.fault = BulletinFault::notFound;
            return false;
        }
        if (!headerMatches(in, bulletin, referenceDate, verdict)) {
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
    const std::string* const words[6] = {&header.station,       &header.model,
                                         &header.unexamined[0], &header.unexamined[1],
                                         &header.date,          &header.run};
    std::string text;
    for (int word = 0; word < header.wordsRead && word < 6; ++word) {
        text += (word > 0 ? " " : "") + cutWord(*words[word], cut);
    }
    return text;
}

// "ETA or NAM 1200 UTC": the models a bulletin may come from, and its run.
std::string groupText(int bulletin) {
    const BulletinGroupRule& rule = ruleOf(bulletin);
    return std::string(rule.model) + " or " + std::string(rule.otherModel) + " " +
           std::string(rule.run) + " UTC";
}

}  // namespace

std::string_view bulletinGroup(int bulletin) {
    return ruleOf(bulletin).name;
}

std::string_view nextStationId(int bulletin) {
    if (bulletin + 1 >= bulletinCount) {
        return {};
    }
    return StationIds[static_cast<std::size_t>((bulletin + 1) % 4)];
}

bool findBulletinStation(ScanFile& in, int bulletin, std::string* firstWord) {
    if (bulletin == 0) {
        std::string word;
        std::string& read = firstWord != nullptr ? *firstWord : word;
        return scanWord(in, read) && read == StationIds[0];
    }
    // The first word equal to the station after the previous header. Reaching the end of the
    // file, even with the very word that matches, leaves no bulletin behind it.
    return skipPastWord(in, stationOf(bulletin)) && !in.atEnd;
}

bool checkBulletinFile(const DataFile& data, BulletinVerdict& verdict) {
    verdict = BulletinVerdict{};
    ScanFile bulletins;
    openScanFile(bulletins, data.descriptor);
    const bool valid = checkBulletins(bulletins, verdict);
    closeScanFile(bulletins);
    return valid;
}

bool checkBulletinFile(const DataFile& data) {
    BulletinVerdict verdict;
    return checkBulletinFile(data, verdict);
}

std::string explainVerdict(const BulletinVerdict& verdict) {
    const std::string number = std::to_string(verdict.bulletin + 1);
    const std::string station(stationOf(verdict.bulletin));
    bool cut = false;
    std::string line;
    switch (verdict.fault) {
        case BulletinFault::none:
            return {};
        case BulletinFault::wrongFirstWord:
            line =
                "Bulletin 1 should start the file with " + station +
                (verdict.header.station.empty() ? ", but the file holds no words."
                                                : ", but the file starts with \"" +
                                                      cutWord(verdict.header.station, cut) + "\".");
            break;
        case BulletinFault::notFound:
            line = "Bulletin " + number + " (" + station + ", " + groupText(verdict.bulletin) +
                   ") was not found before the end of the file.";
            break;
        case BulletinFault::cutShort:
            line = "Bulletin " + number + " (" + station + ", " + groupText(verdict.bulletin) +
                   ") is cut short: the file ends in its header \"" +
                   headerText(verdict.header, cut) + "\".";
            break;
        case BulletinFault::wrongHeader:
            line = "Bulletin " + number + " should be the " + groupText(verdict.bulletin) +
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
    return line;
}
