#include "assemble/guidance_header.h"

#include <array>

#include "scan/scan_file.h"

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f' || isFramingCharacter(c);
}

bool isUpper(char c) {
    return c >= 'A' && c <= 'Z';
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// A tag starts with '<' and a letter, '/' or '!', and closes with '>' on the same line.
std::size_t tagEnd(std::string_view line, std::size_t at) {
    if (at + 1 >= line.size() || line[at] != '<') {
        return std::string_view::npos;
    }
    const char first = line[at + 1];
    if (!(isUpper(first) || (first >= 'a' && first <= 'z') || first == '/' || first == '!')) {
        return std::string_view::npos;
    }
    const std::size_t close = line.find('>', at + 2);
    return close == std::string_view::npos ? close : close + 1;
}

std::size_t firstTag(std::string_view line) {
    for (std::size_t at = line.find('<'); at != std::string_view::npos;
         at = line.find('<', at + 1)) {
        if (tagEnd(line, at) != std::string_view::npos) {
            return at;
        }
    }
    return std::string_view::npos;
}

// Splits the line into at most `words.size()` words; the count is one more when more
// words follow.
template <std::size_t N>
std::size_t splitWords(std::string_view line, std::size_t from,
                       std::array<std::string_view, N>& words, std::array<std::size_t, N>& starts) {
    std::size_t count = 0;
    std::size_t at = from;
    while (true) {
        while (at < line.size() && isBlank(line[at])) {
            ++at;
        }
        if (at == line.size()) {
            return count;
        }
        if (count == N) {
            return count + 1;
        }
        const std::size_t start = at;
        while (at < line.size() && !isBlank(line[at])) {
            ++at;
        }
        words[count] = line.substr(start, at - start);
        starts[count] = start;
        ++count;
    }
}

bool isRun(std::string_view word) {
    return word.size() == 4 && isDigit(word[0]) && isDigit(word[1]) && isDigit(word[2]) &&
           isDigit(word[3]);
}

GuidanceKind mosKind(std::string_view model) {
    const std::size_t group = guidanceGroupOfModel(model);
    return group < guidanceGroups.size() ? guidanceGroups[group].kind : GuidanceKind::other;
}

// "FOUS16 KWNO 191700": four letters and two digits, a four-letter office, six digits.
bool isWmoHeading(std::string_view word, std::string_view office, std::string_view time) {
    if (word.size() != 6 || office.size() != 4 || time.size() != 6) {
        return false;
    }
    for (std::size_t i = 0; i < 6; ++i) {
        if (!(i < 4 ? isUpper(word[i]) : isDigit(word[i])) || !isDigit(time[i])) {
            return false;
        }
    }
    for (const char c : office) {
        if (!isUpper(c)) {
            return false;
        }
    }
    return true;
}

bool isSequenceLine(std::string_view word) {
    if (word.size() > 3) {
        return false;
    }
    for (const char c : word) {
        if (!isDigit(c)) {
            return false;
        }
    }
    return true;
}

// "NBSUSA", "METNC1": four to six capitals and digits, starting with a capital.
bool isAwipsIdentifier(std::string_view word) {
    if (word.size() < 4 || word.size() > 6 || !isUpper(word[0])) {
        return false;
    }
    for (const char c : word) {
        if (!isUpper(c) && !isDigit(c)) {
            return false;
        }
    }
    return true;
}

}  // namespace

std::size_t guidanceGroupOfKind(GuidanceKind kind) {
    std::size_t group = 0;
    while (group < guidanceGroups.size() &&
           (kind == GuidanceKind::other ||
            (guidanceGroups[group].kind != kind && guidanceGroups[group].standIn != kind))) {
        ++group;
    }
    return group;
}

std::string_view beforeFirstTag(std::string_view line) {
    return line.substr(0, firstTag(line));
}

bool isFramingCharacter(char c) {
    return c == startOfHeading || c == endOfText || c == recordSeparator;
}

bool readGuidanceHeader(std::string_view line, GuidanceHeader& header) {
    // Blanks, framing and tags (a saved web page's <pre>) may stand before the station.
    std::size_t start = 0;
    while (start < line.size()) {
        if (isBlank(line[start])) {
            ++start;
        } else if (const std::size_t end = tagEnd(line, start); end != std::string_view::npos) {
            start = end;
        } else {
            break;
        }
    }
    // Every header has "MOS" as its third word or "NBM" as its second: a row (a label,
    // then values) fails this after three words, so most lines cost no more.
    std::array<std::string_view, 3> first;
    std::array<std::size_t, 3> firstStarts{};
    if (splitWords(line, start, first, firstStarts) < 3 ||
        (first[1] != blendModelWord && first[2] != "MOS")) {
        return false;
    }
    std::array<std::string_view, 8> words;
    std::array<std::size_t, 8> starts{};
    const std::size_t count = splitWords(line, start, words, starts);
    if (count < 7 || count > 8) {
        return false;
    }
    const std::size_t guidance = count - 4;
    if (words[guidance] != "GUIDANCE" || words[count - 1] != "UTC" || !isRun(words[count - 2]) ||
        words[0].find('<') != std::string_view::npos) {
        return false;
    }
    GuidanceKind kind = GuidanceKind::other;
    if (count == 7 && words[2] == "MOS") {
        kind = mosKind(words[1]);
    } else if (words[1] == blendModelWord && words[guidance - 1] == blendProductWord &&
               (count == 7 || words[2] != blendProductWord)) {
        // Products before 2019 have no version word: then NBS follows NBM at once.
        kind = GuidanceKind::blendShortRange;
    }
    header.kind = kind;
    header.station = words[0];
    header.stationAt = starts[0];
    header.date = words[count - 3];
    header.dateAt = starts[count - 3];
    header.run = words[count - 2];
    return true;
}

bool endsBulletin(std::string_view line) {
    std::array<std::string_view, 3> words;
    std::array<std::size_t, 3> starts{};
    const std::size_t count = splitWords(line, 0, words, starts);
    if (count == 0 || words[0].starts_with("$$") || firstTag(line) != std::string_view::npos) {
        return true;
    }
    if (count == 1) {
        return isSequenceLine(words[0]) || isAwipsIdentifier(words[0]);
    }
    return count >= 3 && isWmoHeading(words[0], words[1], words[2]);
}
