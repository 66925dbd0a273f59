// The priority tools of the running program on a helper process: Tune Windows' priority
// optimizer and Change Program Priorities' processor boost, each confirmed in the program's
// own "Boosting"; the bottleneck analyzer opened from Tune Windows, and Execution
// Priorities from Change Program Priorities.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "halvorn_process.h"
#include "resources/ids_boost.h"
#include "resources/ids_main.h"
#include "shared_test_steps.h"

namespace {

// The running program's "Boosting": its proposal text, then the answer command (IDOK is
// Boost). "<none>" when it did not show.
std::string AnswerBoostingWith(DWORD processId, WPARAM command)
{
    HWND boosting = nullptr;
    if (!WaitUntil([&] { return (boosting = FindProcessWindow(processId, "#32770", "Boosting")) && IsWindowVisible(boosting); },
                   10000, true))
        return "<none>";
    const std::string text = WindowText(GetDlgItem(boosting, IDC_BOOST_TEXT));
    PostMessageA(boosting, WM_COMMAND, command, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(boosting); }, 10000, true));
    return text;
}

void Press(HWND dialog, int id)
{
    SetWindowPos(dialog, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), LPARAM(GetDlgItem(dialog, id)));
}

// Chooses the line of a list in another process that names process id.
testing::AssertionResult ChooseProcess(HWND dialog, int listId, DWORD id)
{
    const std::vector<std::string> lines = ListBoxLines(GetDlgItem(dialog, listId));
    const std::string tail = "\t" + std::to_string(id);
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].size() <= tail.size() || lines[i].substr(lines[i].size() - tail.size()) != tail) continue;
        ChooseListItem(dialog, listId, int(i));
        return testing::AssertionSuccess();
    }
    return testing::AssertionFailure() << "process " << id << " is not listed";
}

bool ClassBecomes(HANDLE process, DWORD priorityClass)
{
    return WaitUntil([&] { return GetPriorityClass(process) == priorityClass; }, 5000, true);
}

// This program again, running only the waiting helper (it needs a program path to start).
PROCESS_INFORMATION StartWaitingHelper()
{
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, sizeof self);
    PROCESS_INFORMATION helper;
    StartProcess(std::string("\"") + self +
                     "\" --halvorn=/none --gtest_also_run_disabled_tests --gtest_filter=BoostHelper.DISABLED_Waits",
                 &helper);
    return helper;
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
    PROCESS_INFORMATION helper = StartWaitingHelper();
    ASSERT_TRUE(helper.hProcess && SetPriorityClass(helper.hProcess, HIGH_PRIORITY_CLASS));

    // Tune Windows: Cancel leaves the helper high, Boost brings it to normal.
    HWND tune = halvorn.OpenFrom(main, IDC_MAIN_TUNE, "Tune Windows");
    ASSERT_NE(tune, nullptr);
    EXPECT_TRUE(WaitUntilDrawn(tune));
    SaveScreenshot("tune-windows");
    const std::string proposal =
        "+ Determine optimal process priorities\r\n+ Reduce HIGH to NORMAL\r\n+ Reduce REALTIME to NORMAL\r\n"
        "+ Raise IDLE to NORMAL\r\n";
    Press(tune, IDC_TUNE_PRIORITIES);
    EXPECT_EQ(AnswerBoostingWith(halvorn.Id(), IDCANCEL), proposal);
    Sleep(300);
    EXPECT_EQ(GetPriorityClass(helper.hProcess), DWORD(HIGH_PRIORITY_CLASS));
    Press(tune, IDC_TUNE_PRIORITIES);
    EXPECT_EQ(AnswerBoostingWith(halvorn.Id(), IDOK), proposal);
    EXPECT_TRUE(ClassBecomes(helper.hProcess, NORMAL_PRIORITY_CLASS)) << GetPriorityClass(helper.hProcess);
    // "analyzer" opens the bottleneck analyzer over the system quantities, titled so.
    HWND analyzer = halvorn.OpenFrom(tune, IDC_TUNE_ANALYZER, "System");
    ASSERT_NE(analyzer, nullptr);
    CloseDialog(analyzer);
    CloseDialog(tune);

    // Change Program Priorities: the processor boost raises the chosen helper to high.
    HWND change = halvorn.OpenFrom(main, IDC_MAIN_PRIORITIES, "Change Program Priorities");
    ASSERT_NE(change, nullptr);
    ASSERT_TRUE(ChooseProcess(change, IDC_CHANGE_PROGRAMS, helper.dwProcessId));
    EXPECT_EQ(WindowText(GetDlgItem(change, IDC_CHANGE_NAME)), "e2e_tests");
    EXPECT_TRUE(WaitUntilDrawn(change));
    SaveScreenshot("change-program-priorities");
    Press(change, IDC_CHANGE_CPU);
    EXPECT_EQ(AnswerBoostingWith(halvorn.Id(), IDOK),
              "+ Flush video screen writes\r\n+ Flush instruction cache\r\n+ Raise priority to HIGH\r\n");
    EXPECT_TRUE(ClassBecomes(helper.hProcess, HIGH_PRIORITY_CLASS)) << GetPriorityClass(helper.hProcess);

    // "priority" opens Execution Priorities, owned by the dialog it came from.
    HWND boss = halvorn.OpenFrom(change, IDC_CHANGE_PRIORITY, "Execution Priorities");
    ASSERT_NE(boss, nullptr);
    EXPECT_EQ(GetWindow(boss, GW_OWNER), change);
    ASSERT_TRUE(ChooseProcess(boss, IDC_PRIORITY_PROGRAMS, helper.dwProcessId));
    EXPECT_EQ(SendWithTimeout(GetDlgItem(boss, IDC_PRIORITY_HIGH), BM_GETCHECK), BST_CHECKED);
    EXPECT_TRUE(WaitUntilDrawn(boss));
    SaveScreenshot("execution-priorities");
    // It dies with its owner, and opens again from a new one.
    CloseDialog(change);
    EXPECT_FALSE(IsWindow(boss));
    change = halvorn.OpenFrom(main, IDC_MAIN_PRIORITIES, "Change Program Priorities");
    ASSERT_NE(change, nullptr);
    boss = halvorn.OpenFrom(change, IDC_CHANGE_PRIORITY, "Execution Priorities");
    EXPECT_NE(boss, nullptr) << "Execution Priorities did not open again";
    CloseDialog(change);

    EndHelperProcess(&helper);
    ASSERT_TRUE(halvorn.Close());
}
