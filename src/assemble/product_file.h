#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// A saved product read line by line through one buffer, whatever its size: a line longer
// than any bulletin may hold is handed over cut, and the rest of it skipped.

/// Lines are handed over up to this many characters.
inline constexpr std::size_t maxProductLineLength = std::size_t{64} * 1024 + 1;

/// An open product: a plain file, or standard input for "-".
struct ProductFile {
    ProductFile() = default;
    ProductFile(const ProductFile&) = delete;
    ProductFile& operator=(const ProductFile&) = delete;
    ~ProductFile();

    int descriptor = -1;  // a plain file, read by position; -1 for standard input
    bool standardInput = false;
    std::uint64_t taken = 0;  // how much of the file has gone into the buffer
    std::vector<char> buffer;
    std::size_t next = 0;
    std::size_t end = 0;
    bool sourceEnded = false;
    bool skippingRest = false;  // the rest of a cut line is still to be skipped
};

/// How an opening went.
enum class ProductOpening { opened, missing, notPlain };

/// Opens the product `name` ("-" for standard input) for reading, never waiting: a name
/// that holds no plain file (a pipe, a device, a socket, a folder), or standard input when
/// it is a folder or a device, is `notPlain` and left unopened.
ProductOpening openProductFile(ProductFile& product, const std::string& name,
                               std::size_t blockSize = std::size_t{256} * 1024);

/// True when the open product is the very file that `other` names.
bool productIsFile(const ProductFile& product, const std::string& name, const std::string& other);

/// The next line without its LF, valid until the next call; `cut` tells that the line
/// ran on past maxProductLineLength. False at the end of the product.
bool readProductLine(ProductFile& product, std::string_view& line, bool& cut);

/// True when every byte was read: no read error (a folder, a device that failed).
bool productReadWhole(const ProductFile& product);
