#include "grib/grib_model.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

namespace {

// NCEP's numbers of its generating processes (its table of models) and its centre.
constexpr long ncepCentre = 7;
constexpr long gfsProcess = 96;
constexpr long hrrrProcess = 83;
constexpr long rapProcess = 105;

// The spacings GFS output is published at, in degrees; a cut of the global grid (NOMADS'
// filter) keeps its spacing, so the spacing, not the extent, tells the grid.
constexpr std::array<double, 4> gfsSpacings = {0.25, 0.5, 1.0, 2.5};

bool near(double value, double wanted, double tolerance) {
    return std::fabs(value - wanted) <= tolerance;
}

bool projected(GridKind kind) {
    return kind == GridKind::lambert || kind == GridKind::polarStereographic;
}

std::string printedKm(double km) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f km", km);
    return text;
}

}  // namespace

double gridSpacingKm(const GridShape& shape) {
    const double side = std::max(shape.dx, shape.dy);
    if (shape.kind == GridKind::other || !(side > 0.0)) {
        return 0.0;
    }
    return shape.kind == GridKind::latLon ? side * kmPerDegree : side;
}

double halfGridLengthKm(const GridShape& shape) {
    return gridSpacingKm(shape) / 2.0;
}

std::string gridSpacingText(const GridShape& shape) {
    if (shape.kind == GridKind::latLon) {
        char text[96];
        if (shape.dx == shape.dy) {
            std::snprintf(text, sizeof text, "%g deg", shape.dx);
        } else {
            std::snprintf(text, sizeof text, "%g x %g deg", shape.dx, shape.dy);
        }
        return text + std::string(" (") + printedKm(gridSpacingKm(shape)) + ")";
    }
    if (shape.dx == shape.dy) {
        return printedKm(shape.dx);
    }
    char text[64];
    std::snprintf(text, sizeof text, "%.1f x %.1f km", shape.dx, shape.dy);
    return text;
}

std::string gribModelName(long centre, long generatingProcess, const GridShape& shape) {
    if (centre != ncepCentre) {
        return "";
    }
    const double km = gridSpacingKm(shape);
    if (generatingProcess == gfsProcess && shape.kind == GridKind::latLon && shape.dx == shape.dy &&
        std::any_of(gfsSpacings.begin(), gfsSpacings.end(),
                    [&](double spacing) { return near(shape.dx, spacing, 1e-6); })) {
        return "GFS";
    }
    // HRRR: 3 km, Lambert over the lower 48 (1799 x 1059), polar stereographic over Alaska.
    if (generatingProcess == hrrrProcess && projected(shape.kind) && near(km, 3.0, 0.1)) {
        return "HRRR";
    }
    // RAP: 13 km (451 x 337), 20 km and 32 km over North America, 11.25 km over Alaska.
    if (generatingProcess == rapProcess && projected(shape.kind) && km >= 11.0 && km <= 33.0) {
        return "RAP";
    }
    return "";
}
