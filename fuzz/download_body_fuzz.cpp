// What a server sends as a body, read as it streams in: the kind must not depend on how the
// bytes were cut into pieces, and a body with no framing byte is never called framed.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "net/body_kind.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view body(reinterpret_cast<const char*>(data), size);
    BodyReading whole;
    readBodyPiece(whole, body);
    // The first byte picks the size of the pieces.
    const std::size_t piece = size == 0 ? 1 : data[0] % 17 + 1;
    BodyReading pieces;
    for (std::size_t at = 0; at < size; at += piece) {
        readBodyPiece(pieces, body.substr(at, piece));
    }
    const BodyKind kind = bodyKind(whole);
    if (kind != bodyKind(pieces) || whole.head.size() > headBytes ||
        (kind == BodyKind::framed && body.find('\001') == std::string_view::npos)) {
        std::abort();
    }
    return 0;
}
