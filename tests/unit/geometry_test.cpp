#include <gtest/gtest.h>

#include "services/center.h"
#include "services/hit_test.h"

TEST(CenteredOrigin, CentresOverTheDesktopOrAWindowAndStaysOnTheDesktop)
{
    const PlainRect desktop{0, 0, 1024, 768}, window{500, 500, 700, 600};  // 200 x 100
    struct Case { const char* label; PlainRect over; bool hasOver; long x, y; } cases[] = {
        {"the desktop", {}, false, 412, 334},
        {"a window", {100, 100, 500, 300}, true, 200, 150},
        {"a window off the bottom right: pulled back to end at the edges", {900, 700, 1100, 800}, true, 824, 668},
        {"a window off the top left: below 1 becomes 0", {-300, -300, 0, 0}, true, 0, 0},
        {"exactly 1 stays", {1, 1, 201, 101}, true, 1, 1},
    };
    for (const Case& c : cases) {
        const PlainPoint p = CenteredOrigin(window, c.over, c.hasOver, desktop);
        EXPECT_EQ(std::make_pair(p.x, p.y), std::make_pair(c.x, c.y)) << c.label;
    }
    // The hover rule includes every edge of a rectangle, right and bottom too.
    for (PlainPoint in : {PlainPoint{10, 20}, PlainPoint{30, 40}}) EXPECT_TRUE(RectHoldsPoint({10, 20, 30, 40}, in));
    for (PlainPoint out : {PlainPoint{9, 30}, PlainPoint{31, 30}, PlainPoint{20, 19}, PlainPoint{20, 41}})
        EXPECT_FALSE(RectHoldsPoint({10, 20, 30, 40}, out)) << out.x << "," << out.y;
}
