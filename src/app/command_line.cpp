#include "app/command_line.h"

#include <iostream>
#include <string>
#include <string_view>

#include "app/command_table.h"
#include "app/menu.h"
#include "app/session_options.h"
#include "io/option_word.h"
#include "io/platform.h"

#ifndef WXGUIDE_VERSION
#error "the build passes the project version as WXGUIDE_VERSION"
#endif

namespace {

void writeUsage(std::ostream& out) {
    out << "Usage: wxguide [-h | --help | -V | --version]\n"
           "       wxguide [--plot] [--csv] [--stations SET] [--city LAT,LON]\n";
    for (const CommandRow& command : commandTable()) {
        out << "       " << command.usage << '\n';
    }
    out << "\n"
           "Turns saved weather model guidance into the tables of a local forecast:\n"
           "temperatures in F, pressure in inches of mercury, precipitation in inches,\n"
           "wind in mph.\n"
           "\n"
           "wxguide is driven by its menu on standard input. Start it in the folder of\n"
           "your data files, type the number of a run, then the data file's name; each\n"
           "run writes a report named after the data file (gfs.txt gives gfs.out).\n"
        << platformHelpNotes().scriptedMenuRun
        << "\n"
           "wxguide run makes one run with no menu and no prompt: OPTION 1 to 6 on FILE.\n"
           "Option 1 takes the ETA weight as --ratio R (0 to 1, such as 0.6); options 2\n"
           "to 6 take none. Option 1's daily table goes to standard output, every message\n"
           "to standard error. It exits 0 when the report was written, 1 when it was not\n"
           "(file missing or invalid, a row missing, no forecast hour, report not\n"
           "writable) or standard output failed, 2 for a usage error. -q, --quiet leave\n"
           "out the status lines when all goes well (run and assemble); faults are told.\n"
           "\n"
           "wxguide assemble picks option 1's twelve bulletins (KBKX, KHON, KMHE, KFSD)\n"
           "out of saved guidance products and writes them in option 1's order, to FILE\n"
           "or standard output; it exits 0 when the file was written and passes option\n"
           "1's check, 1 when it could not be made, 2 for a usage error.\n"
           "  --date DATE    the bulletins of DATE (12/08/2026); without it, the newest\n"
           "                 date that has all twelve\n"
           "  --output FILE  write FILE whole or not at all, instead of standard output\n"
           "  PRODUCT        a saved product (feed collective, whole-cycle file, web page),\n"
           "                 or - for standard input\n"
           "\n"
           "wxguide fetch downloads option 1's bulletins of DATE (without --date the\n"
           "newest day all are out, today or yesterday) and writes them as assemble does,\n"
           "or a model's BUFKIT profile (gfs, rap or hrrr; the newest run without --run)\n"
           "under the archive's name (gfs3_kdsm.buf). Each URL comes from sources.txt\n"
           "beside the station table, or the file WXGUIDE_SOURCES names; downloads are\n"
           "kept in a cache (WXGUIDE_CACHE names its folder). Nothing is kept that is not\n"
           "whole; each fault is told with its URL, and the next source tried. It exits 0\n"
           "when the file was written, 1 when no source gave it, 2 for a usage error.\n"
           "  --offline      use the cache only\n"
           "fetch grib brings the GFS 0.25 degree GRIB2 hours option 6 reads, with only\n"
           "the fields extract reads: from the NOMADS grib filter in a box around the\n"
           "place, else by byte ranges from the open-data bucket. Each file is read with\n"
           "ecCodes before it is kept, in gfs.YYYYMMDDHH/ under NCEP's name; a rerun\n"
           "fetches only the hours missing; the extract line that reads them is printed.\n"
           "  --station ID, --point LAT,LON\n"
           "                 the place the box is drawn around and extract reads at\n"
           "  --hours FIRST-LAST, --step H\n"
           "                 forecast hours FIRST to LAST every H (default 3-87 every 3)\n"
           "  --folder DIR   put the run's folder in DIR\n"
           "\n"
           "wxguide extract makes options 2 to 6's files from a BUFKIT profile (.buf):\n"
           "the model column file NAME_columns.txt and the severe weather file\n"
           "NAME_severe.txt, NAME being the profile's name without .buf, each written whole\n"
           "or not at all. It exits 0 when both were written, 1 when the profile could not\n"
           "be read (the block and the name told) or a file not written, 2 for a usage error.\n"
           "  --step H       every forecast hour that is a multiple of H (default 3)\n"
           "  --columns FILE, --severe FILE\n"
           "                 write the files under these names instead\n"
           "\n"
           "The station set: option 1's bulletin file holds KBKX, KHON, KMHE and KFSD with\n"
           "fixed weights. Before run, assemble or stations, or alone before the menu\n"
           "(option 1 then blends it), another set may be given:\n"
           "  --stations ID=WEIGHT,...  1 to 8 stations in the file's order, their weights\n"
           "                            from 0 to 1 adding up to 1 (within 0.001)\n"
           "  --stations ID,... --city LAT,LON\n"
           "                            the stations weighed by their inverse distance from\n"
           "                            the city (decimal degrees, north and east positive)\n"
           "wxguide stations shows the set in use: id, weight, and with --city the distance\n"
           "and the name. With --city alone it shows the N nearest stations of the station\n"
           "table (--count N, 1 to 8, default 8) and the weights they would get as a set.\n"
           "WXGUIDE_STATIONS and WXGUIDE_CITY in the environment stand for --stations and\n"
           "--city when these are not given. Any value may follow its option with =\n"
           "(--ratio=0.6); numbers may take an exponent (5e-1).\n"
           "\n"
           "--plot and --csv, first of all, before the menu or run, write beside each report\n"
           "a picture of its values (gfs.svg) and its tables as spreadsheet files (gfs.csv;\n"
           "option 1 also bulletins-hourly.csv); WXGUIDE_PLOT=1 and WXGUIDE_CSV=1 in the\n"
           "environment ask for them too.\n"
           "\n"
           "  -h, --help     show this text and exit\n"
           "  -V, --version  show the version and exit\n"
           "A usage error names the fault on one line and exits 2.\n"
           "\n"
        << platformHelpNotes().whereToReadMore;
}

bool asksForHelp(std::string_view word) {
    return word == "--help" || word == "-h" ||
           (platformHelpNotes().acceptsSlashQuestion && word == "/?");
}

// Settles the session's set: the menu runs with it when no command follows.
CommandLineAnswer runSession(std::span<const char* const> arguments,
                             const SetEnvironment& environment, std::string_view invokedAs,
                             const SideFiles& sideFiles, std::ostream& out, std::ostream& err) {
    SessionRequest request;
    std::string fault;
    if (!readSessionWords(arguments, request, fault)) {
        return {writeUsageError(err, "", fault), {}, sideFiles};
    }
    takeEnvironment(request, environment);
    ListedSet listed;
    if (const std::optional<int> status =
            settleStationSet(request, stationTableSearch(invokedAs), listed, err)) {
        return {status, {}, sideFiles};
    }
    if (request.command == nullptr) {
        return {std::nullopt, listed.set, sideFiles};
    }
    const CommandContext context{
        request.commandArguments, request, environment, listed, sideFiles, invokedAs, out, err};
    return {request.command->run(context), {}, sideFiles};
}

// The answer to the words after --plot and --csv.
CommandLineAnswer answerWords(std::span<const char* const> arguments, std::string_view invokedAs,
                              const SideFiles& sideFiles, std::ostream& out, std::ostream& err) {
    const auto status = [&](std::optional<int> exitStatus) {
        return CommandLineAnswer{exitStatus, fixedStationSet(), sideFiles};
    };
    const SetEnvironment environment = setEnvironment();
    const bool setKept = environment.stations || environment.city;
    const std::string_view first = arguments.empty() ? std::string_view() : arguments[0];
    if (arguments.empty() && !setKept) {
        return status(std::nullopt);
    }
    const CommandRow* command = findCommand(first);
    if (command != nullptr && command->stationSet == StationSetUse::none) {
        const SessionRequest noSession;
        const ListedSet fixed{fixedStationSet(), {}, {}};
        return status(command->run(
            {arguments.subspan(1), noSession, environment, fixed, sideFiles, invokedAs, out, err}));
    }
    // With no set given, a command that takes one takes the four fixed stations; a set kept
    // in the environment reaches the menu and these commands too.
    if (arguments.empty() || startsStationSession(first) || command != nullptr) {
        return runSession(arguments, environment, invokedAs, sideFiles, out, err);
    }
    const bool help = asksForHelp(first);
    const bool version = first == "--version" || first == "-V";
    if (arguments.size() > 1 && (help || version)) {
        return status(writeUsageError(err, "", std::string(first) + " takes no other argument"));
    }
    // A failed write (a full disk, a closed pipe) must not look like success.
    if (help) {
        writeUsage(out);
        return status(out.flush() ? 0 : 1);
    }
    if (version) {
        out << "wxguide " << WXGUIDE_VERSION << '\n';
        return status(out.flush() ? 0 : 1);
    }
    const std::string misplaced = misplacedOption(splitOptionWord(first).name);
    return status(writeUsageError(
        err, "",
        misplaced.empty() ? "unknown command or option: " + std::string(first) : misplaced));
}

}  // namespace

CommandLineAnswer answerCommandLine(std::span<const char* const> arguments, std::ostream& out,
                                    std::ostream& err, std::string_view invokedAs) {
    ignoreBrokenPipe();
    SideFiles sideFiles = sideFilesFromEnvironment();
    arguments = takeSideFileOptions(arguments, sideFiles);
    return answerWords(arguments, invokedAs, sideFiles, out, err);
}

int runProgram(std::span<const char* const> arguments, std::string_view invokedAs) {
    const CommandLineAnswer answer = answerCommandLine(arguments, std::cout, std::cerr, invokedAs);
    if (answer.status) {
        return *answer.status;
    }
    return runMainMenu(answer.menuSet, answer.sideFiles);
}
