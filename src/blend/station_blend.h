#pragma once

#include <array>

#include "arith/station_weights.h"
#include "blend/blend_report.h"
#include "blend/cloud_wind_reader.h"
#include "blend/temp_precip_reader.h"

/// Menu option 1: checks a file of twelve MOS bulletins, blends its four stations and the
/// ETA and AVN models with a ratio the forecaster types, and writes the city forecast.
/// False only when the report could not be written.
bool runStationBlend();

/// For each element of the short-range groups: its four ETA station values, then its four
/// AVN station values.
std::array<ModelStationValues, 12> tempPrecipRecords(const TempPrecipElements& etaTempPrecip,
                                                     const TempPrecipElements& avnTempPrecip);

/// For each element of the extended-range group: its four station values.
std::array<StationValues, 25> mrfTempPrecipRecords(const MrfTempPrecipElements& mrfTempPrecip);

/// Days 1 and 2 blend the ETA and AVN groups with the two ratios; days 3 to 7 weight the
/// MRF group alone and have no low probability.
DailyForecastTable dailyForecastTable(double etaRatio, double avnRatio,
                                      const std::array<ModelStationValues, 12>& blended,
                                      const std::array<StationValues, 25>& extended);

/// Hours 6 to 60 blend the ETA and AVN groups; hours 72 to 192 weight the MRF group alone
/// and have no wind direction. Cloud codes become fractions, knots miles per hour.
CloudWindTable cloudWindTable(double etaRatio, double avnRatio,
                              const CloudWindElements& etaCloudWind,
                              const CloudWindElements& avnCloudWind,
                              const MrfCloudWindElements& mrfCloudWind);
