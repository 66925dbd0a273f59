// The input hooks under Wine: injected keys reach the counters through the journal hook
// and through the low-level hooks that stand in for it where it is refused.
#include <gtest/gtest.h>

#include "box_watcher.h"
#include "platform/low_level_input.h"
#include "sampling/input_counters.h"
#include "sampling/input_hook.h"
#include "wine_env.h"

namespace {

void ClearCounters()
{
    PointerActions = NavigationActions = Keystrokes = HelpKeyPresses = RightClicks = FunctionKeyPresses = 0;
}

void Press(WORD key)
{
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_KEYBOARD;
    input[0].ki.wVk = input[1].ki.wVk = key;
    input[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, input, sizeof(INPUT));
}

// The hooks are called while this thread retrieves messages.
void PumpFor(DWORD ms)
{
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < ms) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        Sleep(10);
    }
}

// The journal sees what arrives from the display (the X server under Wine), not what a
// program injects: those keys come through xdotool.
void PressOnDisplay(const char* keys)
{
    ASSERT_TRUE(RunHostCommand(std::string("xdotool search --name 'Wine desktop' windowfocus --sync key ") + keys));
}

// A click on the test's window gives the display's keyboard focus to the Wine desktop.
void FocusByClick()
{
    ASSERT_TRUE(RunHostCommand("xdotool mousemove 50 25 click 1"));
    PumpFor(300);
}

// F24 and Shift type; Clear and End move around.
void InjectAndExpectCounts(uint32_t expectedKeystrokes, uint32_t expectedNavigation, bool fromDisplay = false)
{
    if (fromDisplay) FocusByClick();
    ClearCounters();
    if (fromDisplay) {
        PressOnDisplay("Shift_L Shift_L End");
    } else {
        Press(VK_F24);
        Press(VK_F24);
        Press(VK_CLEAR);
    }
    PumpFor(400);
    EXPECT_EQ(Keystrokes.load(), expectedKeystrokes);
    EXPECT_EQ(NavigationActions.load(), expectedNavigation);
    EXPECT_EQ(PointerActions.load(), expectedNavigation);
}

TEST(InputHook, LowLevelHooksCountInjectedKeys)
{
    ASSERT_TRUE(InstallLowLevelInputHooks(GetModuleHandleA(nullptr)));
    InjectAndExpectCounts(2, 1);
    RemoveLowLevelInputHooks();
    InjectAndExpectCounts(0, 0);
}

TEST(InputHook, SetInputHookCountsKeysOfTheDisplayAndStopsWhenRemoved)
{
    // A visible window makes the virtual desktop exist on the display, to take the keys.
    HWND window = CreateWindowA("STATIC", "keys", WS_POPUP | WS_VISIBLE, 10, 10, 100, 40, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    PumpFor(200);
    BoxWatcher boxes;
    SetInputHook(TRUE);
    InjectAndExpectCounts(2, 1, true);
    SetInputHook(FALSE);
    InjectAndExpectCounts(0, 0, true);
    EXPECT_TRUE(boxes.Boxes().empty());
    DestroyWindow(window);
}

}  // namespace

TEST(InputHook, JournalHookCountsInputToTheProgramsOwnWindow)
{
    HWND window = CreateWindowA("STATIC", "keys", WS_POPUP | WS_VISIBLE, 10, 10, 100, 40, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    PumpFor(200);
    ASSERT_TRUE(InstallJournalInputHook());
    InjectAndExpectCounts(2, 1, true);
    SetInputHook(FALSE);
    InjectAndExpectCounts(0, 0, true);
    DestroyWindow(window);
}
