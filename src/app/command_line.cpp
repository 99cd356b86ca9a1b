#include "app/command_line.h"

#include <string_view>

#include "assemble/assemble_command.h"
#include "blend/station_blend.h"
#include "stations/stations_command.h"

#ifndef WXGUIDE_VERSION
#error "the build passes the project version as WXGUIDE_VERSION"
#endif

namespace {

void writeUsage(std::ostream& out) {
    out << "Usage: wxguide [--help | --version]\n"
           "       wxguide [--stations SET] [--city LAT,LON]\n"
           "       "
        << assembleUsage
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
           "A run can be scripted:  printf '2\\ngfs.txt\\n7\\n' | wxguide\n"
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
           "The station set: option 1's bulletin file holds KBKX, KHON, KMHE and KFSD with\n"
           "fixed weights. Before assemble or stations, or alone before the menu (option 1\n"
           "then blends it), another set may be given:\n"
           "  --stations ID=WEIGHT,...  1 to 8 stations in the file's order, their weights\n"
           "                            from 0 to 1 adding up to 1 (within 0.001)\n"
           "  --stations ID,... --city LAT,LON\n"
           "                            the stations weighed by their inverse distance from\n"
           "                            the city (decimal degrees, north and east positive)\n"
           "wxguide stations shows the set in use: id, weight, and with --city the distance\n"
           "and the name. With --city alone it shows the N nearest stations of the station\n"
           "table (--count N, 1 to 8, default 8) and the weights they would get as a set.\n"
           "\n"
           "  --help     show this text and exit\n"
           "  --version  show the version and exit\n"
           "\n"
           "The manual: man wxguide. Example files: share/doc/wxguide/examples where\n"
           "wxguide is installed (/usr/share/doc/wxguide/examples from the Debian package).\n";
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
    if (startsStationSession(first)) {
        return runStationSession(arguments, stationTableSearch(invokedAs), out, err, menuSet);
    }
    // A failed write (a full disk, a closed pipe) must not look like success.
    if (arguments.size() == 1 && first == "--help") {
        writeUsage(out);
        return out.flush() ? 0 : 1;
    }
    if (arguments.size() == 1 && first == "--version") {
        out << "wxguide " << WXGUIDE_VERSION << '\n';
        return out.flush() ? 0 : 1;
    }
    if (arguments.size() == 1) {
        err << "wxguide: unknown argument: " << first << "\n\n";
    } else {
        err << "wxguide: takes at most one argument\n\n";
    }
    writeUsage(err);
    return 2;
}
