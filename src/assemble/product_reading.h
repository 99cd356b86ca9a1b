#pragma once

#include <cstddef>
#include <ostream>
#include <string>

#include "assemble/bulletin_chooser.h"
#include "scan/scan_file.h"

// Reads a saved product through and hands every bulletin the blend may take to the choice.

/// Lines are taken up to this many characters: a longer one, longer than any bulletin may
/// hold, is taken cut and the rest of it skipped.
inline constexpr std::size_t maxProductLineLength = std::size_t{64} * 1024 + 1;

/// Reads the product `name` open on `product` to its end, offering each bulletin the choice may
/// take, its lines with LF ends and framing characters as blanks. A refused bulletin is told on
/// `err`. False (told on `err`) when the product could not be read whole.
bool readProductBulletins(ScanFile& product, const std::string& name, BulletinChoice& choice,
                          std::ostream& err);
