#include <cstddef>
#include <iostream>
#include <optional>
#include <span>

#include "app/command_line.h"
#include "app/menu.h"
#include "arith/station_set.h"

int main(int argc, char* argv[]) {
    const char* const* words = argv;
    // A program started with no argv at all has no arguments either.
    const std::span<const char* const> arguments =
        argc > 1 ? std::span(words + 1, static_cast<std::size_t>(argc - 1))
                 : std::span<const char* const>();
    StationSet set;
    SideFiles sideFiles;
    if (const std::optional<int> status = answerCommandLine(arguments, std::cout, std::cerr, set,
                                                            argc > 0 ? argv[0] : "", &sideFiles)) {
        return *status;
    }
    return runMainMenu(set, sideFiles);
}
