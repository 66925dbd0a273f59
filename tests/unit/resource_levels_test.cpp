#include <gtest/gtest.h>

#include "resource_levels.h"

TEST(FreePercent, StaysWithinOneToHundred)
{
    EXPECT_EQ(FreePercent(0, 65536), 100u);
    EXPECT_EQ(FreePercent(32768, 65536), 50u);
    EXPECT_EQ(FreePercent(65535, 65536), 1u);  // would round down to 0
    EXPECT_EQ(FreePercent(70000, 65536), 1u);
    EXPECT_EQ(FreePercent(5, 0), 100u);
}
