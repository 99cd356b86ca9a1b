#include "fetch/fetch_grib.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <numeric>
#include <optional>
#include <ostream>
#include <sstream>
#include <string>
#include <system_error>
#include <vector>

#include "extract/grib_extract.h"
#include "fetch/fetch_session.h"
#include "fetch/grib_framing.h"
#include "fetch/grib_hour_check.h"
#include "fetch/grib_index.h"
#include "fetch/run_time.h"
#include "grib/grib_message_check.h"
#include "io/option_word.h"
#include "io/platform.h"
#include "net/cache.h"
#include "net/download.h"
#include "net/sources.h"
#include "stations/set_options.h"
#include "stations/station_table.h"
#include "stations/stations_command.h"

namespace {

// A filtered hour in a small box is a few kilobytes; one that ignores the box still holds
// only the messages asked for. An .idx is some 60 KB.
constexpr std::uint64_t filterLimit = std::uint64_t{64} << 20;
constexpr std::uint64_t indexLimit = std::uint64_t{4} << 20;

// The GFS runs every 6 hours; a missing run is looked for back to a day before.
constexpr int cycleHours = 6;
constexpr int runsBackHours = 24;

struct GribPlace {
    double latitude = 0.0;
    double longitude = 0.0;
    std::string words;  // how extract is told the place: "--station KDSM"
};

// What every hour of the command shares.
struct GribJob {
    DownloadSession& session;
    std::vector<const Source*> filters;
    std::vector<const Source*> buckets;
    GribPlace place;
    std::string folder;
    std::ostream& err;
};

enum class HourOutcome { got, notOut, failed };

struct HourFetch {
    HourOutcome outcome = HourOutcome::failed;
    std::string from;  // the host, "(cache)" marked, or "kept"
};

std::string fff(int hour) {
    char text[16];
    std::snprintf(text, sizeof text, "%03d", hour);
    return text;
}

std::string hh(const RunTime& run) {
    return writeRunTime(run).substr(8);
}

std::string runFolder(const GribJob& job, const RunTime& run) {
    const std::string name = "gfs." + writeRunTime(run);
    return job.folder == "." ? name : (std::filesystem::path(job.folder) / name).string();
}

// NCEP's own name of the hour's file, with .grib2 added.
std::string hourFile(const GribJob& job, const RunTime& run, int hour) {
    return (std::filesystem::path(runFolder(job, run)) /
            ("gfs.t" + hh(run) + "z.pgrb2.0p25.f" + fff(hour) + ".grib2"))
        .string();
}

SourceValues runValues(const RunTime& run) {
    SourceValues values;
    values.year = run.date.year;
    values.month = run.date.month;
    values.day = run.date.day;
    values.hour = run.hour;
    return values;
}

SourceHour hourValues(const GribJob& job, int hour) {
    SourceHour values;
    values.forecastHour = hour;
    values.fields = gribFilterFields();
    values.latitude = job.place.latitude;
    values.longitude = job.place.longitude;
    return values;
}

GribHourWanted wantedOf(const GribJob& job, const RunTime& run, int hour) {
    return {std::stoll(writeRunTime(run)), hour, job.place.latitude, job.place.longitude};
}

std::string label(const RunTime& run, int hour) {
    return "gfs " + writeRunTime(run) + " f" + fff(hour);
}

std::string fromOf(const std::string& url, const DownloadResult& result) {
    return hostOfUrl(url) + (result.fromCache ? " (cache)" : "");
}

// Puts `parts`, one after the other, in place at `name` through a temporary beside it,
// once `check` calls the whole file one hour; false with the fault told.
bool writeHour(const std::vector<std::filesystem::path>& parts, const std::string& name,
               const CheckBody& check, const std::string& url, std::ostream& err) {
    const std::filesystem::path temporary = name + ".part" + std::to_string(processNumber());
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(name).parent_path(), error);
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        for (const std::filesystem::path& part : parts) {
            std::ifstream in(part, std::ios::binary);
            out << in.rdbuf();
        }
        if (!out.flush()) {
            error = std::make_error_code(std::errc::io_error);
        }
    }
    const BodyCheck checked = error ? BodyCheck{} : check(temporary);
    if (error || checked.verdict != BodyVerdict::whole || !replaceFile(temporary, name)) {
        std::filesystem::remove(temporary, error);
        err << "wxguide fetch: " << url << ": "
            << (checked.verdict == BodyVerdict::whole || checked.problem.empty()
                    ? name + " could not be written"
                    : checked.problem)
            << "; not kept.\n";
        return false;
    }
    return true;
}

