#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

// The framing of a GRIB2 message, checked on its own bytes before ecCodes reads any of
// it: ecCodes trusts the lengths and section numbers a message gives, and one that lies
// about them can crash it or keep it reading for ever.

/// The indicator section that opens every message: "GRIB", two reserved bytes, the
/// discipline, the edition and the total length in eight bytes.
inline constexpr std::size_t gribIndicatorLength = 16;

/// The longest message read: the largest grid read (gribGridPointBound) packed at 32 bits
/// a value with its bitmap, and room to spare; real messages of such grids are a few MiB.
inline constexpr std::uint64_t gribMessageLengthBound = std::uint64_t{32} << 20;

/// The shortest message edition 2 allows: the indicator, the fixed parts of sections 1
/// and 3 to 7, and "7777".
inline constexpr std::uint64_t gribShortestMessage = 86;

/// The total length the indicator section `head` (a message's first 16 bytes) gives;
/// false with `fault`, a few words, when it is no edition 2 indicator or the length lies
/// outside gribShortestMessage to gribMessageLengthBound.
bool readGribLength(std::span<const unsigned char> head, std::uint64_t& length, std::string& fault);

/// Empty when `message` is one whole message as edition 2 frames it: its indicator's
/// length is the size of `message`; section 1, then groups of sections 2 to 7 in the
/// order the edition allows (2 optional, 3 or 4 may begin a later group); each section at
/// least its fixed part and within the message; "7777" where the length says the message
/// ends. Otherwise what is wrong, in a few words.
std::string checkGribMessage(std::span<const unsigned char> message);

/// The fields of `message`, a message checkGribMessage took, each as a message of its
/// own: its sections 4 to 7 with section 1 and the latest sections 2 and 3 before them,
/// and for a section 6 that refers back to a bitmap (indicator 254), the latest section 6
/// that gave one. False with `fault` when no bitmap was given before such a reference.
bool splitGribFields(std::span<const unsigned char> message,
                     std::vector<std::vector<unsigned char>>& fields, std::string& fault);
