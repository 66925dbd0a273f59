// The video test patterns and the mouse test under Wine. Each run blocks in a loop of its
// own, so it runs on a thread of its own; this thread drives it with real clicks, button
// clicks and messages, and reads the screen.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <set>
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

// One run on a thread of its own: the flag it returned and the code of the quit message it
// left in its thread's queue (-1: none). A run a failed check left open is closed at the
// end of its scope, so the next one starts on a clear screen.
struct HardwareRun {
    bool isMouse;
    DWORD flag = 99;
    int passedQuit = -1;
    DWORD threadId = 0;
    HANDLE thread;

    explicit HardwareRun(bool mouse) : isMouse(mouse) { thread = CreateThread(nullptr, 0, Body, this, 0, &threadId); }
    ~HardwareRun()
    {
        if (!HasEnded(0)) {
            for (const char* name : {"VideoTests", "MouseTests"})
                if (HWND w = Window(name)) PostMessageA(w, WM_CLOSE, 0, 0);
            if (!HasEnded(5000)) TerminateThread(thread, 1);
        }
        CloseHandle(thread);
    }
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
    bool HasEnded(DWORD timeoutMs) const { return WaitForSingleObject(thread, timeoutMs) == WAIT_OBJECT_0; }
    HWND Window(const char* className, const char* title = nullptr) const
    {
        HWND found = FindProcessWindow(GetCurrentProcessId(), className, title);
        return found && GetWindowThreadProcessId(found, nullptr) == threadId ? found : nullptr;
    }
    HWND WaitForVisible(const char* className, const char* title) const
    {
        HWND found = nullptr;
        WaitUntil([&] { return (found = Window(className, title)) && IsWindowVisible(found); }, 5000);
        return found;
    }
};

struct VideoMouseTest : testing::Test {
    void SetUp() override { savedInstance_ = gInstance, gInstance = GetModuleHandleA(nullptr); }
    void TearDown() override { gInstance = savedInstance_; }
    HINSTANCE savedInstance_ = nullptr;
};

// A click through the X server, as the user's: clicks sent with SendInput right after
// SetCursorPos were now and then lost under Wine.
void ClickAt(long x, long y, bool isRight = false)
{
    EXPECT_TRUE(RunHostCommand("xdotool mousemove " + std::to_string(x) + " " + std::to_string(y) + " click " +
                               (isRight ? "3" : "1")))
        << "xdotool could not click at " << x << "," << y;
}

std::string TextOf(HWND window)
{
    char text[512] = "";
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, LPARAM(text), SMTO_ABORTIFHUNG, 5000, nullptr);
    return text;
}

std::string HexText(DWORD colour)
{
    char text[16];
    snprintf(text, sizeof text, "0x%06lX", colour);
    return text;
}

DWORD Hex(PatternColor c)
{
    return DWORD(c.red) << 16 | DWORD(c.green) << 8 | c.blue;
}

// Every pixel of a line pattern (black every 5 pixels, white between), or the centre of
// every calibration swatch, as the screen shows it now.
testing::AssertionResult ShowsPattern(int pattern)
{
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    std::vector<DWORD> pixels(size_t(width) * size_t(height));
    HDC screen = GetDC(nullptr), memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB};
    HBITMAP grab = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(memory, grab);
    BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    GetDIBits(memory, grab, 0, UINT(height), pixels.data(), &info, DIB_RGB_COLORS);
    DeleteObject(grab);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    auto at = [&](long x, long y) { return pixels[size_t(y) * size_t(width) + size_t(x)] & 0xFFFFFF; };

    if (pattern == IDC_VIDEO_CALIBRATION) {
        for (const CalibrationColor& c : kCalibrationColors) {
            const PlainRect cell = CalibrationSwatchAt(int(&c - kCalibrationColors), width, height).cell;
            const DWORD centre = at((cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2);
            if (centre != Hex(c.color)) return testing::AssertionFailure() << c.name << " swatch shows " << HexText(centre);
        }
        return testing::AssertionSuccess();
    }
    const bool rows = pattern != IDC_VIDEO_VERTICAL, columns = pattern != IDC_VIDEO_HORIZONTAL;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const DWORD expected = (rows && y % 5 == 0) || (columns && x % 5 == 0) ? 0 : 0xFFFFFF;
            if (at(x, y) != expected)
                return testing::AssertionFailure() << "pixel " << x << "," << y << " is " << HexText(at(x, y))
                                                   << ", not " << HexText(expected);
        }
    }
    return testing::AssertionSuccess();
}

bool IsShowingDialog(HWND video, HWND dialog)
{
    return !IsWindowVisible(video) && IsWindowVisible(dialog);
}

