#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "box_watcher.h"
#include "halvorn_process.h"
#include "ui/splash_points.h"
#include "wine_env.h"

namespace {

// Start-up with the debug word waits at each trace box; the splash is up by the first.
TEST(Splash, ShowsTheUnfinishedPyramidDuringStartupAndGoesWhenItEnds)
{
    HalvornProcess halvorn("SplashDuringStartup");
    ASSERT_TRUE(halvorn.Start("debug"));
    HWND box = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (box = FindProcessWindow(halvorn.Id(), "#32770", "Message #1")) != nullptr; },
                          15000))
        << "no first trace box";
    HWND splash = halvorn.FindTopLevel("Pyramid");
    ASSERT_NE(splash, nullptr);
    EXPECT_TRUE(IsWindowVisible(splash));
    EXPECT_EQ(GetWindow(splash, GW_OWNER), halvorn.MainWindow());
    RECT r;
    GetWindowRect(splash, &r);
    EXPECT_EQ(r.right - r.left, 360);
    EXPECT_EQ(r.bottom - r.top, 300);
    EXPECT_EQ(r.left, (GetSystemMetrics(SM_CXSCREEN) - 360) / 2);

    // The box sits in front of the picture: move it aside; the splash repaints what it uncovers.
    SetWindowPos(box, nullptr, 10, 10, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    HDC screen = GetDC(nullptr);
    // Points of the picture and the colour each must show: the stages not begun, the sky.
    std::vector<std::pair<SplashPoint, COLORREF>> points;
    for (const SplashPoint& stage : kSplashStagePoints) points.push_back({ScaleSplashPoint(stage, 360, 300), 0x000080u});
    points.push_back({ScaleSplashPoint(kSplashFinishPointsInFrame[1], 360, 300), 0x808000u});
    std::string wrong;
    const auto repainted = [&] {
        wrong.clear();
        for (const auto& point : points) {
            const COLORREF seen = GetPixel(screen, r.left + point.first.x, r.top + point.first.y);
            char line[64];
            snprintf(line, sizeof line, " %d,%d is %06lX, not %06lX;", point.first.x, point.first.y, seen, point.second);
            if (seen != point.second) wrong += line;
        }
        return wrong.empty();
    };
    EXPECT_TRUE(WaitUntil(repainted, 3000)) << "the uncovered splash is not repainted:" << wrong;
    ReleaseDC(nullptr, screen);
    EXPECT_FALSE(SaveScreenshot("splash").empty());

    BoxWatcher boxes(halvorn.Id());
    ASSERT_TRUE(halvorn.WaitUntilRunning());
    EXPECT_EQ(halvorn.FindTopLevel("Pyramid"), nullptr);
    EXPECT_FALSE(IsWindow(splash));
    EXPECT_TRUE(halvorn.Close());
}

}  // namespace
