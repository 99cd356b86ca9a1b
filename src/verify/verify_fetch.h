#pragma once

#include <array>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "net/download.h"
#include "net/sources.h"
#include "verify/asos_csv.h"
#include "verify/mos_csv.h"
#include "verify/pairs.h"

// The past guidance and observations of one station, through the sources table and the
// cache: one MOS archive table per model, one ASOS table, each over the whole span of days.
// A span that is over is final: a second run asks for nothing.

inline constexpr std::array<MosModel, 3> verifiedModels = {MosModel::nbs, MosModel::gfs,
                                                           MosModel::mex};

struct StationData {
    std::array<std::vector<MosValue>, 3> guidance;  // in verifiedModels' order
    std::vector<AsosReport> reports;
    bool whole = true;  // every table came
};

/// The runs asked for: from eight days before the first day (lead day 7 of the MEX) to the
/// 12 UTC runs of the last.
Window guidanceSpan(const DayRange& range);

/// The observations asked for: from the day before the first to 12 UTC after the last.
Window observationSpan(const DayRange& range);

/// Brings the station's tables through `session`; a table that does not come is told on
/// `err` and leaves `whole` false. `nowHour` tells whether a span is over.
StationData fetchStationData(DownloadSession& session, const std::vector<Source>& sources,
                             const std::string& station, const DayRange& range,
                             std::int64_t nowHour);
