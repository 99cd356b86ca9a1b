#include "extract/bufkit_profile.h"

#include <cmath>
#include <string_view>

#include "scan/scan_number.h"

namespace {

// Days from 2000-01-01 of a date of the proleptic Gregorian calendar.
std::int64_t daysFromEpoch(int year, int month, int day) {
    const int y = month <= 2 ? year - 1 : year;
    const int era = (y >= 0 ? y : y - 399) / 400;
    const int yearOfEra = y - era * 400;
    const int monthFromMarch = month > 2 ? month - 3 : month + 9;
    const int dayOfYear = (153 * monthFromMarch + 2) / 5 + day - 1;
    const int dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return std::int64_t{era} * 146097 + dayOfEra - 730425;
}

bool readNumber(std::string_view word, double& value) {
    if (!word.empty() && word.front() == '+') {
        word.remove_prefix(1);
    }
    return readWholeDecimal(word, value);
}

// The words of the profile, one ahead, each kept whole up to a length no profile needs.
struct Words {
    ScanFile& scan;
    std::string storage;    // a word that straddles two blocks of the file
    std::string_view word;  // valid until the next word is read
    bool have = false;
    bool tooLong = false;

    bool next() {
        have = scanWordInPlace(scan, storage, word);
        tooLong = have && word.size() >= keptWordLength;
        return have;
    }

    // The start of the word, as a message quotes it.
    std::string quoted() const {
        return std::string(word.substr(0, 40));
    }

    // The word as a number; a word cut short is none, whatever its kept part reads.
    bool number(double& value) const {
        return !tooLong && readNumber(word, value);
    }
};

// The pairs NAME = value of a block's heading, by which a missing value (STID in GFS
// profiles) is told from the next name.
bool isHeadingName(std::string_view word, const std::vector<std::string>& stationParameters) {
    for (const std::string_view name : {"STID", "STNM", "TIME", "SLAT", "SLON", "SELV", "STIM"}) {
        if (word == name) {
            return true;
        }
    }
    for (const std::string& name : stationParameters) {
        if (word == name) {
            return true;
        }
    }
    return false;
}

struct Reader {
    Words words;
    BufkitProfile& profile;
    std::string& fault;
    std::vector<std::string> columnNames;
    std::vector<std::string> stationParameters;

    bool fail(const std::string& text) {
        fault = text;
        return false;
    }

    std::string blockName(std::size_t index, const ProfileBlock* block) const {
        std::string name = "block " + std::to_string(index + 1);
        if (block != nullptr && block->hour >= 0) {
            name += " (STIM " + std::to_string(block->hour) + ")";
        }
        return name;
    }

    // SNPARM = A;B;C or STNPRM = ...: the list may be cut into several words after a ';'.
    bool readNameList(const std::string& listName, std::vector<std::string>& names) {
        if (!words.next() || words.word != "=") {
            return fail(listName + " is not followed by '='");
        }
        std::string text;
        do {
            if (!words.next() || words.tooLong) {
                return fail(listName + " has no list of names");
            }
            text += words.word;
        } while (text.back() == ';' && text.size() < 2048);
        names.clear();
        std::size_t start = 0;
        while (start <= text.size()) {
            std::size_t end = text.find(';', start);
            if (end == std::string::npos) {
                end = text.size();
            }
            if (end > start) {
                names.push_back(text.substr(start, end - start));
            }
            if (names.size() > maxProfileNames) {
                return fail(listName + " lists more than " + std::to_string(maxProfileNames) +
                            " names");
            }
            start = end + 1;
        }
        if (names.empty()) {
            return fail(listName + " lists no name");
        }
        return true;
    }

