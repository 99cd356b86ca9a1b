#include "assemble/product_file.h"

#include <cstdio>
#include <cstring>

#include "io/platform.h"

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
    char* const into = product.buffer.data() + kept;
    const std::size_t got = product.standardInput
                                ? std::fread(into, 1, room, stdin)
                                : readFileAt(product.descriptor, into, room, product.taken);
    // A pipe may give less than asked and still go on; only the end or an error stops.
    if (got == 0) {
        product.sourceEnded = true;
    }
    product.taken += got;
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
    if (descriptor >= 0) {
        closeFile(descriptor);
    }
}

ProductOpening openProductFile(ProductFile& product, const std::string& name,
                               std::size_t blockSize) {
    product.standardInput = name == "-";
    DataFileKind kind = DataFileKind::plain;
    if (product.standardInput) {
        kind = standardInputKind();
    } else {
        product.descriptor = openPlainFile(name, kind);
    }
    if (kind != DataFileKind::plain) {
        return kind == DataFileKind::missing ? ProductOpening::missing : ProductOpening::notPlain;
    }
    product.buffer.assign(blockSize + maxProductLineLength, '\0');
    product.taken = 0;
    product.next = 0;
    product.end = 0;
    product.sourceEnded = false;
    product.skippingRest = false;
    return ProductOpening::opened;
}

bool productIsFile(const ProductFile& product, const std::string& name, const std::string& other) {
    constexpr int standardInputDescriptor = 0;
    return isSameFile(product.standardInput ? standardInputDescriptor : product.descriptor, name,
                      other);
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
    return !product.standardInput || std::ferror(stdin) == 0;
}
