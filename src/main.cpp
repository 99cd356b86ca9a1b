#include <cstddef>
#include <span>

#include "app/command_line.h"

int main(int argc, char* argv[]) {
    const char* const* words = argv;
    // A program started with no argv at all has no arguments either.
    const std::span<const char* const> arguments =
        argc > 1 ? std::span(words + 1, static_cast<std::size_t>(argc - 1))
                 : std::span<const char* const>();
    return runProgram(arguments, argc > 0 ? argv[0] : "");
}
