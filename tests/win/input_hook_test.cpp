// Input counting through the low-level hooks under Wine, with synthetic input. The hooks
// run on a thread of their own: this test thread never pumps messages while it waits for
// the counts. The target window lives on a thread that pumps, as another program's would.
#include <gtest/gtest.h>

#include <windows.h>
#include <tlhelp32.h>

#include <set>
#include <string>

#include "sampling/input_counters.h"
#include "sampling/input_hook.h"

namespace {

const char kTargetClass[] = "HalvornHookTarget";

// The window's own reactions to frame presses (moving, scrolling) would start modal
// loops; the test is about what the hooks count, so it refuses them.
LRESULT CALLBACK TargetProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCLBUTTONDOWN) return 0;
    if (message == WM_CLOSE) PostQuitMessage(0);
    return message == WM_CLOSE ? 0 : DefWindowProcA(window, message, wParam, lParam);
}

struct Target {
    HWND window = nullptr;
    HANDLE created = CreateEventA(nullptr, TRUE, FALSE, nullptr);
};

DWORD WINAPI TargetThread(LPVOID param)
{
    Target* target = static_cast<Target*>(param);
    WNDCLASSA wc = {};
    wc.lpfnWndProc = TargetProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.lpszClassName = kTargetClass;
    RegisterClassA(&wc);
    target->window = CreateWindowExA(WS_EX_TOPMOST, kTargetClass, "Hook target", WS_OVERLAPPEDWINDOW | WS_VSCROLL | WS_VISIBLE,
                                     200, 150, 400, 300, nullptr, nullptr, wc.hInstance, nullptr);
    SetEvent(target->created);
    MSG msg;
    while (target->window && GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    if (target->window) DestroyWindow(target->window);
    return 0;
}

std::set<DWORD> OwnThreads()
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    std::set<DWORD> threads;
    for (BOOL ok = Thread32First(snapshot, &entry); ok; ok = Thread32Next(snapshot, &entry))
        if (entry.th32OwnerProcessID == GetCurrentProcessId()) threads.insert(entry.th32ThreadID);
    CloseHandle(snapshot);
    return threads;
}

void Click(POINT at)
{
    SetCursorPos(at.x, at.y);
    INPUT inputs[2] = {};
    inputs[0].type = inputs[1].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, inputs, sizeof(INPUT));
}

// Waits without pumping until the hooks have counted a press (at most waitMs), then a
// little longer for stragglers; returns the counts as "pointer navigation" and clears them.
std::string TakeCounts(DWORD waitMs = 3000)
{
    for (const DWORD start = GetTickCount(); GetTickCount() - start < waitMs && !PointerActions;) Sleep(20);
    Sleep(200);
    return std::to_string(PointerActions.exchange(0)) + " " + std::to_string(NavigationActions.exchange(0));
}

TEST(LowLevelInputHooks, CountFramePressesOnTheirOwnThreadWhileTheCallerDoesNotPump)
{
    Target target;
    HANDLE targetThread = CreateThread(nullptr, 0, TargetThread, &target, 0, nullptr);
    ASSERT_EQ(WaitForSingleObject(target.created, 5000), WAIT_OBJECT_0);
    ASSERT_NE(target.window, nullptr);
    RECT frame, client;
    GetWindowRect(target.window, &frame);
    GetClientRect(target.window, &client);
    MapWindowPoints(target.window, nullptr, reinterpret_cast<POINT*>(&client), 2);
    const POINT caption = {(frame.left + frame.right) / 2, (frame.top + client.top) / 2};
    const POINT middle = {(client.left + client.right) / 2, (client.top + client.bottom) / 2};
    const POINT scrollBar = {client.right + GetSystemMetrics(SM_CXVSCROLL) / 2, middle.y};

    // The hooks run on a thread of their own, which is gone once they are removed. (Wine
    // may start threads of its own meanwhile.)
    const std::set<DWORD> before = OwnThreads();
    SetInputHook(TRUE);
    std::set<DWORD> hookThreads = OwnThreads();
    for (DWORD thread : before) hookThreads.erase(thread);
    EXPECT_EQ(hookThreads.size(), 1u);
    TakeCounts(0);

    const struct { const char* label; POINT at; LRESULT hit; const char* counts; } presses[] = {
        {"caption", caption, HTCAPTION, "1 1"}, {"scroll bar", scrollBar, HTVSCROLL, "1 1"}, {"client area", middle, HTCLIENT, "1 0"}};
    for (const auto& p : presses) {
        SCOPED_TRACE(p.label);
        ASSERT_EQ(SendMessageA(target.window, WM_NCHITTEST, 0, MAKELPARAM(p.at.x, p.at.y)), p.hit);
        Click(p.at);
        EXPECT_EQ(TakeCounts(), p.counts);
    }

    // Removing the hooks ends their thread; input after that is not counted.
    SetInputHook(FALSE);
    for (DWORD thread : OwnThreads()) EXPECT_EQ(hookThreads.count(thread), 0u) << "the hook thread still runs";
    Click(middle);
    EXPECT_EQ(TakeCounts(1000), "0 0");

    PostMessageA(target.window, WM_CLOSE, 0, 0);
    WaitForSingleObject(targetThread, 5000);
    CloseHandle(targetThread);
    CloseHandle(target.created);
}

}  // namespace
