// The journal hook, which counts input where the system allows it (the low-level hooks that
// stand in for it on Wine are counted end to end): keys pressed on the display, reached
// through xdotool, are counted until it is removed.
#include <gtest/gtest.h>

#include <vector>

#include "sampling/input_counters.h"
#include "sampling/input_hook.h"
#include "test_windows.h"
#include "wine_env.h"

// Shift types twice, End moves around once.
static void ExpectDisplayKeysCounted(uint32_t keystrokes, uint32_t navigation)
{
    // A click on the test's window gives the display's keyboard focus to the Wine desktop.
    ASSERT_TRUE(RunHostCommand("xdotool mousemove 50 25 click 1"));
    PumpMessagesFor(300);
    PointerActions = NavigationActions = Keystrokes = 0;
    ASSERT_TRUE(RunHostCommand("xdotool search --name 'Wine desktop' windowfocus --sync key Shift_L Shift_L End"));
    PumpMessagesFor(400);  // the hook is called while this thread retrieves messages
    EXPECT_EQ(std::vector<uint32_t>({Keystrokes, NavigationActions, PointerActions}),
              std::vector<uint32_t>({keystrokes, navigation, navigation}));
}

// Helper process: a thread that had the journal hook cannot show a later message box on
// Wine, so the hook gets a process of its own. Its visible window makes the virtual desktop
// exist on the display, to take the keys.
TEST(InputHookHelper, DISABLED_JournalHook)
{
    CreateWindowA("STATIC", "keys", WS_POPUP | WS_VISIBLE, 10, 10, 100, 40, nullptr, nullptr, nullptr, nullptr);
    PumpMessagesFor(200);
    ASSERT_TRUE(InstallJournalInputHook());
    ExpectDisplayKeysCounted(2, 1);
    SetInputHook(FALSE);
    ExpectDisplayKeysCounted(0, 0);
    ExitProcess(HasFailure() ? 1 : 42);  // proves to the parent that these checks ran and held
}

TEST(InputHook, TheJournalHookCountsKeysOfTheDisplayUntilRemoved)
{
    PROCESS_INFORMATION helper = StartHelperTest("InputHookHelper.DISABLED_JournalHook");
    ASSERT_EQ(WaitForSingleObject(helper.hProcess, 60000), WAIT_OBJECT_0);
    DWORD code = 99;
    GetExitCodeProcess(helper.hProcess, &code);
    EXPECT_EQ(code, 42u) << "run with --gtest_also_run_disabled_tests --gtest_filter=InputHookHelper.* for details";
    EndHelperProcess(&helper);
}
