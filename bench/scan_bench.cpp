// The reading layer's own speed, apart from process start and file reading: a search
// for a word over text in memory and one long number, each beside formatted stream
// extraction of the same text.
#include <benchmark/benchmark.h>

#include <sstream>
#include <string>

#include "scan/scan_file.h"
#include "scan/scan_number.h"

namespace {

// Guidance-like words without the word searched for, about `size` bytes.
std::string ordinaryWords(std::size_t size) {
    static const char* const words[] = {"GFS",  "MOS",  "FOG", "FROST",   "FHR:", "fhr", "KFSDX",
                                        "N/XX", "CLD:", "OV",  "1013.25", "-12",  "|",   "0.0"};
    std::string text;
    for (std::size_t i = 0; text.size() < size; ++i) {
        text += words[(i * 7 + i / 13) % std::size(words)];
        text += i % 11 == 10 ? '\n' : ' ';
    }
    return text;
}

const std::string& words() {
    static const std::string text = ordinaryWords(std::size_t{64} << 20);
    return text;
}

const std::string& longNumber() {
    static const std::string text = "1013." + std::string(std::size_t{16} << 20, '2') + "5 1";
    return text;
}

void layerSkipPastWord(benchmark::State& state) {
    for (auto _ : state) {
        ScanFile scan;
        openScanText(scan, words());
        benchmark::DoNotOptimize(skipPastWord(scan, "FHR"));
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(words().size()));
}

void streamSkipPastWord(benchmark::State& state) {
    for (auto _ : state) {
        std::istringstream in(words());
        std::string word;
        while (in >> word && word != "FHR") {
        }
        benchmark::DoNotOptimize(word);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(words().size()));
}

void layerLongNumber(benchmark::State& state) {
    for (auto _ : state) {
        ScanFile scan;
        openScanText(scan, longNumber());
        double value = 0;
        benchmark::DoNotOptimize(scanDouble(scan, value));
        benchmark::DoNotOptimize(value);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(longNumber().size()));
}

void streamLongNumber(benchmark::State& state) {
    for (auto _ : state) {
        std::istringstream in(longNumber());
        double value = 0;
        in >> value;
        benchmark::DoNotOptimize(value);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(longNumber().size()));
}

}  // namespace

BENCHMARK(layerSkipPastWord)->Unit(benchmark::kMillisecond);
BENCHMARK(streamSkipPastWord)->Unit(benchmark::kMillisecond);
BENCHMARK(layerLongNumber)->Unit(benchmark::kMillisecond);
BENCHMARK(streamLongNumber)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
