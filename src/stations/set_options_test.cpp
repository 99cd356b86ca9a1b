#include "stations/set_options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const std::vector<StationPlace> table = {
    {"KBKX", "Brookings", 44.300002, -96.816666},
    {"KFSD", "Sioux Falls", 43.583335, -96.750003},
    {"KHON", "Huron", 44.383333, -98.233333},
    {"KMHE", "Mitchell", 43.766665, -98.033331},
};

}  // namespace

TEST(StationSet, TypedWeightsAreKeptInOrderAsTyped) {
    StationRequest request;
    std::string fault;
    ASSERT_TRUE(readStationRequest("kfsd=0.25,KBKX=.4,KMHE=0.35", request, fault)) << fault;
    EXPECT_EQ(request.ids, (std::vector<std::string>{"KFSD", "KBKX", "KMHE"}));
    EXPECT_EQ(request.weights, (std::vector<double>{0.25, 0.4, 0.35}));
    // The bundled four as the manual gives them: 1.000004146 lies within the tolerance.
    ASSERT_TRUE(readStationRequest(
        "KBKX=0.353460408,KHON=0.1793834,KMHE=0.215645378,KFSD=0.25151496", request, fault));
    EXPECT_EQ(request.weights,
              (std::vector<double>{0.353460408, 0.1793834, 0.215645378, 0.25151496}));
    ASSERT_TRUE(readStationRequest("KBKX=1,KFSD=0,KHON=0.0009", request, fault)) << fault;
    // Weights are numbers as --ratio takes them.
    ASSERT_TRUE(readStationRequest("KBKX=5e-1,KFSD=+.5", request, fault)) << fault;
    EXPECT_EQ(request.weights, (std::vector<double>{0.5, 0.5}));
    CityPoint city;
    ASSERT_TRUE(readCityPoint("4.403e1,-9722e-2", city, fault)) << fault;
    EXPECT_EQ(city.latitude, 44.03);
    EXPECT_EQ(city.longitude, -97.22);
    ASSERT_TRUE(readStationRequest("KBKX,KFSD", request, fault)) << fault;
    EXPECT_EQ(request.ids, (std::vector<std::string>{"KBKX", "KFSD"}));
    EXPECT_TRUE(request.weights.empty());
    ASSERT_TRUE(readStationRequest("KAA1,KAA2,KAA3,KAA4,KAA5,KAA6,KAA7,KAA8", request, fault))
        << fault;
    EXPECT_EQ(request.ids.size(), maxSetStations);
}

TEST(StationSet, EachFaultIsNamed) {
    struct Case {
        const char* stations;
        const char* city;
        const char* fault;
    };
    const Case cases[] = {
        {"KBKX=abc,KFSD=0.5", nullptr, "--stations: the weight of KBKX is not a number: \"abc\""},
        {"KBKX=0.5,KFSD=", nullptr, "--stations: the weight of KFSD is not a number: \"\""},
        {"KBKX=1e-,KFSD=0.9", nullptr, "--stations: the weight of KBKX is not a number: \"1e-\""},
        {"KBKX=1.5,KFSD=-0.5", nullptr, "--stations: the weight of KBKX lies outside 0 to 1: 1.5"},
        {"KBKX=0.5,KFSD=-0.5", nullptr, "--stations: the weight of KFSD lies outside 0 to 1: -0.5"},
        {"KBKX=0.5,KFSD=0.4", nullptr,
         "--stations: the weights add up to 0.9, not to 1 (within 0.001)"},
        {"KBKX=0.5,KFSD=0.5011", nullptr,
         "--stations: the weights add up to 1.0011, not to 1 (within 0.001)"},
        {"KBKX=0.5,kbkx=0.5", nullptr, "--stations: KBKX is given twice"},
        {"A1,A2,A3,A4,A5,A6,A7,A8,A9", nullptr, "--stations: 9 stations given; a set holds 1 to 8"},
        {"", nullptr, "--stations: no station given"},
        {"KBKX,,KFSD", nullptr, "--stations: \"\" is not a station id (four letters or digits)"},
        {"KSIOUX=1", nullptr,
         "--stations: \"KSIOUX\" is not a station id (four letters or digits)"},
        {"KBKX=0.5,KFSD", nullptr,
         "--stations: give every station a weight (ID=WEIGHT), or none and --city"},
        {"KBKX,KXYZ", "44.03,-97.22",
         "--city: KXYZ is not in the station table, so its distance is unknown"},
        {nullptr, "90.5,-97.22", "--city: the latitude 90.5 lies outside -90 to 90"},
        {nullptr, "44.03,-180.01", "--city: the longitude -180.01 lies outside -180 to 180"},
        {nullptr, "44.03",
         "--city takes LAT,LON in decimal degrees, north and east positive: "
         "\"44.03\""},
        {nullptr, "44.03N,97.22W",
         "--city takes LAT,LON in decimal degrees, north and east "
         "positive: \"44.03N,97.22W\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.stations ? c.stations : "-") + " " + (c.city ? c.city : "-"));
        std::string fault;
        StationRequest request;
        CityPoint city;
        bool accepted = (c.stations == nullptr || readStationRequest(c.stations, request, fault)) &&
                        (c.city == nullptr || readCityPoint(c.city, city, fault));
        if (accepted && c.stations != nullptr && c.city != nullptr) {
            StationSet set;
            std::vector<double> distances;
            accepted = weighFromCity(request.ids, city, table, set, distances, fault);
        }
        EXPECT_FALSE(accepted);
        EXPECT_EQ(fault, c.fault);
    }
}

TEST(StationSet, TheCityWeighsTheStationsByInverseDistance) {
    CityPoint city;
    std::string fault;
    ASSERT_TRUE(readCityPoint("44.03,-97.22", city, fault)) << fault;
    StationSet set;
    std::vector<double> distances;
    const std::vector<std::string> ids = {"KBKX", "KHON", "KMHE", "KFSD"};
    ASSERT_TRUE(weighFromCity(ids, city, table, set, distances, fault)) << fault;
    EXPECT_EQ(set.ids, ids);
    ASSERT_EQ(set.weights.size(), 4U);
    EXPECT_NEAR(set.weights[0], 0.355, 0.001);
    EXPECT_NEAR(set.weights[1], 0.175, 0.001);
    EXPECT_NEAR(set.weights[2], 0.220, 0.001);
    EXPECT_NEAR(set.weights[3], 0.251, 0.001);
    EXPECT_NEAR(distances[0], 44.0, 0.05);
    EXPECT_NEAR(distances[1], 89.8, 0.05);

    // At KFSD itself KFSD takes the whole weight.
    ASSERT_TRUE(readCityPoint("43.583335,-96.750003", city, fault));
    ASSERT_TRUE(weighFromCity(ids, city, table, set, distances, fault));
    EXPECT_EQ(set.weights, (std::vector<double>{0.0, 0.0, 0.0, 1.0}));
}

TEST(StationSet, NearestStationsComeNearestFirst) {
    const CityPoint huronish = {44.3, -98.1};
    const std::vector<const StationPlace*> nearest = nearestStations(table, huronish, 3);
    ASSERT_EQ(nearest.size(), 3U);
    EXPECT_EQ(nearest[0]->id, "KHON");
    EXPECT_EQ(nearest[1]->id, "KMHE");
    EXPECT_EQ(nearest[2]->id, "KBKX");
    EXPECT_EQ(nearestStations(table, huronish, 8).size(), table.size());
}
