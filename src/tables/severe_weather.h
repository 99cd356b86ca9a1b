#pragma once

/// Menu option 6: reads 29 forecast hours of severe-weather parameters and writes them,
/// with the potential temperature in degrees Fahrenheit, to its report.
void runSevereWeather();
