#include "verify/verify_report.h"

#include <algorithm>
#include <cstdio>

#include "verify/pairs.h"
#include "verify/verify_time.h"

namespace {

constexpr std::array<GuidanceSource, 5> sources = {GuidanceSource::nbs, GuidanceSource::mav,
                                                   GuidanceSource::mex, GuidanceSource::blend,
                                                   GuidanceSource::evenBlend};
constexpr std::array<Variable, 3> variables = {Variable::max, Variable::min, Variable::pop12};

template <typename... Values>
std::string formatted(const char* format, Values... values) {
    char text[128];
    std::snprintf(text, sizeof text, format, values...);
    return text;
}

std::string cell(const std::map<ScoreKey, ScoreSum>& table, const ScoreKey& key) {
    const auto found = table.find(key);
    if (found == table.end() || found->second.n == 0) {
        return formatted("%16s", "-");
    }
    const Score score = scoreOf(found->second);
    return key.variable == Variable::pop12
               ? formatted("%5.3f %+5.2f %4zu", score.brier, score.bias, score.n)
               : formatted("%5.2f %+5.2f %4zu", score.mae, score.bias, score.n);
}

std::string ratioText(double ratio) {
    return formatted("%.2f", ratio);
}

std::string dayText(std::int64_t day) {
    const CalendarDate date = dateOfDay(day);
    return formatted("%04d-%02d-%02d", date.year, date.month, date.day);
}

}  // namespace

std::string sourceName(GuidanceSource source, double ratio) {
    switch (source) {
        case GuidanceSource::nbs:
            return "NBS";
        case GuidanceSource::mav:
            return "MAV";
        case GuidanceSource::mex:
            return "MEX";
        case GuidanceSource::blend:
            return "blend " + ratioText(ratio);
        case GuidanceSource::evenBlend:
            return "blend 0.50";
    }
    return "";
}

std::string_view variableName(Variable variable) {
    switch (variable) {
        case Variable::max:
            return "max";
        case Variable::min:
            return "min";
        case Variable::pop12:
            return "pop12";
    }
    return "";
}

void writeScoreTable(std::ostream& out, const std::map<ScoreKey, ScoreSum>& table, double ratio) {
    for (const Variable variable : variables) {
        out << (variable == Variable::max   ? "Max temperature (F): MAE, bias, pairs"
                : variable == Variable::min ? "Min temperature (F): MAE, bias, pairs"
                                            : "PoP12: Brier score, bias, pairs")
            << " by lead day\n";
        out << formatted("%-11s", "source");
        for (int lead = 1; lead <= lastLeadDay; ++lead) {
            out << formatted("  %16s", ("day " + std::to_string(lead)).c_str());
        }
        out << "\n";
        for (const GuidanceSource source : sources) {
            out << formatted("%-11s", sourceName(source, ratio).c_str());
            for (int lead = 1; lead <= lastLeadDay; ++lead) {
                out << "  " << cell(table, {pooledStation, source, variable, lead});
            }
            out << "\n";
        }
        out << "\n";
    }
}

void writeSuggestion(std::ostream& out, const RatioSearch& maxMin, const RatioSearch& pop12) {
    if (maxMin.pairs == 0) {
        out << "No ratio can be suggested: no day-1 or day-2 max or min has both the NBS and "
               "the GFS MOS beside what was observed.\n";
    } else {
        out << "Suggested ratio: " << ratioText(maxMin.ratio)
            << formatted(
                   " (MAE %.2f F over %zu pairs; 0.5 gives %.2f, NBS alone %.2f, GFS MOS "
                   "alone %.2f)\n",
                   maxMin.best, maxMin.pairs, maxMin.even, maxMin.nbsAlone, maxMin.mosAlone);
        out << "Inverse-MAE ratio: " << ratioText(maxMin.inverseRatio) << "\n";
    }
    if (pop12.pairs > 0) {
        out << "Suggested PoP12 ratio: " << ratioText(pop12.ratio)
            << formatted(
                   " (Brier %.3f over %zu pairs; 0.5 gives %.3f, NBS alone %.3f, GFS MOS "
                   "alone %.3f)\n",
                   pop12.best, pop12.pairs, pop12.even, pop12.nbsAlone, pop12.mosAlone);
    }
    if (maxMin.pairs > 0 && maxMin.pairs < fewPairs) {
        out << "Warning: only " << maxMin.pairs << " pairs back the suggested ratio (fewer than "
            << fewPairs << "); it may be chance.\n";
    }
}

void writeVerifyCsv(std::ostream& out, const std::map<ScoreKey, ScoreSum>& table,
                    std::span<const VerifiedPair> pairs, std::span<const std::string> stations,
                    double ratio) {
    const auto stationName = [&](std::size_t station) {
        return station == pooledStation ? std::string("pooled") : stations[station];
    };
    out << "station,source,variable,lead_day,n,bias,mae,brier\n";
    for (const auto& [key, sum] : table) {
        const Score score = scoreOf(sum);
        out << stationName(key.station) << "," << sourceName(key.source, ratio) << ","
            << variableName(key.variable) << "," << key.leadDay << "," << score.n << ","
            << formatted("%.4f,%.4f,", score.bias, score.mae)
            << (key.variable == Variable::pop12 ? formatted("%.4f", score.brier) : "") << "\n";
    }
    std::vector<const VerifiedPair*> sorted;
    for (const VerifiedPair& pair : pairs) {
        sorted.push_back(&pair);
    }
    std::stable_sort(sorted.begin(), sorted.end(), [](const auto* a, const auto* b) {
        return std::tie(a->day, a->station, a->source, a->variable, a->leadDay) <
               std::tie(b->day, b->station, b->source, b->variable, b->leadDay);
    });
    out << "\ndate,station,source,variable,lead_day,forecast,observed\n";
    for (const VerifiedPair* pair : sorted) {
        out << dayText(pair->day) << "," << stations[pair->station] << ","
            << sourceName(pair->source, ratio) << "," << variableName(pair->variable) << ","
            << pair->leadDay << "," << formatted("%.2f,%.2f", pair->forecast, pair->observed)
            << "\n";
    }
}
