#include "export/meteogram.h"

#include <cmath>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "export/csv_table.h"
#include "export/time_axis.h"
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

// What the data are, where, from which run: the model and place as the file's title
// names them, the data file's name where it names no place.
std::string tableTitleOf(const RunDescription& run, const char* what) {
    const std::string model = run.model.empty() ? "Model" : run.model + " model";
    const std::string place = run.place.empty() ? run.dataName : run.place;
    const std::string when =
        run.dateOrRun == runNotGiven ? std::string(runNotGiven) : "run " + run.dateOrRun;
    return model + " " + what + ", " + place + ", " + when;
}

std::string tableNoteOf(const RunDescription& run, int rowCount, double first, double last) {
    return run.dataName + ", option " + std::to_string(run.option) + " (" + run.runName +
           ")  \u00b7  " + std::to_string(rowCount) + " forecast hours, " + svgNumber(first) +
           " to " + svgNumber(last);
}

// Says which fields a panel would have shown, for a panel with nothing to draw.
std::string missingNote(const std::vector<std::string>& headings) {
    std::string note;
    for (std::size_t i = 0; i < headings.size(); ++i) {
        note += (i == 0 ? "" : i + 1 == headings.size() ? " and " : ", ") + headings[i];
    }
    return note + (headings.size() == 1 ? " is" : " are") + " missing (-9999) in every row";
}

ChartSeries series(std::string label, ChartMark mark, int style) {
    ChartSeries s;
    s.label = std::move(label);
    s.mark = mark;
    s.style = style;
    return s;
}

struct DailyValue {
    const char* label;
    int style;
    bool night;  // a low, or the night's probability: placed in the night before the day
    std::function<std::optional<double>(const DailyForecastRow&)> of;
};

const DailyValue dailyTemperatures[] = {
    {"High temperature", 0, false, [](const DailyForecastRow& r) { return r.highTemp; }},
    {"Low temperature", 1, true, [](const DailyForecastRow& r) { return r.lowTemp; }},
    {"High dew point", 2, false, [](const DailyForecastRow& r) { return r.highDpt; }},
    {"Low dew point", 3, true, [](const DailyForecastRow& r) { return r.lowDpt; }},
};

// Each day's value at its valid period on the hours axis.
ChartSeries dailySeries(const DailyValue& value, ChartMark mark, const DailyForecastTable& table,
                        const DailyForecastTable& marks) {
    ChartSeries s = series(value.label, mark, value.style);
    for (std::size_t day = 0; day < table.size(); ++day) {
        const int number = static_cast<int>(day) + 1;
        s.x.push_back(value.night ? dayLowHour(number) : dayHighHour(number));
        s.y.push_back(unlessMarked(value.of(table[day]), value.of(marks[day]).value_or(0)));
    }
    return s;
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
    std::string stations;
    for (std::size_t i = 0; i < records.set.ids.size(); ++i) {
        stations += (i == 0 ? "" : " ") + records.set.ids[i];
    }
    // The records do not say which models' bulletins stood in each group (ETA or NAM, AVN
    // or GFS, MRF or GFSX), so the title names the guidance, not one model.
    chart.title =
        "Station blend of the 1200 UTC MOS guidance for " + stations + ", run of " + run.dateOrRun;
    chart.notes = {blendNotes(run, records), run.dataName + ", option 1 (" + run.runName + ")"};
    const CloudWindTable& hours = records.cloudWind;
    const double first = hours.front().hour;
    const double last = hours.back().hour;
    const std::optional<RunTime> start = readBulletinRun(run.dateOrRun, 12);

    ChartPanel temperatures;
    temperatures.title = "Temperature and dew point (\u00b0F): lows at night, highs by day";
    for (std::size_t station = 0; station < records.stationDaily.size(); ++station) {
        for (const DailyValue& value : dailyTemperatures) {
            ChartSeries own =
                dailySeries(value, ChartMark::faintLine, records.stationDaily[station],
                            records.stationDailyMissing[station]);
            // Each station in its own colour, named once.
            own.style = static_cast<int>(station % chartStyleCount);
            own.label = &value == dailyTemperatures && station < records.set.ids.size()
                            ? records.set.ids[station]
                            : "";
            temperatures.series.push_back(own);
        }
    }
    for (const DailyValue& value : dailyTemperatures) {
        temperatures.series.push_back(
            dailySeries(value, ChartMark::line, records.daily, records.dailyMissing));
    }

    ChartPanel precipitation;
    precipitation.title = "Probability of precipitation in 12 hours (%)";
    precipitation.yMin = 0;
    precipitation.yMax = 100;
    precipitation.height = 110;
    const DailyValue probabilities[] = {
        {"12-h PoP, night", 1, true, [](const DailyForecastRow& r) { return r.lowProbPrec; }},
        {"12-h PoP, day", 0, false, [](const DailyForecastRow& r) { return r.highProbPrec; }},
    };
    for (const DailyValue& value : probabilities) {
        ChartSeries bars = dailySeries(value, ChartMark::bars, records.daily, records.dailyMissing);
        bars.barWidth = dayPeriodHours;
        precipitation.series.push_back(bars);
    }

    ChartPanel clouds;
    clouds.title = "Cloud cover";
    clouds.height = 36;
    ChartPanel wind;
    wind.title = "Wind speed (mph) and direction";
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
    // One time axis for every panel: the days stand at their valid periods.
    for (ChartPanel& panel : chart.panels) {
        setTimeAxis(panel, first, last, start);
    }
    return chart;
}

