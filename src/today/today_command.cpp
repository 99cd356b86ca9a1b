#include "today/today_command.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <ostream>
#include <sstream>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "arith/station_set.h"
#include "assemble/calendar_date.h"
#include "extract/grib_extract.h"
#include "fetch/run_time.h"
#include "today/today_page.h"

namespace {

// GFS runs every 6 hours, RAP and HRRR every hour; a product older than a day is no
// product of the day.
constexpr int gfsCycleHours = 6;
constexpr int hoursLooked = 24;
// Option 1's bulletins are of the 1200 UTC runs: a date's are out only after its 12 UTC.
constexpr int bulletinHour = 12;
// Option 6's rows: hours 3 to 87 every 3, as `fetch grib` fetches them by default.
constexpr int gribFirstHour = 3;
constexpr int gribLastHour = 87;
constexpr int gribStep = 3;

struct Model {
    std::string_view word;  // as fetch and the file names write it
    std::string_view name;  // as the page and the summary write it
    int option;
    int step;  // extract's --step: the rows the option reads
};

// GFS for options 2 and 3, RAP for 4, HRRR (hourly rows) for 5.
constexpr Model gfsModel{"gfs", "GFS", 2, 3};
constexpr Model rapModel{"rap", "RAP", 4, 3};
constexpr Model hrrrModel{"hrrr", "HRRR", 5, 1};

// The day as the steps share it.
struct Day {
    const TodayRequest& request;
    const CommandRunner& runCommand;
    RunTime at;
    std::string folder;
    std::string station;  // upper case, as fetch and extract take it
    std::ostream* progress;
    int stepCount;
    std::vector<TodayStep> steps;
    std::vector<TodayReport> reports;
    std::vector<std::string> dailyTable;  // option 1's, as `run` writes it
};

std::string lowerCase(std::string word) {
    for (char& c : word) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return word;
}

std::string inFolder(const Day& day, const std::string& name) {
    return (std::filesystem::path(day.folder) / name).generic_string();
}

// The command line a forecaster would type, blanks quoted; a run asks for its picture and
// spreadsheets, as the day's runs do.
std::string commandLine(const std::vector<std::string>& words) {
    std::string line = words.front() == "run" ? "wxguide --plot --csv" : "wxguide";
    for (const std::string& word : words) {
        line += word.find_first_of(" \t\"") == std::string::npos ? " " + word : " \"" + word + "\"";
    }
    return line;
}

// The lines a command said, each as a terminal would last show it: a progress line drawn
// over in place leaves only what was written after its last return.
std::vector<std::string> toldLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        line = line.substr(line.rfind('\r') == std::string::npos ? 0 : line.rfind('\r') + 1);
        if (line.starts_with("\033[K")) {
            line.erase(0, 3);
        }
        if (!line.empty()) {
            lines.push_back(line);
        }
    }
    return lines;
}

struct Ran {
    int status = 0;
    std::string out;
    std::vector<std::string> told;
};

Ran runStepCommand(const Day& day, const std::vector<std::string>& words) {
    std::ostringstream out;
    std::ostringstream err;
    const int status = day.runCommand(words, out, err);
    return {status, out.str(), toldLines(err.str())};
}

void showProgress(const Day& day, const std::string& what) {
    if (day.progress != nullptr) {
        *day.progress << "\r\033[Kwxguide today: step " << day.steps.size() + 1 << " of "
                      << day.stepCount << ": " << what << std::flush;
    }
}

// A failure's reason: the command's last message, not the pointer to --help after a
// usage error.
std::string whyFailed(const Ran& ran) {
    for (auto line = ran.told.rbegin(); line != ran.told.rend(); ++line) {
        if (!line->starts_with("Try 'wxguide")) {
            return *line;
        }
    }
    return "exit status " + std::to_string(ran.status);
}

// Records a step that ran `words` (or none), its outcome from `ran`.
TodayStep& recordStep(Day& day, const std::string& what, const std::vector<std::string>& words,
                      const std::string& file, const Ran& ran) {
    TodayStep step;
    step.what = what;
    step.command = words.empty() ? std::string() : commandLine(words);
    step.file = file;
    step.done = ran.status == 0;
    step.told = ran.told;
    if (!step.done) {
        step.why = whyFailed(ran);
    }
    day.steps.push_back(step);
    return day.steps.back();
}

