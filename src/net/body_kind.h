#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// What a text body holds, read as it streams in, never held whole: the Iowa Environmental
// Mesonet's text archive answers 200 OK with "ERROR: Could not Find: ..." when nothing
// matches, frames each product as SOH LF, the product, LF ETX LF, and a server in
// trouble may answer an HTML page where text was asked.

enum class BodyKind {
    text,       // plain text, not framed
    framed,     // one or more products, every frame closed
    openFrame,  // framed, but the last frame never closed: the body was cut
    notFound,   // the archive's "ERROR: Could not Find"
    html,       // a web page
    empty,
};

/// The state of a body being read.
struct BodyReading {
    std::string head;  // the first bytes, up to headBytes, for the kind of the whole
    std::size_t frames = 0;
    bool inFrame = false;
    bool framingBroken = false;  // an SOH inside a frame, or an ETX outside one
};

/// The bytes of a body looked at to tell a page or the archive's refusal.
inline constexpr std::size_t headBytes = 512;

/// Reads the next piece of the body.
void readBodyPiece(BodyReading& reading, std::string_view piece);

/// The kind of the body read so far, as a whole.
BodyKind bodyKind(const BodyReading& reading);

/// The archive's words for "nothing matches".
inline constexpr std::string_view notFoundWords = "ERROR: Could not Find";
