#include "verify/mos_csv.h"

#include <gtest/gtest.h>

#include "verify/verify_time.h"

namespace {

std::int64_t hourAt(int day, int hour) {
    return dayOfDate({2026, 12, day}) * 24 + hour;
}

}  // namespace

TEST(MosCsv, ColumnsAreFoundByNameWhereverTheyStand) {
    // The GFS MOS's max/min is n_x; its txn-like neighbours are not read for it.
    const std::string text =
        "station,model,runtime,ftime,tmp,n_x,p12,txn\r\n"
        "KFSD,GFS,2026-12-01 12:00:00,2026-12-02 00:00:00,30,35,20,99\r\n"
        "KFSD,GFS,2026-12-01 12:00:00,2026-12-02 12:00:00,20,18,999,99\r\n"
        "KFSD,GFS,2026-12-01 12:00:00,2026-12-02 03:00:00,25,,,\r\n";
    std::vector<MosValue> values;
    std::string fault;
    ASSERT_TRUE(readMosCsv(text, MosModel::gfs, values, fault)) << fault;
    ASSERT_EQ(values.size(), 3u);
    EXPECT_EQ(values[0].runHour, hourAt(1, 12));
    EXPECT_EQ(values[0].validHour, hourAt(2, 0));
    EXPECT_EQ(values[0].maxMin, 35);
    EXPECT_EQ(values[0].pop12, 20);
    EXPECT_EQ(values[1].maxMin, 18);
    EXPECT_FALSE(values[1].pop12);
    EXPECT_FALSE(values[2].maxMin);
}

TEST(MosCsv, ADroppedColumnLeavesItsValuesMissing) {
    // No row had a PoP, so the archive left the p12 column out; txn moved left.
    const std::string text =
        "runtime,ftime,txn,station\n"
        "2026-12-01 12:00:00,2026-12-02 00:00:00,41,KFSD\n";
    std::vector<MosValue> values;
    std::string fault;
    ASSERT_TRUE(readMosCsv(text, MosModel::nbs, values, fault)) << fault;
    ASSERT_EQ(values.size(), 1u);
    EXPECT_EQ(values[0].maxMin, 41);
    EXPECT_FALSE(values[0].pop12);
}

TEST(MosCsv, MissingValuesAtTheirEdges) {
    EXPECT_FALSE(archiveValue(""));
    EXPECT_FALSE(archiveValue("999"));
    EXPECT_FALSE(archiveValue("1000"));
    EXPECT_EQ(archiveValue("998.9"), 998.9);
    EXPECT_FALSE(archiveValue("-98"));
    EXPECT_FALSE(archiveValue("-99.5"));
    EXPECT_EQ(archiveValue("-97.9"), -97.9);
    EXPECT_EQ(archiveValue(" 0 "), 0);
    EXPECT_FALSE(archiveValue("M"));
    EXPECT_FALSE(archiveValue("12x"));
}

TEST(MosCsv, AnErrorBodyOrABrokenRowIsRefused) {
    std::vector<MosValue> values;
    std::string fault;
    EXPECT_FALSE(readMosCsv("ERROR: Invalid model\n", MosModel::nbs, values, fault));
    EXPECT_EQ(fault, "line 1 names no runtime and ftime columns");
    EXPECT_FALSE(readMosCsv("", MosModel::nbs, values, fault));
    EXPECT_FALSE(readMosCsv("runtime,ftime,txn\n2026-12-01 12:00:00,2026-12-02 00:30:00,4\n",
                            MosModel::nbs, values, fault));
    EXPECT_EQ(fault, "line 2 is not a row of the table");
    EXPECT_FALSE(
        readMosCsv("runtime,ftime,txn\n2026-12-01 12:00:00\n", MosModel::nbs, values, fault));
    EXPECT_TRUE(readMosCsv("runtime,ftime\n", MosModel::mex, values, fault)) << fault;
}
