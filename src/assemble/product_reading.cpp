#include "assemble/product_reading.h"

#include "assemble/guidance_header.h"

namespace {

// The bulletin being gathered, while its lines last.
struct Gathering {
    bool active = false;
    bool tooLong = false;
    int slot = 0;
    int place = 0;
    std::string header;  // for the message if it is refused
    FoundBulletin bulletin;
};

// Appends the line without the CRs and framing of its end, each framing character within
// it a blank: option 1 reads them as blanks, so "23<RS>10" must stay two values.
void appendLine(std::string& text, std::string_view line) {
    while (!line.empty() && (line.back() == '\r' || isFramingCharacter(line.back()))) {
        line.remove_suffix(1);
    }
    for (const char c : line) {
        text += isFramingCharacter(c) ? ' ' : c;
    }
    text += '\n';
}

void finishBulletin(Gathering& gathering, const std::string& name, BulletinChoice& choice,
                    std::ostream& err) {
    if (!gathering.active) {
        return;
    }
    gathering.active = false;
    if (gathering.tooLong || gathering.bulletin.text.size() > maxBulletinLength) {
        err << "wxguide assemble: " << name << ": the bulletin \"" << gathering.header
            << "\" is longer than " << maxBulletinLength / 1024
            << " KiB, which no guidance bulletin is; it is left out.\n";
        return;
    }
    offerBulletin(choice, gathering.slot, gathering.place, std::move(gathering.bulletin));
}

void beginBulletin(Gathering& gathering, std::string_view line, const GuidanceHeader& header,
                   int slot, int place) {
    gathering.active = true;
    gathering.tooLong = false;
    gathering.slot = slot;
    gathering.place = place;
    gathering.bulletin = FoundBulletin{};
    // The header line starts at its station word: no framing, blanks or tags before it.
    const std::string_view fromStation = line.substr(header.stationAt);
    appendLine(gathering.bulletin.text, fromStation);
    gathering.header = gathering.bulletin.text.substr(0, gathering.bulletin.text.size() - 1);
    gathering.bulletin.dateAt = header.dateAt - header.stationAt;
    gathering.bulletin.dateLength = header.date.size();
}

}  // namespace

bool readProductBulletins(ScanFile& product, const std::string& name, BulletinChoice& choice,
                          std::ostream& err) {
    Gathering gathering;
    std::string storage;
    std::string_view line;
    bool cut = false;
    GuidanceHeader header;
    while (scanBoundedLine(product, storage, line, maxProductLineLength, cut)) {
        if (readGuidanceHeader(line, header)) {
            finishBulletin(gathering, name, choice, err);
            notePassedOver(choice, header, line);
            int slot = 0;
            int place = 0;
            if (placeOfBulletin(choice, header, slot, place)) {
                beginBulletin(gathering, line, header, slot, place);
            }
            continue;
        }
        if (!gathering.active) {
            continue;
        }
        if (endsBulletin(line)) {
            // The last row may stand before a closing tag on its line.
            const std::string_view row = beforeFirstTag(line);
            if (row.size() < line.size() && !gathering.tooLong && !endsBulletin(row)) {
                appendLine(gathering.bulletin.text, row);
            }
            finishBulletin(gathering, name, choice, err);
            continue;
        }
        if (gathering.tooLong) {
            continue;
        }
        appendLine(gathering.bulletin.text, line);
        if (cut || gathering.bulletin.text.size() > maxBulletinLength) {
            gathering.tooLong = true;
            gathering.bulletin = FoundBulletin{};
        }
    }
    finishBulletin(gathering, name, choice, err);
    if (!scanReadWhole(product)) {
        err << "wxguide assemble: " << name << " could not be read to its end.\n";
        return false;
    }
    return true;
}
