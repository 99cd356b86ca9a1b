#include "grib/grib_message_check.h"

#include <array>
#include <cstring>
#include <utility>

namespace {

constexpr unsigned char endMarker[] = {'7', '7', '7', '7'};
constexpr std::size_t endMarkerLength = sizeof endMarker;
// Every section but the indicator opens with its length (four bytes) and its number.
constexpr std::size_t sectionHeadLength = 5;
constexpr int lastSection = 7;

// The octets each section holds before its template or its data, by section number.
constexpr std::array<std::uint32_t, lastSection + 1> fixedPart = {0, 21, 5, 14, 9, 11, 6, 5};

std::uint64_t bigEndian(std::span<const unsigned char> bytes) {
    std::uint64_t value = 0;
    for (const unsigned char byte : bytes) {
        value = value << 8 | byte;
    }
    return value;
}

// Whether section `next` may follow section `previous` (0 for the indicator): section 1
// once, then groups of 2 to 7, where a later group may begin at 2, 3 or 4.
bool mayFollow(int previous, int next) {
    switch (previous) {
        case 0:
            return next == 1;
        case 1:
            return next == 2 || next == 3;
        case lastSection:
            return next == 2 || next == 3 || next == 4;
        default:
            return next == previous + 1;
    }
}

const char* allowedAfter(int previous) {
    switch (previous) {
        case 0:
            return "section 1";
        case 1:
            return "section 2 or 3";
        case lastSection:
            return "section 2, 3 or 4, or 7777";
        default:
            return nullptr;
    }
}

std::string allowedText(int previous) {
    const char* text = allowedAfter(previous);
    return text != nullptr ? text : "section " + std::to_string(previous + 1);
}

}  // namespace

bool readGribLength(std::span<const unsigned char> head, std::uint64_t& length,
                    std::string& fault) {
    if (head.size() < gribIndicatorLength || std::memcmp(head.data(), "GRIB", 4) != 0) {
        fault = "no GRIB message begins there";
        return false;
    }
    const int edition = head[7];
    if (edition != 2) {
        fault = "a GRIB edition " + std::to_string(edition) + " message; wxguide reads GRIB2";
        return false;
    }
    length = bigEndian(head.subspan(8, 8));
    if (length < gribShortestMessage) {
        fault = "its length " + std::to_string(length) + " is shorter than the " +
                std::to_string(gribShortestMessage) + " bytes of the shortest GRIB2 message";
        return false;
    }
    if (length > gribMessageLengthBound) {
        fault = "its length " + std::to_string(length) + " is over the " +
                std::to_string(gribMessageLengthBound) + " bytes wxguide reads in a message";
        return false;
    }
    return true;
}

std::string checkGribMessage(std::span<const unsigned char> message) {
    std::uint64_t length = 0;
    std::string fault;
    if (!readGribLength(message, length, fault)) {
        return fault;
    }
    if (length != message.size()) {
        return "its length " + std::to_string(length) + " is not the " +
               std::to_string(message.size()) + " bytes it has";
    }
    const std::size_t end = message.size() - endMarkerLength;
    std::size_t at = gribIndicatorLength;
    int previous = 0;
    while (at < end) {
        const std::span<const unsigned char> rest = message.subspan(at, end - at);
        if (previous == lastSection && rest.size() >= endMarkerLength &&
            std::memcmp(rest.data(), endMarker, endMarkerLength) == 0) {
            return "7777 at byte " + std::to_string(at) + ", before the end its length gives";
        }
        if (rest.size() < sectionHeadLength) {
            return "the " + std::to_string(rest.size()) + " bytes after section " +
                   std::to_string(previous) + " are no section";
        }
        const std::uint64_t sectionLength = bigEndian(rest.subspan(0, 4));
        const int number = rest[4];
        if (!mayFollow(previous, number)) {
            return "section " + std::to_string(number) + " follows section " +
                   std::to_string(previous) + ", where edition 2 allows " + allowedText(previous);
        }
        const std::string name = "section " + std::to_string(number);
        if (sectionLength < fixedPart[static_cast<std::size_t>(number)]) {
            return name + "'s length " + std::to_string(sectionLength) +
                   " is shorter than its fixed part of " +
                   std::to_string(fixedPart[static_cast<std::size_t>(number)]) + " bytes";
        }
        if (sectionLength > rest.size()) {
            return name + "'s length " + std::to_string(sectionLength) +
                   " runs past the message's end";
        }
        at += static_cast<std::size_t>(sectionLength);
        previous = number;
    }
    if (previous != lastSection) {
        return "the message ends after section " + std::to_string(previous) +
               ", where edition 2 allows " + allowedText(previous);
    }
    if (std::memcmp(message.data() + end, endMarker, endMarkerLength) != 0) {
        return "no 7777 where its length says the message ends";
    }
    return {};
}

bool splitGribFields(std::span<const unsigned char> message,
                     std::vector<std::vector<unsigned char>>& fields, std::string& fault) {
    // Section 6's sixth byte says where the bitmap is: here (0), given before (254), or
    // none or predefined (anything else).
    constexpr std::size_t bitmapIndicator = 5;
    constexpr unsigned char bitmapHere = 0, bitmapBefore = 254;
    fields.clear();
    std::array<std::span<const unsigned char>, lastSection> latest{};  // by number, 1 to 6
    std::span<const unsigned char> bitmap;
    const std::size_t end = message.size() - endMarkerLength;
    for (std::size_t at = gribIndicatorLength; at < end;) {
        const auto length = static_cast<std::size_t>(bigEndian(message.subspan(at, 4)));
        const int number = message[at + 4];
        const std::span<const unsigned char> section = message.subspan(at, length);
        at += length;
        if (number == 6 && section[bitmapIndicator] == bitmapBefore) {
            if (bitmap.empty()) {
                fault = "section 6 refers to a bitmap before it, and none was given";
                return false;
            }
            latest[6] = bitmap;
            continue;
        }
        if (number == 6 && section[bitmapIndicator] == bitmapHere) {
            bitmap = section;
        }
        if (number < lastSection) {
            latest[static_cast<std::size_t>(number)] = section;
            continue;
        }
        std::vector<unsigned char> field(message.begin(), message.begin() + gribIndicatorLength);
        for (int part = 1; part < lastSection; ++part) {
            const std::span<const unsigned char> kept = latest[static_cast<std::size_t>(part)];
            field.insert(field.end(), kept.begin(), kept.end());
        }
        field.insert(field.end(), section.begin(), section.end());
        field.insert(field.end(), std::begin(endMarker), std::end(endMarker));
        std::uint64_t total = field.size();
        for (std::size_t i = gribIndicatorLength; i-- > 8;) {
            field[i] = static_cast<unsigned char>(total & 0xff);
            total >>= 8;
        }
        fields.push_back(std::move(field));
    }
    return true;
}