    bool readHeading(std::size_t index, ProfileBlock& block) {
        bool timeSeen = false;
        bool hourSeen = false;
        block.hour = -1;
        // words.word is STID here.
        while (true) {
            const std::string name(words.word);
            if (!words.next()) {
                return fail("the profile ends inside " + blockName(index, &block));
            }
            if (words.word != "=") {
                return fail(blockName(index, &block) + ": " + name + " is not followed by '='");
            }
            if (!words.next()) {
                return fail("the profile ends inside " + blockName(index, &block));
            }
            std::string value;
            bool valueRead = false;
            if (!isHeadingName(words.word, stationParameters) && words.word != columnNames[0]) {
                value = words.word;
                valueRead = true;
                if (words.tooLong) {
                    return fail(blockName(index, &block) + ": the value of " + name +
                                " is far too long");
                }
            }
            double number = missingValue;
            const bool numeric = readNumber(value, number);
            if (name == "STID") {
                block.stationId = value;
            } else if (name == "STNM") {
                block.stationNumber = value;
            } else if (name == "TIME") {
                if (!readProfileTime(value, block.validMinute)) {
                    return fail(blockName(index, &block) + ": TIME '" + value +
                                "' is no time written YYMMDD/HHMM");
                }
                timeSeen = true;
            } else if (name == "STIM") {
                if (!numeric || number < 0 || number > 100000 || number != std::floor(number)) {
                    return fail(blockName(index, &block) + ": STIM '" + value +
                                "' is no forecast hour");
                }
                block.hour = static_cast<int>(number);
                hourSeen = true;
            } else if (!value.empty() && !numeric) {
                return fail(blockName(index, &block) + ": " + name + " = '" + value +
                            "' is not a number");
            } else if (name == "SLAT") {
                block.latitude = number;
            } else if (name == "SLON") {
                block.longitude = number;
            } else if (name == "SELV") {
                block.elevation = number;
            } else if (name == "LIFT") {
                block.liftedIndex = number;
            } else if (name == "CAPE") {
                block.cape = number;
            } else if (name == "CINS") {
                block.cins = number;
            }
            if (valueRead && !words.next()) {
                return fail("the profile ends inside " + blockName(index, &block));
            }
            if (words.word == columnNames[0]) {
                break;
            }
            if (!isHeadingName(words.word, stationParameters) || words.word == "STID") {
                return fail(blockName(index, &block) + ": '" + words.quoted() +
                            "' where a name of the block's heading or the column " +
                            columnNames[0] + " is due");
            }
        }
        if (!timeSeen || !hourSeen) {
            return fail(blockName(index, &block) + " has no " + (timeSeen ? "STIM" : "TIME"));
        }
        return true;
    }

    // The column names, then the values of every level until the next block or the surface
    // section. Returns false with the fault; `ended` tells the profile ended after the block.
    bool readLevels(std::size_t index, ProfileBlock& block, bool& ended) {
        for (std::size_t i = 1; i < columnNames.size(); ++i) {
            if (!words.next()) {
                return fail("the profile ends inside " + blockName(index, &block));
            }
            if (words.word != columnNames[i]) {
                return fail(blockName(index, &block) + ": '" + words.quoted() +
                            "' where the column " + columnNames[i] + " is due");
            }
        }
        std::array<std::size_t, 5> columnOf{};
        for (std::size_t c = 0; c < levelColumnNames.size(); ++c) {
            columnOf[c] = columnNames.size();
            for (std::size_t i = 0; i < columnNames.size(); ++i) {
                if (columnNames[i] == levelColumnNames[c]) {
                    columnOf[c] = i;
                }
            }
        }
        std::vector<double> level(columnNames.size());
        std::size_t count = 0;
        std::size_t column = 0;  // count % columnNames.size(), kept without a division
        ended = true;
        while (words.next()) {
            double value = 0;
            if (!words.number(value)) {
                if (words.word == "STID" || words.word == "STN") {
                    ended = false;
                    break;
                }
                return fail(blockName(index, &block) + ": '" + words.quoted() +
                            "' is not a number");
            }
            level[column] = value;
            ++count;
            if (++column == columnNames.size()) {
                column = 0;
                if (block.levels[0].size() == maxProfileLevels) {
                    return fail(blockName(index, &block) + " holds more than " +
                                std::to_string(maxProfileLevels) + " levels");
                }
                for (std::size_t c = 0; c < levelColumnNames.size(); ++c) {
                    block.levels[c].push_back(columnOf[c] < level.size() ? level[columnOf[c]]
                                                                         : missingValue);
                }
            }
        }
        if (column != 0) {
            if (ended) {
                return fail("the profile ends inside " + blockName(index, &block));
            }
            return fail(blockName(index, &block) + ": its " + std::to_string(count) +
                        " values are not whole levels of " + std::to_string(columnNames.size()) +
                        " columns");
        }
        if (count == 0) {
            return fail(blockName(index, &block) + " holds no level");
        }
        const std::vector<double>& pres = block.levels[levelPres];
        for (std::size_t i = 0; i < pres.size(); ++i) {
            if (!(pres[i] > 0) || (i > 0 && !(pres[i] < pres[i - 1]))) {
                return fail(blockName(index, &block) +
                            ": its pressures do not fall from each level to the next");
            }
        }
        return true;
    }