// A step that could not run because an earlier one failed.
void recordSkipped(Day& day, const std::string& what, const std::string& why) {
    showProgress(day, what);
    TodayStep step;
    step.what = what;
    step.why = why;
    day.steps.push_back(step);
}

// Runs the fetch `wordsFor` gives for each candidate in turn, the newest first, until one
// is out; records one step. Returns the candidate taken, or none.
template <typename Candidate, typename Words, typename Name>
std::optional<Candidate> fetchNewest(Day& day, const std::string& what, const std::string& file,
                                     const std::vector<Candidate>& candidates, Words wordsFor,
                                     Name nameOf) {
    showProgress(day, what);
    Ran ran;
    for (const Candidate& candidate : candidates) {
        const std::vector<std::string> words = wordsFor(candidate);
        ran = runStepCommand(day, words);
        if (ran.status == 0) {
            recordStep(day, what + " " + nameOf(candidate), words, file, ran);
            return candidate;
        }
    }
    recordStep(day, what, {}, {}, ran).why =
        "none out from " + nameOf(candidates.back()) + " to " + nameOf(candidates.front()) +
        (ran.told.empty() ? std::string() : ": " + whyFailed(ran));
    return std::nullopt;
}

std::vector<std::string> fetchWords(const Day& day, std::vector<std::string> words) {
    words.insert(words.begin(), "fetch");
    if (day.request.offline) {
        words.insert(words.begin() + 1, "--offline");
    }
    return words;
}

// Runs option `option` on `dataName` as `wxguide run` does, recording its report and the
// files beside it.
void runOption(Day& day, int option, const std::string& what, const std::string& dataName) {
    std::vector<std::string> words = {"run", std::to_string(option), dataName};
    if (option == 1) {
        words.insert(words.end(), {"--ratio", day.request.ratio});
    }
    const std::string stem = dataName.substr(0, dataName.size() - 4);
    showProgress(day, what);
    const Ran ran = runStepCommand(day, words);
    recordStep(day, what, words, stem + ".out", ran);
    TodayReport report{option, what, stem, ran.status == 0, day.steps.size() - 1};
    day.reports.push_back(report);
    if (option == 1 && ran.status == 0) {
        std::istringstream table(ran.out);
        for (std::string line; std::getline(table, line);) {
            day.dailyTable.push_back(line);
        }
    }
}

void runBulletins(Day& day) {
    const RunTime newest = hoursBefore(day.at, bulletinHour);
    const std::vector<CalendarDate> dates = {newest.date, hoursBefore(newest, hoursLooked).date};
    const std::string file = inFolder(day, "bulletins.txt");
    const auto taken = fetchNewest(
        day, "bulletins", file, dates,
        [&](const CalendarDate& date) {
            return fetchWords(day,
                              {"bulletins", "--date", writeCalendarDate(date), "--output", file});
        },
        [](const CalendarDate& date) { return writeCalendarDate(date); });
    if (!taken) {
        recordSkipped(day, "option 1, station blend", "no bulletins");
        day.reports.push_back({1, "option 1, station blend", {}, false, day.steps.size() - 1});
        return;
    }
    runOption(day, 1, "option 1, station blend", file);
}

// The runs of `model` that may be out at the day's time, the newest first.
std::vector<RunTime> modelRuns(const Day& day, const Model& model) {
    const int cycle = model.word == gfsModel.word ? gfsCycleHours : 1;
    const RunTime newest = hoursBefore(day.at, day.at.hour % cycle);
    std::vector<RunTime> runs;
    for (int back = 0; back <= hoursLooked; back += cycle) {
        runs.push_back(hoursBefore(newest, back));
    }
    return runs;
}

// Runs extract with `words` after the command's word as one step; whether it wrote.
bool runExtractStep(Day& day, const std::string& what, std::vector<std::string> words,
                    const std::string& file) {
    words.insert(words.begin(), "extract");
    showProgress(day, what);
    return recordStep(day, what, words, file, runStepCommand(day, words)).done;
}

void skipOption(Day& day, int option, const std::string& what, const std::string& why) {
    recordSkipped(day, what, why);
    day.reports.push_back({option, what, {}, false, day.steps.size() - 1});
}

