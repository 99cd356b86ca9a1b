#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

// A saved product read line by line through one buffer, whatever its size: a line longer
// than any bulletin may hold is handed over cut, and the rest of it skipped.

/// Lines are handed over up to this many characters.
inline constexpr std::size_t maxProductLineLength = std::size_t{64} * 1024 + 1;

/// An open product: a file, or standard input for "-".
struct ProductFile {
    ProductFile() = default;
    ProductFile(const ProductFile&) = delete;
    ProductFile& operator=(const ProductFile&) = delete;
    ~ProductFile();

    std::FILE* file = nullptr;
    bool ownsFile = false;  // standard input is not ours to close
    std::vector<char> buffer;
    std::size_t next = 0;
    std::size_t end = 0;
    bool sourceEnded = false;
    bool skippingRest = false;  // the rest of a cut line is still to be skipped
};

/// Opens the product `name` ("-" for standard input) for reading; false when it cannot be.
bool openProductFile(ProductFile& product, const std::string& name,
                     std::size_t blockSize = std::size_t{256} * 1024);

/// The next line without its LF, valid until the next call; `cut` tells that the line
/// ran on past maxProductLineLength. False at the end of the product.
bool readProductLine(ProductFile& product, std::string_view& line, bool& cut);

/// True when every byte was read: no read error (a folder, a device that failed).
bool productReadWhole(const ProductFile& product);
