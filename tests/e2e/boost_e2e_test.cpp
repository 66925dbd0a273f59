// The priority tools of the running program on a helper process: Tune Windows' priority
// optimizer and Change Program Priorities' processor boost, each confirmed in the program's
// own "Boosting"; the bottleneck analyzer opened from Tune Windows, and Execution
// Priorities from Change Program Priorities.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "halvorn_process.h"
#include "resources/ids_boost.h"
#include "resources/ids_main.h"
#include "shared_test_steps.h"

namespace {

// Presses a button of the running program's dialog and answers the "Boosting" it shows
// with command (IDOK is Boost).
testing::AssertionResult PressAndAnswer(HWND dialog, int id, DWORD processId, WPARAM command)
{
    SetWindowPos(dialog, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), LPARAM(GetDlgItem(dialog, id)));
    HWND boosting = nullptr;
    if (!WaitUntil([&] { return (boosting = FindProcessWindow(processId, "#32770", "Boosting")) && IsWindowVisible(boosting); },
                   10000, true))
        return testing::AssertionFailure() << "no \"Boosting\" after button " << id;
    PostMessageA(boosting, WM_COMMAND, command, 0);
    if (!WaitUntil([&] { return !IsWindow(boosting); }, 10000, true)) return testing::AssertionFailure() << "\"Boosting\" stayed";
    return testing::AssertionSuccess();
}

bool ClassBecomes(HANDLE process, DWORD priorityClass)
{
    return WaitUntil([&] { return GetPriorityClass(process) == priorityClass; }, 5000, true);
}

void CloseDialog(HWND dialog)
{
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, 5000, true));
}

}  // namespace

// Helper process: runs at whatever class the test gives it, until it is ended.
TEST(BoostHelper, DISABLED_Waits)
{
    Sleep(60000);
}

TEST(BoostE2e, PriorityToolsActOnAHelperOnlyAfterBoost)
{
    HalvornProcess halvorn("boost");
    ASSERT_TRUE(halvorn.Start() && halvorn.WaitUntilRunning());
    HWND main = halvorn.WaitForDialog("Halvorn");
    ASSERT_NE(main, nullptr);
    // This program again, running only the waiting helper (it needs a program path to start).
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, sizeof self);
    PROCESS_INFORMATION helper = {};
    StartProcess(std::string("\"") + self + "\" --halvorn=/none --gtest_also_run_disabled_tests --gtest_filter=BoostHelper.DISABLED_Waits",
                 &helper);
    ASSERT_TRUE(helper.hProcess && SetPriorityClass(helper.hProcess, HIGH_PRIORITY_CLASS));

    // Tune Windows: Cancel leaves the helper high, Boost brings it to normal.
    HWND tune = halvorn.OpenFrom(main, IDC_MAIN_TUNE, "Tune Windows");
    ASSERT_NE(tune, nullptr);
    EXPECT_TRUE(WaitUntilDrawn(tune));
    SaveScreenshot("tune-windows");
    EXPECT_TRUE(PressAndAnswer(tune, IDC_TUNE_PRIORITIES, halvorn.Id(), IDCANCEL));
    Sleep(300);
    EXPECT_EQ(GetPriorityClass(helper.hProcess), DWORD(HIGH_PRIORITY_CLASS));
    EXPECT_TRUE(PressAndAnswer(tune, IDC_TUNE_PRIORITIES, halvorn.Id(), IDOK));
    EXPECT_TRUE(ClassBecomes(helper.hProcess, NORMAL_PRIORITY_CLASS)) << GetPriorityClass(helper.hProcess);
    // "analyzer" opens the bottleneck analyzer over the system quantities, titled so.
    HWND analyzer = halvorn.OpenFrom(tune, IDC_TUNE_ANALYZER, "System");
    ASSERT_NE(analyzer, nullptr);
    CloseDialog(analyzer);
    CloseDialog(tune);

    // Change Program Priorities: the processor boost raises the chosen helper to high.
    HWND change = halvorn.OpenFrom(main, IDC_MAIN_PRIORITIES, "Change Program Priorities");
    ASSERT_NE(change, nullptr);
    ASSERT_TRUE(ChooseListLineOf(change, IDC_CHANGE_PROGRAMS, helper.dwProcessId));
    EXPECT_EQ(WindowText(GetDlgItem(change, IDC_CHANGE_NAME)), "e2e_tests");
    EXPECT_TRUE(WaitUntilDrawn(change));
    SaveScreenshot("change-program-priorities");
    EXPECT_TRUE(PressAndAnswer(change, IDC_CHANGE_CPU, halvorn.Id(), IDOK));
    EXPECT_TRUE(ClassBecomes(helper.hProcess, HIGH_PRIORITY_CLASS)) << GetPriorityClass(helper.hProcess);

    // "priority" opens Execution Priorities, owned by the dialog it came from.
    HWND boss = halvorn.OpenFrom(change, IDC_CHANGE_PRIORITY, "Execution Priorities");
    ASSERT_NE(boss, nullptr);
    EXPECT_EQ(GetWindow(boss, GW_OWNER), change);
    ASSERT_TRUE(ChooseListLineOf(boss, IDC_PRIORITY_PROGRAMS, helper.dwProcessId));
    EXPECT_EQ(SendWithTimeout(GetDlgItem(boss, IDC_PRIORITY_HIGH), BM_GETCHECK), BST_CHECKED);
    EXPECT_TRUE(WaitUntilDrawn(boss));
    SaveScreenshot("execution-priorities");
    CloseDialog(change);
    EXPECT_FALSE(IsWindow(boss));

    EndHelperProcess(&helper);
    ASSERT_TRUE(halvorn.Close());
}
