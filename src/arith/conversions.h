#pragma once

// Unit conversions from model units to the units of a local forecast.
// Each caller converts a value once: converting twice converts twice.

/// Millibars (hectopascals) to inches of mercury.
double millibarsToInches(double millibars);

/// Degrees Celsius to degrees Fahrenheit; a temperature, not a temperature difference.
double celsiusToFahrenheit(double celsius);

/// Millimetres of precipitation to inches.
double millimetersToInches(double millimeters);

/// Knots to statute miles per hour.
double knotsToMph(double knots);
