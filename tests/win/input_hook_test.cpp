// Input counting through the low-level hooks under Wine, with synthetic input. This test
// thread never pumps messages while it waits for the counts, so only hooks on a thread of
// their own can count. The target window lives on a thread that pumps, as another
// program's would.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "sampling/input_counters.h"
#include "sampling/input_hook.h"
#include "test_windows.h"

namespace {

// The window's own reactions to frame presses (moving, scrolling) would start modal
// loops; the test is about what the hooks count, so it refuses them.
LRESULT CALLBACK TargetProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCLBUTTONDOWN) return 0;
    if (message == WM_CLOSE) return PostQuitMessage(0), 0;
    return DefWindowProcA(window, message, wParam, lParam);
}

DWORD WINAPI TargetThread(LPVOID window)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = TargetProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "HalvornHookTarget";
    RegisterClassA(&wc);
    *static_cast<HWND*>(window) = CreateWindowExA(WS_EX_TOPMOST, wc.lpszClassName, "Hook target", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                                  200, 150, 400, 300, nullptr, nullptr, wc.hInstance, nullptr);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    DestroyWindow(*static_cast<HWND*>(window));
    return 0;
}

// Presses the left button at `at`, waits without pumping until the hooks have counted a
// press (at most waitMs) and the counts have stayed still for half a second, then returns
// whether anything was counted as "pointer navigation" and clears the counts. Under Wine a
// press is now and then reported to the hooks twice; whether it counted is what matters.
std::string ClickAndCount(POINT at, DWORD waitMs = 3000)
{
    // Under Wine the pointer reaches its new place a moment later; a press sent before
    // that would land where the pointer was.
    SetCursorPos(at.x, at.y);
    if (!WaitUntil([&] { POINT now = {}; return GetCursorPos(&now) && now.x == at.x && now.y == at.y; }, 1000))
        return "the pointer did not reach " + std::to_string(at.x) + "," + std::to_string(at.y);
    INPUT inputs[2] = {};
    inputs[0].type = inputs[1].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, inputs, sizeof(INPUT));
    WaitUntil([] { return PointerActions != 0; }, waitMs);  // none at all is what the last case expects
    uint32_t seen = PointerActions + NavigationActions;
    DWORD still = GetTickCount();
    WaitUntil([&] {
        if (PointerActions + NavigationActions != seen) seen = PointerActions + NavigationActions, still = GetTickCount();
        return GetTickCount() - still >= 500;
    }, 3000);
    return std::string(PointerActions.exchange(0) ? "1" : "0") + (NavigationActions.exchange(0) ? " 1" : " 0");
}

TEST(LowLevelInputHooks, CountFramePressesOnTheirOwnThreadWhileTheCallerDoesNotPump)
{
    HWND target = nullptr;
    HANDLE targetThread = CreateThread(nullptr, 0, TargetThread, &target, 0, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(target) != 0; }, 5000)) << "the target window did not appear";
    RECT frame, client;
    GetWindowRect(target, &frame);
    GetClientRect(target, &client);
    MapWindowPoints(target, nullptr, reinterpret_cast<POINT*>(&client), 2);
    const POINT caption = {(frame.left + frame.right) / 2, (frame.top + client.top) / 2};
    const POINT middle = {(client.left + client.right) / 2, (client.top + client.bottom) / 2};

    SetInputHook(TRUE);
    PointerActions = NavigationActions = 0;
    // A press is counted as navigation by what the window under it answers. On a loaded
    // machine under Wine a single press has now and then come out otherwise (the counts are
    // statistics, a rare slip is harmless): each case may take three presses, and a hook
    // that never hit-tests, or never counts, fails all three.
    const struct { const char* label; POINT at; LRESULT hit; const char* counts; } presses[] = {
        {"caption", caption, HTCAPTION, "1 1"}, {"client area", middle, HTCLIENT, "1 0"}};
    for (const auto& p : presses) {
        SCOPED_TRACE(p.label);
        ASSERT_EQ(SendMessageA(target, WM_NCHITTEST, 0, MAKELPARAM(p.at.x, p.at.y)), p.hit);
        std::string counts;
        for (int attempt = 0; attempt < 3 && counts != p.counts; ++attempt) counts = ClickAndCount(p.at);
        EXPECT_EQ(counts, p.counts);
    }
    // Once the hooks are removed, input is not counted.
    SetInputHook(FALSE);
    EXPECT_EQ(ClickAndCount(middle, 1000), "0 0");

    PostMessageA(target, WM_CLOSE, 0, 0);
    WaitForSingleObject(targetThread, 5000);
    CloseHandle(targetThread);
}

}  // namespace
