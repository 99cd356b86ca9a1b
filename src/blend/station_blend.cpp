#include "blend/station_blend.h"

#include <string>
#include <vector>

#include "arith/conversions.h"
#include "blend/bulletin_check.h"
#include "blend/text_reading.h"
#include "io/data_file.h"
#include "io/option_word.h"
#include "io/report_file.h"

namespace {

// Cloud codes run from 0 (clear) to 10 (overcast); the tables show the covered fraction.
constexpr double cloudCodeScale = 10.0;

template <typename Value, std::size_t elements>
ModelSetValues modelRecord(const std::array<std::array<Value, elements>, maxSetStations>& eta,
                           const std::array<std::array<Value, elements>, maxSetStations>& avn,
                           std::size_t element, std::size_t stationCount) {
    ModelSetValues record;
    for (std::size_t station = 0; station < stationCount; ++station) {
        record.eta[station] = static_cast<double>(eta[station][element]);
        record.avn[station] = static_cast<double>(avn[station][element]);
    }
    return record;
}

template <std::size_t elements>
SetValues stationRecord(const std::array<std::array<std::int32_t, elements>, maxSetStations>& group,
                        std::size_t element, std::size_t stationCount) {
    SetValues record{};
    for (std::size_t station = 0; station < stationCount; ++station) {
        record[station] = static_cast<double>(group[station][element]);
    }
    return record;
}

// The ratios and the set's weights one run blends with.
struct SetBlend {
    double etaRatio = 0;
    double avnRatio = 0;
    std::span<const double> weights;
};

double blendedModels(const SetBlend& blend, const ModelSetValues& values) {
    return blendedSetValue(blend.etaRatio, blend.avnRatio, blend.weights, values);
}

double weightedStations(const SetBlend& blend, const SetValues& values) {
    return setWeightedValue(blend.weights, values);
}

// Each short-range row gives two values a day, the day's first and second.
DailyForecastRow shortRangeDay(const SetBlend& blend, const std::array<ModelSetValues, 12>& blended,
                               std::size_t day) {
    const std::size_t first = 2 * (day - 1);
    const auto valueAt = [&](std::size_t row, std::size_t second) {
        return blendedModels(blend, blended[row + first + second]);
    };
    return {valueAt(tempPrecipAt.maxMin, 0),        valueAt(tempPrecipAt.maxMin, 1),
            valueAt(tempPrecipAt.dewPoint, 0),      valueAt(tempPrecipAt.dewPoint, 1),
            valueAt(tempPrecipAt.precipitation, 0), valueAt(tempPrecipAt.precipitation, 1)};
}

// Days 3 to 7 are the five values of each extended-range run; the day has no low
// probability.
DailyForecastRow extendedDay(const SetBlend& blend, const std::array<SetValues, 25>& extended,
                             std::size_t day) {
    const std::size_t index = day - 3;
    const auto valueAt = [&](std::size_t run) {
        return weightedStations(blend, extended[run + index]);
    };
    return {valueAt(mrfTempPrecipAt.maxMinEven),
            valueAt(mrfTempPrecipAt.maxMinOdd),
            valueAt(mrfTempPrecipAt.dewPointEven),
            valueAt(mrfTempPrecipAt.dewPointOdd),
            std::nullopt,
            valueAt(mrfTempPrecipAt.precipitation)};
}

// Column 0 to 18 of the short range is hour 6 to 60.
CloudWindRow shortRangeHour(const SetBlend& blend, const CloudWindElements& etaCloudWind,
                            const CloudWindElements& avnCloudWind, std::size_t column) {
    const std::size_t count = blend.weights.size();
    const auto recordAt = [&](std::size_t row) {
        return modelRecord(etaCloudWind, avnCloudWind, row + column, count);
    };
    const ModelSetValues speeds = recordAt(cloudWindAt.speed);
    const double direction = blendedSetWindDirection(blend.etaRatio, blend.avnRatio, blend.weights,
                                                     recordAt(cloudWindAt.direction), speeds);
    return {static_cast<int>(6 + 3 * column),
            blendedModels(blend, recordAt(cloudWindAt.cloud)) / cloudCodeScale, direction,
            knotsToMph(blendedModels(blend, speeds))};
}

// Hours 72 to 192 are the extended range's columns 5 to 15, every 12 hours; no direction.
CloudWindRow extendedHour(const SetBlend& blend, const MrfCloudWindElements& mrfCloudWind,
                          std::size_t hour) {
    const std::size_t column = hour / 12 - 6;
    const auto valueAt = [&](std::size_t row) {
        return weightedStations(blend,
                                stationRecord(mrfCloudWind, row + column, blend.weights.size()));
    };
    return {static_cast<int>(hour), valueAt(mrfCloudWindAt.cloud) / cloudCodeScale, std::nullopt,
            knotsToMph(valueAt(mrfCloudWindAt.wind))};
}

void sayUnreadRow(const UnreadRow& unread, const StationSet& set, std::ostream& messages) {
    messages << explainUnreadRow(unread, set) << std::endl;
}

// Each element marked 1 where a bulletin gave -9999, 0 elsewhere: blended with both
// ratios 1 and all weights 1, a cell comes out above 0 exactly when a -9999 fed it.
template <typename Elements>
Elements missingMarks(const Elements& elements) {
    Elements marks{};
    for (std::size_t station = 0; station < elements.size(); ++station) {
        for (std::size_t k = 0; k < elements[station].size(); ++k) {
            marks[station][k] = elements[station][k] == -9999 ? 1 : 0;
        }
    }
    return marks;
}

// One station of the bulletins moved to the place of the first, as a set of one.
template <typename Elements>
Elements stationAlone(const Elements& elements, std::size_t station) {
    Elements alone{};
    alone[0] = elements[station];
    return alone;
}

DailyForecastTable dailyOf(const StationBulletins& b, double etaRatio, double avnRatio,
                           std::span<const double> weights) {
    return dailyForecastTable(etaRatio, avnRatio, weights,
                              tempPrecipRecords(b.etaTempPrecip, b.avnTempPrecip, weights.size()),
                              mrfTempPrecipRecords(b.mrfTempPrecip, weights.size()));
}

StationBulletins missingBulletins(const StationBulletins& b) {
    StationBulletins marks;
    marks.etaTempPrecip = missingMarks(b.etaTempPrecip);
    marks.avnTempPrecip = missingMarks(b.avnTempPrecip);
    marks.mrfTempPrecip = missingMarks(b.mrfTempPrecip);
    marks.etaCloudWind = missingMarks(b.etaCloudWind);
    marks.avnCloudWind = missingMarks(b.avnCloudWind);
    marks.mrfCloudWind = missingMarks(b.mrfCloudWind);
    return marks;
}

StationBlendRecords blendRecords(const StationBulletins& bulletins, const StationSet& set,
                                 double etaRatio, double avnRatio) {
    StationBlendRecords records;
    records.reportWritten = true;
    records.date = bulletins.date;
    records.set = set;
    records.etaRatio = etaRatio;
    records.avnRatio = avnRatio;
    const StationBulletins marks = missingBulletins(bulletins);
    const std::vector<double> ones(set.weights.size(), 1.0);
    records.dailyMissing = dailyOf(marks, 1.0, 1.0, ones);
    records.cloudWindMissing =
        cloudWindTable(1.0, 1.0, ones, marks.etaCloudWind, marks.avnCloudWind, marks.mrfCloudWind);
    const std::vector<double> alone = {1.0};
    for (std::size_t station = 0; station < set.weights.size(); ++station) {
        StationBulletins own;
        own.etaTempPrecip = stationAlone(bulletins.etaTempPrecip, station);
        own.avnTempPrecip = stationAlone(bulletins.avnTempPrecip, station);
        own.mrfTempPrecip = stationAlone(bulletins.mrfTempPrecip, station);
        records.stationDaily.push_back(dailyOf(own, etaRatio, avnRatio, alone));
        StationBulletins ownMarks;
        ownMarks.etaTempPrecip = stationAlone(marks.etaTempPrecip, station);
        ownMarks.avnTempPrecip = stationAlone(marks.avnTempPrecip, station);
        ownMarks.mrfTempPrecip = stationAlone(marks.mrfTempPrecip, station);
        records.stationDailyMissing.push_back(dailyOf(ownMarks, 1.0, 1.0, alone));
    }
    return records;
}

}  // namespace

