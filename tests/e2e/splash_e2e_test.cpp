#include <gtest/gtest.h>

#include <windows.h>

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
    const SplashPoint sky = ScaleSplashPoint(kSplashFinishPointsInFrame[1], 360, 300);
    const auto repainted = [&] {
        for (const SplashPoint& stage : kSplashStagePoints) {
            const SplashPoint p = ScaleSplashPoint(stage, 360, 300);
            if (GetPixel(screen, r.left + p.x, r.top + p.y) != 0x000080u) return false;
        }
        return GetPixel(screen, r.left + sky.x, r.top + sky.y) == 0x808000u;
    };
    if (!WaitUntil(repainted, 3000)) {  // says which points are wrong
        for (const SplashPoint& stage : kSplashStagePoints) {
            const SplashPoint p = ScaleSplashPoint(stage, 360, 300);
            EXPECT_EQ(GetPixel(screen, r.left + p.x, r.top + p.y), 0x000080u) << p.x << "," << p.y;  // not begun
        }
        EXPECT_EQ(GetPixel(screen, r.left + sky.x, r.top + sky.y), 0x808000u);
    }
    ReleaseDC(nullptr, screen);
    EXPECT_FALSE(SaveScreenshot("splash").empty());

    BoxWatcher boxes(halvorn.Id());
    ASSERT_TRUE(halvorn.WaitUntilRunning());
    EXPECT_EQ(halvorn.FindTopLevel("Pyramid"), nullptr);
    EXPECT_FALSE(IsWindow(splash));
    EXPECT_TRUE(halvorn.Close());
}

}  // namespace
