// The video test patterns and the mouse test under Wine. Each run blocks in its own message
// loop, so it runs on a thread of its own (as on the program's primary thread); this thread
// drives it with real clicks (SendInput), button clicks and messages, and reads the screen.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/app_globals.h"
#include "hardware/hardware_tests.h"
#include "hardware/mouse_rules.h"
#include "hardware/video_patterns.h"
#include "resources/ids_hardware.h"
#include "test_windows.h"
#include "wine_env.h"

namespace {

const char kStartText[] =
    "Select the desired test from the list below. Select START TEST to begin the test. Click the mouse to end the test.";

// One run of RunVideoTests or RunMouseTest on a thread of its own, with what it returned
// and the quit message (its code) it left in the thread's queue, -1 for none.
struct HardwareRun {
    bool isMouse = false;
    DWORD flag = 99;
    int passedQuit = -1;
    HANDLE thread = nullptr;
    DWORD threadId = 0;

    static DWORD WINAPI Body(LPVOID parameter)
    {
        HardwareRun* run = static_cast<HardwareRun*>(parameter);
        if (run->isMouse)
            run->flag = RunMouseTest();
        else
            RunVideoTests();
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            if (msg.message == WM_QUIT) run->passedQuit = int(msg.wParam);
        return 0;
    }
    void Start(bool mouse)
    {
        isMouse = mouse;
        flag = 99;
        passedQuit = -1;
        thread = CreateThread(nullptr, 0, Body, this, 0, &threadId);
    }
    bool HasEnded(DWORD timeoutMs) { return WaitForSingleObject(thread, timeoutMs) == WAIT_OBJECT_0; }
    // A window of this run's thread, by class and title (null: any).
    HWND Window(const char* className, const char* title = nullptr) const
    {
        HWND found = FindProcessWindow(GetCurrentProcessId(), className, title);
        return found && GetWindowThreadProcessId(found, nullptr) == threadId ? found : nullptr;
    }
    // Ends a run a failed test left behind, so the next test starts on a clear screen.
    void Stop()
    {
        if (!thread) return;
        if (!HasEnded(0)) {
            for (const char* name : {"VideoTests", "MouseTests"})
                if (HWND w = Window(name)) PostMessageA(w, WM_CLOSE, 0, 0);
            if (!HasEnded(5000)) TerminateThread(thread, 1);
        }
        CloseHandle(thread);
        thread = nullptr;
    }
};

struct VideoMouseTest : testing::Test {
    void SetUp() override
    {
        savedInstance_ = gInstance;
        gInstance = GetModuleHandleA(nullptr);
    }
    void TearDown() override
    {
        run_.Stop();
        gInstance = savedInstance_;
    }
    HardwareRun run_;
    HINSTANCE savedInstance_ = nullptr;
};

// Presses and releases a mouse button at a screen point, as the user would: through the X
// server. (Clicks made with SendInput right after SetCursorPos were now and then lost
// under Wine, every other one in a row.)
void ClickAt(POINT at, bool isRight = false)
{
    EXPECT_TRUE(RunHostCommand("xdotool mousemove " + std::to_string(at.x) + " " + std::to_string(at.y) + " click " +
                               (isRight ? "3" : "1")))
        << "xdotool could not click at " << at.x << "," << at.y;
}

POINT CentreOf(HWND window)
{
    RECT r = {};
    GetWindowRect(window, &r);
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

std::string TextOf(HWND window)
{
    wchar_t wide[512] = L"";
    SendMessageTimeoutW(window, WM_GETTEXT, 512, LPARAM(wide), SMTO_ABORTIFHUNG, 5000, nullptr);
    char narrow[512] = "";
    WideCharToMultiByte(CP_ACP, 0, wide, -1, narrow, sizeof narrow, nullptr, nullptr);
    return narrow;
}

// The screen's pixels as 0xRRGGBB, row by row.
struct ScreenGrab {
    int width = 0, height = 0;
    std::vector<DWORD> pixels;
    DWORD At(long x, long y) const { return pixels[size_t(y) * size_t(width) + size_t(x)] & 0xFFFFFF; }
};

ScreenGrab GrabScreen()
{
    ScreenGrab grab;
    grab.width = GetSystemMetrics(SM_CXSCREEN);
    grab.height = GetSystemMetrics(SM_CYSCREEN);
    grab.pixels.resize(size_t(grab.width) * size_t(grab.height));
    HDC screen = GetDC(nullptr), memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof info.bmiHeader, grab.width, -grab.height, 1, 32, BI_RGB};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, grab.width, grab.height, screen, 0, 0, SRCCOPY);
    GdiFlush();
    memcpy(grab.pixels.data(), bits, grab.pixels.size() * sizeof(DWORD));
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return grab;
}

