#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

// The GRIB2 fields the model column and severe weather files are made of, and how a
// message is known to hold one: by its discipline, category, number and fixed surface,
// never by a short name, which differs between ecCodes versions and from NCEP's names.

enum GribField : std::size_t {
    fieldPressure,  // PRMSL, mean sea level
    fieldTemp2m,
    fieldTemp850,
    fieldTemp700,
    fieldTemp500,
    fieldHeight1000,
    fieldHeight500,
    fieldHumidity2m,
    fieldPrecip,  // APCP, accumulated from a start hour
    fieldCloud,   // TCDC, entire atmosphere
    fieldU10,
    fieldV10,
    fieldU900,
    fieldV900,
    fieldU500,
    fieldV500,
    fieldU250,
    fieldV250,
    fieldBest4Layer,  // 4LFTX
    fieldLifted,      // LFTX
    fieldCape,
    fieldCin,
    fieldTheta,  // POT at sigma 0.995
    fieldLatentHeat,
    fieldSensibleHeat,
    gribFieldCount
};

/// NCEP's names of the fields, for the messages that name a missing one.
inline constexpr std::array<std::string_view, gribFieldCount> gribFieldNames = {
    "PRMSL",        "TMP 2 m",     "TMP 850 mb",      "TMP 700 mb",  "TMP 500 mb",
    "HGT 1000 mb",  "HGT 500 mb",  "RH 2 m",          "APCP",        "TCDC",
    "UGRD 10 m",    "VGRD 10 m",   "UGRD 900 mb",     "VGRD 900 mb", "UGRD 500 mb",
    "VGRD 500 mb",  "UGRD 250 mb", "VGRD 250 mb",     "4LFTX",       "LFTX",
    "CAPE surface", "CIN surface", "POT 0.995 sigma", "LHTFL",       "SHTFL"};

/// How a message's value stands in time.
enum class TimeKind { instant, average, accumulation, other };

/// The keys of a message that say what it holds.
struct MessageKeys {
    long discipline = -1;
    long category = -1;
    long number = -1;
    long surfaceType = -1;         // typeOfFirstFixedSurface
    double surfaceValue = 0.0;     // scaledValueOfFirstFixedSurface / 10^scaleFactor
    long secondSurfaceType = 255;  // typeOfSecondFixedSurface; 255 when there is none
    TimeKind kind = TimeKind::instant;
};

/// The field a message holds, or nothing when it is none the files are made of.
std::optional<GribField> matchField(const MessageKeys& keys);

/// The time kind of a product definition template and its statistical processing (0
/// average, 1 accumulation); -1 for a template that processes nothing.
TimeKind timeKindOf(long templateNumber, long statisticalProcessing);
