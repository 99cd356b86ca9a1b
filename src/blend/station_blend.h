#pragma once

#include <array>
#include <cstddef>
#include <span>

#include "arith/station_set.h"
#include "arith/station_weights.h"
#include "blend/blend_report.h"
#include "blend/cloud_wind_reader.h"
#include "blend/temp_precip_reader.h"

/// The four stations with their fixed weights: the set when the forecaster gives none.
StationSet fixedStationSet();

/// Menu option 1: checks a file of 3N MOS bulletins of the N stations of `set`, blends
/// them with the set's weights and the ETA and AVN models with a ratio the forecaster
/// types, and writes the city forecast. False only when the report could not be written.
bool runStationBlend(const StationSet& set);

/// For each element of the short-range groups: its ETA and its AVN values at the first
/// `stationCount` stations.
std::array<ModelSetValues, 12> tempPrecipRecords(const TempPrecipElements& etaTempPrecip,
                                                 const TempPrecipElements& avnTempPrecip,
                                                 std::size_t stationCount);

/// For each element of the extended-range group: its values at the first `stationCount`
/// stations.
std::array<SetValues, 25> mrfTempPrecipRecords(const MrfTempPrecipElements& mrfTempPrecip,
                                               std::size_t stationCount);

/// Days 1 and 2 blend the ETA and AVN groups with the two ratios; days 3 to 7 weight the
/// MRF group alone and have no low probability. `weights` are the set's, in set order.
DailyForecastTable dailyForecastTable(double etaRatio, double avnRatio,
                                      std::span<const double> weights,
                                      const std::array<ModelSetValues, 12>& blended,
                                      const std::array<SetValues, 25>& extended);

/// Hours 6 to 60 blend the ETA and AVN groups; hours 72 to 192 weight the MRF group alone
/// and have no wind direction. Cloud codes become fractions, knots miles per hour.
CloudWindTable cloudWindTable(double etaRatio, double avnRatio, std::span<const double> weights,
                              const CloudWindElements& etaCloudWind,
                              const CloudWindElements& avnCloudWind,
                              const MrfCloudWindElements& mrfCloudWind);