DWORD Hex(PatternColor c)
{
    return DWORD(c.red) << 16 | DWORD(c.green) << 8 | c.blue;
}

std::string HexText(DWORD colour)
{
    char text[16];
    snprintf(text, sizeof text, "0x%06lX", colour);
    return text;
}

// Every pixel of a line pattern: black on the lines (every 5 pixels from 0 across the
// chosen directions), white between them. Names the first pixel that differs.
testing::AssertionResult IsLinePattern(const ScreenGrab& grab, bool isHorizontal, bool isVertical)
{
    for (int y = 0; y < grab.height; ++y) {
        for (int x = 0; x < grab.width; ++x) {
            const bool onLine = (isHorizontal && y % 5 == 0) || (isVertical && x % 5 == 0);
            const DWORD expected = onLine ? 0x000000 : 0xFFFFFF;
            if (grab.At(x, y) != expected)
                return testing::AssertionFailure() << "pixel " << x << "," << y << " is " << HexText(grab.At(x, y))
                                                   << ", not " << HexText(expected);
        }
    }
    return testing::AssertionSuccess();
}

// Each swatch's centre in its colour, its name in black above it, white between swatches.
testing::AssertionResult IsCalibration(const ScreenGrab& grab)
{
    for (int i = 0; i < kCalibrationColorCount; ++i) {
        const CalibrationSwatch s = CalibrationSwatchAt(i, grab.width, grab.height);
        const DWORD centre = grab.At((s.cell.left + s.cell.right) / 2, (s.cell.top + s.cell.bottom) / 2);
        if (centre != Hex(kCalibrationColors[i].color))
            return testing::AssertionFailure() << kCalibrationColors[i].name << " swatch shows " << HexText(centre);
        const DWORD between = grab.At(s.cell.left - 5, (s.cell.top + s.cell.bottom) / 2);
        if (between != 0xFFFFFF)
            return testing::AssertionFailure() << "left of " << kCalibrationColors[i].name << ": " << HexText(between);
        int black = 0;
        for (long y = s.nameBand.top; y < s.cell.top; ++y)
            for (long x = s.nameBand.left; x < s.nameBand.right; ++x) black += grab.At(x, y) == 0;
        if (black < 10) return testing::AssertionFailure() << "no name above " << kCalibrationColors[i].name;
    }
    return testing::AssertionSuccess();
}

// The controller dialog of the video run, once it is up.
HWND WaitForVideoDialog(const HardwareRun& run)
{
    HWND dialog = nullptr;
    WaitUntil([&] { return (dialog = run.Window("#32770", "Video Tests")) != nullptr && IsWindowVisible(dialog); }, 5000);
    return dialog;
}

bool IsShowingPattern(HWND video, HWND dialog)
{
    return IsWindowVisible(video) && !IsWindowVisible(dialog);
}

bool IsShowingDialog(HWND video, HWND dialog)
{
    return !IsWindowVisible(video) && IsWindowVisible(dialog);
}

// Chooses a pattern, checks the instructions it brings, and starts it.
testing::AssertionResult StartPattern(HWND dialog, HWND video, int pattern, const char* instructions)
{
    SendWithTimeout(GetDlgItem(dialog, pattern), BM_CLICK);
    const std::string text = TextOf(GetDlgItem(dialog, IDC_VIDEO_INSTRUCTIONS));
    if (text != instructions) return testing::AssertionFailure() << "instructions read \"" << text << "\"";
    SendWithTimeout(GetDlgItem(dialog, IDC_VIDEO_START), BM_CLICK);
    if (!WaitUntil([&] { return IsShowingPattern(video, dialog); }, 5000))
        return testing::AssertionFailure() << "the pattern window did not replace the dialog";
    return testing::AssertionSuccess();
}

}  // namespace

