#pragma once

#include <optional>
#include <ostream>
#include <span>

#include "extract/extract_files.h"
#include "io/data_file.h"

// `wxguide extract` on GRIB2 files, where ecCodes is installed; the build without it has a
// twin that refuses them (grib_extract_none.cpp), chosen in CMake.

/// Whether this build reads GRIB2 files.
bool readsGribFiles();

/// Makes both files from the GRIB2 files `inputs` (opened as `request.profiles` names them;
/// one that could not be opened has descriptor -1) at `place` as `request` asks, through
/// `writer`; the summary on `out`, every message on `err`. Returns 0 when both files were
/// written, 1 when the files could not be read or a file not written, 2 for a usage error
/// (no place, a run that is no YYYYMMDDHH, one name for both files).
int runGribExtract(const ExtractRequest& request, const std::optional<ExtractPlace>& place,
                   std::span<const DataFile> inputs, const ExtractFilesWriter& writer,
                   std::ostream& out, std::ostream& err);