// Fetches the newest profile of `model` and extracts its columns into `columnsName` and
// its severe file into `severeName`; the run taken, or none.
std::optional<RunTime> fetchAndExtract(Day& day, const Model& model, const std::string& columnsName,
                                       const std::string& severeName) {
    const std::string profile =
        inFolder(day, std::string(model.word) + "_" + lowerCase(day.station) + ".buf");
    const std::string what = std::string(model.name) + " profile " + day.station;
    const auto run = fetchNewest(
        day, what, profile, modelRuns(day, model),
        [&](const RunTime& candidate) {
            return fetchWords(day, {"profile", std::string(model.word), day.station, "--run",
                                    writeRunTime(candidate), "--output", profile});
        },
        [](const RunTime& candidate) { return writeRunTime(candidate); });
    const std::string extractWhat = std::string(model.name) + " columns";
    if (!run) {
        recordSkipped(day, extractWhat, "no " + std::string(model.name) + " profile");
        return std::nullopt;
    }
    if (!runExtractStep(day, extractWhat,
                        {"--step", std::to_string(model.step), "--columns", columnsName, "--severe",
                         severeName, profile},
                        columnsName)) {
        return std::nullopt;
    }
    return run;
}

// The profile's file as fetchAndExtract names it.
std::string profileName(const Day& day, const Model& model) {
    return inFolder(day, std::string(model.word) + "_" + lowerCase(day.station) + ".buf");
}

void runModel(Day& day, const Model& model, const std::string& optionWhat) {
    const std::string data = inFolder(day, std::string(model.word) + ".txt");
    const std::string severe = inFolder(day, std::string(model.word) + "-severe.txt");
    if (fetchAndExtract(day, model, data, severe)) {
        runOption(day, model.option, optionWhat, data);
        return;
    }
    skipOption(day, model.option, optionWhat, "no " + std::string(model.name) + " columns");
}

constexpr std::string_view longGfsWhat = "option 2, long GFS";
constexpr std::string_view shortGfsWhat = "option 3, short GFS";

// Options 2 and 3 both read the GFS columns: each its own file, so that each report has
// its own name. The run taken, or none.
std::optional<RunTime> runGfs(Day& day) {
    const std::string longName = inFolder(day, "gfs-long.txt");
    const std::string shortName = inFolder(day, "gfs-short.txt");
    const std::string severe = inFolder(day, "gfs-severe.txt");
    const std::optional<RunTime> run = fetchAndExtract(day, gfsModel, longName, severe);
    if (!run) {
        skipOption(day, 2, std::string(longGfsWhat), "no GFS columns");
        skipOption(day, 3, std::string(shortGfsWhat), "no GFS columns");
        return std::nullopt;
    }
    runOption(day, 2, std::string(longGfsWhat), longName);
    if (runExtractStep(day, "GFS columns for option 3",
                       {"--columns", shortName, "--severe", severe, profileName(day, gfsModel)},
                       shortName)) {
        runOption(day, 3, std::string(shortGfsWhat), shortName);
    } else {
        skipOption(day, 3, std::string(shortGfsWhat), "no GFS columns");
    }
    return run;
}

// The GRIB2 files `fetch grib` writes for `run` by default, in hour order.
std::vector<std::string> gribFiles(const Day& day, const RunTime& run) {
    std::vector<std::string> files;
    char hour[8];
    std::snprintf(hour, sizeof hour, "%02d", run.hour);
    for (int forecast = gribFirstHour; forecast <= gribLastHour; forecast += gribStep) {
        char name[64];
        std::snprintf(name, sizeof name, "gfs.t%sz.pgrb2.0p25.f%03d.grib2", hour, forecast);
        files.push_back(inFolder(day, "gfs." + writeRunTime(run) + "/" + name));
    }
    return files;
}

// The GFS run's GRIB2 files fetched and extracted; the severe file made, or empty.
std::string gribSevere(Day& day, const RunTime& run) {
    const std::string what = "GFS GRIB2 " + writeRunTime(run) + " " + day.station;
    std::vector<std::string> words = fetchWords(day, {"grib", "--station", day.station, "--run",
                                                      writeRunTime(run), "--folder", day.folder});
    showProgress(day, what);
    if (!recordStep(day, what, words, inFolder(day, "gfs." + writeRunTime(run)),
                    runStepCommand(day, words))
             .done) {
        return {};
    }
    const std::string severe = inFolder(day, "grib-severe.txt");
    words = {"--station", day.station, "--columns", inFolder(day, "grib-columns.txt"),
             "--severe",  severe};
    for (const std::string& file : gribFiles(day, run)) {
        words.push_back(file);
    }
    return runExtractStep(day, "GRIB2 severe file", words, severe) ? severe : std::string();
}

