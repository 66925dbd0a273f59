// The system-list checks against the running system under Wine, and the Diagnose Windows
// Problems dialog that runs them.
#include <gtest/gtest.h>

#include <windows.h>
#include <tlhelp32.h>

#include <string>
#include <vector>

#include "app/app_globals.h"
#include "check_test_steps.h"
#include "checks/diagnose_windows.h"
#include "checks/windows_checks.h"
#include "quick_help_reader.h"
#include "resources/ids_checks.h"
#include "services/string_list.h"
#include "services/toolhelp.h"
#include "ui/quick_help.h"

namespace {

int PlainProcessCount()
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    int count = 0;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
        count += entry.th32ProcessID != 0;
    CloseHandle(snapshot);
    return count;
}

const struct {
    const char* name;
    int (*check)(HWND);
    const char* countLabel;
    int testCount;
} kListChecks[] = {
    {"heap lists", CheckHeapLists, "Lists traversed", 5},
    {"heaps", CheckHeaps, "Heaps checked", 8},
    {"processes", CheckProcessList, "Processes checked", 8},
    {"modules", CheckModuleList, "Modules checked", 11},
    {"threads", CheckThreadList, "Threads checked", 7},
    {"windows", CheckWindowChain, "Windows checked", 12},
};

TEST(SystemListChecks, EachCheckReadsTheLiveSystemAndThisProcessSurvives)
{
    LoadToolhelp();
    CheckReport report;  // a top-level window of this process, so the window chain has one at least
    for (const auto& c : kListChecks) {
        SCOPED_TRACE(c.name);
        const std::vector<std::string> lines = report.Run(c.check);
        ASSERT_GE(lines.size(), size_t(c.testCount + 3));
        const long count = atol(ValueOf(lines, c.countLabel).c_str());
        // Wine lists no heaps: the heap checks count nothing there, truthfully.
        if (std::string(c.name).rfind("heap", 0) != 0) EXPECT_GT(count, 0);
        if (c.check == CheckProcessList) EXPECT_EQ(count, PlainProcessCount());
        // Heading, count, tests, then the empty line.
        EXPECT_EQ(lines[size_t(c.testCount) + 2], "");
        // Processes, modules and threads of a sound system pass every test.
        if (c.check != CheckWindowChain) {
            for (int t = 0; t < c.testCount; ++t) {
                const std::string test = Plain(lines[size_t(t) + 2]);
                EXPECT_EQ(test.substr(test.find('\t') + 1), "Passed") << test;
            }
        }
    }
}

TEST(SystemListChecks, ASnapshotThatCannotBeTakenIsReportedNotPassed)
{
    LoadToolhelp();
    th::CreateToolhelp32Snapshot = nullptr;
    CheckReport report;
    for (const auto& c : kListChecks) {
        if (c.check == CheckWindowChain) continue;
        SCOPED_TRACE(c.name);
        const std::vector<std::string> lines = report.Run(c.check);
        EXPECT_EQ(ValueOf(lines, "System list snapshot"), "Not taken");
        EXPECT_EQ(ValueOf(lines, c.countLabel), "");
        EXPECT_EQ(lines.size(), 2u);
    }
    LoadToolhelp();
}

// A hidden window of this program holding the keyboard focus fails "Keyboard focus test",
// and the failing list names it from its title, with this program's file.
TEST(SystemListChecks, AHiddenWindowWithTheFocusIsListedByItsProgram)
{
    LoadToolhelp();
    HWND hidden = CreateWindowA("STATIC", "Focus Keeper - hidden", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr,
                                nullptr, nullptr);
    ASSERT_NE(hidden, nullptr);
    SetFocus(hidden);
    if (GetFocus() != hidden) GTEST_SKIP() << "the system gave no focus to a hidden window";
    CheckReport report;
    const std::vector<std::string> lines = report.Run(CheckWindowChain);
    DestroyWindow(hidden);
    EXPECT_EQ(ValueOf(lines, "Keyboard focus test"), "Failed");
    char exe[MAX_PATH];
    GetModuleFileNameA(nullptr, exe, sizeof exe);
    EXPECT_EQ(ValueOf(lines, "Failing Windows"), "File Name");
    EXPECT_EQ(ValueOf(lines, "Focus Keeper"), exe);
}

