#pragma once

#include <array>
#include <cstddef>
#include <ostream>
#include <span>
#include <string>
#include <vector>

#include "arith/station_set.h"
#include "arith/station_weights.h"
#include "blend/blend_report.h"
#include "blend/cloud_wind_reader.h"
#include "blend/temp_precip_reader.h"
#include "io/data_file.h"
#include "io/report_file.h"

/// What a station blend run worked out, for what is written beside its report; filled
/// only once the report is written. A "missing" table holds a value above 0 in each cell
/// that a -9999 of some bulletin fed, 0 elsewhere.
struct StationBlendRecords {
    bool reportWritten = false;
    std::string dataName;
    std::string date;  // the bulletins' date
    StationSet set;
    double etaRatio = 0;
    double avnRatio = 0;
    DailyForecastTable daily{};
    CloudWindTable cloudWind{};
    DailyForecastTable dailyMissing{};
    CloudWindTable cloudWindMissing{};
    std::vector<DailyForecastTable> stationDaily;  // each station's own values, in set order
    std::vector<DailyForecastTable> stationDailyMissing;
};

/// What option 1 reads from its bulletin file before the ratio is known. The names are the
/// old models'; today eta* holds the NAM or NBS (Blend) guidance, avn* the GFS MOS and mrf*
/// the GFSX MOS.
struct StationBulletins {
    TempPrecipElements etaTempPrecip;
    TempPrecipElements avnTempPrecip;
    MrfTempPrecipElements mrfTempPrecip;
    CloudWindElements etaCloudWind;
    CloudWindElements avnCloudWind;
    MrfCloudWindElements mrfCloudWind;
    std::string date;  // the date every bulletin's header gives
};

/// Checks the opened bulletin file `data` of the stations of `set` and reads its rows into
/// `bulletins`. False when the file is invalid or a row is missing; the reason has been
/// told on `messages`.
bool readStationBulletins(const DataFile& data, const StationSet& set, StationBulletins& bulletins,
                          std::ostream& messages);

/// Blends `bulletins` with the set's weights and the ETA weight `etaRatio` (0 to 1): the
/// daily table goes to `out`, the report to the file named after `dataName`, every message
/// to `messages`, the values to `records` when given.
RunOutcome writeStationBlend(const StationBulletins& bulletins, const StationSet& set,
                             double etaRatio, const std::string& dataName, std::ostream& out,
                             std::ostream& messages, StationBlendRecords* records = nullptr);

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
