#include "test_support.h"

#include <fstream>
#include <iostream>
#include <iterator>
#include <random>

#include "io/data_file.h"

ScopedTempDirectory::ScopedTempDirectory() {
    std::random_device seed;
    path = std::filesystem::temp_directory_path() /
           ("wxguide-test-" + std::to_string(seed()) + "-" + std::to_string(seed()));
    std::filesystem::create_directories(path);
    previous = std::filesystem::current_path();
    std::filesystem::current_path(path);
}

ScopedTempDirectory::~ScopedTempDirectory() {
    std::error_code ignored;
    std::filesystem::current_path(previous, ignored);
    std::filesystem::remove_all(path, ignored);
}

ScopedConsole::ScopedConsole(const std::string& input)
    : in(input), savedIn(std::cin.rdbuf(in.rdbuf())), savedOut(std::cout.rdbuf(out.rdbuf())) {}

ScopedConsole::~ScopedConsole() {
    std::cin.rdbuf(savedIn);
    std::cout.rdbuf(savedOut);
    std::cin.clear();
    std::cout.clear();
    std::cout.flags(std::ios::fmtflags{std::ios::dec | std::ios::skipws});
    std::cout.precision(6);
}

std::string readFile(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::string readTextFile(const std::filesystem::path& path) {
    std::ifstream file(path);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void writeFile(const std::filesystem::path& path, const std::string& content) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << content;
}

int entriesIn(const std::filesystem::path& folder) {
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder)) {
        ++entries;
    }
    return entries;
}

OpeningAnswer openDataFileNamed(const std::string& name) {
    std::ostringstream messages;
    DataFile data;
    OpeningAnswer answer;
    answer.opened = openNamedDataFile(data, name, messages);
    answer.descriptorKept = data.descriptor >= 0;
    answer.told = messages.str();
    return answer;
}
