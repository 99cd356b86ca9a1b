#include "verify/verify_report.h"

#include <gtest/gtest.h>

#include <sstream>

#include "verify/verify_time.h"

TEST(VerifyReport, TheSuggestedRatioLineAndItsWarning) {
    RatioSearch maxMin{240, 0.65, 2.3149, 2.44, 2.52, 2.606, 0.508};
    RatioSearch pop12{120, 0.4, 0.0812, 0.085, 0.09, 0.095, 0.5};
    std::ostringstream out;
    writeSuggestion(out, maxMin, pop12);
    EXPECT_EQ(out.str(),
              "Suggested ratio: 0.65 (MAE 2.31 F over 240 pairs; 0.5 gives 2.44, NBS alone 2.52, "
              "GFS MOS alone 2.61)\n"
              "Inverse-MAE ratio: 0.51\n"
              "Suggested PoP12 ratio: 0.40 (Brier 0.081 over 120 pairs; 0.5 gives 0.085, NBS "
              "alone 0.090, GFS MOS alone 0.095)\n");
    // 29 pairs warn, 30 do not.
    maxMin.pairs = 29;
    pop12.pairs = 0;
    out.str("");
    writeSuggestion(out, maxMin, pop12);
    EXPECT_NE(out.str().find("Warning: only 29 pairs back the suggested ratio (fewer than 30)"),
              std::string::npos)
        << out.str();
    EXPECT_EQ(out.str().find("PoP12"), std::string::npos);
    maxMin.pairs = 30;
    out.str("");
    writeSuggestion(out, maxMin, pop12);
    EXPECT_EQ(out.str().find("Warning"), std::string::npos) << out.str();
    out.str("");
    writeSuggestion(out, RatioSearch{}, RatioSearch{});
    EXPECT_EQ(out.str().rfind("No ratio can be suggested", 0), 0u) << out.str();
}

TEST(VerifyReport, TheTableAndTheCsvOfScoresAndPairs) {
    const std::int64_t day = dayOfDate({2026, 12, 7});
    std::vector<VerifiedPair> pairs(3);
    pairs[0] = {1, GuidanceSource::blend, Variable::pop12, 2, day, day - 1, 0, 0.7, 1};
    pairs[1] = {0, GuidanceSource::nbs, Variable::max, 1, day, day, 0, 44, 41.5};
    pairs[2] = {0, GuidanceSource::nbs, Variable::max, 1, day - 1, day - 1, 0, 40, 41};
    const std::vector<double> weights = {0.5, 0.5};
    const std::vector<std::string> stations = {"KFSD", "KSUX"};
    const auto table = scoreTable(pairs, weights);
    std::ostringstream csv;
    writeVerifyCsv(csv, table, pairs, stations, 0.65);
    EXPECT_EQ(csv.str(),
              "station,source,variable,lead_day,n,bias,mae,brier\n"
              "KFSD,NBS,max,1,2,0.7500,1.7500,\n"
              "KSUX,blend 0.65,pop12,2,1,-0.3000,0.3000,0.0900\n"
              "pooled,NBS,max,1,2,0.7500,1.7500,\n"
              "pooled,blend 0.65,pop12,2,1,-0.3000,0.3000,0.0900\n"
              "\n"
              "date,station,source,variable,lead_day,forecast,observed\n"
              "2026-12-06,KFSD,NBS,max,1,40.00,41.00\n"
              "2026-12-07,KFSD,NBS,max,1,44.00,41.50\n"
              "2026-12-07,KSUX,blend 0.65,pop12,2,0.70,1.00\n");
    std::ostringstream out;
    writeScoreTable(out, table, 0.65);
    const std::string text = out.str();
    EXPECT_NE(text.find("\nNBS           1.75 +0.75    2                 -"), std::string::npos)
        << text;
    EXPECT_NE(text.find("\nblend 0.65                  -  0.090 -0.30    1                 -"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("PoP12: Brier score, bias, pairs by lead day\n"), std::string::npos);
}
