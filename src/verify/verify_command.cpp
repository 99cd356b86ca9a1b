#include "verify/verify_command.h"

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "fetch/fetch_session.h"
#include "fetch/run_time.h"
#include "io/platform.h"
#include "net/cache.h"
#include "net/download.h"
#include "net/http.h"
#include "net/sources.h"
#include "verify/pairs.h"
#include "verify/ratio_search.h"
#include "verify/verify_fetch.h"
#include "verify/verify_plot.h"
#include "verify/verify_report.h"
#include "verify/verify_time.h"

namespace {

constexpr std::string_view prefix = "wxguide verify: ";

bool startSession(const VerifyRequest& request, DownloadSession& session, std::ostream& err) {
    session.err = &err;
    session.prefix = std::string(prefix);
    session.offline = request.offline;
    session.progress = standardErrorIsTerminal();
    session.cache = cacheFolder();
    std::string fault;
    if (session.cache.empty()) {
        fault = "no cache folder is known (set WXGUIDE_CACHE)";
    }
    if (!fault.empty() || !makeCacheFolder(session.cache, fault)) {
        err << prefix << fault << ".\n";
        return false;
    }
    removeOldCacheEntries(session.cache);
    return true;
}

// Written whole beside its name, then renamed into place.
bool writeWholeFile(const std::string& name, const std::string& text, std::ostream& err) {
    const std::filesystem::path temporary = name + ".part" + std::to_string(processNumber());
    {
        std::ofstream file(temporary, std::ios::binary);
        file << text;
        file.close();
        if (file && replaceFile(temporary, name)) {
            return true;
        }
    }
    std::error_code error;
    std::filesystem::remove(temporary, error);
    err << prefix << name << " could not be written.\n";
    return false;
}

struct Verified {
    std::vector<VerifiedPair> pairs;
    std::vector<BlendPair> blends;
    bool whole = true;
};

Verified verifyStations(DownloadSession& session, const std::vector<Source>& sources,
                        const StationSet& set, std::span<const StationPlace> table,
                        const DayRange& range, double ratio) {
    Verified verified;
    const RunTime now = hourNow();
    const std::int64_t nowHour = hourOfDay(dayOfDate(now.date)) + now.hour;
    for (std::size_t station = 0; station < set.ids.size(); ++station) {
        const StationData data =
            fetchStationData(session, sources, set.ids[station], range, nowHour);
        verified.whole = verified.whole && data.whole;
        const StationPlace* place = findStation(table, set.ids[station]);
        if (place == nullptr) {
            *session.err << prefix << set.ids[station] << " is not in the station table; its "
                         << "local standard time is taken as UTC-6.\n";
        }
        const int offset = place != nullptr ? standardTimeOffset(*place) : -6;
        const ObservedHours hours = observedHours(data.reports);
        for (std::size_t model = 0; model < verifiedModels.size(); ++model) {
            const std::vector<VerifiedPair> found = stationPairs(
                station, verifiedModels[model], data.guidance[model], hours, offset, range);
            verified.pairs.insert(verified.pairs.end(), found.begin(), found.end());
        }
    }
    verified.blends = blendPairs(verified.pairs);
    std::erase_if(verified.pairs,
                  [](const VerifiedPair& pair) { return pair.leadDay > lastLeadDay; });
    for (const BlendPair& blend : verified.blends) {
        // At 0.5 the chosen blend is the even one: scored once, not as two rows alike.
        if (ratio != 0.5) {
            verified.pairs.push_back(blendAt(blend, ratio, GuidanceSource::blend));
        }
        verified.pairs.push_back(blendAt(blend, 0.5, GuidanceSource::evenBlend));
    }
    return verified;
}

std::string heading(const VerifyRequest& request, const StationSet& set, const DayRange& range) {
    std::string ids;
    for (const std::string& id : set.ids) {
        ids += (ids.empty() ? "" : " ") + id;
    }
    std::ostringstream text;
    text << "Verification of " << request.days << " days, "
         << writeCalendarDate(dateOfDay(range.first)) << " to "
         << writeCalendarDate(dateOfDay(range.last)) << ", at " << ids
         << " (pooled with the set's weights); the blend at "
         << sourceName(GuidanceSource::blend, request.ratio).substr(6)
         << (request.ratioFromEnvironment ? " (WXGUIDE_RATIO)" : "") << ".";
    return text.str();
}

}  // namespace

int standardTimeOffset(const StationPlace& place) {
    return place.utcOffset ? *place.utcOffset
                           : static_cast<int>(std::lround(place.longitude / 15.0));
}

int runVerify(const VerifyRequest& request, const StationTableSearch& search, const StationSet& set,
              std::ostream& out, std::ostream& err) {
    std::vector<Source> sources;
    std::vector<StationPlace> table;
    DownloadSession session;
    if (!loadSources(search, sources, err, prefix) || !loadTable(search, table, err) ||
        !startSession(request, session, err)) {
        return 1;
    }
    const std::int64_t last = request.end ? dayOfDate(*request.end) : dayOfDate(hourNow().date) - 1;
    const DayRange range{last - request.days + 1, last};
    const Verified verified = verifyStations(session, sources, set, table, range, request.ratio);
    const std::map<ScoreKey, ScoreSum> scores = scoreTable(verified.pairs, set.weights);
    const RatioSearch maxMin = searchRatio(verified.blends, set.weights, RatioScore::maxMinMae);
    const RatioSearch pop12 = searchRatio(verified.blends, set.weights, RatioScore::pop12Brier);
    out << heading(request, set, range) << "\n\n";
    writeScoreTable(out, scores, request.ratio);
    writeSuggestion(out, maxMin, pop12);
    bool written = true;
    if (request.csv) {
        std::ostringstream csv;
        writeVerifyCsv(csv, scores, verified.pairs, set.ids, request.ratio);
        written = writeWholeFile(*request.csv, csv.str(), err) && written;
    }
    if (request.plot) {
        const std::string svg = verifyChartSvg(verified.pairs, set.weights, request.ratio,
                                               heading(request, set, range));
        written = writeWholeFile(*request.plot, svg, err) && written;
    }
    if (!verified.whole) {
        err << prefix << "some tables did not come; the scores are of what did.\n";
    }
    return verified.whole && written && maxMin.pairs > 0 ? 0 : 1;
}