Chart modelMeteogram(const RunDescription& run, const ModelTableRecords& records) {
    Chart chart;
    const auto count = static_cast<std::size_t>(records.rowCount);
    const double first = records.rows[0].hour;
    const double last = records.rows[count - 1].hour;
    chart.title = tableTitleOf(run, "columns");
    chart.notes = {run.heading, tableNoteOf(run, records.rowCount, first, last)};
    // The file's precipitation falls in the hours since the row before.
    const int period = count > 1 ? records.rows[1].hour - records.rows[0].hour : 0;
    const std::string perPeriod = period > 0 ? " per " + std::to_string(period) + " h" : "";

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
    precipitation.title = "Precipitation" + perPeriod + " (in)";
    precipitation.height = 100;
    ChartSeries precip = series("Precipitation" + perPeriod, ChartMark::bars, 1);
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
    temperatures.emptyNote = missingNote({"2m Temp", "850MB Temp", "700MB Temp", "500MB Temp"});
    precipitation.emptyNote = missingNote({"Precip"});
    wind.emptyNote = missingNote({"Wind Speed"});
    pressure.emptyNote = missingNote({"Pressure"});
    const std::optional<RunTime> start = readModelRun(run.dateOrRun);
    for (ChartPanel* panel : {&temperatures, &precipitation, &wind, &pressure}) {
        setTimeAxis(*panel, first, last, start);
    }
    chart.panels = {temperatures, precipitation, wind, pressure};
    return chart;
}

Chart severeMeteogram(const RunDescription& run, const SevereWeatherRecords& records) {
    Chart chart;
    const auto count = static_cast<std::size_t>(records.rowCount);
    const double first = records.rows[0].hour;
    const double last = records.rows[count - 1].hour;
    chart.title = tableTitleOf(run, "severe weather parameters");
    chart.notes = {run.heading, tableNoteOf(run, records.rowCount, first, last)};
    const std::optional<RunTime> start = readModelRun(run.dateOrRun);
    struct Field {
        const char* label;
        double SevereWeatherRow::*field;
        const char* heading;  // the report's
    };
    struct PanelFields {
        const char* title;
        bool markZero;
        std::vector<Field> fields;
    };
    const PanelFields panels[] = {
        {"Convective energy and inhibition (J/kg)",
         true,
         {{"CAPE (CNV AVBL)", &SevereWeatherRow::cnvAvbl, "CNV AVBL"},
          {"CIN (CNV INHIB)", &SevereWeatherRow::cnvInhib, "CNV INHIB"}}},
        {"Lifted indices (\u00b0C)",
         true,
         {{"Best 4-layer", &SevereWeatherRow::best4LyrLnde, "BEST 4LYR LNDE"},
          {"Lifted index", &SevereWeatherRow::liftIndex, "LIFT INDEX"}}},
        {"Wind speeds aloft (kt)",
         false,
         {{"900 mb", &SevereWeatherRow::kntc900, "900MB KNTC"},
          {"500 mb", &SevereWeatherRow::kntc500, "500MB KNTC"},
          {"250 mb", &SevereWeatherRow::kntc250, "250MB KNTC"}}},
    };
    for (const PanelFields& fields : panels) {
        ChartPanel panel;
        panel.title = fields.title;
        panel.markZero = fields.markZero;
        setTimeAxis(panel, first, last, start);
        int style = 0;
        std::vector<std::string> headings;
        for (const Field& field : fields.fields) {
            headings.emplace_back(field.heading);
            ChartSeries s = series(field.label, ChartMark::line, style++);
            for (std::size_t i = 0; i < count; ++i) {
                s.x.push_back(records.rows[i].hour);
                s.y.push_back(
                    unlessMissing(records.rows[i].*field.field, records.fileRows[i].*field.field));
            }
            panel.series.push_back(s);
        }
        panel.emptyNote = missingNote(headings);
        chart.panels.push_back(panel);
    }
    return chart;
}