TEST_F(VideoMouseTest, PatternsDrawUntilAClickAndOkEndsTheRun)
{
    run_.Start(false);
    HWND dialog = WaitForVideoDialog(run_);
    ASSERT_NE(dialog, nullptr) << "the Video Tests dialog did not open";
    HWND video = run_.Window("VideoTests", "");
    ASSERT_NE(video, nullptr);
    EXPECT_FALSE(IsWindowVisible(video));
    EXPECT_EQ(TextOf(GetDlgItem(dialog, IDC_VIDEO_INSTRUCTIONS)), kStartText);
    EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_VIDEO_HORIZONTAL), UINT(BST_CHECKED));
    ASSERT_TRUE(WaitUntilDrawn(dialog));
    SaveScreenshot("video-tests-dialog");

    struct Pattern {
        int id;
        const char* screenshot;
        const char* instructions;
        bool isRightClick;
        bool isHorizontal, isVertical;
    } patterns[] = {
        {IDC_VIDEO_HORIZONTAL, "video-horizontal",
         "Check that the lines are horizontal and parallel. Check the corners carefully for distortion.", false, true, false},
        {IDC_VIDEO_VERTICAL, "video-vertical",
         "Check that the lines are vertical and parallel. Check the corners carefully for distortion.", true, false, true},
        {IDC_VIDEO_DISTORTION, "video-distortion",
         "Check that the lines form squares. Check the corners carefully for distortion.", false, true, true},
        {IDC_VIDEO_CALIBRATION, "video-calibration",
         "Check that colors match the description. Use the monitor controls to adjust the color.", true, false, false},
    };
    for (const Pattern& p : patterns) {
        SCOPED_TRACE(p.screenshot);
        ASSERT_TRUE(StartPattern(dialog, video, p.id, p.instructions));
        RECT r = {};
        GetWindowRect(video, &r);
        EXPECT_EQ(std::vector<long>({r.left, r.top, r.right, r.bottom}),
                  std::vector<long>({0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}));
        ASSERT_TRUE(WaitUntilDrawn(video));
        SaveScreenshot(p.screenshot);
        const ScreenGrab grab = GrabScreen();
        if (p.id == IDC_VIDEO_CALIBRATION)
            EXPECT_TRUE(IsCalibration(grab));
        else
            EXPECT_TRUE(IsLinePattern(grab, p.isHorizontal, p.isVertical));

        ClickAt(POINT{317, 211}, p.isRightClick);
        EXPECT_TRUE(WaitUntil([&] { return IsShowingDialog(video, dialog); }, 5000))
            << "a " << (p.isRightClick ? "right" : "left") << " click did not bring the dialog back";
    }

    SendWithTimeout(GetDlgItem(dialog, IDOK), BM_CLICK);
    ASSERT_TRUE(run_.HasEnded(5000)) << "OK did not end RunVideoTests";
    EXPECT_FALSE(IsWindow(video));
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_EQ(run_.passedQuit, -1);
}

