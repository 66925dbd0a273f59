// The journal hook runs in the system's journal processing and only adds to the input
// counters, which the sampling tick reads and clears.
//
// Current Windows refuses the journal-record hook; Wine accepts it but calls a hook that
// lives in a program (not a library) only for input to that program's own windows. In
// both cases the low-level hooks count the input of every program instead, on their own
// thread. They see only client button messages, so each press comes with the hit test
// of the window under the pointer and is counted as the journal would have seen it.
#include <windows.h>

#include "platform/host_system.h"
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

static void CountLowLevelInput(uint32_t message, uint32_t virtualKey, bool numLockOn, int32_t hitTest)
{
    CountInputEvent(ButtonMessageAtHit(message, hitTest), virtualKey, numLockOn);
}

bool InstallJournalInputHook()
{
    if (!gJournalHook)
        gJournalHook = SetWindowsHookExA(WH_JOURNALRECORD, JournalRecordProc, GetModuleHandleA(nullptr), 0);
    return gJournalHook != nullptr;
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
    if (!IsWineHost() && InstallJournalInputHook()) return;
    if (InstallLowLevelInputHooks(instance, CountLowLevelInput)) return;
    MessageBoxA(nullptr,
                "Unable to collect mouse and keyboard data due to error. The program will continue. Contact "
                "Technical Support.",
                "Error!", MB_OK);
}
