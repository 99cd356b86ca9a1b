#include "grib/grib_fields.h"

#include <cmath>

namespace {

// Fixed surface types of GRIB2 code table 4.5.
constexpr long surfaceGround = 1;
constexpr long surfaceAtmosphere = 10;  // entire atmosphere, newer NCEP files
constexpr long surfaceMeanSea = 101;
constexpr long surfaceIsobaric = 100;  // value in Pa
constexpr long surfaceHeight = 103;    // value in m above ground
constexpr long surfaceSigma = 104;
constexpr long surfaceAtmosphereColumn = 200;  // entire atmosphere as one layer, older NCEP files
constexpr long noSurface = 255;

struct FieldRule {
    GribField field;
    long discipline, category, number;
    long surfaceType;
    double surfaceValue;
    long otherNumber;       // a second number meaning the same field (NCEP local and WMO), or -1
    long otherSurfaceType;  // a second surface type meaning the same place, or -1
};

constexpr FieldRule rules[] = {
    {fieldPressure, 0, 3, 1, surfaceMeanSea, 0.0, -1, -1},
    {fieldTemp2m, 0, 0, 0, surfaceHeight, 2.0, -1, -1},
    {fieldTemp850, 0, 0, 0, surfaceIsobaric, 85000.0, -1, -1},
    {fieldTemp700, 0, 0, 0, surfaceIsobaric, 70000.0, -1, -1},
    {fieldTemp500, 0, 0, 0, surfaceIsobaric, 50000.0, -1, -1},
    {fieldHeight1000, 0, 3, 5, surfaceIsobaric, 100000.0, -1, -1},
    {fieldHeight500, 0, 3, 5, surfaceIsobaric, 50000.0, -1, -1},
    {fieldHumidity2m, 0, 1, 1, surfaceHeight, 2.0, -1, -1},
    {fieldPrecip, 0, 1, 8, surfaceGround, 0.0, -1, -1},
    {fieldCloud, 0, 6, 1, surfaceAtmosphereColumn, 0.0, -1, surfaceAtmosphere},
    {fieldU10, 0, 2, 2, surfaceHeight, 10.0, -1, -1},
    {fieldV10, 0, 2, 3, surfaceHeight, 10.0, -1, -1},
    {fieldU900, 0, 2, 2, surfaceIsobaric, 90000.0, -1, -1},
    {fieldV900, 0, 2, 3, surfaceIsobaric, 90000.0, -1, -1},
    {fieldU500, 0, 2, 2, surfaceIsobaric, 50000.0, -1, -1},
    {fieldV500, 0, 2, 3, surfaceIsobaric, 50000.0, -1, -1},
    {fieldU250, 0, 2, 2, surfaceIsobaric, 25000.0, -1, -1},
    {fieldV250, 0, 2, 3, surfaceIsobaric, 25000.0, -1, -1},
    // NCEP's local numbers in older files, WMO's in newer ones.
    {fieldBest4Layer, 0, 7, 193, surfaceGround, 0.0, 11, -1},
    {fieldLifted, 0, 7, 192, surfaceGround, 0.0, 10, -1},
    {fieldCape, 0, 7, 6, surfaceGround, 0.0, -1, -1},
    {fieldCin, 0, 7, 7, surfaceGround, 0.0, -1, -1},
    {fieldTheta, 0, 0, 2, surfaceSigma, 0.995, -1, -1},
    {fieldLatentHeat, 0, 0, 10, surfaceGround, 0.0, -1, -1},
    {fieldSensibleHeat, 0, 0, 11, surfaceGround, 0.0, -1, -1},
};

bool sameLevel(double a, double b) {
    return std::fabs(a - b) <= 1e-6 * (std::fabs(b) + 1.0);
}

}  // namespace

std::optional<GribField> matchField(const MessageKeys& keys) {
    // A layer (CAPE 180-0 mb above ground, sigma layers) is not the surface of the same name.
    if (keys.secondSurfaceType != noSurface) {
        return std::nullopt;
    }
    for (const FieldRule& rule : rules) {
        const bool numberMatches = keys.number == rule.number || keys.number == rule.otherNumber;
        const bool surfaceMatches =
            keys.surfaceType == rule.surfaceType || keys.surfaceType == rule.otherSurfaceType;
        if (keys.discipline != rule.discipline || keys.category != rule.category ||
            !numberMatches || !surfaceMatches || !sameLevel(keys.surfaceValue, rule.surfaceValue)) {
            continue;
        }
        const bool wantsAccumulation = rule.field == fieldPrecip;
        if (wantsAccumulation != (keys.kind == TimeKind::accumulation) ||
            keys.kind == TimeKind::other) {
            return std::nullopt;
        }
        return rule.field;
    }
    return std::nullopt;
}

TimeKind timeKindOf(long templateNumber, long statisticalProcessing) {
    // Templates 4.0 and 4.1 are instants; 4.8 and 4.11 are processed over a period.
    if (templateNumber == 0 || templateNumber == 1) {
        return TimeKind::instant;
    }
    if (templateNumber != 8 && templateNumber != 11) {
        return TimeKind::other;
    }
    if (statisticalProcessing == 0) {
        return TimeKind::average;
    }
    if (statisticalProcessing == 1) {
        return TimeKind::accumulation;
    }
    return TimeKind::other;
}
