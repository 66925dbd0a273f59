// The splash's stages, pace and finish, read back from the screen.
#include <gtest/gtest.h>

#include <windows.h>
#include <mmsystem.h>

#include <vector>

#include "test_windows.h"
#include "ui/shared_gdi.h"
#include "ui/splash.h"
#include "ui/splash_points.h"
#include "wine_env.h"

namespace {

constexpr COLORREF kDarkRed = 0x000080, kYellow = 0x00FFFF, kGreen = 0x00FF00, kTeal = 0x808000, kCyan = 0xFFFF00;

COLORREF PixelAt(HWND window, SplashPoint framePoint)
{
    RECT client;
    GetClientRect(window, &client);
    const SplashPoint p = ScaleSplashPoint(framePoint, client.right, client.bottom);
    HDC dc = GetDC(window);
    const COLORREF colour = GetPixel(dc, p.x, p.y);
    ReleaseDC(window, dc);
    return colour;
}

// The colour of each stage's region, from stage 1 up.
std::vector<COLORREF> Stages(HWND window)
{
    std::vector<COLORREF> colours;
    for (const SplashPoint& p : kSplashStagePoints) colours.push_back(PixelAt(window, p));
    return colours;
}

std::vector<COLORREF> Expected(int green, int yellow)
{
    std::vector<COLORREF> colours(kSplashStages, kDarkRed);
    for (int i = 0; i < green + yellow; ++i) colours[size_t(i)] = i < green ? kGreen : kYellow;
    return colours;
}

// Whether the finish regions turn cyan while the splash finishes.
DWORD WINAPI SampleDuringFinish(LPVOID splash)
{
    const HWND window = *static_cast<HWND*>(splash);
    return WaitUntil([&] {
        return IsWindow(window) && PixelAt(window, kSplashFinishPointsInFrame[0]) == kCyan &&
               PixelAt(window, kSplashFinishPointsInFrame[1]) == kCyan;
    }, 2000);
}

TEST(Splash, StagesTurnYellowThenGreenAtHalfSecondStepsThenFinishInCyan)
{
    CreateSharedGdi();
    HWND owner = CreateWindowA("STATIC", "owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    SplashShow(owner);
    HWND splash = FindWindowA("Pyramid", nullptr);
    ASSERT_NE(splash, nullptr);
    EXPECT_EQ(Stages(splash), Expected(0, 0));
    EXPECT_EQ(PixelAt(splash, kSplashFinishPointsInFrame[0]), kTeal);
    std::vector<DWORD> stepEnds;
    for (int step = 1; step <= 11; ++step) {
        SCOPED_TRACE(step);
        SplashStep();
        stepEnds.push_back(timeGetTime());
        if (step == 1) EXPECT_EQ(Stages(splash), Expected(0, 1));
        if (step == 5) SaveScreenshot("splash_step5");
        if (step == 9) EXPECT_EQ(Stages(splash), Expected(8, 1));
        if (step >= 10) EXPECT_EQ(Stages(splash), Expected(9, 0));  // later calls change nothing
        // Steps called back to back come 500 ms apart, the eleventh too.
        if (step > 1) EXPECT_GE(stepEnds[size_t(step - 1)] - stepEnds[size_t(step - 2)], 500u);
        if (step > 1) EXPECT_LT(stepEnds[size_t(step - 1)] - stepEnds[size_t(step - 2)], 700u);
    }
    HANDLE sampler = CreateThread(nullptr, 0, SampleDuringFinish, &splash, 0, nullptr);
    const DWORD finishStart = timeGetTime();
    SplashFinish();
    EXPECT_GE(timeGetTime() - finishStart, 1000u);
    DWORD cyan = 0;
    WaitForSingleObject(sampler, 5000);
    GetExitCodeThread(sampler, &cyan);
    CloseHandle(sampler);
    EXPECT_EQ(cyan, 1u) << "the finish regions were not cyan";
    EXPECT_FALSE(IsWindow(splash));
    const DWORD before = timeGetTime();
    SplashStep();  // without a splash a step does not wait
    EXPECT_LT(timeGetTime() - before, 100u);
    SplashFinish();
    DestroyWindow(owner);
    DeleteSharedGdi();
}

}  // namespace
