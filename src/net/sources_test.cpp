#include "net/sources.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(Sources, ReadsTheTableAndRefusesAMalformedLineByFileAndLine) {
    const std::string table =
        "# comment\n"
        "\n"
        "nbs https://host.example/a?pil=NBS{ID3}&matches={ID}&sdate={sdate}&edate={edate}\r\n"
        "  nbs   http://127.0.0.1:8080/blend.{YYYYMMDD}/{HH}/text/blend_nbstx.t{HH}z  \n"
        "gfs-profile https://h/{YYYY}/{MM}/{DD}/bufkit/{HH}/gfs/{gfs}_{id}.buf\n"
        "rap-profile http://h/bufkit/data/RAP/{HH}/rap_{id}.buf";
    std::vector<Source> sources;
    std::string fault;
    ASSERT_TRUE(readSources(table, "sources.txt", sources, fault)) << fault;
    ASSERT_EQ(sources.size(), 4u);
    EXPECT_EQ(sources[0].line, 3u);
    EXPECT_TRUE(sources[0].perStation);
    EXPECT_TRUE(sources[0].namesDay);
    EXPECT_FALSE(sources[1].perStation);
    EXPECT_EQ(sources[1].urlTemplate,
              "http://127.0.0.1:8080/blend.{YYYYMMDD}/{HH}/text/blend_nbstx.t{HH}z");
    EXPECT_TRUE(sources[2].perStation);
    EXPECT_FALSE(sources[3].namesDay);
    std::vector<Source> archive;
    ASSERT_TRUE(
        readSources("asos https://h/a?station={asos}&sts={sts}&ets={ets}\n", "t", archive, fault))
        << fault;
    EXPECT_TRUE(archive[0].perStation);
    EXPECT_TRUE(archive[0].namesDay);
    EXPECT_EQ(sourcesOf(sources, "nbs").size(), 2u);

    struct Refusal {
        std::string line;
        std::string fault;
    };
    const Refusal refusals[] = {
        {"NBS https://h/x", "the product name is not lower-case letters, digits and -"},
        {"nbs", "no URL follows the product"},
        {"nbs https://h/x extra", "more than a product and a URL"},
        {"nbs ftp://h/x", "the URL is not an absolute http:// or https:// one"},
        {"nbs /pub/x", "the URL is not an absolute http:// or https:// one"},
        {"nbs https:///x", "the URL names no host of its own"},
        {"nbs https://{ID}.example/x", "the URL names no host of its own"},
        {"nbs https://h/x?{station}", "the URL holds the unknown placeholder {station}"},
        {"nbs https://h/x?{ID", "the URL holds a { that is never closed"},
        {"nbs https://h/x?ID}", "the URL holds a } that closes no placeholder"},
        {"nbs https://h/\x7f", "the URL holds a blank or a character that is not plain ASCII"},
    };
    for (const Refusal& refusal : refusals) {
        std::vector<Source> refused;
        std::string told;
        EXPECT_FALSE(readSources("# first\n" + refusal.line + "\n", "mine.txt", refused, told))
            << refusal.line;
        EXPECT_EQ(told, "mine.txt, line 2: " + refusal.fault) << refusal.line;
    }
}

TEST(Sources, FillsEveryPlaceholderAndFindsTheHost) {
    const SourceValues values{2026, 12, 31, 6, "KBKX"};
    EXPECT_EQ(expandSource("https://h/{YYYY}/{MM}/{DD}/{HH}/{YYYYMMDD}/{gfs}_{id}", values),
              "https://h/2026/12/31/06/20261231/gfsm_kbkx");
    EXPECT_EQ(expandSource("x?pil=MAV{ID3}&m={ID}&l={id3}&s={sdate}&e={edate}", values),
              "x?pil=MAVBKX&m=KBKX&l=bkx&s=2026-12-31T06:00Z&e=2027-01-01T06:00Z");
    EXPECT_EQ(expandSource("{gfs}", {2024, 2, 28, 12, ""}), "gfs3");
    const SourceValues range{0, 0, 0, 0, "KFSD", "GFS", "2026-10-01T00:00Z", "2026-12-01T12:00Z"};
    EXPECT_EQ(expandSource("m?station={ID}&model={model}&sts={sts}&ets={ets}&a={asos}", range),
              "m?station=KFSD&model=GFS&sts=2026-10-01T00:00Z&ets=2026-12-01T12:00Z&a=FSD");
    EXPECT_EQ(expandSource("{asos}", {0, 0, 0, 0, "PHNL"}), "PHNL");
    EXPECT_EQ(expandSource("{edate}", {2024, 2, 28, 0, ""}), "2024-02-29T00:00Z");
    EXPECT_EQ(expandSource("{edate}", {2026, 2, 28, 0, ""}), "2026-03-01T00:00Z");
    SourceHour hour;
    hour.forecastHour = 3;
    hour.fields = "var_TMP=on&lev_2_m_above_ground=on";
    hour.latitude = 41.53;
    hour.longitude = -93.65;
    EXPECT_EQ(expandSource("f{FFF}&{fields}&t={toplat}&l={leftlon}&r={rightlon}&b={bottomlat}",
                           {2026, 12, 8, 12, ""}, hour),
              "f003&var_TMP=on&lev_2_m_above_ground=on&t=43&l=265&r=268&b=40");
    // Whole degrees around, longitudes 0 to 360, the sides kept on the globe.
    struct Box {
        double latitude, longitude;
        int top, bottom, left, right;
    };
    for (const Box& box : {Box{41.53, -93.65, 43, 40, 265, 268}, Box{-89.5, 0.5, -88, -90, 359, 2},
                           Box{89.9, 179.5, 90, 88, 178, 181}, Box{10.0, -0.2, 11, 9, 358, 1},
                           Box{0.0, 359.9, 1, -1, 358, 1}}) {
        const SourceBox got = boxAround(box.latitude, box.longitude);
        EXPECT_EQ(got.top, box.top) << box.latitude;
        EXPECT_EQ(got.bottom, box.bottom) << box.latitude;
        EXPECT_EQ(got.left, box.left) << box.longitude;
        EXPECT_EQ(got.right, box.right) << box.longitude;
    }
    EXPECT_EQ(hostOfUrl("https://mesonet.agron.iastate.edu/cgi-bin/x?y=1"),
              "mesonet.agron.iastate.edu");
    EXPECT_EQ(hostOfUrl("http://127.0.0.1:8080"), "127.0.0.1:8080");
}