std::array<ModelSetValues, 12> tempPrecipRecords(const TempPrecipElements& etaTempPrecip,
                                                 const TempPrecipElements& avnTempPrecip,
                                                 std::size_t stationCount) {
    std::array<ModelSetValues, 12> records{};
    for (std::size_t k = 0; k < records.size(); ++k) {
        records[k] = modelRecord(etaTempPrecip, avnTempPrecip, k, stationCount);
    }
    return records;
}

std::array<SetValues, 25> mrfTempPrecipRecords(const MrfTempPrecipElements& mrfTempPrecip,
                                               std::size_t stationCount) {
    std::array<SetValues, 25> records{};
    for (std::size_t j = 0; j < records.size(); ++j) {
        records[j] = stationRecord(mrfTempPrecip, j, stationCount);
    }
    return records;
}

DailyForecastTable dailyForecastTable(double etaRatio, double avnRatio,
                                      std::span<const double> weights,
                                      const std::array<ModelSetValues, 12>& blended,
                                      const std::array<SetValues, 25>& extended) {
    const SetBlend blend{etaRatio, avnRatio, weights};
    DailyForecastTable daily{};
    for (std::size_t day = 1; day <= 2; ++day) {
        daily[day - 1] = shortRangeDay(blend, blended, day);
    }
    for (std::size_t day = 3; day <= 7; ++day) {
        daily[day - 1] = extendedDay(blend, extended, day);
    }
    return daily;
}

