#include "fetch/fetch_command.h"
#include <bits/chrono.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <ostream>
#include <sstream>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "arith/station_set.h"
#include "assemble/assemble_command.h"
#include "assemble/bulletin_chooser.h"
#include "assemble/calendar_date.h"
#include "assemble/guidance_header.h"
#include "assemble/product_reading.h"
#include "extract/bufkit_profile.h"
#include "fetch/fetch_grib.h"
#include "io/option_word.h"
#include "io/platform.h"
#include "net/cache.h"
#include "net/download.h"
#include "net/sources.h"
#include "scan/scan_input.h"
#include "stations/stations_command.h"

namespace {

// A product a station's bulletin comes in, its sources' name in the table, and its run.
struct BulletinProduct {
    std::string_view product;
    GuidanceKind kind;
    int hour;
    std::string_view name;
};

constexpr std::array<BulletinProduct, 3> bulletinProducts = {{
    {"nbs", GuidanceKind::blendShortRange, 12, "NBS 1200 UTC"},
    {"mav", GuidanceKind::gfsMos, 12, "GFS MOS 1200 UTC"},
    {"mex", GuidanceKind::gfsxMos, 0, "GFSX MOS 0000 UTC"},
}};

// A station's product is a few kilobytes; a whole cycle's some 30 MB. Profiles are read
// whole into the file written, so they are kept within the program's memory bound.
constexpr std::uint64_t stationProductLimit = std::uint64_t{1} << 20;
constexpr std::uint64_t cycleProductLimit = std::uint64_t{64} << 20;
constexpr std::uint64_t profileLimit = std::uint64_t{16} << 20;

constexpr std::string_view prefix = "wxguide fetch: ";

SourceValues valuesOf(const RunTime& run, const std::string& station) {
    return {run.date.year, run.date.month, run.date.day, run.hour, station};
}

// Whether the product at `body` holds the bulletins of `stations` (indexes into the set)
// for `date`, each read by both readers as option 1 would.
BodyCheck checkBulletins(const std::filesystem::path& body, const StationSet& set,
                         const CalendarDate& date, const BulletinProduct& product,
                         const std::vector<std::size_t>& stations) {
    ScanInput input;
    if (openScanInput(input, body.string()) != InputOpening::opened) {
        return {BodyVerdict::refused, "it cannot be read back"};
    }
    BulletinChoice choice;
    startChoice(choice, set, date);
    std::ostringstream refusals;
    if (!readProductBulletins(input.scan, body.string(), choice, refusals)) {
        return {BodyVerdict::refused, "it could not be read whole"};
    }
    const std::string dateText = writeCalendarDate(date);
    const std::string run = (product.hour < 10 ? "0" : "") + std::to_string(product.hour) + "00";
    for (const std::size_t station : stations) {
        GuidanceHeader header;
        header.kind = product.kind;
        header.station = set.ids[station];
        header.date = dateText;
        header.run = run;
        int slot = 0;
        int place = 0;
        if (!placeOfBulletin(choice, header, slot, place)) {
            return {BodyVerdict::refused, "its bulletins cannot be placed"};
        }
        const FoundBulletin& found = choice.kept[static_cast<std::size_t>(slot)];
        if (found.text.empty()) {
            return {BodyVerdict::notOut, {}};
        }
        if (!found.readable) {
            return {BodyVerdict::refused,
                    "option 1 cannot read the " + set.ids[station] + " bulletin in it"};
        }
    }
    return {BodyVerdict::whole, {}};
}

struct ProductFiles {
    std::vector<std::string> files;
    std::vector<std::string> hosts;  // where each came from, "(cache)" marked
    bool out = true;
};

std::string whereFrom(const std::string& url, const DownloadResult& result) {
    return hostOfUrl(url) + (result.fromCache ? " (cache)" : "");
}

// Every station's bulletin of one product and date: each station's own source first, a
// whole-cycle file for the stations they miss.
ProductFiles fetchProduct(DownloadSession& session, const std::vector<Source>& sources,
                          const StationSet& set, const CalendarDate& date,
                          const BulletinProduct& product) {
    ProductFiles found;
    const RunTime run{date, product.hour};
    const std::vector<const Source*> all = sourcesOf(sources, product.product);
    std::vector<std::size_t> missing;
    for (std::size_t station = 0; station < set.ids.size(); ++station) {
        bool got = false;
        for (const Source* source : all) {
            if (!source->perStation || got) {
                continue;
            }
            DownloadAsk ask{expandSource(source->urlTemplate, valuesOf(run, set.ids[station])),
                            stationProductLimit,
                            true,
                            source->namesDay,
                            set.ids[station] + " " + std::string(product.name),
                            {}};
            const DownloadResult result = download(session, ask, [&](const auto& body) {
                return checkBulletins(body, set, date, product, {station});
            });
            if (result.outcome == Downloaded::got) {
                found.files.push_back(result.body.string());
                found.hosts.push_back(whereFrom(ask.url, result));
                got = true;
            }
        }
        if (!got) {
            missing.push_back(station);
        }
    }
    for (const Source* source : all) {
        if (source->perStation || missing.empty()) {
            continue;
        }
        DownloadAsk ask{expandSource(source->urlTemplate, valuesOf(run, "")),
                        cycleProductLimit,
                        true,
                        source->namesDay,
                        std::string(product.name),
                        {}};
        const DownloadResult result = download(session, ask, [&](const auto& body) {
            return checkBulletins(body, set, date, product, missing);
        });
        if (result.outcome == Downloaded::got) {
            found.files.push_back(result.body.string());
            found.hosts.push_back(whereFrom(ask.url, result));
            missing.clear();
        }
    }
    found.out = missing.empty();
    return found;
}

std::string joined(const std::vector<std::string>& words) {
    std::vector<std::string> distinct;
    for (const std::string& word : words) {
        if (std::find(distinct.begin(), distinct.end(), word) == distinct.end()) {
            distinct.push_back(word);
        }
    }
    std::string text;
    for (const std::string& word : distinct) {
        text += (text.empty() ? "" : ", ") + word;
    }
    return text;
}

int fetchBulletins(const FetchRequest& request, DownloadSession& session,
                   const std::vector<Source>& sources, const StationSet& set, std::ostream& out,
                   std::ostream& err) {
    std::vector<CalendarDate> dates;
    if (request.date) {
        dates.push_back(*request.date);
    } else {
        const std::chrono::sys_days today = daysOf(hourNow().date);
        dates = {dateOf(today), dateOf(today - std::chrono::days(1))};
    }
    for (const CalendarDate& date : dates) {
        std::vector<std::string> files;
        std::vector<std::string> summaries;
        bool allOut = true;
        for (const BulletinProduct& product : bulletinProducts) {
            ProductFiles found = fetchProduct(session, sources, set, date, product);
            if (!found.out) {
                allOut = false;
                break;
            }
            files.insert(files.end(), found.files.begin(), found.files.end());
            summaries.push_back(std::string(prefix) + std::string(product.name) + " " +
                                writeCalendarDate(date) + " from " + joined(found.hosts) + ".");
        }
        if (!allOut) {
            statusLines(err) << prefix << "the bulletins of " << writeCalendarDate(date)
                             << " are not all out.\n";
            continue;
        }
        if (!request.date && date != dates.front()) {
            statusLines(err) << prefix << "using " << writeCalendarDate(date)
                             << ", the newest date with all " << set.ids.size() * 3
                             << " bulletins out.\n";
        }
        for (const std::string& summary : summaries) {
            statusLines(err) << summary << "\n";
        }
        AssembleRequest assemble;
        assemble.date = date;
        assemble.output = request.output;
        assemble.products = files;
        assemble.quiet = request.quiet;
        return runAssemble(assemble, out, err, set);
    }
    err << prefix << "no source gave all " << set.ids.size() * 3 << " bulletins of "
        << writeCalendarDate(dates.front())
        << (dates.size() > 1 ? " or " + writeCalendarDate(dates.back()) : "")
        << "; nothing was written.\n";
    return 1;
}

BodyCheck checkProfile(const std::filesystem::path& body) {
    ScanInput input;
    if (openScanInput(input, body.string()) != InputOpening::opened) {
        return {BodyVerdict::refused, "it cannot be read back"};
    }
    BufkitProfile profile;
    std::string fault;
    if (!readBufkitProfile(input.scan, profile, fault)) {
        return {BodyVerdict::refused, "extract cannot read the profile: " + fault};
    }
    return {BodyVerdict::whole, {}};
}

// The last part of the URL's path: the archive's own name of the file.
std::string archiveName(std::string_view url) {
    url = url.substr(0, url.find_first_of("?#"));
    return std::string(url.substr(url.rfind('/') + 1));
}

// The profile copied byte for byte (as the archive wrote it, whatever its line ends) to a
// temporary beside `name`, then renamed into place: whole or not at all.
int writeProfile(const std::filesystem::path& body, const std::string& name, std::ostream& err) {
    const std::filesystem::path temporary = name + ".part" + std::to_string(processNumber());
    std::error_code error;
    const bool written =
        !std::filesystem::is_directory(name, error) &&
        std::filesystem::copy_file(body, temporary,
                                   std::filesystem::copy_options::overwrite_existing, error) &&
        replaceFile(temporary, name);
    if (!written) {
        std::filesystem::remove(temporary, error);
        err << prefix << name << " could not be written; nothing was.\n";
        return 1;
    }
    return 0;
}

int fetchProfile(const FetchRequest& request, DownloadSession& session,
                 const std::vector<Source>& sources, std::ostream& err) {
    const std::string product = request.model + "-profile";
    const std::vector<const Source*> all = sourcesOf(sources, product);
    if (all.empty()) {
        err << prefix << "the sources table has no " << product
            << " source; nothing was written.\n";
        return 1;
    }
    // The GFS runs every 6 hours, RAP and HRRR every hour.
    const int step = request.model == "gfs" ? 6 : 1;
    std::vector<RunTime> runs;
    if (request.run) {
        runs.push_back(*request.run);
    } else {
        RunTime run = hourNow();
        run = hoursBefore(run, run.hour % step);
        for (int back = 0; back <= 24; back += step) {
            runs.push_back(hoursBefore(run, back));
        }
    }
    for (const RunTime& run : runs) {
        for (const Source* source : all) {
            DownloadAsk ask{expandSource(source->urlTemplate, valuesOf(run, request.station)),
                            profileLimit,
                            true,
                            source->namesDay,
                            request.model + " " + writeRunTime(run) + " " + request.station,
                            {}};
            const DownloadResult result = download(session, ask, checkProfile);
            if (result.outcome != Downloaded::got) {
                continue;
            }
            const std::string name = request.output ? *request.output : archiveName(ask.url);
            if (run != runs.front()) {
                statusLines(err) << prefix << "the " << request.model << " run of "
                                 << writeRunTime(runs.front()) << " is not out; using "
                                 << writeRunTime(run) << ".\n";
            }
            if (const int status = writeProfile(result.body, name, err); status != 0) {
                return status;
            }
            statusLines(err) << prefix << request.model << " " << writeRunTime(run) << " "
                             << request.station << " from " << whereFrom(ask.url, result) << ": "
                             << name << "\n";
            return 0;
        }
    }
    err << prefix << "no source gave the " << request.model << " profile of " << request.station
        << (runs.size() > 1 ? " for the last day's runs" : " of " + writeRunTime(runs.front()))
        << "; nothing was written.\n";
    return 1;
}

}  // namespace

int runFetch(const FetchRequest& request, const StationTableSearch& search, const StationSet& set,
             std::ostream& out, std::ostream& err) {
    if (request.quiet) {
        beQuiet(err);
    }
    DownloadSession session;
    if (request.what == FetchRequest::What::grib) {
        if (!startDownloadSession(request.offline, request.quiet, session, err)) {
            return 1;
        }
        GribFetchRequest grib;
        grib.station = request.station;
        grib.point = request.point;
        grib.run = request.run;
        grib.firstHour = request.firstHour.value_or(grib.firstHour);
        grib.lastHour = request.lastHour.value_or(grib.lastHour);
        grib.step = request.step.value_or(grib.step);
        grib.folder = request.folder.value_or(grib.folder);
        GribFetched fetched;
        return fetchGrib(grib, session, search, out, err, fetched);
    }
    std::vector<Source> sources;
    if (!loadSources(search, sources, err) ||
        !startDownloadSession(request.offline, request.quiet, session, err)) {
        return 1;
    }
    if (request.what == FetchRequest::What::bulletins) {
        return fetchBulletins(request, session, sources, set, out, err);
    }
    return fetchProfile(request, session, sources, err);
}
