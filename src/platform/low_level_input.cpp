// The hook thread installs the two low-level hooks, pumps its messages and removes the
// hooks when it is told to quit. The hooks run on it and only pass events to the sink;
// a button press is hit-tested after its hook has returned (a posted message to the same
// thread), because asking another program's window could take longer than the system
// waits for a low-level hook. The thread's handle and id are written by the installing
// thread before the thread runs and cleared after it has ended.
#include <windows.h>

#include "platform/low_level_input.h"

namespace {

const UINT kHitTestPress = WM_APP + 1;  // wParam: button message, lParam: screen point
// A busy window may answer late (a loaded machine, a program between two messages); a hung
// one is not waited for at all (SMTO_ABORTIFHUNG). Hook calls that arrive meanwhile are
// still served, since a thread waiting in SendMessageTimeout handles them.
const UINT kHitTestTimeoutMs = 1000;

struct HookThread {
    HINSTANCE instance;
    LowLevelInputSink sink;
    HANDLE thread;
    DWORD threadId;
    HANDLE ready;
    HHOOK keyboard;
    HHOOK mouse;
};

HookThread gHooks;

bool IsNumLockOn()
{
    return (GetKeyState(VK_NUMLOCK) & 0x8001) != 0;
}

LRESULT CALLBACK KeyboardProc(int code, WPARAM message, LPARAM data)
{
    if (code == HC_ACTION) {
        const KBDLLHOOKSTRUCT* key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(data);
        gHooks.sink(uint32_t(message), key->vkCode, IsNumLockOn(), HTCLIENT);
    }
    return CallNextHookEx(gHooks.keyboard, code, message, data);
}

bool IsButtonPress(WPARAM message)
{
    return message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN ||
           message == WM_XBUTTONDOWN;
}

LRESULT CALLBACK MouseProc(int code, WPARAM message, LPARAM data)
{
    if (code == HC_ACTION && IsButtonPress(message)) {
        const MSLLHOOKSTRUCT* mouse = reinterpret_cast<const MSLLHOOKSTRUCT*>(data);
        const LPARAM point = MAKELPARAM(short(mouse->pt.x), short(mouse->pt.y));
        if (!PostThreadMessageA(gHooks.threadId, kHitTestPress, message, point))
            gHooks.sink(uint32_t(message), 0, false, HTNOWHERE);
    }
    return CallNextHookEx(gHooks.mouse, code, message, data);
}

// What the window under the point answers to a hit test there. A window that lets the
// point through (a group box) passes the question to its parent.
int32_t HitTestAt(LPARAM point)
{
    const POINT at = {short(LOWORD(point)), short(HIWORD(point))};
    HWND window = WindowFromPoint(at);
    for (int depth = 0; window && depth < 8; ++depth) {
        DWORD_PTR answer = 0;
        if (!SendMessageTimeoutA(window, WM_NCHITTEST, 0, point, SMTO_ABORTIFHUNG, kHitTestTimeoutMs, &answer))
            return HTNOWHERE;
        const int32_t hit = int32_t(LRESULT(answer));
        if (hit != HTTRANSPARENT || !(GetWindowLongA(window, GWL_STYLE) & WS_CHILD)) return hit;
        window = GetParent(window);
    }
    return HTNOWHERE;
}

DWORD WINAPI HookThreadProc(LPVOID)
{
    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);  // the queue exists before anyone posts to it
    gHooks.keyboard = SetWindowsHookExA(WH_KEYBOARD_LL, KeyboardProc, gHooks.instance, 0);
    gHooks.mouse = SetWindowsHookExA(WH_MOUSE_LL, MouseProc, gHooks.instance, 0);
    const bool installed = gHooks.keyboard || gHooks.mouse;
    SetEvent(gHooks.ready);
    if (!installed) return 0;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (msg.hwnd == nullptr && msg.message == kHitTestPress)
            gHooks.sink(uint32_t(msg.wParam), 0, false, HitTestAt(msg.lParam));
        else
            DispatchMessageA(&msg);
    }
    if (gHooks.keyboard) UnhookWindowsHookEx(gHooks.keyboard);
    if (gHooks.mouse) UnhookWindowsHookEx(gHooks.mouse);
    gHooks.keyboard = gHooks.mouse = nullptr;
    return 0;
}

void JoinHookThread()
{
    WaitForSingleObject(gHooks.thread, INFINITE);
    CloseHandle(gHooks.thread);
    gHooks.thread = nullptr;
    gHooks.threadId = 0;
}

}  // namespace

bool InstallLowLevelInputHooks(HINSTANCE instance, LowLevelInputSink sink)
{
    if (gHooks.thread) return true;
    if (!sink) return false;
    gHooks.instance = instance;
    gHooks.sink = sink;
    gHooks.ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (!gHooks.ready) return false;
    gHooks.thread = CreateThread(nullptr, 0, HookThreadProc, nullptr, CREATE_SUSPENDED, &gHooks.threadId);
    if (!gHooks.thread) {
        CloseHandle(gHooks.ready);
        return false;
    }
    ResumeThread(gHooks.thread);
    const HANDLE waits[2] = {gHooks.ready, gHooks.thread};
    WaitForMultipleObjects(2, waits, FALSE, INFINITE);
    CloseHandle(gHooks.ready);
    gHooks.ready = nullptr;
    if (gHooks.keyboard || gHooks.mouse) return true;
    JoinHookThread();
    return false;
}

void RemoveLowLevelInputHooks()
{
    if (!gHooks.thread) return;
    PostThreadMessageA(gHooks.threadId, WM_QUIT, 0, 0);
    JoinHookThread();
}
