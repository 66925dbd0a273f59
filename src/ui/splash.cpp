#include <windows.h>

#include "ui/splash.h"

#include <mmsystem.h>

#include "resources/ids_ui.h"
#include "ui/shared_gdi.h"
#include "ui/splash_points.h"

constexpr DWORD kStepPaceMs = 500;
constexpr DWORD kFinishShowMs = 1000;
constexpr COLORREF kYellow = 0x00FFFF;
constexpr COLORREF kDarkRed = 0x000080;
constexpr COLORREF kTeal = 0x808000;

// The picture is drawn on in a memory DC and copied to the window, so the window can
// repaint itself whenever it is uncovered (a debug trace box may sit over it).
static struct {
    HWND window;
    HDC memory;
    HBITMAP bitmap;
    HGDIOBJ oldBitmap;
    int width, height;
    bool isPaced;   // the first step has set lastStep
    DWORD lastStep;
    int step;       // 0..9: stages begun so far
} gSplash;

static LRESULT CALLBACK SplashWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        if (gSplash.memory) BitBlt(dc, 0, 0, gSplash.width, gSplash.height, gSplash.memory, 0, 0, SRCCOPY);
        EndPaint(window, &paint);
        return 0;
    }
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// Copies the picture to the window and lets the window's pending messages through, so
// the change is on the screen although start-up runs no message loop yet.
static void ShowPicture()
{
    HDC dc = GetDC(gSplash.window);
    BitBlt(dc, 0, 0, gSplash.width, gSplash.height, gSplash.memory, 0, 0, SRCCOPY);
    ReleaseDC(gSplash.window, dc);
    MSG msg;
    while (PeekMessageA(&msg, gSplash.window, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

// Flood-fills the region around a frame point with brush when the point has colour.
static void FillRegion(SplashPoint framePoint, COLORREF expected, HBRUSH brush)
{
    const SplashPoint p = ScaleSplashPoint(framePoint, gSplash.width, gSplash.height);
    if (GetPixel(gSplash.memory, p.x, p.y) != GetNearestColor(gSplash.memory, expected)) return;
    HGDIOBJ old = SelectObject(gSplash.memory, brush);
    ExtFloodFill(gSplash.memory, p.x, p.y, 0x000000, FLOODFILLBORDER);
    SelectObject(gSplash.memory, old);
}

void SplashShow(HWND owner)
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA wc = {};
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = SplashWindowProc;
    wc.hInstance = instance;
    wc.hbrBackground = HBRUSH(GetStockObject(BLACK_BRUSH));
    wc.lpszClassName = "Pyramid";
    RegisterClassA(&wc);  // already there on a second splash

    gSplash = {};
    // A DIB section keeps the picture's exact colours whatever the screen's depth.
    gSplash.bitmap =
        HBITMAP(LoadImageA(instance, MAKEINTRESOURCEA(IDB_SPLASH), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (!gSplash.bitmap) return;
    BITMAP info = {};
    GetObjectA(gSplash.bitmap, sizeof info, &info);
    gSplash.width = info.bmWidth;
    gSplash.height = info.bmHeight;
    gSplash.memory = CreateCompatibleDC(nullptr);
    if (!gSplash.memory) {
        DeleteObject(gSplash.bitmap);
        gSplash = {};
        return;
    }
    gSplash.oldBitmap = SelectObject(gSplash.memory, gSplash.bitmap);

    const int x = (GetSystemMetrics(SM_CXSCREEN) - gSplash.width) / 2;
    const int y = (GetSystemMetrics(SM_CYSCREEN) - gSplash.height) / 2;
    gSplash.window = CreateWindowExA(0, "Pyramid", "", WS_POPUP, x, y, gSplash.width, gSplash.height, owner, nullptr,
                                     instance, nullptr);
    if (!gSplash.window) {
        SelectObject(gSplash.memory, gSplash.oldBitmap);
        DeleteDC(gSplash.memory);
        DeleteObject(gSplash.bitmap);
        gSplash = {};
        return;
    }
    ShowWindow(gSplash.window, SW_SHOW);
    ShowPicture();
}

void SplashStep()
{
    if (!gSplash.isPaced) {
        gSplash.lastStep = timeGetTime();
        gSplash.isPaced = true;
    }
    if (gSplash.window) {
        const DWORD elapsed = timeGetTime() - gSplash.lastStep;
        if (elapsed < kStepPaceMs) Sleep(kStepPaceMs - elapsed);
        if (gSplash.step > 0) FillRegion(kSplashStagePoints[gSplash.step - 1], kYellow, SharedGdi.greenBrush);
        if (gSplash.step < kSplashStages) FillRegion(kSplashStagePoints[gSplash.step], kDarkRed, SharedGdi.yellowBrush);
        ShowPicture();
    }
    gSplash.lastStep = timeGetTime();
    if (gSplash.step < kSplashStages) ++gSplash.step;
}

void SplashFinish()
{
    if (gSplash.window) {
        for (const SplashPoint& point : kSplashFinishPointsInFrame) FillRegion(point, kTeal, SharedGdi.cyanBrush);
        ShowPicture();
        Sleep(kFinishShowMs);
        DestroyWindow(gSplash.window);
        SelectObject(gSplash.memory, gSplash.oldBitmap);
        DeleteDC(gSplash.memory);
        DeleteObject(gSplash.bitmap);
    }
    gSplash = {};
}
