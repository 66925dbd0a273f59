// Input counting through the low-level hooks under Wine, with synthetic input. This test
// thread never pumps messages while it waits for the counts, so only hooks on a thread of
// their own can count. The target window lives on a thread that pumps, as another
// program's would.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "sampling/input_counters.h"
#include "sampling/input_hook.h"

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
// press (at most waitMs) and a little longer for stragglers; returns the counts as
// "pointer navigation" and clears them.
std::string ClickAndCount(POINT at, DWORD waitMs = 3000)
{
    SetCursorPos(at.x, at.y);
    INPUT inputs[2] = {};
    inputs[0].type = inputs[1].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, inputs, sizeof(INPUT));
    for (const DWORD start = GetTickCount(); GetTickCount() - start < waitMs && !PointerActions;) Sleep(20);
    Sleep(200);
    return std::to_string(PointerActions.exchange(0)) + " " + std::to_string(NavigationActions.exchange(0));
}

TEST(LowLevelInputHooks, CountFramePressesOnTheirOwnThreadWhileTheCallerDoesNotPump)
{
    HWND target = nullptr;
    HANDLE targetThread = CreateThread(nullptr, 0, TargetThread, &target, 0, nullptr);
    for (int i = 0; i < 250 && !IsWindowVisible(target); ++i) Sleep(20);
    ASSERT_TRUE(IsWindowVisible(target));
    RECT frame, client;
    GetWindowRect(target, &frame);
    GetClientRect(target, &client);
    MapWindowPoints(target, nullptr, reinterpret_cast<POINT*>(&client), 2);
    const POINT caption = {(frame.left + frame.right) / 2, (frame.top + client.top) / 2};
    const POINT middle = {(client.left + client.right) / 2, (client.top + client.bottom) / 2};

    SetInputHook(TRUE);
    PointerActions = NavigationActions = 0;
    // A press is counted as navigation by what the window under it answers.
    const struct { const char* label; POINT at; LRESULT hit; const char* counts; } presses[] = {
        {"caption", caption, HTCAPTION, "1 1"}, {"client area", middle, HTCLIENT, "1 0"}};
    for (const auto& p : presses) {
        SCOPED_TRACE(p.label);
        ASSERT_EQ(SendMessageA(target, WM_NCHITTEST, 0, MAKELPARAM(p.at.x, p.at.y)), p.hit);
        EXPECT_EQ(ClickAndCount(p.at), p.counts);
    }
    // Once the hooks are removed, input is not counted.
    SetInputHook(FALSE);
    EXPECT_EQ(ClickAndCount(middle, 1000), "0 0");

    PostMessageA(target, WM_CLOSE, 0, 0);
    WaitForSingleObject(targetThread, 5000);
    CloseHandle(targetThread);
}

}  // namespace