// Option 6 on the GFS run's GRIB2 files where this build reads them, else (or when they
// are not to be had) on the GFS profile's severe file.
void runSevere(Day& day, const std::optional<RunTime>& gfsRun) {
    std::string data;
    if (gfsRun && readsGribFiles()) {
        data = gribSevere(day, *gfsRun);
    }
    const bool fromGrib = !data.empty();
    const std::string what = std::string("option 6, severe weather") +
                             (fromGrib ? " (GRIB2 files)" : " (the GFS profile's severe file)");
    if (!gfsRun && !readsGribFiles()) {
        skipOption(day, 6, what, "no GFS profile");
        return;
    }
    if (!gfsRun) {
        skipOption(day, 6, what, "no GFS run");
        return;
    }
    runOption(day, 6, what, fromGrib ? data : inFolder(day, "gfs-severe.txt"));
}

std::string summaryLine(const TodayStep& step) {
    return step.what + ": " + (step.done ? "done" : "FAILED (" + step.why + ")") +
           (step.file.empty() ? "" : ": " + step.file);
}

// Why the day's folder cannot take files (made when missing, a file written and removed),
// or empty when it can.
std::string folderCannotTakeFiles(const std::string& folder) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (!error && !std::filesystem::is_directory(folder, error)) {
        error = std::make_error_code(std::errc::not_a_directory);
    }
    if (!error) {
        const std::filesystem::path probe = std::filesystem::path(folder) / ".wxguide-probe";
        std::ofstream file(probe, std::ios::binary);
        if (!file) {
            error = std::error_code(errno, std::generic_category());
        } else {
            file.close();
            std::filesystem::remove(probe, error);
        }
    }
    if (!error) {
        return {};
    }
    std::string reason = error.message();
    if (!reason.empty()) {
        reason[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(reason[0])));
    }
    return "cannot be written (" + reason + ")";
}

// The steps the day has: bulletins and option 1; each model's profile, columns and
// option; the GFS columns for option 3 and option 3; GRIB2 files and their severe file
// where read; option 6.
int stepCount() {
    return 2 + 3 * 3 + 2 + (readsGribFiles() ? 2 : 0) + 1;
}

}  // namespace

int runToday(const TodayRequest& request, const StationSet& set, const CommandRunner& runCommand,
             std::ostream& out, std::ostream* progress) {
    const RunTime at = request.at.value_or(hourNow());
    char folder[32];
    std::snprintf(folder, sizeof folder, "wxguide-%04d-%02d-%02d", at.date.year, at.date.month,
                  at.date.day);
    Day day{request,
            runCommand,
            at,
            request.folder.value_or(folder),
            request.station.empty() ? set.ids.front() : request.station,
            progress,
            stepCount(),
            {},
            {},
            {}};
    // A folder that cannot take files would make every step fail as if nothing were out.
    const std::string folderFault = folderCannotTakeFiles(day.folder);
    if (!folderFault.empty()) {
        out << "folder: FAILED (" << folderFault << "): " << day.folder << "\n";
        return 1;
    }
    runBulletins(day);
    const std::optional<RunTime> gfsRun = runGfs(day);
    runModel(day, rapModel, "option 4, RAP");
    runModel(day, hrrrModel, "option 5, HRRR");
    runSevere(day, gfsRun);
    if (progress != nullptr) {
        *progress << "\r\033[K" << std::flush;
    }
    TodayPage page{at,        day.folder,  day.station,   set.ids, request.ratio,
                   day.steps, day.reports, day.dailyTable};
    std::string pageFault;
    const std::string pageName = inFolder(day, "index.html");
    const bool pageWritten = writeTodayPage(page, pageName, pageFault);
    bool allDone = pageWritten;
    for (const TodayStep& step : day.steps) {
        out << summaryLine(step) << "\n";
        allDone = allDone && step.done;
    }
    out << "page: " << (pageWritten ? "done" : "FAILED (" + pageFault + ")") << ": " << pageName
        << "\n";
    out.flush();
    return allDone && out ? 0 : 1;
}
