// Rectangles moved between screen and client coordinates of a real window.
#include <gtest/gtest.h>

#include <vector>

#include "services/window_position.h"

TEST(ScreenRectToClient, GivesAChildsRectangleInItsParentsClientArea)
{
    HWND parent = CreateWindowA("STATIC", "frame", WS_POPUP | WS_BORDER | WS_VISIBLE, 100, 50, 300, 200, nullptr,
                                nullptr, nullptr, nullptr);
    HWND child = CreateWindowA("STATIC", "", WS_CHILD | WS_VISIBLE, 10, 20, 30, 40, parent, nullptr, nullptr, nullptr);
    ASSERT_TRUE(parent && child);
    RECT r;
    GetWindowRect(child, &r);
    ASSERT_NE(r.left, 10);  // still in screen coordinates
    ScreenRectToClient(parent, &r);
    EXPECT_EQ(std::vector<LONG>({r.left, r.top, r.right, r.bottom}), std::vector<LONG>({10, 20, 40, 60}));
    DestroyWindow(parent);
}
