#include "today/today_page.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(TodayPage, EscapesEveryCharacterHtmlGivesMeaning) {
    EXPECT_EQ(htmlEscaped("KDSM <b>\"a\" & 'b'</b>"),
              "KDSM &lt;b&gt;&quot;a&quot; &amp; &#39;b&#39;&lt;/b&gt;");
}

TEST(TodayPage, CutsTheDailyTableAtItsHeadingsKeepingBlankCells) {
    const std::vector<std::string> lines = {
        "Day    LowTemp     HighTemp    LowDPT      HighDPT     LowProbPrec HighProbPrec", "",
        "1      15.658      28.6581     6.25799     9.258       13.7595     8.75953",
        "3      7.25799     20.258      1.25797     9.258                   7.15451",
        "4      11.258      27.2581     5.25798     14.258"};
    const std::vector<std::vector<std::string>> cells = dailyTableCells(lines);
    ASSERT_EQ(cells.size(), 4U);
    EXPECT_EQ(cells[0].front(), "Day");
    EXPECT_EQ(cells[0].back(), "HighProbPrec");
    EXPECT_EQ(cells[2], (std::vector<std::string>{"3", "7.25799", "20.258", "1.25797", "9.258", "",
                                                  "7.15451"}));
    EXPECT_EQ(cells[3],
              (std::vector<std::string>{"4", "11.258", "27.2581", "5.25798", "14.258", "", ""}));
}

TEST(TodayPage, InlinesAPictureWithItsOwnIdsAndNoScript) {
    const std::string svg =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg width=\"10\">\n<g id=\"panel-1\"/>"
        "<g id=\"panel-2\"/></svg>\n";
    EXPECT_EQ(
        inlinePicture(svg, "option-2-"),
        "<svg width=\"10\">\n<g id=\"option-2-panel-1\"/><g id=\"option-2-panel-2\"/></svg>\n");
    EXPECT_EQ(inlinePicture("<svg><SCRIPT>alert(1)</SCRIPT></svg>", "x-"), "");
    EXPECT_EQ(inlinePicture("<svg><foreignObject/></svg>", "x-"), "");
    EXPECT_EQ(inlinePicture("not a picture", "x-"), "");
}

TEST(TodayPage, SaysWhichStepFailedAndWhyInEscapedText) {
    TodayPage page;
    readRunTime("2026120815", page.at);
    page.station = "KDSM";
    page.stations = {"KBKX", "KHON"};
    page.ratio = "0.6";
    page.steps = {{"RAP profile KDSM", "", "", false, "no source gave <it>", {}},
                  {"HRRR profile KDSM 2026120815",
                   "wxguide fetch profile hrrr KDSM",
                   "",
                   true,
                   "",
                   {"wxguide fetch: hrrr from 127.0.0.1 & mirror"}}};
    page.reports = {{4, "option 4, RAP", "", false, 0}};
    const std::string html = todayPageText(page);
    EXPECT_TRUE(html.starts_with("<!DOCTYPE html>\n")) << html;
    EXPECT_NE(html.find("<p class=\"failed\">1 step failed: see <a href=\"#steps\">"),
              std::string::npos);
    EXPECT_NE(html.find("<h2 id=\"option-4\">Option 4, RAP</h2>\n<p class=\"failed\">Not made: "
                        "no source gave &lt;it&gt;</p>"),
              std::string::npos)
        << html;
    EXPECT_NE(html.find("<td class=\"failed\">failed: no source gave &lt;it&gt;</td>"),
              std::string::npos);
    EXPECT_NE(html.find("<li>wxguide fetch: hrrr from 127.0.0.1 &amp; mirror</li>"),
              std::string::npos);
    EXPECT_EQ(html.find("<script"), std::string::npos);
    EXPECT_TRUE(html.ends_with("</html>\n"));
}
