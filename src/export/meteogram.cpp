#include "export/meteogram.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "export/csv_table.h"
#include "tables/missing_values.h"

namespace {

std::optional<double> unlessMissing(double value, double fileValue) {
    if (isMissing(fileValue)) {
        return std::nullopt;
    }
    return value;
}

// A cell of option 1's tables that a -9999 of some bulletin fed is none.
std::optional<double> unlessMarked(const std::optional<double>& value, double mark) {
    if (!value || mark > 0) {
        return std::nullopt;
    }
    return value;
}

std::string titleOf(const RunDescription& run) {
    return run.runName + " (option " + std::to_string(run.option) + "): " + run.dataName;
}

ChartSeries series(std::string label, ChartMark mark, int style) {
    ChartSeries s;
    s.label = std::move(label);
    s.mark = mark;
    s.style = style;
    return s;
}

// Ticks every 12 or 24 hours across the hours shown.
void hourAxis(ChartPanel& panel, double first, double last) {
    const double pad = std::max(1.5, (last - first) / 60);
    panel.xMin = first - pad;
    panel.xMax = last + pad;
    panel.xLabel = "Forecast hour";
    const double step = last - first > 96 ? 24 : 12;
    for (double tick = std::ceil(first / step) * step; tick <= last; tick += step) {
        panel.xTicks.push_back(tick);
    }
}

struct DailyValue {
    const char* label;
    int style;
    std::function<std::optional<double>(const DailyForecastRow&)> of;
};

const DailyValue dailyTemperatures[] = {
    {"High temperature", 0, [](const DailyForecastRow& r) { return r.highTemp; }},
    {"Low temperature", 1, [](const DailyForecastRow& r) { return r.lowTemp; }},
    {"High dew point", 2, [](const DailyForecastRow& r) { return r.highDpt; }},
    {"Low dew point", 3, [](const DailyForecastRow& r) { return r.lowDpt; }},
};

ChartSeries dailySeries(const DailyValue& value, ChartMark mark, const DailyForecastTable& table,
                        const DailyForecastTable& marks) {
    ChartSeries s = series(value.label, mark, value.style);
    for (std::size_t day = 0; day < table.size(); ++day) {
        s.x.push_back(static_cast<double>(day + 1));
        s.y.push_back(unlessMarked(value.of(table[day]), value.of(marks[day]).value_or(0)));
    }
    return s;
}

ChartPanel dayPanel(std::string title) {
    ChartPanel panel;
    panel.title = std::move(title);
    panel.xMin = 0.5;
    panel.xMax = 7.5;
    panel.xLabel = "Day";
    panel.xTicks = {1, 2, 3, 4, 5, 6, 7};
    return panel;
}

std::string blendNotes(const RunDescription& run, const StationBlendRecords& records) {
    std::string stations;
    for (std::size_t i = 0; i < records.set.ids.size(); ++i) {
        stations +=
            (i == 0 ? "" : ", ") + records.set.ids[i] + " " + csvNumber(records.set.weights[i]);
    }
    return "Bulletins of " + run.dateOrRun + "  \u00b7  stations " + stations +
           "  \u00b7  ETA ratio " + run.ratio + " (AVN " + csvNumber(records.avnRatio) + ")";
}

}  // namespace