// The hour from the grib filter.
HourOutcome fetchFiltered(GribJob& job, const Source& source, const RunTime& run, int hour,
                          std::string& from) {
    const GribHourWanted wanted = wantedOf(job, run, hour);
    const CheckBody check = [&](const auto& body) { return checkGribHour(body, wanted); };
    const DownloadAsk ask{expandSource(source.urlTemplate, runValues(run), hourValues(job, hour)),
                          filterLimit,
                          false,
                          source.namesDay,
                          label(run, hour),
                          {}};
    const DownloadResult result = download(job.session, ask, check);
    if (result.outcome != Downloaded::got) {
        return result.outcome == Downloaded::notOut ? HourOutcome::notOut : HourOutcome::failed;
    }
    if (!writeHour({result.body}, hourFile(job, run, hour), check, ask.url, job.err)) {
        return HourOutcome::failed;
    }
    from = fromOf(ask.url, result);
    return HourOutcome::got;
}

// The .idx of the hour, read; its check refuses one of another run or lacking a field.
bool fetchIndex(GribJob& job, const std::string& url, const RunTime& run, int hour,
                std::vector<IndexLine>& lines, HourOutcome& outcome) {
    const auto readIndex = [&](const std::filesystem::path& body) -> BodyCheck {
        std::ifstream in(body, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        std::string fault;
        if (!readGribIndex(text.str(), lines, fault)) {
            return {BodyVerdict::refused, "the index cannot be read: " + fault};
        }
        for (const IndexLine& line : lines) {
            if (line.run != writeRunTime(run)) {
                return {BodyVerdict::refused, "the index is of the run " + line.run};
            }
        }
        for (const GribField field : fieldsNotListed(lines)) {
            if (hour != 0 || !fieldOverAPeriod(field)) {
                return {BodyVerdict::refused,
                        "the index lists no " + std::string(gribFieldNames[field])};
            }
        }
        return {BodyVerdict::whole, {}};
    };
    const DownloadAsk ask{url, indexLimit, true, true, label(run, hour) + " index", {}};
    const DownloadResult result = download(job.session, ask, readIndex);
    outcome = result.outcome == Downloaded::notOut ? HourOutcome::notOut : HourOutcome::failed;
    return result.outcome == Downloaded::got;
}

// The hour from the bucket: its .idx, then the ranges of the wanted messages.
HourOutcome fetchRanges(GribJob& job, const Source& source, const RunTime& run, int hour,
                        std::string& from) {
    const std::string url = expandSource(source.urlTemplate, runValues(run), hourValues(job, hour));
    std::vector<IndexLine> lines;
    HourOutcome outcome = HourOutcome::failed;
    if (!fetchIndex(job, url + ".idx", run, hour, lines, outcome)) {
        return outcome;
    }
    std::vector<std::filesystem::path> parts;
    std::vector<std::string> names;
    bool cached = true;
    for (const ByteRange& range : wantedRanges(lines, linesExtractReads(lines))) {
        const std::uint64_t limit =
            range.last ? *range.last - range.first + 1 : range.messages * gribMessageLengthBound;
        const DownloadAsk ask{
            url, limit, false, source.namesDay, label(run, hour), writeByteRange(range)};
        const DownloadResult result = download(job.session, ask, [&](const auto& body) {
            return checkWholeMessages(body, range.messages);
        });
        if (result.outcome != Downloaded::got) {
            return HourOutcome::failed;
        }
        parts.push_back(result.body);
        names.push_back(cachedName(ask));
        cached = cached && result.fromCache;
    }
    const GribHourWanted wanted = wantedOf(job, run, hour);
    const bool written = writeHour(
        parts, hourFile(job, run, hour),
        [&](const auto& body) { return checkGribHour(body, wanted); }, url, job.err);
    // The hour's file holds the ranges now; a refused whole is asked for afresh.
    for (const std::string& name : names) {
        removeCacheEntry(job.session.cache, name);
    }
    from = hostOfUrl(url) + (cached ? " (cache)" : "");
    return written ? HourOutcome::got : HourOutcome::failed;
}

// One hour: the file already in place when it reads whole, else each source in turn.
HourFetch fetchHour(GribJob& job, const RunTime& run, int hour) {
    const std::string name = hourFile(job, run, hour);
    std::error_code error;
    if (std::filesystem::exists(name, error)) {
        const BodyCheck kept = checkGribHour(name, wantedOf(job, run, hour));
        if (kept.verdict == BodyVerdict::whole) {
            return {HourOutcome::got, "kept"};
        }
        statusLines(job.err) << "wxguide fetch: " << name << ": " << kept.problem
                             << "; fetched again.\n";
    }
    HourFetch fetched{HourOutcome::failed, {}};
    bool notOut = false;
    for (const Source* source : job.filters) {
        fetched.outcome = fetchFiltered(job, *source, run, hour, fetched.from);
        if (fetched.outcome == HourOutcome::got) {
            return fetched;
        }
        notOut = notOut || fetched.outcome == HourOutcome::notOut;
    }
    for (const Source* source : job.buckets) {
        fetched.outcome = fetchRanges(job, *source, run, hour, fetched.from);
        if (fetched.outcome == HourOutcome::got) {
            return fetched;
        }
        notOut = notOut || fetched.outcome == HourOutcome::notOut;
    }
    return {notOut ? HourOutcome::notOut : HourOutcome::failed, {}};
}

// The place's coordinates; the exit status when it cannot be settled, told on `err`.
std::optional<int> settlePlace(const GribFetchRequest& request, const StationTableSearch& search,
                               GribPlace& place, std::ostream& err) {
    if (request.point) {
        CityPoint point;
        std::string fault;
        if (!readCityPoint(*request.point, point, fault, "--point")) {
            err << "wxguide fetch: " << fault << "\n";
            return 2;
        }
        place = {point.latitude, point.longitude, "--point " + *request.point};
        return std::nullopt;
    }
    std::vector<StationPlace> table;
    if (!loadTable(search, table, err)) {
        return 1;
    }
    const StationPlace* station = findStation(table, request.station);
    if (station == nullptr) {
        err << "wxguide fetch: no station " << request.station << " in the station table\n";
        return 2;
    }
    place = {station->latitude, station->longitude, "--station " + station->id};
    return std::nullopt;
}

std::vector<int> hoursOf(const GribFetchRequest& request) {
    std::vector<int> hours;
    for (int hour = request.firstHour; hour <= request.lastHour;
         hour += std::max(1, request.step)) {
        hours.push_back(hour);
    }
    return hours;
}

// The runs to try: the one asked for, or the newest cycle and those of the day before it.
std::vector<RunTime> runsToTry(const GribFetchRequest& request) {
    if (request.run) {
        return {*request.run};
    }
    const RunTime now = hourNow();
    const RunTime newest = hoursBefore(now, now.hour % cycleHours);
    std::vector<RunTime> runs;
    for (int back = 0; back <= runsBackHours; back += cycleHours) {
        runs.push_back(hoursBefore(newest, back));
    }
    return runs;
}

// A path as a shell takes it as one word.
std::string shellWord(const std::string& word) {
    if (word.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789"
                               "._-/+,:=") == std::string::npos) {
        return word;
    }
    std::string quoted = "'";
    for (const char c : word) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

}  // namespace

