#include "net/cache.h"

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <ios>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <system_error>

#include "io/platform.h"
#include "net/http.h"

namespace {

constexpr std::string_view recordFirstLine = "wxguide cache 1";
// A record is a few lines; a longer file is none.
constexpr std::uintmax_t maxRecordBytes = 8192;

}  // namespace

void removeCacheEntry(const std::filesystem::path& folder, std::string_view url) {
    const std::string key = cacheKey(url);
    std::error_code error;
    std::filesystem::remove(folder / (key + ".meta"), error);
    std::filesystem::remove(folder / (key + ".body"), error);
}

bool replaceFile(const std::filesystem::path& from, const std::filesystem::path& to) {
    std::error_code error;
    std::filesystem::rename(from, to, error);
    if (!error) {
        return true;
    }
    // Where the system will not replace a file by a rename, the older one goes first; a
    // folder at the name is never removed.
    if (!std::filesystem::is_regular_file(to, error)) {
        return false;
    }
    std::filesystem::remove(to, error);
    std::filesystem::rename(from, to, error);
    return !error;
}

std::filesystem::path cacheFolder() {
    if (const char* named = std::getenv("WXGUIDE_CACHE"); named != nullptr && *named != '\0') {
        return named;
    }
    return platformCacheFolder();
}

std::string cacheKey(std::string_view url) {
    // FNV-1a, 64 bits: short, stable, and collisions are caught by the record's URL.
    std::uint64_t hash = 14695981039346656037ULL;
    for (const char c : url) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ULL;
    }
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
    return text;
}

bool makeCacheFolder(const std::filesystem::path& folder, std::string& fault) {
    std::error_code error;
    if (!std::filesystem::is_directory(folder, error)) {
        std::filesystem::create_directories(folder, error);
        if (error) {
            fault = "the cache folder " + folder.string() + " cannot be made: " + error.message();
            return false;
        }
        std::filesystem::permissions(folder, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::replace, error);
    }
    return true;
}

bool readCacheRecord(std::string_view text, CacheEntry& entry) {
    std::size_t lineNumber = 0;
    bool urlSeen = false;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (lineNumber++ == 0) {
            if (line != recordFirstLine) {
                return false;
            }
            continue;
        }
        const std::size_t blank = line.find(' ');
        const std::string_view name = line.substr(0, blank);
        const std::string_view value =
            blank == std::string_view::npos ? std::string_view() : line.substr(blank + 1);
        if (name == "url") {
            entry.url = value;
            urlSeen = true;
        } else if (name == "etag") {
            entry.etag = value;
        } else if (name == "modified") {
            entry.lastModified = value;
        } else if (name == "final") {
            entry.final = value == "1";
        } else {
            return false;
        }
    }
    return urlSeen;
}

std::string writeCacheRecord(const CacheEntry& entry) {
    // A value never holds a line end: a server's header could not put one there.
    const auto oneLine = [](const std::string& value) {
        return value.substr(0, value.find_first_of("\r\n"));
    };
    return std::string(recordFirstLine) + "\nurl " + oneLine(entry.url) + "\netag " +
           oneLine(entry.etag) + "\nmodified " + oneLine(entry.lastModified) + "\nfinal " +
           (entry.final ? "1" : "0") + "\n";
}

std::optional<CacheEntry> findCacheEntry(const std::filesystem::path& folder,
                                         std::string_view url) {
    const std::string key = cacheKey(url);
    const std::filesystem::path record = folder / (key + ".meta");
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(record, error);
    if (error || size > maxRecordBytes) {
        return std::nullopt;
    }
    std::ifstream in(record, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    CacheEntry entry;
    entry.body = folder / (key + ".body");
    if (!readCacheRecord(text.str(), entry) || entry.url != url ||
        !std::filesystem::is_regular_file(entry.body, error)) {
        return std::nullopt;
    }
    return entry;
}

std::filesystem::path cacheTemporary(const std::filesystem::path& folder, std::string_view url) {
    return folder / (cacheKey(url) + ".part" + std::to_string(processNumber()));
}

bool keepCacheEntry(const std::filesystem::path& folder, const std::filesystem::path& temporary,
                    const CacheEntry& entry) {
    const std::string key = cacheKey(entry.url);
    const std::filesystem::path recordTemporary = temporary.string() + "m";
    std::error_code error;
    {
        std::ofstream out(recordTemporary, std::ios::binary | std::ios::trunc);
        out << writeCacheRecord(entry);
        out.close();
        if (!out) {
            std::filesystem::remove(recordTemporary, error);
            std::filesystem::remove(temporary, error);
            return false;
        }
    }
    // The old record goes first: a body never stands beside another body's record.
    std::filesystem::remove(folder / (key + ".meta"), error);
    if (!replaceFile(temporary, folder / (key + ".body")) ||
        !replaceFile(recordTemporary, folder / (key + ".meta"))) {
        std::filesystem::remove(recordTemporary, error);
        std::filesystem::remove(temporary, error);
        return false;
    }
    return true;
}

void removeOldCacheEntries(const std::filesystem::path& folder) {
    std::error_code error;
    const auto oldest =
        std::filesystem::file_time_type::clock::now() - std::chrono::hours(24 * cacheKeptDays);
    std::filesystem::directory_iterator entries(folder, error);
    if (error) {
        return;
    }
    for (const std::filesystem::directory_entry& file : entries) {
        const std::string name = file.path().filename().string();
        // Only what the cache itself writes: 16 hex digits, then .body, .meta or .part.
        if (name.size() < 21 || name.find_first_not_of("0123456789abcdef") != 16 ||
            !(name.substr(16).starts_with(".body") || name.substr(16).starts_with(".meta") ||
              name.substr(16).starts_with(".part"))) {
            continue;
        }
        std::error_code timeError;
        const auto written = file.last_write_time(timeError);
        if (!timeError && written < oldest) {
            std::filesystem::remove(file.path(), timeError);
        }
    }
}
