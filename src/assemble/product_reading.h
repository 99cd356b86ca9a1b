#pragma once

#include <ostream>
#include <string>

#include "assemble/bulletin_chooser.h"
#include "assemble/product_file.h"

// Reads a saved product through and hands every bulletin the blend may take to the choice.

/// A bulletin longer than this is refused: no MOS or Blend bulletin comes near it.
inline constexpr std::size_t maxBulletinLength = std::size_t{64} * 1024;

/// Reads the open product `name` to its end, offering each bulletin the choice may take,
/// its lines with LF ends and without framing characters. A refused bulletin is told on
/// `err`. False (told on `err`) when the product could not be read whole.
bool readProductBulletins(ProductFile& product, const std::string& name, BulletinChoice& choice,
                          std::ostream& err);
