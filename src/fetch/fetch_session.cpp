#include "fetch/fetch_session.h"

#include <filesystem>
#include <fstream>
#include <ios>
#include <ostream>
#include <sstream>
#include <string>
#include <system_error>
#include <vector>

#include "net/cache.h"
#include "net/download.h"
#include "net/http.h"
#include "net/sources.h"
#include "stations/stations_command.h"

namespace {

constexpr std::string_view prefix = "wxguide fetch: ";

}  // namespace

bool loadSources(const StationTableSearch& search, std::vector<Source>& sources,
                 std::ostream& err) {
    const std::vector<std::filesystem::path> places =
        sourcesTablePlaces(search.program, search.dataFolder);
    std::string tried;
    for (const std::filesystem::path& place : places) {
        std::error_code error;
        if (!std::filesystem::is_regular_file(place, error)) {
            tried += (tried.empty() ? "" : ", ") + place.string();
            continue;
        }
        std::ifstream in(place, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        std::string fault;
        if (!in || !readSources(text.str(), place.string(), sources, fault)) {
            err << prefix << "the sources table " << (fault.empty() ? place.string() : fault)
                << (fault.empty() ? " cannot be read" : "") << "; nothing was written.\n";
            return false;
        }
        return true;
    }
    err << prefix << "the sources table " << sourcesTableName << " was not found"
        << (tried.empty() ? "" : " (looked for " + tried + ")")
        << "; WXGUIDE_SOURCES may name it; nothing was written.\n";
    return false;
}

bool startDownloadSession(bool offline, bool quiet, DownloadSession& session, std::ostream& err) {
    session.err = &err;
    session.offline = offline;
    session.progress = !quiet && standardErrorIsTerminal();
    session.cache = cacheFolder();
    std::string fault;
    if (session.cache.empty()) {
        fault = "no cache folder is known (set WXGUIDE_CACHE)";
    }
    if (!fault.empty() || !makeCacheFolder(session.cache, fault)) {
        err << prefix << fault << "; nothing was written.\n";
        return false;
    }
    removeOldCacheEntries(session.cache);
    return true;
}
