#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// What every fuzz target shares: a scratch folder of its own to run in (the console fed
// from memory is the tests' ScopedConsole).

/// The data file every target writes its input to, in the scratch folder.
inline constexpr const char* fuzzDataName = "d.txt";

/// Every target runs in a fresh scratch folder, made the current directory for the whole
/// fuzzing process and removed at exit: fuzz_support.cpp's LLVMFuzzerInitialize makes it.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv);

/// Empties the scratch folder and writes `size` bytes of `data` as the data file.
void writeDataFile(const std::uint8_t* data, std::size_t size);
