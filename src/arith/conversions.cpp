#include "arith/conversions.h"

// True divisions by the constants, not multiplications by reciprocals: the tables
// must agree to the last bit with the published figures.

double millibarsToInches(double millibars) {
    return millibars / 33.86388158;
}

double celsiusToFahrenheit(double celsius) {
    return celsius * 1.8 + 32.0;
}

double millimetersToInches(double millimeters) {
    return millimeters / 25.4;
}

double knotsToMph(double knots) {
    return knots * 1.15077945;
}
