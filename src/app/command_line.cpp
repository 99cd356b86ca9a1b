#include "app/command_line.h"

#include <string_view>

#ifndef WXGUIDE_VERSION
#error "the build passes the project version as WXGUIDE_VERSION"
#endif

namespace {

void writeUsage(std::ostream& out) {
    out << "Usage: wxguide [--help | --version]\n"
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
           "  --help     show this text and exit\n"
           "  --version  show the version and exit\n"
           "\n"
           "The manual: man wxguide. Example files: share/doc/wxguide/examples where\n"
           "wxguide is installed (/usr/share/doc/wxguide/examples from the Debian package).\n";
}

}  // namespace

std::optional<int> answerCommandLine(std::span<const char* const> arguments, std::ostream& out,
                                     std::ostream& err) {
    if (arguments.empty()) {
        return std::nullopt;
    }
    const std::string_view first = arguments[0];
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
