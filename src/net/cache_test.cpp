#include "net/cache.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>

#include "test_support.h"

TEST(Cache, KeepsEachUrlWholeUnderItsOwnNameAndRemovesOldEntries) {
    ScopedTempDirectory scratch;
    const std::filesystem::path folder = scratch.path / "cache";
    std::string fault;
    ASSERT_TRUE(makeCacheFolder(folder, fault)) << fault;
    EXPECT_EQ(cacheKey("https://a/x"), cacheKey("https://a/x"));
    EXPECT_NE(cacheKey("https://a/x"), cacheKey("https://a/y"));
    EXPECT_EQ(cacheKey("").size(), 16u);

    const std::string url = "https://host/blend.20261208/12/text/blend_nbstx.t12z";
    EXPECT_FALSE(findCacheEntry(folder, url));
    const std::filesystem::path temporary = cacheTemporary(folder, url);
    std::ofstream(temporary) << "body";
    CacheEntry entry{url, "\"e1\"", "Tue, 08 Dec 2026 16:00:00 GMT", true, {}};
    ASSERT_TRUE(keepCacheEntry(folder, temporary, entry));
    EXPECT_FALSE(std::filesystem::exists(temporary));
    const std::optional<CacheEntry> found = findCacheEntry(folder, url);
    ASSERT_TRUE(found);
    EXPECT_EQ(found->etag, "\"e1\"");
    EXPECT_EQ(found->lastModified, "Tue, 08 Dec 2026 16:00:00 GMT");
    EXPECT_TRUE(found->final);
    EXPECT_EQ(readFile(found->body), "body");

    // A record that names another URL (a hash shared by chance) is no entry of this one.
    std::ofstream(folder / (cacheKey("https://other") + ".meta"))
        << writeCacheRecord({url, "", "", true, {}});
    std::ofstream(folder / (cacheKey("https://other") + ".body")) << "x";
    EXPECT_FALSE(findCacheEntry(folder, "https://other"));

    // Entries not written for two weeks go; fresh ones and files not the cache's stay.
    std::ofstream(folder / "notes.txt") << "mine";
    const auto old = std::filesystem::file_time_type::clock::now() - std::chrono::hours(24 * 15);
    std::filesystem::last_write_time(found->body, old);
    std::filesystem::last_write_time(folder / "notes.txt", old);
    removeOldCacheEntries(folder);
    EXPECT_FALSE(std::filesystem::exists(found->body));
    EXPECT_FALSE(findCacheEntry(folder, url));
    EXPECT_TRUE(std::filesystem::exists(folder / (cacheKey(url) + ".meta")));
    EXPECT_TRUE(std::filesystem::exists(folder / "notes.txt"));
}

TEST(Cache, ReadsOnlyItsOwnRecords) {
    CacheEntry entry;
    EXPECT_TRUE(readCacheRecord(writeCacheRecord({"u", "e", "m", false, {}}), entry));
    EXPECT_EQ(entry.url, "u");
    EXPECT_FALSE(entry.final);
    for (const char* text : {"", "wxguide cache 2\nurl u\n", "wxguide cache 1\netag e\n",
                             "wxguide cache 1\nurl u\nsize 3\n"}) {
        CacheEntry refused;
        EXPECT_FALSE(readCacheRecord(text, refused)) << text;
    }
    // A value with a line end in it cannot add a line to the record.
    EXPECT_TRUE(readCacheRecord(writeCacheRecord({"u", "e\nfinal 1", "", false, {}}), entry));
    EXPECT_FALSE(entry.final);
}
