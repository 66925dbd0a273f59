#include <gtest/gtest.h>

#include "resource_levels.h"

TEST(FreePercent, StaysWithinOneToHundred)
{
    const uint32_t cases[][3] = {{0, 65536, 100}, {32768, 65536, 50}, {65535, 65536, 1}, {70000, 65536, 1}, {5, 0, 100}};
    for (const auto& c : cases) EXPECT_EQ(FreePercent(c[0], c[1]), c[2]) << c[0] << "/" << c[1];  // never 0
}
