#pragma once

// The direction a wind blows from, as the extracted files write it: whole degrees, north
// always 0.

/// Degrees from 0 to below 360 that the files write without decimals: a direction that
/// rounds to 360 (359.5 and above) is north, 0; any other is kept.
double northAsZero(double degrees);

/// The direction a wind of components `u` (eastward) and `v` (northward) blows from, in
/// degrees from 0 to below 359.5 (0 for a calm and for one that rounds to north), in any
/// one unit of speed.
double windFromDegrees(double u, double v);
