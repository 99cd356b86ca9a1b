#include "export/spreadsheet.h"

#include <optional>
#include <string>
#include <vector>

#include "export/csv_table.h"
#include "tables/missing_values.h"

namespace {

const std::vector<std::string> descriptionHeadings = {"run",      "data_file", "date_or_model_run",
                                                      "stations", "weights",   "ratio"};

std::vector<std::string> headings(std::initializer_list<std::string> columns) {
    std::vector<std::string> all = descriptionHeadings;
    all.insert(all.end(), columns);
    return all;
}

std::vector<std::string> startOfRecord(const RunDescription& run) {
    return {std::to_string(run.option),
            run.dataName,
            run.dateOrRun,
            run.stations,
            run.weights,
            run.ratio};
}

void addNumbers(std::vector<std::string>& record,
                std::initializer_list<std::optional<double>> values) {
    for (const std::optional<double>& value : values) {
        record.push_back(csvNumber(value));
    }
}

// Directions as the table has them and in whole degrees; none where the table has none.
std::optional<double> tensToDegrees(const std::optional<double>& tens) {
    return tens ? std::optional<double>(*tens * 10) : std::nullopt;
}

// A value the data file did not have is an empty cell.
std::optional<double> given(double value, double fileValue) {
    return isMissing(fileValue) ? std::nullopt : std::optional<double>(value);
}

}  // namespace

void writeBlendDailyCsv(std::ostream& out, const RunDescription& run,
                        const StationBlendRecords& records) {
    writeCsvRecord(out, headings({"day", "low_temp", "high_temp", "low_dpt", "high_dpt",
                                  "low_prob_prec", "high_prob_prec"}));
    int day = 1;
    for (const DailyForecastRow& row : records.daily) {
        std::vector<std::string> record = startOfRecord(run);
        record.push_back(std::to_string(day++));
        addNumbers(record, {row.lowTemp, row.highTemp, row.lowDpt, row.highDpt, row.lowProbPrec,
                            row.highProbPrec});
        writeCsvRecord(out, record);
    }
}

void writeBlendHourlyCsv(std::ostream& out, const RunDescription& run,
                         const StationBlendRecords& records) {
    writeCsvRecord(
        out, headings({"hour", "cloud_cover", "wind_dir_tens", "wind_dir_deg", "wind_speed_mph"}));
    for (const CloudWindRow& row : records.cloudWind) {
        std::vector<std::string> record = startOfRecord(run);
        record.push_back(std::to_string(row.hour));
        addNumbers(record, {row.cloudCover, row.windDirection, tensToDegrees(row.windDirection),
                            row.windSpeedMph});
        writeCsvRecord(out, record);
    }
}

void writeModelCsv(std::ostream& out, const RunDescription& run, const ModelTableRecords& records) {
    writeCsvRecord(out, headings({"hour", "pressure_inhg", "temp_2m_f", "temp_850mb_f",
                                  "temp_700mb_f", "temp_500mb_f", "thickness", "humidity_pct",
                                  "precip_in", "cloud_cover", "wind_dir_deg", "wind_dir_tens",
                                  "wind_speed_mph", "adj_f", "upper_band_f", "lower_band_f"}));
    for (int i = 0; i < records.rowCount; ++i) {
        const auto at = static_cast<std::size_t>(i);
        const ModelRow& row = records.rows[at];
        const ModelRow& file = records.fileRows[at];
        const auto band = [&](double value) {
            return bandKnown(file) ? std::optional<double>(value) : std::nullopt;
        };
        std::vector<std::string> record = startOfRecord(run);
        record.push_back(std::to_string(row.hour));
        addNumbers(record, {given(row.pressure, file.pressure), given(row.temp2m, file.temp2m),
                            given(row.temp850, file.temp850), given(row.temp700, file.temp700),
                            given(row.temp500, file.temp500), given(row.thickness, file.thickness),
                            given(row.humidity, file.humidity), given(row.precip, file.precip),
                            given(row.cloudCover, file.cloudCover),
                            given(row.windDir, file.windDir), given(row.windDir / 10, file.windDir),
                            given(row.windSpeed, file.windSpeed), band(records.adjustment[at]),
                            band(records.upperBand[at]), band(records.lowerBand[at])});
        writeCsvRecord(out, record);
    }
}

void writeSevereCsv(std::ostream& out, const RunDescription& run,
                    const SevereWeatherRecords& records) {
    writeCsvRecord(out, headings({"hour", "best_4lyr_lnde", "lift_index", "cnv_inhib", "cnv_avbl",
                                  "pot_temp_f", "kntc_900mb", "kntc_500mb", "kntc_250mb",
                                  "lat_heat", "sans_heat"}));
    for (int i = 0; i < records.rowCount; ++i) {
        const SevereWeatherRow& row = records.rows[static_cast<std::size_t>(i)];
        const SevereWeatherRow& file = records.fileRows[static_cast<std::size_t>(i)];
        std::vector<std::string> record = startOfRecord(run);
        record.push_back(std::to_string(row.hour));
        addNumbers(record, {given(row.best4LyrLnde, file.best4LyrLnde),
                            given(row.liftIndex, file.liftIndex),
                            given(row.cnvInhib, file.cnvInhib), given(row.cnvAvbl, file.cnvAvbl),
                            given(row.potTemp, file.potTemp), given(row.kntc900, file.kntc900),
                            given(row.kntc500, file.kntc500), given(row.kntc250, file.kntc250),
                            given(row.latHeat, file.latHeat), given(row.sansHeat, file.sansHeat)});
        writeCsvRecord(out, record);
    }
}
