#include <gtest/gtest.h>

#include <windows.h>
#include <mmsystem.h>

#include <vector>

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
    for (int i = 0; i < green; ++i) colours[size_t(i)] = kGreen;
    for (int i = green; i < green + yellow; ++i) colours[size_t(i)] = kYellow;
    return colours;
}

struct FinishSample {
    HWND window;
    COLORREF left = 0, right = 0;
};

DWORD WINAPI SampleDuringFinish(LPVOID argument)
{
    auto* sample = static_cast<FinishSample*>(argument);
    Sleep(400);
    sample->left = PixelAt(sample->window, kSplashFinishPointsInFrame[0]);
    sample->right = PixelAt(sample->window, kSplashFinishPointsInFrame[1]);
    return 0;
}

TEST(Splash, StagesTurnYellowThenGreenAtHalfSecondStepsThenFinishInCyan)
{
    CreateSharedGdi();
    HWND owner = CreateWindowA("STATIC", "owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    SplashShow(owner);
    HWND splash = FindWindowA("Pyramid", nullptr);
    ASSERT_NE(splash, nullptr);
    EXPECT_TRUE(IsWindowVisible(splash));
    EXPECT_EQ(GetWindow(splash, GW_OWNER), owner);
    RECT r;
    GetWindowRect(splash, &r);
    EXPECT_EQ(r.right - r.left, 360);
    EXPECT_EQ(r.bottom - r.top, 300);
    EXPECT_EQ(r.left, (GetSystemMetrics(SM_CXSCREEN) - 360) / 2);
    EXPECT_EQ(r.top, (GetSystemMetrics(SM_CYSCREEN) - 300) / 2);
    EXPECT_EQ(Stages(splash), Expected(0, 0));
    EXPECT_EQ(PixelAt(splash, kSplashFinishPointsInFrame[0]), kTeal);
    EXPECT_EQ(PixelAt(splash, kSplashFinishPointsInFrame[1]), kTeal);

    std::vector<DWORD> stepEnds;
    for (int step = 1; step <= 11; ++step) {
        SCOPED_TRACE(step);
        SplashStep();
        stepEnds.push_back(timeGetTime());
        if (step == 1) EXPECT_EQ(Stages(splash), Expected(0, 1));
        if (step == 5) SaveScreenshot("splash_step5");
        if (step == 9) EXPECT_EQ(Stages(splash), Expected(8, 1));
        if (step >= 10) EXPECT_EQ(Stages(splash), Expected(9, 0));  // later calls change nothing
    }
    // Steps called back to back come 500 ms apart, the eleventh too.
    for (size_t i = 1; i < stepEnds.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_GE(stepEnds[i] - stepEnds[i - 1], 500u);
        EXPECT_LT(stepEnds[i] - stepEnds[i - 1], 700u);
    }

    // Painted over (as by a box in front of it), the splash repaints its picture.
    HDC dc = GetDC(splash);
    RECT all{0, 0, 360, 300};
    FillRect(dc, &all, HBRUSH(GetStockObject(WHITE_BRUSH)));
    ReleaseDC(splash, dc);
    InvalidateRect(splash, nullptr, TRUE);
    UpdateWindow(splash);
    EXPECT_EQ(Stages(splash), Expected(9, 0));

    FinishSample sample{splash};
    HANDLE sampler = CreateThread(nullptr, 0, SampleDuringFinish, &sample, 0, nullptr);
    const DWORD finishStart = timeGetTime();
    SplashFinish();
    const DWORD finishTook = timeGetTime() - finishStart;
    WaitForSingleObject(sampler, 5000);
    CloseHandle(sampler);
    EXPECT_EQ(sample.left, kCyan);
    EXPECT_EQ(sample.right, kCyan);
    EXPECT_GE(finishTook, 1000u);
    EXPECT_FALSE(IsWindow(splash));

    // Without a splash a step does not wait.
    const DWORD before = timeGetTime();
    SplashStep();
    EXPECT_LT(timeGetTime() - before, 100u);
    SplashFinish();
    DestroyWindow(owner);
    DeleteSharedGdi();
}

}  // namespace