CloudWindTable cloudWindTable(double etaRatio, double avnRatio, std::span<const double> weights,
                              const CloudWindElements& etaCloudWind,
                              const CloudWindElements& avnCloudWind,
                              const MrfCloudWindElements& mrfCloudWind) {
    const SetBlend blend{etaRatio, avnRatio, weights};
    CloudWindTable table{};
    std::size_t row = 0;
    for (std::size_t column = 0; column < shortRangeHours; ++column) {
        table[row++] = shortRangeHour(blend, etaCloudWind, avnCloudWind, column);
    }
    for (std::size_t hour = 72; hour <= 192; hour += 12) {
        table[row++] = extendedHour(blend, mrfCloudWind, hour);
    }
    return table;
}

bool readStationBulletins(const DataFile& data, const StationSet& set, StationBulletins& bulletins,
                          std::ostream& messages) {
    BulletinVerdict verdict;
    BulletinFileBounds bounds;
    if (!checkBulletinFile(data, verdict, bounds, set)) {
        messages << "Your file is invalid." << std::endl << explainVerdict(verdict) << std::endl;
        return false;
    }

    // Zero where a reader stores nothing, such as a cloud word it does not know.
    bulletins = StationBulletins{};
    UnreadRow unread;
    if (!readTempPrecipElements(bulletins.etaTempPrecip, bulletins.avnTempPrecip,
                                bulletins.mrfTempPrecip, data, bounds, set, unread) ||
        !readCloudWindElements(bulletins.etaCloudWind, bulletins.avnCloudWind,
                               bulletins.mrfCloudWind, data, bounds, set, unread)) {
        sayUnreadRow(unread, set, messages);
        return false;
    }
    // Said only once every row is read: never just before a refusal.
    statusLines(messages) << "You have a valid file." << std::endl;
    bulletins.date = verdict.referenceDate;
    return true;
}

RunOutcome writeStationBlend(const StationBulletins& bulletins, const StationSet& set,
                             double etaRatio, const std::string& dataName, std::ostream& out,
                             std::ostream& messages, StationBlendRecords* records) {
    const std::size_t count = set.weights.size();
    const std::array<ModelSetValues, 12> blended =
        tempPrecipRecords(bulletins.etaTempPrecip, bulletins.avnTempPrecip, count);
    const std::array<SetValues, 25> extended = mrfTempPrecipRecords(bulletins.mrfTempPrecip, count);

    const double avnRatio = 1.0 - etaRatio;
    statusLines(messages) << "The AVNratio value then has to be: " << avnRatio << std::endl
                          << std::endl;

    const DailyForecastTable daily =
        dailyForecastTable(etaRatio, avnRatio, set.weights, blended, extended);
    const CloudWindTable cloudWind =
        cloudWindTable(etaRatio, avnRatio, set.weights, bulletins.etaCloudWind,
                       bulletins.avnCloudWind, bulletins.mrfCloudWind);
    ReportFile report(reportFileName(dataName));
    writeBlendReport(report.text, daily, cloudWind);
    // The report is in place before the table goes to a console or pipe that may block or
    // fail; a failure to write it is told after the table, as the forecaster reads on.
    const bool written = commitReport(report);
    writeConsoleDailyTable(out, daily);
    tellReportNotWritten(report, written, messages);
    if (!written) {
        return RunOutcome::reportLost;
    }
    if (records != nullptr) {
        *records = blendRecords(bulletins, set, etaRatio, avnRatio);
        records->dataName = dataName;
        records->daily = daily;
        records->cloudWind = cloudWind;
    }
    return RunOutcome::reportWritten;
}
