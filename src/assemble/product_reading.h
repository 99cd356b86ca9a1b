#pragma once

#include <ostream>
#include <string>

#include "assemble/bulletin_chooser.h"
#include "assemble/product_file.h"

// Reads a saved product through and hands every bulletin the blend may take to the choice.

/// Reads the open product `name` to its end, offering each bulletin the choice may take,
/// its lines with LF ends and framing characters as blanks. A refused bulletin is told on
/// `err`. False (told on `err`) when the product could not be read whole.
bool readProductBulletins(ProductFile& product, const std::string& name, BulletinChoice& choice,
                          std::ostream& err);
