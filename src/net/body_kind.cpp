#include "net/body_kind.h"

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <string>
#include <string_view>

namespace {

constexpr char startOfHeading = '\001';
constexpr char endOfText = '\003';

std::string lowered(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

}  // namespace

void readBodyPiece(BodyReading& reading, std::string_view piece) {
    if (reading.head.size() < headBytes) {
        reading.head.append(piece.substr(0, headBytes - reading.head.size()));
    }
    for (const char c : piece) {
        if (c == startOfHeading) {
            reading.framingBroken = reading.framingBroken || reading.inFrame;
            reading.inFrame = true;
            ++reading.frames;
        } else if (c == endOfText) {
            reading.framingBroken = reading.framingBroken || !reading.inFrame;
            reading.inFrame = false;
        }
    }
}

BodyKind bodyKind(const BodyReading& reading) {
    const std::size_t first = reading.head.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) {
        return BodyKind::empty;
    }
    const std::string_view start = std::string_view(reading.head).substr(first);
    if (start.starts_with(notFoundWords)) {
        return BodyKind::notFound;
    }
    const std::string lower = lowered(start);
    if (start.front() == '<' || lower.find("<html") != std::string::npos ||
        lower.find("<!doctype") != std::string::npos) {
        return BodyKind::html;
    }
    if (reading.frames == 0 && !reading.framingBroken) {
        return BodyKind::text;
    }
    return reading.inFrame || reading.framingBroken ? BodyKind::openFrame : BodyKind::framed;
}