struct DiagnoseWindowsTest : testing::Test {
    void SetUp() override
    {
        LoadToolhelp();
        savedInstance_ = gInstance;
        gInstance = GetModuleHandleA(nullptr);
        dialog_ = CreateDialogParamA(gInstance, MAKEINTRESOURCEA(IDD_DIAGNOSE_WINDOWS), nullptr,
                                     DiagnoseWindowsDlgProc, 0);
        ShowWindow(dialog_, SW_SHOW);
    }
    void TearDown() override
    {
        if (dialog_) DestroyWindow(dialog_);
        gInstance = savedInstance_;
    }
    int Row(const char* name)
    {
        for (int i = 0; i < kWindowsCheckCount; ++i)
            if (std::string(kWindowsChecks[i].name) == name) return i;
        return -1;
    }
    std::vector<std::string> Test(const char* name)
    {
        ChooseListItem(dialog_, IDC_DIAGNOSE_CHECKS, Row(name));
        SendMessageA(dialog_, WM_COMMAND, MAKEWPARAM(IDC_DIAGNOSE_TEST, BN_CLICKED),
                     LPARAM(GetDlgItem(dialog_, IDC_DIAGNOSE_TEST)));
        return ListBoxLines(GetDlgItem(dialog_, IDC_DIAGNOSE_REPORT));
    }
    int LineOf(const std::vector<std::string>& lines, const std::string& label)
    {
        for (size_t i = 0; i < lines.size(); ++i)
            if (Plain(lines[i]).rfind(label, 0) == 0) return int(i);
        return -1;
    }

    HINSTANCE savedInstance_ = nullptr;
    HWND dialog_ = nullptr;
};

TEST_F(DiagnoseWindowsTest, ListsTheCatalogueAndTestingTwiceShowsOneReport)
{
    ASSERT_NE(dialog_, nullptr);
    std::vector<std::string> names;
    for (const ToolEntry& check : kWindowsChecks) names.push_back(check.name);
    EXPECT_EQ(ListBoxLines(GetDlgItem(dialog_, IDC_DIAGNOSE_CHECKS)), names);
    EXPECT_EQ(SendDlgItemMessageA(dialog_, IDC_DIAGNOSE_CHECKS, LB_GETCURSEL, 0, 0), 0);
    for (const ToolEntry& check : kWindowsChecks)
        EXPECT_EQ(HelpTextResource(check.helpId).rfind("OVERVIEW\n", 0), 0u) << check.name << " has its help text";

    const std::vector<std::string> processes = Test("Process List");
    EXPECT_EQ(Plain(processes[0]), "Processes");
    EXPECT_EQ(Test("Process List").size(), processes.size());

    ASSERT_TRUE(WaitUntilDrawn(dialog_));
    EXPECT_FALSE(SaveScreenshot("diagnose-windows").empty());
}

TEST_F(DiagnoseWindowsTest, QuickHelpExplainsTheClickedLineOfTheShownReport)
{
    ASSERT_NE(dialog_, nullptr);
    const std::vector<std::string> lines = Test("Process List");
    const int clicked = LineOf(lines, "Parent process ID test");
    ASSERT_GE(clicked, 0);
    // Another tool rebuilds the shared string list, and another check is chosen but not
    // tested: the click still explains the line shown, from the Process List's help.
    StringListCount = 0;
    for (int i = 0; i < 40; ++i) lstrcpynA(StringListNext(), "\x01" "CSomething else entirely", kReportLineSlot);
    ChooseListItem(dialog_, IDC_DIAGNOSE_CHECKS, Row("Window Chain"));

    const QuickHelpSeen seen = QuickHelpSelectionAfter([&] { ChooseListItem(dialog_, IDC_DIAGNOSE_REPORT, clicked); });
    EXPECT_EQ(seen.selected, "Parent process ID test");
    const std::string help = HelpTextResource(kWindowsChecks[Row("Process List")].helpId);
    ASSERT_FALSE(seen.next.empty());
    EXPECT_NE(help.find("Parent process ID test\n" + seen.next), std::string::npos) << seen.next;
}

}  // namespace
