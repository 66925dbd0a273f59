// Fix Hardware Problems in the running program: from the main dialog to a category's steps,
// with the Problem Solver's two columns read back from its edits.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "dynamic_data.h"
#include "halvorn_process.h"
#include "resources/ids_hardware.h"
#include "resources/ids_main.h"
#include "shared_test_steps.h"
#include "wine_env.h"

namespace {

// The whole text of another process's control, however long.
std::string ControlText(HWND dialog, int id)
{
    HWND control = GetDlgItem(dialog, id);
    const LRESULT length = SendWithTimeout(control, WM_GETTEXTLENGTH);
    std::wstring wide(size_t(length) + 1, L'\0');
    SendMessageW(control, WM_GETTEXT, wide.size(), LPARAM(&wide[0]));
    wide.resize(wcslen(wide.c_str()));
    return std::string(wide.begin(), wide.end());
}

struct SolverShown {
    std::string leftLabel, rightLabel, problems, solutions;
};

// Runs step (0..5) of the chosen category and reads the Problem Solver it opens; with a
// screenshot name, saves the solver's picture first. The solver is closed with OK.
SolverShown RunStep(const HalvornProcess& halvorn, HWND fix, int step, const char* screenshot = nullptr)
{
    SolverShown shown;
    HWND solver = halvorn.OpenFrom(fix, IDC_PROBLEM_STEP_FIRST + step, "Problem Solver");
    EXPECT_NE(solver, nullptr) << "step " << step + 1;
    if (!solver) return shown;
    shown = {ControlText(solver, IDC_SOLVER_PROBLEMS_LABEL), ControlText(solver, IDC_SOLVER_SOLUTIONS_LABEL),
             ControlText(solver, IDC_SOLVER_PROBLEMS), ControlText(solver, IDC_SOLVER_SOLUTIONS)};
    if (screenshot) {
        EXPECT_TRUE(WaitUntilDrawn(solver));
        SaveScreenshot(screenshot);
    }
    PostMessageA(solver, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(solver); }, 5000, true));
    return shown;
}

}  // namespace

TEST(ProblemSolverE2e, CategoriesShowTheirAdviceAndTheConflictOfTheirDevices)
{
    ConfigManagerFixture nodes;
    ASSERT_TRUE(nodes.AddNode("C29A1F80", 12, REG_BINARY, "SCSI\\NEC_CD-ROM_DRIVE\\0", "CDROM"));

    HalvornProcess halvorn("problems");
    ASSERT_TRUE(halvorn.Start() && halvorn.WaitUntilRunning());
    HWND main = halvorn.WaitForDialog("Halvorn");
    ASSERT_NE(main, nullptr);
    HWND fix = halvorn.OpenFrom(main, IDC_MAIN_HARDWARE, "Fix Hardware Problems");
    ASSERT_NE(fix, nullptr);
    const std::vector<std::string> categories = ListBoxLines(GetDlgItem(fix, IDC_PROBLEM_CATEGORIES));
    ASSERT_EQ(categories.size(), 15u);
    EXPECT_EQ(categories.front(), "CD-ROM");
    EXPECT_EQ(categories.back(), "Video Card");
    EXPECT_TRUE(WaitUntilDrawn(fix));
    SaveScreenshot("fix-hardware");

    // CD-ROM, chosen when the dialog opens: quick fixes, then the injected conflict.
    SolverShown shown = RunStep(halvorn, fix, 0, "problem-solver-quick-fixes");
    EXPECT_EQ(shown.leftLabel, "Quick Fixes");
    EXPECT_EQ(shown.rightLabel, "Solution");
    EXPECT_EQ(shown.problems.rfind("1) Ensure CD-ROM drive is turned on\r\n\r\n2) Check for the CD-ROM drive\r\n\r\n", 0), 0u);
    EXPECT_NE(shown.solutions.find("\r\n\r\n2) Click on My Computer, and check that the CD-ROM icon is present"), std::string::npos);
    shown = RunStep(halvorn, fix, 2, "problem-solver-conflict");
    EXPECT_EQ(shown.leftLabel, "Problems Found");
    EXPECT_EQ(shown.problems, "1) Hardware conflict found\r\n\r\n");
    EXPECT_EQ(shown.solutions.rfind("1) There is a hardware conflict between this device and another device.", 0), 0u);

    // Floppy Drives: no conflict of its own.
    ChooseListItem(fix, IDC_PROBLEM_CATEGORIES, 1);
    shown = RunStep(halvorn, fix, 2);
    EXPECT_EQ(shown.problems, "+ No problems found");
    EXPECT_EQ(shown.solutions.rfind("+ No problems found\r\nYour hardware has been checked", 0), 0u);

    // Video Card's incompatible models: the longest list, whole, in the edit.
    ChooseListItem(fix, IDC_PROBLEM_CATEGORIES, 14);
    shown = RunStep(halvorn, fix, 1);
    EXPECT_EQ(shown.leftLabel, "Incompatible Models");
    EXPECT_NE(shown.problems.find("78) Western Digital 90C24A based video cards\r\n\r\n"), std::string::npos);
    EXPECT_NE(shown.solutions.find("\r\n\r\n78) "), std::string::npos);

    PostMessageA(fix, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(fix); }, 5000, true));
    ASSERT_TRUE(halvorn.Close());
}