    bool readSurface() {
        // words.word is STN.
        if (!words.next() || words.word != "YYMMDD/HHMM") {
            return fail("the surface section: STN is not followed by YYMMDD/HHMM");
        }
        std::vector<std::string> names;
        double number = 0;
        while (words.next() && !words.number(number)) {
            if (names.size() == maxProfileNames || words.tooLong) {
                return fail("the surface section's names: more than " +
                            std::to_string(maxProfileNames) + " or far too long");
            }
            names.emplace_back(words.word);
        }
        if (names.empty()) {
            return fail("the surface section names no column");
        }
        std::array<std::size_t, 12> columnOf{};
        for (std::size_t c = 0; c < surfaceColumnNames.size(); ++c) {
            columnOf[c] = names.size();
            for (std::size_t i = 0; i < names.size(); ++i) {
                if (names[i] == surfaceColumnNames[c]) {
                    columnOf[c] = i;
                }
            }
            profile.hasSurfaceColumn[c] = columnOf[c] < names.size();
        }
        std::vector<double> values(names.size());
        // words.word is the first row's station number, when any.
        while (words.have) {
            const std::string rowName =
                "the surface row " + std::to_string(profile.surface.size() + 1);
            if (!words.number(number)) {
                return fail(rowName + ": '" + words.quoted() + "' where a station number is due");
            }
            if (profile.surface.size() == maxSurfaceRows) {
                return fail("the surface section holds more than " +
                            std::to_string(maxSurfaceRows) + " rows");
            }
            SurfaceRow row;
            if (!words.next()) {
                return fail("the profile ends inside " + rowName);
            }
            if (!readProfileTime(words.word, row.validMinute)) {
                return fail(rowName + ": '" + words.quoted() + "' is no time written YYMMDD/HHMM");
            }
            const std::string timed = rowName + " (" + std::string(words.word) + ")";
            for (double& value : values) {
                if (!words.next()) {
                    return fail("the profile ends inside " + timed);
                }
                if (!words.number(value)) {
                    return fail(timed + ": '" + words.quoted() + "' is not a number");
                }
            }
            for (std::size_t c = 0; c < surfaceColumnNames.size(); ++c) {
                row.values[c] = columnOf[c] < values.size() ? values[columnOf[c]] : missingValue;
            }
            if (!profile.surface.empty() && row.validMinute <= profile.surface.back().validMinute) {
                return fail(timed + " does not follow the row before it in time");
            }
            profile.surface.push_back(row);
            words.next();
        }
        if (profile.surface.empty()) {
            return fail("the surface section holds no row");
        }
        return true;
    }

