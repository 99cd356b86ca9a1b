#include "assemble/product_file.h"

#include <cstring>

namespace {

// Keeps the unread bytes and reads the next block behind them; false when nothing came.
bool readMore(ProductFile& product) {
    if (product.sourceEnded) {
        return false;
    }
    const std::size_t kept = product.end - product.next;
    std::memmove(product.buffer.data(), product.buffer.data() + product.next, kept);
    product.next = 0;
    product.end = kept;
    const std::size_t room = product.buffer.size() - kept;
    const std::size_t got = std::fread(product.buffer.data() + kept, 1, room, product.file);
    // A pipe may give less than asked and still go on; only the end or an error stops.
    if (got == 0) {
        product.sourceEnded = true;
    }
    product.end += got;
    return got > 0;
}

// Skips up to and past the next LF; false when the product ends first.
bool skipToNextLine(ProductFile& product) {
    while (true) {
        const char* begin = product.buffer.data() + product.next;
        const void* lf = std::memchr(begin, '\n', product.end - product.next);
        if (lf != nullptr) {
            product.next += static_cast<std::size_t>(static_cast<const char*>(lf) - begin) + 1;
            return true;
        }
        product.next = product.end;
        if (!readMore(product)) {
            return false;
        }
    }
}

}  // namespace

ProductFile::~ProductFile() {
    if (ownsFile && file != nullptr) {
        std::fclose(file);
    }
}

bool openProductFile(ProductFile& product, const std::string& name, std::size_t blockSize) {
    if (name == "-") {
        product.file = stdin;
        product.ownsFile = false;
    } else {
        product.file = std::fopen(name.c_str(), "rb");
        product.ownsFile = true;
    }
    product.buffer.assign(blockSize + maxProductLineLength, '\0');
    product.next = 0;
    product.end = 0;
    product.sourceEnded = false;
    product.skippingRest = false;
    return product.file != nullptr;
}

bool readProductLine(ProductFile& product, std::string_view& line, bool& cut) {
    if (product.skippingRest) {
        product.skippingRest = false;
        if (!skipToNextLine(product)) {
            return false;
        }
    }
    std::size_t searched = product.next;
    while (true) {
        const char* data = product.buffer.data();
        const void* lf = std::memchr(data + searched, '\n', product.end - searched);
        if (lf != nullptr) {
            const std::size_t at = static_cast<std::size_t>(static_cast<const char*>(lf) - data);
            const std::size_t length = at - product.next;
            cut = length > maxProductLineLength;
            line = std::string_view(data + product.next, cut ? maxProductLineLength : length);
            product.next = at + 1;
            return true;
        }
        if (product.end - product.next >= maxProductLineLength) {
            line = std::string_view(data + product.next, maxProductLineLength);
            cut = true;
            product.next += maxProductLineLength;
            product.skippingRest = true;
            return true;
        }
        searched = product.end - product.next;
        if (!readMore(product)) {
            if (product.next == product.end) {
                return false;
            }
            // The last line of a product without a final LF.
            line =
                std::string_view(product.buffer.data() + product.next, product.end - product.next);
            cut = false;
            product.next = product.end;
            return true;
        }
    }
}

bool productReadWhole(const ProductFile& product) {
    return product.file != nullptr && std::ferror(product.file) == 0;
}
