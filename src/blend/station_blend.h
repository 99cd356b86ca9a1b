#pragma once

/// Menu option 1: checks a file of twelve MOS bulletins, blends its four stations and the
/// ETA and AVN models with a ratio the forecaster types, and writes the city forecast.
void runStationBlend();