namespace {

// The run asked for, or the newest whose last wanted hour is out (that hour fetched into
// `last`, its outcome kept); false with the fault told when none of the last day's is.
bool chooseRun(GribJob& job, const GribFetchRequest& request, int lastHour, RunTime& chosen,
               std::optional<HourFetch>& last) {
    if (request.run) {
        chosen = *request.run;
        return true;
    }
    const std::vector<RunTime> runs = runsToTry(request);
    for (const RunTime& run : runs) {
        last = fetchHour(job, run, lastHour);
        // A fault is no sign the hour is not out: the run is taken, the hour told missing.
        if (last->outcome != HourOutcome::notOut) {
            chosen = run;
            if (run != runs.front()) {
                statusLines(job.err) << "wxguide fetch: the gfs run of "
                                     << writeRunTime(runs.front()) << " is not out to hour "
                                     << lastHour << "; using " << writeRunTime(run) << ".\n";
            }
            return true;
        }
    }
    job.err << "wxguide fetch: no source gave hour " << lastHour
            << " of the gfs run of the last day; nothing was written.\n";
    return false;
}

std::string joinedFrom(const std::vector<std::string>& froms) {
    std::vector<std::string> distinct;
    for (const std::string& from : froms) {
        if (std::find(distinct.begin(), distinct.end(), from) == distinct.end()) {
            distinct.push_back(from);
        }
    }
    std::string text;
    for (const std::string& from : distinct) {
        text += (text.empty() ? "" : ", ") + from;
    }
    return text;
}

// The summary and the extract line, or the hours missing; the exit status.
int tellOutcome(const GribJob& job, const std::vector<int>& hours, const std::vector<int>& missing,
                const GribFetched& fetched, std::ostream& out) {
    if (!missing.empty()) {
        std::string list;
        for (const int hour : missing) {
            list += (list.empty() ? "" : ", ") + std::to_string(hour);
        }
        job.err << "wxguide fetch: gfs " << writeRunTime(fetched.run) << ": hours " << list
                << " could not be fetched; the " << fetched.files.size()
                << " others are in place (run again for the rest).\n";
        return 1;
    }
    statusLines(job.err) << "wxguide fetch: gfs " << writeRunTime(fetched.run) << " hours "
                         << hours.front() << " to " << hours.back() << ": " << hours.size()
                         << " files in " << runFolder(job, fetched.run) << " from "
                         << fetched.source << ".\n";
    out << fetched.extractLine << "\n";
    return 0;
}

}  // namespace

