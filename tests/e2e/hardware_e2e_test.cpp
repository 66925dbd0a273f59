// The hardware tools of a running program: Speed Up Hardware's upgrade advisor over the
// program's own equipment record and a statistics file written beside it.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "machine_state.h"
#include "shared_test_steps.h"
#include "halvorn_process.h"
#include "hardware/upgrade_rules.h"
#include "resources/ids_hardware.h"
#include "resources/ids_main.h"
#include "sampling/system_stats.h"
#include "wine_env.h"

TEST(HardwareE2e, UpgradeAdvisorOpensFromSpeedUpWithAKindsTable)
{
    HalvornProcess halvorn("upgrade");
    SystemStats stats = {};
    stats.secondsSampled = 100000;
    stats.cpuUsage[60] = 100000;
    ASSERT_TRUE(WriteWholeFile(halvorn.StatsPath(), &stats, sizeof stats));
    ASSERT_TRUE(halvorn.Start() && halvorn.WaitUntilRunning());
    HWND main = halvorn.WaitForDialog("Halvorn");
    ASSERT_NE(main, nullptr);
    HWND speed = halvorn.OpenFrom(main, IDC_MAIN_SPEED, "Speed Up Hardware");
    ASSERT_NE(speed, nullptr);
    HWND advisor = halvorn.OpenFrom(speed, IDC_SPEED_UPGRADE, "Upgrade");
    ASSERT_NE(advisor, nullptr);

    // Each kind's table and gauges are the Win32 tests' part; here, the advisor opens from
    // Speed Up Hardware over the program's own records and shows a kind's table.
    HWND kinds = GetDlgItem(advisor, IDC_UPGRADE_KINDS);
    EXPECT_EQ(ListBoxLines(kinds).size(), size_t(kUpgradeKindCount));
    ChooseListItem(advisor, IDC_UPGRADE_KINDS, 1);  // CPU: a busy processor
    const std::vector<std::string> lines = ListBoxLines(GetDlgItem(advisor, IDC_UPGRADE_TABLE));
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back().substr(lines.back().size() - 4), "~M99");
    EXPECT_TRUE(WaitUntilDrawn(advisor));
    SaveScreenshot("upgrade-advisor");
    PostMessageA(advisor, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(advisor); }, 5000, true));
    PostMessageA(speed, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(speed); }, 5000, true));
    ASSERT_TRUE(halvorn.Close());
}

namespace {

const char kAppDefaults[] = "Software\\Wine\\AppDefaults\\halvorn.exe";

// Answers the running program's "Boosting" confirmation with command (IDOK is Boost).
bool AnswerBoosting(DWORD processId, WPARAM command)
{
    HWND boosting = nullptr;
    if (!WaitUntil([&] { return (boosting = FindProcessWindow(processId, "#32770", "Boosting")) && IsWindowVisible(boosting); },
                   10000, true))
        return false;
    PostMessageA(boosting, WM_COMMAND, command, 0);
    return WaitUntil([&] { return !IsWindow(boosting); }, 5000, true);
}

}  // namespace

// The running program, told by the prefix it is on Windows 95, opens the optimizer modally
// over Speed Up Hardware: Boost in its own "Boosting" writes the processor
// settings into c:\msdos.sys, and the restart is then offered. What Cancel and Boost write,
// value by value, is the Win32 tests' part. Everything is put back afterwards.
TEST(HardwareE2e, OptimizerBoostsTheProcessorSettingsOfTheRunningProgram)
{
    SavedMachine saved(MachineParts{{{HKEY_LOCAL_MACHINE, "Enum"},
                                     {HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\control\\FileSystem"},
                                     {HKEY_CURRENT_USER, kAppDefaults}},
                                    {WindowsFile("system.ini"), WindowsFile("win.ini"), kMsdosSys}});
    ASSERT_TRUE(PlaceOptimizerFixture());
    ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, kAppDefaults, "Version", REG_SZ, "win95", 6), ERROR_SUCCESS);

    HalvornProcess halvorn("optimizer");
    ASSERT_TRUE(halvorn.Start() && halvorn.WaitUntilRunning());
    HWND main = halvorn.WaitForDialog("Halvorn");
    ASSERT_NE(main, nullptr);
    HWND speed = halvorn.OpenFrom(main, IDC_MAIN_SPEED, "Speed Up Hardware");
    ASSERT_NE(speed, nullptr);
    HWND optimizer = halvorn.OpenFrom(speed, IDC_SPEED_OPTIMIZE, "Hardware Optimizer");
    ASSERT_NE(optimizer, nullptr);
    EXPECT_EQ(GetWindow(optimizer, GW_OWNER), speed);
    EXPECT_FALSE(IsWindowEnabled(speed)) << "the optimizer is not modal over Speed Up Hardware";
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(optimizer, IDC_OPTIMIZE_REBOOT)));

    PostMessageA(optimizer, WM_COMMAND, MAKEWPARAM(IDC_OPTIMIZE_CPU, BN_CLICKED), LPARAM(GetDlgItem(optimizer, IDC_OPTIMIZE_CPU)));
    ASSERT_TRUE(AnswerBoosting(halvorn.Id(), IDOK));
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(GetDlgItem(optimizer, IDC_OPTIMIZE_REBOOT)) != 0; }, 5000, true))
        << "no restart offered after Boost";
    std::vector<unsigned char> msdos;
    ASSERT_TRUE(ReadWholeFileBytes(kMsdosSys, &msdos));
    EXPECT_NE(std::string(msdos.begin(), msdos.end()).find("BootDelay=0"), std::string::npos)
        << "the program did not take the machine for Windows 95";
    EXPECT_TRUE(WaitUntilDrawn(optimizer));
    SaveScreenshot("hardware-optimizer-e2e");

    PostMessageA(optimizer, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(optimizer); }, 5000, true));
    PostMessageA(speed, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(speed); }, 5000, true));
    ASSERT_TRUE(halvorn.Close());
}