Chart blendMeteogram(const RunDescription& run, const StationBlendRecords& records) {
    Chart chart;
    chart.title = titleOf(run);
    chart.notes = {blendNotes(run, records)};

    ChartPanel temperatures = dayPanel("Temperature and dew point (\u00b0F)");
    for (const DailyValue& value : dailyTemperatures) {
        for (std::size_t station = 0; station < records.stationDaily.size(); ++station) {
            ChartSeries own =
                dailySeries(value, ChartMark::faintLine, records.stationDaily[station],
                            records.stationDailyMissing[station]);
            own.label = &value == dailyTemperatures && station == 0 ? "each station" : "";
            temperatures.series.push_back(own);
        }
    }
    for (const DailyValue& value : dailyTemperatures) {
        temperatures.series.push_back(
            dailySeries(value, ChartMark::line, records.daily, records.dailyMissing));
    }

    ChartPanel precipitation = dayPanel("Precipitation probability (%)");
    precipitation.yMin = 0;
    precipitation.yMax = 100;
    precipitation.height = 110;
    const DailyValue probabilities[] = {
        {"LowProbPrec", 1, [](const DailyForecastRow& r) { return r.lowProbPrec; }},
        {"HighProbPrec", 1, [](const DailyForecastRow& r) { return r.highProbPrec; }},
    };
    for (const DailyValue& value : probabilities) {
        precipitation.series.push_back(
            dailySeries(value, ChartMark::bars, records.daily, records.dailyMissing));
    }

    const CloudWindTable& hours = records.cloudWind;
    ChartPanel clouds;
    clouds.title = "Cloud cover";
    clouds.height = 36;
    hourAxis(clouds, hours.front().hour, hours.back().hour);
    ChartPanel wind;
    wind.title = "Wind speed (mph) and direction";
    hourAxis(wind, hours.front().hour, hours.back().hour);
    ChartSeries cover = series("clear to overcast", ChartMark::cloudStrip, 0);
    ChartSeries speed = series("Wind speed", ChartMark::line, 1);
    ChartSeries arrows = series("Blowing to", ChartMark::windArrows, 5);
    for (std::size_t i = 0; i < hours.size(); ++i) {
        const CloudWindRow& row = hours[i];
        const CloudWindRow& marks = records.cloudWindMissing[i];
        const double hour = row.hour;
        cover.x.push_back(hour);
        cover.y.push_back(unlessMarked(row.cloudCover, marks.cloudCover));
        speed.x.push_back(hour);
        speed.y.push_back(unlessMarked(row.windSpeedMph, marks.windSpeedMph));
        arrows.x.push_back(hour);
        arrows.y.push_back(speed.y.back());
        // The bulletins give the direction in tens of degrees.
        const std::optional<double> direction =
            unlessMarked(row.windDirection, marks.windDirection.value_or(0));
        arrows.extra.push_back(direction ? std::optional<double>(*direction * 10) : std::nullopt);
    }
    clouds.series = {cover};
    wind.series = {speed, arrows};
    chart.panels = {temperatures, precipitation, clouds, wind};
    return chart;
}

