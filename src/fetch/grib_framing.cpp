#include "fetch/grib_framing.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "grib/grib_message_check.h"

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const {
        std::fclose(file);
    }
};

// `size` bytes at `offset`; false when the file holds fewer.
bool readAt(std::FILE* file, std::uint64_t offset, unsigned char* bytes, std::size_t size) {
    return std::fseek(file, static_cast<long>(offset), SEEK_SET) == 0 &&
           std::fread(bytes, 1, size, file) == size;
}

}  // namespace

BodyCheck checkWholeMessages(const std::filesystem::path& file, std::size_t messages) {
    std::error_code error;
    const std::uint64_t size = std::filesystem::file_size(file, error);
    const std::unique_ptr<std::FILE, FileCloser> opened(std::fopen(file.string().c_str(), "rb"));
    if (error || opened == nullptr) {
        return {BodyVerdict::refused, "it cannot be read back"};
    }
    std::uint64_t offset = 0;
    std::size_t count = 0;
    while (offset < size) {
        unsigned char head[gribIndicatorLength];
        unsigned char end[4];
        std::uint64_t length = 0;
        std::string fault;
        const std::string where =
            "message " + std::to_string(count + 1) + " at byte " + std::to_string(offset) + ": ";
        if (!readAt(opened.get(), offset, head, sizeof head)) {
            return {BodyVerdict::refused, where + "the bytes end inside its indicator"};
        }
        if (!readGribLength(head, length, fault)) {
            return {BodyVerdict::refused, where + fault};
        }
        if (offset + length > size || !readAt(opened.get(), offset + length - 4, end, 4) ||
            std::string(end, end + 4) != "7777") {
            return {BodyVerdict::refused, where + "it does not end in 7777 where its length says"};
        }
        offset += length;
        ++count;
    }
    if (count != messages) {
        return {BodyVerdict::refused, std::to_string(count) + " whole messages where " +
                                          std::to_string(messages) + " were asked for"};
    }
    return {BodyVerdict::whole, {}};
}