int fetchGrib(const GribFetchRequest& request, DownloadSession& session,
              const StationTableSearch& search, std::ostream& out, std::ostream& err,
              GribFetched& fetched) {
    fetched = {};
    if (!readsGribFiles()) {
        err << "wxguide fetch: grib: GRIB2 is not available in this build (no ecCodes); BUFKIT "
               "profiles work.\n";
        return 1;
    }
    GribPlace place;
    if (const std::optional<int> status = settlePlace(request, search, place, err)) {
        return *status;
    }
    std::vector<Source> sources;
    if (!loadSources(search, sources, err)) {
        return 1;
    }
    GribJob job{session,
                sourcesOf(sources, "gfs-grib-filter"),
                sourcesOf(sources, "gfs-grib"),
                place,
                request.folder,
                err};
    if (job.filters.empty() && job.buckets.empty()) {
        err << "wxguide fetch: the sources table has no gfs-grib-filter or gfs-grib source; "
               "nothing was written.\n";
        return 1;
    }
    const std::vector<int> hours = hoursOf(request);
    std::optional<HourFetch> last;
    if (hours.empty() || !chooseRun(job, request, hours.back(), fetched.run, last)) {
        return 1;
    }
    std::vector<std::string> froms;
    std::vector<int> missing;
    for (const int hour : hours) {
        const HourFetch got =
            hour == hours.back() && last ? *last : fetchHour(job, fetched.run, hour);
        if (got.outcome != HourOutcome::got) {
            missing.push_back(hour);
            continue;
        }
        fetched.files.push_back(hourFile(job, fetched.run, hour));
        froms.push_back(got.from);
    }
    fetched.source = joinedFrom(froms);
    fetched.extractLine = "wxguide extract " + place.words;
    // extract takes the hours that are multiples of its step, 3 unless told.
    if (const int every = std::gcd(request.firstHour, request.step); every % 3 != 0) {
        fetched.extractLine += " --step " + std::to_string(every <= 240 ? every : 1);
    }
    for (const std::string& file : fetched.files) {
        fetched.extractLine += " " + shellWord(file);
    }
    return tellOutcome(job, hours, missing, fetched, out);
}