Chart modelMeteogram(const RunDescription& run, const ModelTableRecords& records) {
    Chart chart;
    chart.title = titleOf(run);
    chart.notes = {run.heading, "Model run " + run.dateOrRun + "  \u00b7  " +
                                    std::to_string(records.rowCount) + " forecast hours"};
    const auto count = static_cast<std::size_t>(records.rowCount);
    const double first = records.rows[0].hour;
    const double last = records.rows[count - 1].hour;

    ChartPanel temperatures;
    temperatures.title = "Temperatures (\u00b0F) with the +/- band around 2 m";
    ChartSeries band = series("+/- band", ChartMark::band, 0);
    struct Level {
        const char* label;
        double ModelRow::*field;
    };
    const Level levels[] = {{"2 m", &ModelRow::temp2m},
                            {"850 mb", &ModelRow::temp850},
                            {"700 mb", &ModelRow::temp700},
                            {"500 mb", &ModelRow::temp500}};
    std::vector<ChartSeries> lines;
    for (std::size_t level = 0; level < std::size(levels); ++level) {
        lines.push_back(series(levels[level].label, ChartMark::line, static_cast<int>(level)));
    }
    ChartPanel precipitation;
    precipitation.title = "Precipitation (in)";
    precipitation.height = 100;
    ChartSeries precip = series("Precipitation", ChartMark::bars, 1);
    ChartPanel wind;
    wind.title = "Wind speed (mph) and direction";
    ChartSeries speed = series("Wind speed", ChartMark::line, 1);
    ChartSeries arrows = series("Blowing to", ChartMark::windArrows, 5);
    ChartPanel pressure;
    pressure.title = "Pressure (inHg)";
    pressure.height = 110;
    ChartSeries inches = series("Pressure", ChartMark::line, 3);

    for (std::size_t i = 0; i < count; ++i) {
        const ModelRow& row = records.rows[i];
        const ModelRow& file = records.fileRows[i];
        const double hour = row.hour;
        // The band takes the wind, the humidity and two temperatures.
        const bool known = bandKnown(file);
        band.x.push_back(hour);
        band.y.push_back(known ? std::optional<double>(records.lowerBand[i]) : std::nullopt);
        band.extra.push_back(known ? std::optional<double>(records.upperBand[i]) : std::nullopt);
        for (std::size_t level = 0; level < std::size(levels); ++level) {
            lines[level].x.push_back(hour);
            lines[level].y.push_back(
                unlessMissing(row.*levels[level].field, file.*levels[level].field));
        }
        precip.x.push_back(hour);
        precip.y.push_back(unlessMissing(row.precip, file.precip));
        speed.x.push_back(hour);
        speed.y.push_back(unlessMissing(row.windSpeed, file.windSpeed));
        arrows.x.push_back(hour);
        arrows.y.push_back(speed.y.back());
        arrows.extra.push_back(unlessMissing(row.windDir, file.windDir));
        inches.x.push_back(hour);
        inches.y.push_back(unlessMissing(row.pressure, file.pressure));
    }
    temperatures.series = {band};
    temperatures.series.insert(temperatures.series.end(), lines.begin(), lines.end());
    precipitation.series = {precip};
    wind.series = {speed, arrows};
    pressure.series = {inches};
    for (ChartPanel* panel : {&temperatures, &precipitation, &wind, &pressure}) {
        hourAxis(*panel, first, last);
    }
    chart.panels = {temperatures, precipitation, wind, pressure};
    return chart;
}

Chart severeMeteogram(const RunDescription& run, const SevereWeatherRecords& records) {
    Chart chart;
    chart.title = titleOf(run);
    chart.notes = {run.heading, "Model run " + run.dateOrRun + "  \u00b7  " +
                                    std::to_string(records.rowCount) + " forecast hours"};
    const auto count = static_cast<std::size_t>(records.rowCount);
    struct Field {
        const char* label;
        double SevereWeatherRow::*field;
    };
    struct PanelFields {
        const char* title;
        bool markZero;
        std::vector<Field> fields;
    };
    const PanelFields panels[] = {
        {"Convective energy and inhibition (J/kg)",
         true,
         {{"CAPE (CNV AVBL)", &SevereWeatherRow::cnvAvbl},
          {"CIN (CNV INHIB)", &SevereWeatherRow::cnvInhib}}},
        {"Lifted indices (\u00b0C)",
         true,
         {{"Best 4-layer", &SevereWeatherRow::best4LyrLnde},
          {"Lifted index", &SevereWeatherRow::liftIndex}}},
        {"Wind speeds aloft (kt)",
         false,
         {{"900 mb", &SevereWeatherRow::kntc900},
          {"500 mb", &SevereWeatherRow::kntc500},
          {"250 mb", &SevereWeatherRow::kntc250}}},
    };
    for (const PanelFields& fields : panels) {
        ChartPanel panel;
        panel.title = fields.title;
        panel.markZero = fields.markZero;
        hourAxis(panel, records.rows[0].hour, records.rows[count - 1].hour);
        int style = 0;
        for (const Field& field : fields.fields) {
            ChartSeries s = series(field.label, ChartMark::line, style++);
            for (std::size_t i = 0; i < count; ++i) {
                s.x.push_back(records.rows[i].hour);
                s.y.push_back(
                    unlessMissing(records.rows[i].*field.field, records.fileRows[i].*field.field));
            }
            panel.series.push_back(s);
        }
        chart.panels.push_back(panel);
    }
    return chart;
}