// Chooses a pattern and starts it.
testing::AssertionResult StartPattern(HWND video, HWND dialog, int pattern)
{
    SendWithTimeout(GetDlgItem(dialog, pattern), BM_CLICK);
    SendWithTimeout(GetDlgItem(dialog, IDC_VIDEO_START), BM_CLICK);
    if (!WaitUntil([&] { return IsWindowVisible(video) && !IsWindowVisible(dialog); }, 5000))
        return testing::AssertionFailure() << "the pattern window did not replace the dialog";
    return testing::AssertionSuccess();
}

}  // namespace

TEST_F(VideoMouseTest, PatternsDrawUntilAClickAndOkEndsTheRun)
{
    HardwareRun run(false);
    HWND dialog = run.WaitForVisible("#32770", "Video Tests"), video = run.Window("VideoTests", "");
    ASSERT_TRUE(dialog && video) << "the Video Tests dialog did not open";
    const std::string general = TextOf(GetDlgItem(dialog, IDC_VIDEO_INSTRUCTIONS));
    EXPECT_FALSE(general.empty());
    ASSERT_TRUE(WaitUntilDrawn(dialog));
    SaveScreenshot("video-tests-dialog");

    // Each pattern brings instructions of its own in place of the general ones.
    const struct { int id; const char* screenshot; bool isRightClick; } patterns[] = {
        {IDC_VIDEO_HORIZONTAL, "video-horizontal", false}, {IDC_VIDEO_VERTICAL, "video-vertical", true},
        {IDC_VIDEO_DISTORTION, "video-distortion", false}, {IDC_VIDEO_CALIBRATION, "video-calibration", true},
    };
    std::set<std::string> instructions = {general};
    for (const auto& p : patterns) {
        SCOPED_TRACE(p.screenshot);
        ASSERT_TRUE(StartPattern(video, dialog, p.id));
        EXPECT_TRUE(instructions.insert(TextOf(GetDlgItem(dialog, IDC_VIDEO_INSTRUCTIONS))).second);
        RECT r = {};
        GetWindowRect(video, &r);
        EXPECT_TRUE(r.left == 0 && r.top == 0 && r.right == GetSystemMetrics(SM_CXSCREEN) &&
                    r.bottom == GetSystemMetrics(SM_CYSCREEN))
            << "the pattern window does not cover the screen";
        ASSERT_TRUE(WaitUntilDrawn(video));
        SaveScreenshot(p.screenshot);
        EXPECT_TRUE(ShowsPattern(p.id));
        ClickAt(317, 211, p.isRightClick);
        EXPECT_TRUE(WaitUntil([&] { return IsShowingDialog(video, dialog); }, 5000)) << "a click did not end the pattern";
    }
    SendWithTimeout(GetDlgItem(dialog, IDOK), BM_CLICK);
    ASSERT_TRUE(run.HasEnded(5000)) << "OK did not end RunVideoTests";
    EXPECT_FALSE(IsWindow(video) || IsWindow(dialog));
    EXPECT_EQ(run.passedQuit, -1);
}

TEST_F(VideoMouseTest, ColourRampsRunThroughTheirFillsThenTheDialogComesBack)
{
    HardwareRun run(false);
    HWND dialog = run.WaitForVisible("#32770", "Video Tests"), video = run.Window("VideoTests", "");
    ASSERT_TRUE(dialog && video) << "the Video Tests dialog did not open";
    ASSERT_TRUE(StartPattern(video, dialog, IDC_VIDEO_COLOR_DISTORTION));
    const DWORD started = GetTickCount();
    std::set<DWORD> fills, seen;
    for (int i = 0; i < kRampFillCount; ++i) fills.insert(Hex(RampFill(i)));
    HDC screen = GetDC(nullptr);
    const bool ended = WaitUntil([&] {
        const COLORREF c = GetPixel(screen, 512, 384);
        if (IsWindowVisible(video)) seen.insert(DWORD(GetRValue(c)) << 16 | DWORD(GetGValue(c)) << 8 | GetBValue(c));
        return IsShowingDialog(video, dialog);
    }, 30000);
    ReleaseDC(nullptr, screen);
    ASSERT_TRUE(ended) << "the dialog did not come back after the ramps";
    // 62 fills of 200 ms after the first; the screen went through most of the 50 colours and
    // showed nothing else but, before the first fill, what lay beneath.
    EXPECT_GE(GetTickCount() - started, 62u * 200 * 9 / 10);
    int strangers = 0;
    for (DWORD colour : seen) strangers += !fills.count(colour);
    EXPECT_LE(strangers, 1);
    EXPECT_GE(seen.size() - strangers, 40u);
    SendWithTimeout(GetDlgItem(dialog, IDCANCEL), BM_CLICK);
    EXPECT_TRUE(run.HasEnded(5000)) << "Cancel did not end RunVideoTests";
}

