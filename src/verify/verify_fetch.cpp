#include "verify/verify_fetch.h"

#include <fstream>
#include <sstream>

#include "verify/verify_time.h"

namespace {

// A table of two months of hourly NBS runs is a few megabytes.
constexpr std::uint64_t tableLimit = std::uint64_t{64} << 20;

std::string bodyText(const std::filesystem::path& body) {
    std::ifstream in(body, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

BodyCheck checkMos(const std::filesystem::path& body, MosModel model,
                   std::vector<MosValue>& values) {
    std::string fault;
    values.clear();
    if (!readMosCsv(bodyText(body), model, values, fault)) {
        return {BodyVerdict::refused, "it is no MOS table (" + fault + ")"};
    }
    return {BodyVerdict::whole, {}};
}

BodyCheck checkAsos(const std::filesystem::path& body, std::vector<AsosReport>& reports) {
    std::string fault;
    reports.clear();
    if (!readAsosCsv(bodyText(body), reports, fault)) {
        return {BodyVerdict::refused, "it is no ASOS table (" + fault + ")"};
    }
    return {BodyVerdict::whole, {}};
}

// One table of a station: its product in the sources table, what fills the template,
// whether it is final, and what the progress line calls it.
struct TableAsk {
    std::string_view product;
    SourceValues values;
    bool final = true;
    std::string label;
};

// The first of the product's sources that gives a table the check takes.
bool fetchTable(DownloadSession& session, const std::vector<Source>& sources, const TableAsk& table,
                const CheckBody& check) {
    for (const Source* source : sourcesOf(sources, table.product)) {
        const DownloadAsk ask{expandSource(source->urlTemplate, table.values),
                              tableLimit,
                              true,
                              table.final,
                              table.label,
                              {}};
        if (download(session, ask, check).outcome == Downloaded::got) {
            return true;
        }
    }
    return false;
}

}  // namespace

Window guidanceSpan(const DayRange& range) {
    return {hourOfDay(range.first - 8), hourOfDay(range.last) + 12};
}

Window observationSpan(const DayRange& range) {
    return {hourOfDay(range.first - 1), hourOfDay(range.last + 1) + 12};
}

StationData fetchStationData(DownloadSession& session, const std::vector<Source>& sources,
                             const std::string& station, const DayRange& range,
                             std::int64_t nowHour) {
    StationData data;
    const Window runs = guidanceSpan(range);
    for (std::size_t i = 0; i < verifiedModels.size(); ++i) {
        const MosModel model = verifiedModels[i];
        TableAsk table{"mos-archive", {}, runs.last <= nowHour, {}};
        table.values.station = station;
        table.values.model = std::string(archiveModelName(model));
        table.values.rangeStart = isoHour(runs.first);
        table.values.rangeEnd = isoHour(runs.last);
        table.label = station + " " + table.values.model;
        if (!fetchTable(session, sources, table, [&](const auto& body) {
                return checkMos(body, model, data.guidance[i]);
            })) {
            data.guidance[i].clear();
            data.whole = false;
        }
    }
    const Window hours = observationSpan(range);
    TableAsk table{"asos", {}, hours.last <= nowHour, station + " observations"};
    table.values.station = station;
    table.values.rangeStart = isoHour(hours.first);
    table.values.rangeEnd = isoHour(hours.last);
    if (!fetchTable(session, sources, table,
                    [&](const auto& body) { return checkAsos(body, data.reports); })) {
        data.reports.clear();
        data.whole = false;
    }
    return data;
}
