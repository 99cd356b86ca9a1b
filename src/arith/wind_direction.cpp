#include "arith/wind_direction.h"

#include <cmath>
#include <numbers>

double northAsZero(double degrees) {
    // Written with "%.0f", 359.5 already reads 360.
    return degrees >= 359.5 ? 0.0 : degrees;
}

double windFromDegrees(double u, double v) {
    if (u == 0.0 && v == 0.0) {
        return 0.0;
    }
    double degrees = std::atan2(-u, -v) * 180.0 / std::numbers::pi;
    if (degrees < 0.0) {
        degrees += 360.0;
    }
    return northAsZero(degrees);
}
