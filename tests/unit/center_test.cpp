#include <gtest/gtest.h>

#include "services/center.h"

namespace {
const PlainRect kDesktop{0, 0, 1024, 768};
const PlainRect kWindow{500, 500, 700, 600};  // 200 x 100
}  // namespace

TEST(CenteredOrigin, CentresOnTheDesktopWithoutOver)
{
    PlainPoint p = CenteredOrigin(kWindow, PlainRect{}, false, kDesktop);
    EXPECT_EQ(p.x, 412);
    EXPECT_EQ(p.y, 334);
}

TEST(CenteredOrigin, CentresOverAWindow)
{
    PlainPoint p = CenteredOrigin(kWindow, PlainRect{100, 100, 500, 300}, true, kDesktop);
    EXPECT_EQ(p.x, 200);
    EXPECT_EQ(p.y, 150);
}

TEST(CenteredOrigin, KeepsTheWindowOnTheDesktop)
{
    // Over a window hanging off the bottom right: pulled back to end at the edges.
    PlainPoint p = CenteredOrigin(kWindow, PlainRect{900, 700, 1100, 800}, true, kDesktop);
    EXPECT_EQ(p.x, 824);
    EXPECT_EQ(p.y, 668);
    // Off the top left: coordinates below 1 become 0.
    p = CenteredOrigin(kWindow, PlainRect{-300, -300, 0, 0}, true, kDesktop);
    EXPECT_EQ(p.x, 0);
    EXPECT_EQ(p.y, 0);
    // A coordinate of exactly 1 stays.
    p = CenteredOrigin(kWindow, PlainRect{1, 1, 201, 101}, true, kDesktop);
    EXPECT_EQ(p.x, 1);
    EXPECT_EQ(p.y, 1);
}