    bool read() {
        while (words.next() && words.word != "STID") {
            if (words.word == "SNPARM" && !readNameList("SNPARM", columnNames)) {
                return false;
            }
            if (words.word == "STNPRM" && !readNameList("STNPRM", stationParameters)) {
                return false;
            }
        }
        if (!words.have) {
            return fail("the profile holds no block (STID = ...)");
        }
        if (columnNames.empty()) {
            return fail("no SNPARM list of the level columns stands before block 1");
        }
        bool hasPres = false;
        for (std::size_t c = 0; c < levelColumnNames.size(); ++c) {
            for (const std::string& name : columnNames) {
                profile.hasLevelColumn[c] =
                    profile.hasLevelColumn[c] || name == levelColumnNames[c];
            }
        }
        hasPres = profile.hasLevelColumn[levelPres];
        if (!hasPres) {
            return fail("SNPARM lists no PRES, the pressure of each level");
        }
        while (words.have && words.word == "STID") {
            const std::size_t index = profile.blocks.size();
            if (index == maxProfileBlocks) {
                return fail("the profile holds more than " + std::to_string(maxProfileBlocks) +
                            " blocks");
            }
            ProfileBlock& block = profile.blocks.emplace_back();
            if (index > 0) {
                // Every block of a profile holds about as many levels as the one before.
                for (std::size_t c = 0; c < block.levels.size(); ++c) {
                    block.levels[c].reserve(profile.blocks[index - 1].levels[c].size());
                }
            }
            bool ended = false;
            if (!readHeading(index, block) || !readLevels(index, block, ended)) {
                return false;
            }
            if (index == 0) {
                profile.runMinute = block.validMinute - std::int64_t{block.hour} * 60;
            } else if (block.hour <= profile.blocks[index - 1].hour) {
                return fail(blockName(index, &block) + " does not follow STIM " +
                            std::to_string(profile.blocks[index - 1].hour));
            } else if (block.validMinute - std::int64_t{block.hour} * 60 != profile.runMinute) {
                return fail(blockName(index, &block) +
                            ": its TIME is not block 1's run plus its STIM");
            }
            if (ended) {
                return fail("the profile has no surface section (STN YYMMDD/HHMM ...) after " +
                            blockName(index, &block));
            }
        }
        return readSurface();
    }
};

}  // namespace

bool readProfileTime(std::string_view text, std::int64_t& minute) {
    if (text.size() != 11 || text[6] != '/') {
        return false;
    }
    int digits[10];
    for (std::size_t i = 0, d = 0; i < text.size(); ++i) {
        if (i == 6) {
            continue;
        }
        if (text[i] < '0' || text[i] > '9') {
            return false;
        }
        digits[d++] = text[i] - '0';
    }
    const int year = 2000 + digits[0] * 10 + digits[1];
    const int month = digits[2] * 10 + digits[3];
    const int day = digits[4] * 10 + digits[5];
    const int hour = digits[6] * 10 + digits[7];
    const int minutes = digits[8] * 10 + digits[9];
    static constexpr int monthDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
    if (month < 1 || month > 12 || day < 1 ||
        day > (month == 2 && !leap ? 28 : monthDays[month - 1]) || hour > 23 || minutes > 59) {
        return false;
    }
    minute = (daysFromEpoch(year, month, day) * 24 + hour) * 60 + minutes;
    return true;
}

ProfileTime profileTimeOf(std::int64_t minute) {
    std::int64_t days = minute >= 0 ? minute / 1440 : (minute - 1439) / 1440;
    const std::int64_t inDay = minute - days * 1440;
    // The civil date of a day count, counted from 0000-03-01 so that a leap day ends a year.
    const std::int64_t z = days + 730425;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t dayOfEra = z - era * 146097;
    const std::int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t monthFromMarch = (5 * dayOfYear + 2) / 153;
    const int day = static_cast<int>(dayOfYear - (153 * monthFromMarch + 2) / 5 + 1);
    const int month =
        static_cast<int>(monthFromMarch < 10 ? monthFromMarch + 3 : monthFromMarch - 9);
    const int year = static_cast<int>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0));
    return ProfileTime{year, month, day, static_cast<int>(inDay / 60),
                       static_cast<int>(inDay % 60)};
}

bool readBufkitProfile(ScanFile& scan, BufkitProfile& profile, std::string& fault) {
    profile = BufkitProfile{};
    Reader reader{Words{scan, {}, {}, false, false}, profile, fault, {}, {}};
    return reader.read();
}