TEST_F(VideoMouseTest, ColourRampsRunInOrderThenTheDialogComesBack)
{
    run_.Start(false);
    HWND dialog = WaitForVideoDialog(run_);
    ASSERT_NE(dialog, nullptr) << "the Video Tests dialog did not open";
    HWND video = run_.Window("VideoTests", "");
    ASSERT_TRUE(StartPattern(dialog, video, IDC_VIDEO_COLOR_DISTORTION,
                             "Each color will flash for 1/2 second. Check for areas where the color is not uniform or "
                             "where distortion is ocurring."));
    const DWORD started = GetTickCount();

    // Watch the middle of the screen until the ramps are over; each new colour must be the
    // next fill (or a later one, when a fill came and went between two looks).
    std::vector<DWORD> sequence;
    for (int i = 0; i < kRampFillCount; ++i) sequence.push_back(Hex(RampFill(i)));
    size_t position = 0;
    int changes = 0;
    HDC screen = GetDC(nullptr);
    const POINT middle = CentreOf(video);
    DWORD shown = sequence[0];
    bool hasBegun = false;  // until the window has painted, the screen shows what was there
    const bool ended = WaitUntil([&] {
        if (IsShowingDialog(video, dialog)) return true;
        const COLORREF c = GetPixel(screen, middle.x, middle.y);
        const DWORD now = DWORD(GetRValue(c)) << 16 | DWORD(GetGValue(c)) << 8 | GetBValue(c);
        if (!hasBegun) {
            hasBegun = std::find(sequence.begin(), sequence.begin() + 2, now) != sequence.begin() + 2;
            shown = now;
            position = now == sequence[0] ? 0 : 1;
        } else if (now != shown && IsShowingPattern(video, dialog)) {
            size_t next = position + 1;
            while (next < sequence.size() && sequence[next] != now) ++next;
            EXPECT_LT(next, sequence.size()) << HexText(now) << " is not a later fill than number " << position;
            if (next < sequence.size()) position = next, ++changes;
            shown = now;
        }
        return false;
    }, 30000);
    ReleaseDC(nullptr, screen);
    const DWORD took = GetTickCount() - started;
    ASSERT_TRUE(ended) << "the dialog did not come back after the ramps";
    // 62 steps of 200 ms after the first fill; what was seen reached the last ramp (grey).
    EXPECT_GE(took, 62u * 200 * 9 / 10);
    EXPECT_GE(position, size_t(kRampFillCount - kRampSteps));
    EXPECT_GE(changes, 30);

    // A click ends the ramps at once.
    ASSERT_TRUE(StartPattern(dialog, video, IDC_VIDEO_COLOR_DISTORTION,
                             "Each color will flash for 1/2 second. Check for areas where the color is not uniform or "
                             "where distortion is ocurring."));
    ClickAt(middle);
    EXPECT_TRUE(WaitUntil([&] { return IsShowingDialog(video, dialog); }, 2000)) << "a click did not end the ramps";
    SendWithTimeout(GetDlgItem(dialog, IDCANCEL), BM_CLICK);
    EXPECT_TRUE(run_.HasEnded(5000)) << "Cancel did not end RunVideoTests";
}

