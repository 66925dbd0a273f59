// The journal hook runs in the system's journal processing and only adds to the input
// counters, which the sampling tick reads and clears.
#include <windows.h>

#include "platform/low_level_input.h"
#include "sampling/input_counters.h"
#include "sampling/input_hook.h"

static HHOOK gJournalHook;

static LRESULT CALLBACK JournalRecordProc(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION) {
        const EVENTMSG* event = reinterpret_cast<const EVENTMSG*>(lParam);
        const bool numLockOn = (GetKeyState(VK_NUMLOCK) & 0x8001) != 0;
        CountInputEvent(event->message, event->paramL & 0xFF, numLockOn);
    }
    return CallNextHookEx(gJournalHook, code, wParam, lParam);
}

void SetInputHook(BOOL on)
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    if (!on) {
        if (gJournalHook) UnhookWindowsHookEx(gJournalHook);
        gJournalHook = nullptr;
        RemoveLowLevelInputHooks();
        return;
    }
    if (gJournalHook) return;
    gJournalHook = SetWindowsHookExA(WH_JOURNALRECORD, JournalRecordProc, instance, 0);
    if (gJournalHook || InstallLowLevelInputHooks(instance)) return;
    MessageBoxA(nullptr,
                "Unable to collect mouse and keyboard data due to error. The program will continue. Contact "
                "Technical Support.",
                "Error!", MB_OK);
}
