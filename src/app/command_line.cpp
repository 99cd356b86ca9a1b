#include "app/command_line.h"

#include <string_view>

#include "app/run_command.h"
#include "assemble/assemble_command.h"
#include "blend/station_blend.h"
#include "extract/extract_command.h"
#include "io/platform.h"
#include "stations/stations_command.h"

#ifndef WXGUIDE_VERSION
#error "the build passes the project version as WXGUIDE_VERSION"
#endif

namespace {

void writeUsage(std::ostream& out) {
    out << "Usage: wxguide [-h | --help | -V | --version]\n"
           "       wxguide [--stations SET] [--city LAT,LON]\n"
           "       "
        << runUsage
        << "\n"
           "       "
        << assembleUsage
        << "\n"
           "       "
        << extractUsage
        << "\n"
           "       "
        << stationsUsage
        << "\n"
           "\n"
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
           "writable) or standard output failed, 2 for a usage error.\n"
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

}  // namespace

std::optional<int> answerCommandLine(std::span<const char* const> arguments, std::ostream& out,
                                     std::ostream& err, StationSet& menuSet,
                                     std::string_view invokedAs) {
    menuSet = fixedStationSet();
    if (arguments.empty()) {
        return std::nullopt;
    }
    const std::string_view first = arguments[0];
    if (first == "assemble") {
        return runAssemble(arguments.subspan(1), out, err);
    }
    if (first == "extract") {
        return runExtract(arguments.subspan(1), out, err);
    }
    if (startsStationSession(first)) {
        std::span<const char* const> runArguments;
        if (const std::optional<int> status = runStationSession(
                arguments, stationTableSearch(invokedAs), out, err, menuSet, runArguments)) {
            return status;
        }
        if (runArguments.empty()) {
            return std::nullopt;  // the menu, with the set
        }
        return runCommand(runArguments.subspan(1), menuSet, out, err);
    }
    if (first == "run") {
        return runCommand(arguments.subspan(1), menuSet, out, err);
    }
    const bool help = asksForHelp(first);
    const bool version = first == "--version" || first == "-V";
    if (arguments.size() > 1 && (help || version)) {
        err << "wxguide: " << first << " takes no other argument\nTry 'wxguide --help'.\n";
        return 2;
    }
    // A failed write (a full disk, a closed pipe) must not look like success.
    if (help) {
        writeUsage(out);
        return out.flush() ? 0 : 1;
    }
    if (version) {
        out << "wxguide " << WXGUIDE_VERSION << '\n';
        return out.flush() ? 0 : 1;
    }
    err << "wxguide: unknown command or option: " << first << "\nTry 'wxguide --help'.\n";
    return 2;
}
