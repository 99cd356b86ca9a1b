#pragma once

#include <ostream>

#include "extract/extract_files.h"
#include "io/data_file.h"

// `wxguide extract` on a BUFKIT profile.

/// Makes both files of the profile open in `profile` (not open: descriptor -1) as `request`
/// asks, through `writer`; the summary on `out`, every message on `err`. Returns 0 when both
/// files were written, 1 when the profile could not be read or a file not written, 2 when
/// both files would get one name.
int runBufkitExtract(const ExtractRequest& request, const DataFile& profile,
                     const ExtractFilesWriter& writer, std::ostream& out, std::ostream& err);
