#include <gtest/gtest.h>

#include "services/hit_test.h"

TEST(RectHoldsPoint, IncludesEveryEdge)
{
    const PlainRect rect{10, 20, 30, 40};
    struct Case {
        long x, y;
        bool holds;
    } cases[] = {
        {20, 30, true},  {10, 20, true},  {30, 40, true},  {10, 40, true},  {30, 20, true},
        {9, 30, false},  {31, 30, false}, {20, 19, false}, {20, 41, false}, {31, 41, false},
        {9, 19, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.x) + "," + std::to_string(c.y));
        EXPECT_EQ(RectHoldsPoint(rect, PlainPoint{c.x, c.y}), c.holds);
    }
}
