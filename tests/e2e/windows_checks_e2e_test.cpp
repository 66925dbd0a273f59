// Fix Windows Problems in the running program: from the main dialog to a topic and to
// Diagnose Windows Problems, three checks run and their lines read back.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "halvorn_process.h"
#include "resources/ids_checks.h"
#include "resources/ids_main.h"
#include "resources/ids_tools.h"
#include "shared_test_steps.h"
#include "wine_env.h"

namespace {

// A report line without its markup: colour marks 0x01 and 0x02 with their letter, grey
// 0x03, a colour 0x04 with its three bytes, underline 0x06.
std::string Plain(const std::string& line)
{
    std::string text;
    for (size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '\x01' || c == '\x02') ++i;
        else if (c == '\x04') i += 3;
        else if (c != '\x03' && c != '\x06') text += c;
    }
    return text;
}

// Chooses a check by name, presses Test and returns the report's lines without markup.
std::vector<std::string> RunCheck(HWND diagnose, const std::string& name)
{
    const std::vector<std::string> names = ListBoxLines(GetDlgItem(diagnose, IDC_DIAGNOSE_CHECKS));
    int row = 0;
    while (row < int(names.size()) && names[size_t(row)] != name) ++row;
    EXPECT_LT(row, int(names.size())) << name;
    ChooseListItem(diagnose, IDC_DIAGNOSE_CHECKS, row);
    SendWithTimeout(diagnose, WM_COMMAND, MAKEWPARAM(IDC_DIAGNOSE_TEST, BN_CLICKED),
                    LPARAM(GetDlgItem(diagnose, IDC_DIAGNOSE_TEST)), 60000);
    std::vector<std::string> lines;
    for (const std::string& line : ListBoxLines(GetDlgItem(diagnose, IDC_DIAGNOSE_REPORT))) lines.push_back(Plain(line));
    return lines;
}

}  // namespace

TEST(WindowsChecksE2e, FixWindowsShowsATopicAndDiagnosesTheRunningSystem)
{
    HalvornProcess halvorn("windows-checks");
    ASSERT_TRUE(halvorn.Start() && halvorn.WaitUntilRunning());
    HWND main = halvorn.WaitForDialog("Halvorn");
    ASSERT_NE(main, nullptr);
    HWND fix = halvorn.OpenFrom(main, IDC_MAIN_WINDOWS, "Fix Windows Problems");
    ASSERT_NE(fix, nullptr);

    // A topic opens in the reference viewer.
    PostMessageA(GetDlgItem(fix, IDC_FIX_WINDOWS_BOOT), BM_CLICK, 0, 0);
    HWND viewer = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (viewer = FindProcessWindow(halvorn.Id(), "#32770", "Reference")) != nullptr; }, 10000, true));
    EXPECT_EQ(ListBoxLines(GetDlgItem(viewer, IDC_VIEWER_REPORT)).size(), 14u);

    HWND diagnose = halvorn.OpenFrom(fix, IDC_FIX_WINDOWS_DIAGNOSE, "Diagnose Windows Problems");
    ASSERT_NE(diagnose, nullptr);
    EXPECT_EQ(ListBoxLines(GetDlgItem(diagnose, IDC_DIAGNOSE_CHECKS)).size(), 19u);

    // The program's own process list: every test passes on a sound system.
    const std::vector<std::string> processes = RunCheck(diagnose, "Process List");
    ASSERT_GE(processes.size(), 3u);
    EXPECT_EQ(processes[0], "Processes");
    for (size_t i = 2; i < processes.size() && !processes[i].empty(); ++i)
        EXPECT_EQ(processes[i].substr(processes[i].size() - 6), "Passed") << processes[i];
    // Not Windows 95: the start-up files do not apply; the root directories are counted.
    const std::vector<std::string> startup = RunCheck(diagnose, "Startup Files");
    ASSERT_EQ(startup.size(), 2u);
    EXPECT_EQ(startup[1], "Does not apply to this version of Windows");
    const std::vector<std::string> roots = RunCheck(diagnose, "Root Directories");
    EXPECT_GT(roots.size(), 5u);
    EXPECT_TRUE(WaitUntilDrawn(diagnose));
    SaveScreenshot("diagnose-windows-root-directories");

    PostMessageA(diagnose, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(diagnose); }, 5000, true));
    PostMessageA(fix, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(fix); }, 5000, true));
    ASSERT_TRUE(halvorn.Close());
}
