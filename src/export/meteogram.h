#pragma once

#include "blend/station_blend.h"
#include "export/run_description.h"
#include "export/svg_chart.h"
#include "tables/model_table.h"
#include "tables/severe_weather.h"

// The pictures of each run: which values go into which panel, drawn how.

/// Option 1: temperatures and dew points by day with each station's own faintly behind,
/// precipitation probabilities, cloud cover and wind by forecast hour.
Chart blendMeteogram(const RunDescription& run, const StationBlendRecords& records);

/// Options 2 to 5: the four temperatures with the band, precipitation, wind, pressure.
Chart modelMeteogram(const RunDescription& run, const ModelTableRecords& records);

/// Option 6: convective energy and inhibition, the lifted indices, the winds aloft.
Chart severeMeteogram(const RunDescription& run, const SevereWeatherRecords& records);