TEST_F(VideoMouseTest, EveryWayOfClosingEndsTheVideoRunWithBothWindows)
{
    enum Way { kCancel, kDialogClose, kWindowClose, kAltF4, kQuit };
    const struct { const char* label; Way way; } cases[] = {
        {"Cancel", kCancel},
        {"the dialog's close box", kDialogClose},
        // Sent, not posted: the run's loop must notice its window went while it waited.
        {"WM_CLOSE sent to the pattern window", kWindowClose},
        {"Alt+F4 on the pattern window", kAltF4},
        {"a quit message in the thread", kQuit},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        HardwareRun run(false);
        HWND dialog = run.WaitForVisible("#32770", "Video Tests"), video = run.Window("VideoTests", "");
        ASSERT_TRUE(dialog && video) << "the Video Tests dialog did not open";
        if (c.way >= kWindowClose) ASSERT_TRUE(StartPattern(video, dialog, IDC_VIDEO_DISTORTION));
        switch (c.way) {
        case kCancel: SendWithTimeout(GetDlgItem(dialog, IDCANCEL), BM_CLICK); break;
        case kDialogClose: SendWithTimeout(dialog, WM_SYSCOMMAND, SC_CLOSE); break;
        case kWindowClose: SendWithTimeout(video, WM_CLOSE); break;
        case kAltF4: SendWithTimeout(video, WM_SYSCOMMAND, SC_CLOSE); break;
        case kQuit: PostThreadMessageA(run.threadId, WM_QUIT, 7, 0); break;
        }
        ASSERT_TRUE(run.HasEnded(5000)) << "RunVideoTests did not return";
        EXPECT_FALSE(IsWindow(video) || IsWindow(dialog));
        // Only a quit met inside is handed on, to the program's own loop.
        EXPECT_EQ(run.passedQuit, c.way == kQuit ? 7 : -1);
    }
}

TEST_F(VideoMouseTest, MouseRunsFromRealClicksOneAfterAnother)
{
    // A digit clicks where button 10 + digit belongs (a corner, 4 the centre), 'L' the
    // background, 'R' the right button on the instructions, 'Q' posts a quit message. The
    // run must end at the last click, with its flag.
    const struct { const char* clicks; DWORD flag; int passedQuit; } runs[] = {
        {"012R3R", 1, -1},   // three corners are not enough; the early right click counts
        {"0123R", 0, -1},    // the centre button is not needed
        {"4L0123R", 1, -1},  // a left click that missed the buttons
        {"00123R0R", 1, -1}, // a corner clicked twice is unchecked
        {"01Q", 0, 5},       // a quit ends the test and is handed on
    };
    const long width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    const POINT places[kMouseButtonCount] = {{10, 10}, {width - 10, 10}, {10, height - 10}, {width - 10, height - 10},
                                             {width / 2, height / 2}};
    for (const auto& r : runs) {
        SCOPED_TRACE(r.clicks);
        HardwareRun run(true);
        HWND window = run.WaitForVisible("MouseTests", "");
        ASSERT_NE(window, nullptr) << "the mouse test window did not open";
        ASSERT_TRUE(WaitUntilDrawn(window));
        for (const char* c = r.clicks; *c; ++c) {
            SCOPED_TRACE(std::string("click ") + *c);
            ASSERT_TRUE(IsWindow(window)) << "the test ended early";
            if (*c == 'Q') {
                PostThreadMessageA(run.threadId, WM_QUIT, 5, 0);
            } else if (*c == 'L' || *c == 'R') {
                ClickAt(width / 2, *c == 'L' ? 300 : 125, *c == 'R');
            } else {
                HWND button = GetDlgItem(window, kMouseTopLeft + (*c - '0'));
                const LRESULT before = SendWithTimeout(button, BM_GETCHECK);
                ClickAt(places[*c - '0'].x, places[*c - '0'].y);
                EXPECT_TRUE(WaitUntil([&] { return SendWithTimeout(button, BM_GETCHECK) != before; }, 3000))
                    << "the button did not change";
            }
        }
        ASSERT_TRUE(run.HasEnded(5000)) << "the last click did not end the test";
        EXPECT_EQ(run.flag, r.flag);
        EXPECT_EQ(run.passedQuit, r.passedQuit);
    }
}
