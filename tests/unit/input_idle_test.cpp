#include <gtest/gtest.h>

#include "services/input_idle.h"

TEST(InputHistory, IdleOnlyAfter120QuietSamples)
{
    InputHistory history = {};
    // With no input since start-up the history is all zeros: idle at once.
    EXPECT_EQ(InputHistoryStep(&history, 0), 1);

    EXPECT_EQ(InputHistoryStep(&history, 5), 0);
    // The 5 stays in the history for 119 more quiet samples and falls out at the 120th.
    for (int i = 1; i <= 119; ++i) {
        SCOPED_TRACE(i);
        ASSERT_EQ(InputHistoryStep(&history, 0), 0);
    }
    EXPECT_EQ(InputHistoryStep(&history, 0), 1);
    EXPECT_EQ(InputHistoryStep(&history, 0), 1);
}

TEST(InputIdle, SamplesTheProcessEventCount)
{
    InputEventCount = 3;
    EXPECT_EQ(InputIdle(), 0);
    InputEventCount = 0;
    for (int i = 1; i <= 119; ++i) {
        SCOPED_TRACE(i);
        ASSERT_EQ(InputIdle(), 0);
    }
    EXPECT_EQ(InputIdle(), 1);
}
