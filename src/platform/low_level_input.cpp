// The hooks run on the thread that installed them and only add to the input counters.
#include <windows.h>

#include "platform/low_level_input.h"
#include "sampling/input_counters.h"

static HHOOK gKeyboardHook;
static HHOOK gMouseHook;

static bool IsNumLockOn()
{
    return (GetKeyState(VK_NUMLOCK) & 0x8001) != 0;
}

static LRESULT CALLBACK KeyboardProc(int code, WPARAM message, LPARAM data)
{
    if (code == HC_ACTION) {
        const KBDLLHOOKSTRUCT* key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(data);
        CountInputEvent(uint32_t(message), key->vkCode, IsNumLockOn());
    }
    return CallNextHookEx(gKeyboardHook, code, message, data);
}

static LRESULT CALLBACK MouseProc(int code, WPARAM message, LPARAM data)
{
    if (code == HC_ACTION) CountInputEvent(uint32_t(message), 0, false);
    return CallNextHookEx(gMouseHook, code, message, data);
}

bool InstallLowLevelInputHooks(HINSTANCE instance)
{
    if (!gKeyboardHook) gKeyboardHook = SetWindowsHookExA(WH_KEYBOARD_LL, KeyboardProc, instance, 0);
    if (!gMouseHook) gMouseHook = SetWindowsHookExA(WH_MOUSE_LL, MouseProc, instance, 0);
    return gKeyboardHook || gMouseHook;
}

void RemoveLowLevelInputHooks()
{
    if (gKeyboardHook) UnhookWindowsHookEx(gKeyboardHook);
    if (gMouseHook) UnhookWindowsHookEx(gMouseHook);
    gKeyboardHook = gMouseHook = nullptr;
}
