#include "net/polite.h"

#include <gtest/gtest.h>

TEST(Polite, KeepsEachHostToAHundredRequestsInAnyMinute) {
    HostPace pace;
    // A request every 0.1 s on one host: the 101st waits for the first to leave the minute.
    double now = 0;
    for (int i = 0; i < 100; ++i) {
        EXPECT_EQ(waitBeforeAsking(pace, "nomads", now), 0) << i;
        noteAsked(pace, "nomads", now);
        now += 0.1;
    }
    // The minute is counted with a second to spare.
    EXPECT_DOUBLE_EQ(waitBeforeAsking(pace, "nomads", now), 61 - now);
    EXPECT_EQ(waitBeforeAsking(pace, "mesonet", now), 0);  // another host is not held up
    EXPECT_NEAR(waitBeforeAsking(pace, "nomads", 60.0), 1.0, 1e-9);
    EXPECT_EQ(waitBeforeAsking(pace, "nomads", 61.0), 0);
    noteAsked(pace, "nomads", 61.0);
    EXPECT_NEAR(waitBeforeAsking(pace, "nomads", 61.0), 0.1, 1e-9);
}

TEST(Polite, RetriesWhatMayPassAndNeverA403) {
    struct Case {
        int status;
        int tried;
        std::optional<int> retryAfter;
        AfterFailure after;
        double wait;
    };
    const Case cases[] = {
        {429, 1, 5, AfterFailure::retry, 5},
        {503, 2, 1, AfterFailure::retry, 1},
        {429, 1, std::nullopt, AfterFailure::retry, 2},
        {503, 3, std::nullopt, AfterFailure::retry, 8},
        {500, 1, 30, AfterFailure::retry, 2},  // only 429 and 503 are waited as asked
        {502, 2, std::nullopt, AfterFailure::retry, 4},
        {0, 1, std::nullopt, AfterFailure::retry, 2},  // a cut transfer
        {500, 4, std::nullopt, AfterFailure::giveUp, 0},
        {429, 4, 1, AfterFailure::giveUp, 0},
        {403, 1, 1, AfterFailure::stop, 0},
        {404, 1, std::nullopt, AfterFailure::notOut, 0},
        {410, 1, std::nullopt, AfterFailure::notOut, 0},
        {400, 1, std::nullopt, AfterFailure::giveUp, 0},
    };
    for (const Case& c : cases) {
        const RetryStep step = stepAfterFailure(c.status, c.tried, c.retryAfter, 2);
        EXPECT_EQ(step.after, c.after) << c.status << " try " << c.tried;
        EXPECT_EQ(step.waitSeconds, c.wait) << c.status << " try " << c.tried;
    }
}