TEST_F(VideoMouseTest, EveryWayOfClosingEndsTheVideoRunWithBothWindows)
{
    enum Way { kOk, kCancel, kDialogClose, kWindowClose, kAltF4, kQuit };
    const struct { const char* label; Way way; bool withPattern; } cases[] = {
        {"OK", kOk, false},
        {"Cancel", kCancel, false},
        {"the dialog's close box", kDialogClose, false},
        {"WM_CLOSE to the pattern window", kWindowClose, true},
        {"Alt+F4 on the pattern window", kAltF4, true},
        {"a quit message in the thread", kQuit, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        run_.Start(false);
        HWND dialog = WaitForVideoDialog(run_);
        ASSERT_NE(dialog, nullptr) << "the Video Tests dialog did not open";
        HWND video = run_.Window("VideoTests", "");
        if (c.withPattern) {
            SendWithTimeout(GetDlgItem(dialog, IDC_VIDEO_START), BM_CLICK);
            ASSERT_TRUE(WaitUntil([&] { return IsShowingPattern(video, dialog); }, 5000));
        }
        switch (c.way) {
        case kOk: SendWithTimeout(GetDlgItem(dialog, IDOK), BM_CLICK); break;
        case kCancel: SendWithTimeout(GetDlgItem(dialog, IDCANCEL), BM_CLICK); break;
        case kDialogClose: SendWithTimeout(dialog, WM_SYSCOMMAND, SC_CLOSE); break;
        // Sent, not posted: the run's loop must notice its window went while it waited.
        case kWindowClose: SendWithTimeout(video, WM_CLOSE); break;
        case kAltF4: SendWithTimeout(video, WM_SYSCOMMAND, SC_CLOSE); break;
        case kQuit: PostThreadMessageA(run_.threadId, WM_QUIT, 7, 0); break;
        }
        ASSERT_TRUE(run_.HasEnded(5000)) << "RunVideoTests did not return";
        EXPECT_FALSE(IsWindow(video));
        EXPECT_FALSE(IsWindow(dialog));
        // Only a quit met inside is handed on to the program's own loop.
        EXPECT_EQ(run_.passedQuit, c.way == kQuit ? 7 : -1);
        run_.Stop();
    }
}

TEST_F(VideoMouseTest, MouseRunsFromRealClicksOneAfterAnother)
{
    // Clicks: a digit clicks button 10 + digit, 'L' the background, 'R' the right button on
    // the instructions; the run must end exactly at the last click.
    const struct { const char* label; const char* clicks; DWORD flag; } runs[] = {
        {"three corners, then the fourth", "012R3R", 1},
        {"four corners and no stray click", "0123R", 0},
        {"a stray left click", "4L0123R", 1},
    };
    for (const auto& r : runs) {
        SCOPED_TRACE(r.label);
        run_.Start(true);
        HWND window = nullptr;
        ASSERT_TRUE(WaitUntil([&] { return (window = run_.Window("MouseTests", "")) && IsWindowVisible(window); }, 5000))
            << "the mouse test window did not open";
        const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
        RECT w = {};
        GetWindowRect(window, &w);
        EXPECT_EQ(std::vector<long>({w.left, w.top, w.right, w.bottom}), std::vector<long>({0, 0, width, height}));
        ASSERT_TRUE(WaitUntilDrawn(window));

        for (const char* c = r.clicks; *c; ++c) {
            SCOPED_TRACE(std::string("click ") + *c);
            ASSERT_TRUE(IsWindow(window)) << "the test ended early";
            if (*c == 'L') {
                ClickAt(POINT{width / 2, 300});
            } else if (*c == 'R') {
                ClickAt(POINT{width / 2, 125}, true);
            } else {
                HWND button = GetDlgItem(window, kMouseTopLeft + (*c - '0'));
                const LRESULT before = SendWithTimeout(button, BM_GETCHECK);
                ClickAt(CentreOf(button));
                EXPECT_TRUE(WaitUntil([&] { return SendWithTimeout(button, BM_GETCHECK) != before; }, 3000))
                    << "the button did not change";
            }
        }
        ASSERT_TRUE(run_.HasEnded(5000)) << "the last right click did not end the test";
        EXPECT_EQ(run_.flag, r.flag);
        run_.Stop();
    }
}

TEST_F(VideoMouseTest, MouseWindowLayoutAndAQuitMessage)
{
    run_.Start(true);
    HWND window = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (window = run_.Window("MouseTests", "")) && IsWindowVisible(window); }, 5000))
        << "the mouse test window did not open";
    ASSERT_TRUE(WaitUntilDrawn(window));
    SaveScreenshot("mouse-test");
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    const struct { int id; long left, top; } buttons[] = {
        {kMouseTopLeft, 0, 0},
        {kMouseTopRight, width - 20, 0},
        {kMouseBottomLeft, 0, height - 20},
        {kMouseBottomRight, width - 20, height - 20},
        {kMouseCentre, (width - 20) / 2, (height - 20) / 2},
    };
    for (const auto& b : buttons) {
        SCOPED_TRACE(b.id);
        HWND button = GetDlgItem(window, b.id);
        ASSERT_NE(button, nullptr);
        RECT r = {};
        GetWindowRect(button, &r);
        EXPECT_EQ(std::vector<long>({r.left, r.top, r.right, r.bottom}),
                  std::vector<long>({b.left, b.top, b.left + 20, b.top + 20}));
        EXPECT_EQ(TextOf(button), "");
        EXPECT_EQ(GetWindowLongA(button, GWL_STYLE) & BS_TYPEMASK, BS_AUTOCHECKBOX);
    }
    // Red text inside its band only; black around it.
    const ScreenGrab grab = GrabScreen();
    int redInside = 0, redOutside = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (grab.At(x, y) == 0xFF0000) (x >= width / 3 && x < width * 2 / 3 && y >= 50 && y < 200 ? redInside : redOutside)++;
    EXPECT_GT(redInside, 500);
    EXPECT_EQ(redOutside, 0);
    EXPECT_EQ(grab.At(width / 2, 300), 0u);

    // A quit met inside the test ends it and is handed on; the flag is what the clicks made.
    PostThreadMessageA(run_.threadId, WM_QUIT, 3, 0);
    ASSERT_TRUE(run_.HasEnded(5000)) << "a quit message did not end RunMouseTest";
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(run_.passedQuit, 3);
    EXPECT_EQ(run_.flag, 0u);
}
