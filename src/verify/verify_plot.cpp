#include "verify/verify_plot.h"

#include <array>
#include <map>
#include <optional>

#include "export/svg_chart.h"
#include "verify/pairs.h"
#include "verify/verify_report.h"
#include "verify/verify_time.h"

namespace {

constexpr std::array<GuidanceSource, 5> plotted = {GuidanceSource::nbs, GuidanceSource::mav,
                                                   GuidanceSource::mex, GuidanceSource::blend,
                                                   GuidanceSource::evenBlend};

ChartPanel maePanel(std::span<const VerifiedPair> pairs, std::span<const double> weights,
                    double ratio) {
    ChartPanel panel;
    panel.title = "Mean absolute error of max and min by lead day (F)";
    panel.xLabel = "lead day";
    panel.xMin = 0.5;
    panel.xMax = lastLeadDay + 0.5;
    for (int lead = 1; lead <= lastLeadDay; ++lead) {
        panel.xTicks.push_back(lead);
    }
    panel.yMin = 0;
    panel.emptyNote = "no max or min had an observation beside it";
    int style = 0;
    for (const GuidanceSource source : plotted) {
        std::array<ScoreSum, lastLeadDay> sums{};
        for (const VerifiedPair& pair : pairs) {
            if (pair.source == source && pair.variable != Variable::pop12) {
                addPair(sums[static_cast<std::size_t>(pair.leadDay - 1)], pair.forecast,
                        pair.observed, weights[pair.station]);
            }
        }
        ChartSeries series{sourceName(source, ratio), ChartMark::line, style++, {}, {}, {}, 0};
        for (int lead = 1; lead <= lastLeadDay; ++lead) {
            const ScoreSum& sum = sums[static_cast<std::size_t>(lead - 1)];
            series.x.push_back(lead);
            series.y.push_back(sum.n > 0 ? std::optional<double>(scoreOf(sum).mae) : std::nullopt);
        }
        panel.series.push_back(series);
    }
    return panel;
}

// The city's value of a day: the stations' values weighted, over the stations that have one.
struct CityDay {
    double weight = 0, forecast = 0, observed = 0;
};

ChartPanel cityPanel(std::span<const VerifiedPair> pairs, std::span<const double> weights,
                     Variable variable, double ratio) {
    std::map<std::int64_t, CityDay> days;
    // At 0.5 the chosen blend is scored as the even one.
    const GuidanceSource blend = ratio == 0.5 ? GuidanceSource::evenBlend : GuidanceSource::blend;
    for (const VerifiedPair& pair : pairs) {
        if (pair.source == blend && pair.variable == variable && pair.leadDay == 1) {
            CityDay& day = days[pair.day];
            const double weight = weights[pair.station];
            day.weight += weight;
            day.forecast += weight * pair.forecast;
            day.observed += weight * pair.observed;
        }
    }
    ChartPanel panel;
    panel.title = std::string(variable == Variable::max ? "Max" : "Min") +
                  " at the city by date: observed and the day-1 blend at " +
                  sourceName(GuidanceSource::blend, ratio).substr(6) + " (F)";
    panel.emptyNote = "no day had a forecast and an observation";
    ChartSeries observed{"observed", ChartMark::line, 0, {}, {}, {}, 0};
    ChartSeries forecast{"forecast", ChartMark::line, 1, {}, {}, {}, 0};
    for (const auto& [day, city] : days) {
        observed.x.push_back(static_cast<double>(day));
        forecast.x.push_back(static_cast<double>(day));
        observed.y.push_back(city.observed / city.weight);
        forecast.y.push_back(city.forecast / city.weight);
    }
    if (!days.empty()) {
        panel.xMin = static_cast<double>(days.begin()->first) - 0.5;
        panel.xMax = static_cast<double>(days.rbegin()->first) + 0.5;
        const std::int64_t step =
            std::max<std::int64_t>(1, static_cast<std::int64_t>(days.size()) / 8);
        for (std::int64_t day = days.begin()->first; day <= days.rbegin()->first; day += step) {
            const CalendarDate date = dateOfDay(day);
            panel.xTicks.push_back(static_cast<double>(day));
            panel.xTickLabels.push_back(std::to_string(date.month) + "/" +
                                        std::to_string(date.day));
        }
    }
    panel.xLabel = "date";
    panel.series = {observed, forecast};
    return panel;
}

}  // namespace

std::string verifyChartSvg(std::span<const VerifiedPair> pairs, std::span<const double> weights,
                           double ratio, const std::string& title) {
    Chart chart;
    chart.title = title;
    chart.panels = {maePanel(pairs, weights, ratio),
                    cityPanel(pairs, weights, Variable::max, ratio),
                    cityPanel(pairs, weights, Variable::min, ratio)};
    return chartSvg(chart);
}
