#pragma once

#include <span>
#include <string>
#include <vector>

#include "extract/bufkit_profile.h"
#include "grib/grib_rows.h"

// The spans a value of the input may take, wide enough for any weather the models write.
// A value outside its span is taken as missing before it enters any formula, so that the
// files never hold an infinity, a NaN or a number no column can hold; the forecaster is
// told once per field, and keeps the rest of the table.

/// From `lowest` to `highest`, both taken.
struct ValueRange {
    double lowest;
    double highest;
};

/// The span of a level's pressure (mb). A level outside it leaves the block's levels
/// meaningless, so the profile is refused instead.
inline constexpr ValueRange levelPressureRange = {0.0, 1200.0};

/// Takes every value of `profile` outside its span as missing and adds one note per field
/// to `notes` (the field, where it first lies outside, its value). False with `fault`
/// naming the block when a level's pressure lies above levelPressureRange.
bool screenProfile(BufkitProfile& profile, std::vector<std::string>& notes, std::string& fault);

/// Leaves out every sample outside its field's span (in the message's own units) and adds
/// one note per field to `notes`.
void screenGribSamples(std::vector<GribSample>& samples, std::vector<std::string>& notes);
