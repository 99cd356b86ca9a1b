#include "grib/grib_model.h"

#include <gtest/gtest.h>

// The model is told by NCEP's generating process and the grid it runs on; anything else
// is no model wxguide names.
TEST(GribModel, NamedByItsProcessAndItsGrid) {
    const GridShape gfs2p5{GridKind::latLon, 2.5, 2.5, 144, 73};
    const GridShape gfs0p25Cut{GridKind::latLon, 0.25, 0.25, 13, 13};  // NOMADS' filter
    const GridShape hrrr{GridKind::lambert, 3.0, 3.0, 1799, 1059};
    const GridShape hrrrAlaska{GridKind::polarStereographic, 3.0, 3.0, 1299, 919};
    const GridShape rap13{GridKind::lambert, 13.545087, 13.545087, 451, 337};
    const GridShape rap32{GridKind::lambert, 32.463, 32.463, 349, 277};
    const struct {
        long centre;
        long process;
        GridShape shape;
        const char* model;
    } cases[] = {
        {7, 96, gfs2p5, "GFS"},
        {7, 96, {GridKind::latLon, 1.0, 1.0, 360, 181}, "GFS"},
        {7, 96, {GridKind::latLon, 0.5, 0.5, 720, 361}, "GFS"},
        {7, 96, gfs0p25Cut, "GFS"},
        {7, 96, {GridKind::latLon, 0.1, 0.1, 3600, 1801}, ""},  // no GFS spacing
        {7, 96, {GridKind::latLon, 0.25, 0.5, 1440, 361}, ""},
        {7, 96, hrrr, ""},
        {98, 96, gfs2p5, ""},  // ECMWF's numbers are not NCEP's
        {7, 83, hrrr, "HRRR"},
        {7, 83, hrrrAlaska, "HRRR"},
        {7, 83, gfs2p5, ""},
        {7, 83, rap13, ""},
        {7, 105, rap13, "RAP"},
        {7, 105, rap32, "RAP"},
        {7, 105, {GridKind::lambert, 20.318, 20.318, 301, 225}, "RAP"},
        {7, 105, hrrr, ""},
        {7, 105, {GridKind::lambert, 40.635, 40.635, 185, 129}, ""},
        {7, 84, {GridKind::lambert, 12.191, 12.191, 614, 428}, ""},  // NAM
        {7, 96, {GridKind::other, 0.25, 0.25, 0, 0}, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(gribModelName(c.centre, c.process, c.shape), c.model)
            << c.centre << " " << c.process << " " << c.shape.dx;
    }
}

TEST(GribModel, SpacingAndTheFarthestAPlaceInsideTheGridLies) {
    const struct {
        GridShape shape;
        const char* text;
        double spacingKm;
        double halfLengthKm;
    } cases[] = {
        {{GridKind::latLon, 2.5, 2.5, 144, 73}, "2.5 deg (278.0 km)", 277.9875, 138.99375},
        {{GridKind::latLon, 0.25, 0.25, 1440, 721}, "0.25 deg (27.8 km)", 27.79875, 13.899375},
        {{GridKind::latLon, 0.5, 0.25, 10, 10}, "0.5 x 0.25 deg (55.6 km)", 55.5975, 27.79875},
        {{GridKind::lambert, 3.0, 3.0, 1799, 1059}, "3.0 km", 3.0, 1.5},
        {{GridKind::lambert, 13.545087, 13.545087, 451, 337}, "13.5 km", 13.545087, 6.7725435},
        {{GridKind::mercator, 4.0, 3.0, 10, 10}, "4.0 x 3.0 km", 4.0, 2.0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(gridSpacingText(c.shape), c.text);
        EXPECT_NEAR(gridSpacingKm(c.shape), c.spacingKm, 1e-4) << c.text;
        EXPECT_NEAR(halfGridLengthKm(c.shape), c.halfLengthKm, 1e-4) << c.text;
    }
}
