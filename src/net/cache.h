#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// The downloads kept between runs, one entry per URL: the body, and beside it what the
// server said of it (ETag, Last-Modified) and whether it is final (the product of a run
// that is over, never asked for again).

struct CacheEntry {
    std::string url;
    std::string etag;
    std::string lastModified;
    bool final = false;
    std::filesystem::path body;
};

/// Entries untouched this many days are removed.
inline constexpr int cacheKeptDays = 14;

/// The cache's folder: WXGUIDE_CACHE when set, else the platform's own place
/// (platformCacheFolder). Empty when no place is known.
std::filesystem::path cacheFolder();

/// The entry's file name without its ending: a hash of the URL, the same on every machine.
std::string cacheKey(std::string_view url);

/// Makes the folder (only its owner may enter it); false with the fault.
bool makeCacheFolder(const std::filesystem::path& folder, std::string& fault);

/// The entry of `url`, when its body and its record are both there and the record is for
/// that very URL.
std::optional<CacheEntry> findCacheEntry(const std::filesystem::path& folder, std::string_view url);

/// A name for the body being downloaded, in the cache's folder, of this process only.
std::filesystem::path cacheTemporary(const std::filesystem::path& folder, std::string_view url);

/// Puts the whole downloaded body `temporary` in place as the entry of `entry.url`, then its
/// record, each by a rename. False (the temporary removed) when it could not be done.
bool keepCacheEntry(const std::filesystem::path& folder, const std::filesystem::path& temporary,
                    const CacheEntry& entry);

/// Renames `from` over `to`, replacing the file there, on every platform; false when it
/// could not be done.
bool replaceFile(const std::filesystem::path& from, const std::filesystem::path& to);

/// Removes the entry of `url`, its body and its record, when there is one.
void removeCacheEntry(const std::filesystem::path& folder, std::string_view url);

/// Removes the entries, and temporaries left behind, not written for cacheKeptDays days.
void removeOldCacheEntries(const std::filesystem::path& folder);

/// Reads an entry's record; false when it is not one.
bool readCacheRecord(std::string_view text, CacheEntry& entry);

/// The record of an entry, as readCacheRecord reads it.
std::string writeCacheRecord(const CacheEntry& entry);
