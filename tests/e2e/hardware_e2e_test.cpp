// The hardware tools of a running program: Speed Up Hardware's upgrade advisor over the
// program's own equipment record and a statistics file written beside it.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "box_watcher.h"
#include "machine_state.h"
#include "halvorn_process.h"
#include "hardware/upgrade_rules.h"
#include "resources/ids_hardware.h"
#include "resources/ids_main.h"
#include "sampling/system_stats.h"
#include "wine_env.h"

TEST(HardwareE2e, UpgradeAdvisorShowsEachKindsComparisonTable)
{
    HalvornProcess halvorn("upgrade");
    SystemStats stats = {};
    stats.secondsSampled = 100000;
    stats.cpuUsage[60] = 100000;
    ASSERT_TRUE(WriteWholeFile(halvorn.StatsPath(), &stats, sizeof stats));
    ASSERT_TRUE(halvorn.Start() && halvorn.WaitUntilRunning());
    HWND main = halvorn.WaitForDialog("Halvorn");
    ASSERT_NE(main, nullptr);
    PostMessageA(GetDlgItem(main, IDC_MAIN_SPEED), BM_CLICK, 0, 0);
    HWND speed = halvorn.WaitForDialog("Speed Up Hardware");
    ASSERT_NE(speed, nullptr);
    SetWindowPos(speed, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    PostMessageA(GetDlgItem(speed, IDC_SPEED_UPGRADE), BM_CLICK, 0, 0);
    HWND advisor = halvorn.WaitForDialog("Upgrade");
    ASSERT_NE(advisor, nullptr);

    HWND kinds = GetDlgItem(advisor, IDC_UPGRADE_KINDS), table = GetDlgItem(advisor, IDC_UPGRADE_TABLE);
    std::vector<std::string> names;
    for (const UpgradeKind& kind : kUpgradeKinds) names.push_back(kind.name);
    EXPECT_EQ(ListBoxLines(kinds), names);
    BoxWatcher questions(halvorn.Id(), IDNO);  // the joystick kind asks before it counts
    for (int i = 0; i < kUpgradeKindCount; ++i) {
        SCOPED_TRACE(names[size_t(i)]);
        SendWithTimeout(kinds, LB_SETCURSEL, WPARAM(i));
        SendWithTimeout(advisor, WM_COMMAND, MAKEWPARAM(IDC_UPGRADE_KINDS, LBN_SELCHANGE), LPARAM(kinds), 15000);
        const std::vector<std::string> lines = ListBoxLines(table);
        // Which kinds have a table does not depend on the machine.
        static const EquipmentInfo anyMachine = {};
        UpgradeEntry entry = {};
        kUpgradeKinds[i].build(UpgradeFacts{&anyMachine, &stats, 0}, &entry);
        if (entry.tableId) {
            ASSERT_FALSE(lines.empty());
            EXPECT_EQ(lines.back().substr(lines.back().size() - 4), "~M99");
        } else {
            EXPECT_TRUE(lines.empty());
        }
    }
    EXPECT_EQ(questions.Boxes().size(), 1u) << "the joystick question";
    SendWithTimeout(kinds, LB_SETCURSEL, 1);  // CPU: a busy processor
    SendWithTimeout(advisor, WM_COMMAND, MAKEWPARAM(IDC_UPGRADE_KINDS, LBN_SELCHANGE), LPARAM(kinds));
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
const char kMsdosSys[] = "c:\\msdos.sys";

std::string WindowsFile(const char* name)
{
    char folder[MAX_PATH];
    GetWindowsDirectoryA(folder, sizeof folder);
    return std::string(folder) + "\\" + name;
}

std::string OptimizerFixture(const std::string& name)
{
    const std::string tests = std::string(__FILE__).substr(0, std::string(__FILE__).rfind("e2e/"));
    return UnixToWindowsPath(tests + "fixtures/optimizer/" + name);
}

bool PlaceFixtureFile(const char* name, const std::string& target)
{
    std::vector<unsigned char> bytes;
    SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
    return ReadWholeFileBytes(OptimizerFixture(name), &bytes) && WriteWholeFile(target, bytes.data(), bytes.size());
}

std::string FileText(const std::string& path)
{
    std::vector<unsigned char> bytes;
    ReadWholeFileBytes(path, &bytes);
    return std::string(bytes.begin(), bytes.end());
}

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

// The program run as on Windows 95 (the prefix's answer for halvorn.exe, the fixture machine
// and its configuration files): Cancel in "Boosting" changes nothing; Boost writes the CPU
// settings into the files; the restart is then offered. Everything is put back afterwards.
TEST(HardwareE2e, OptimizerCancelsWithoutChangeAndBoostsTheProcessorSettings)
{
    const MachineParts parts{{{HKEY_LOCAL_MACHINE, "Enum"},
                              {HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\control\\FileSystem"},
                              {HKEY_CURRENT_USER, kAppDefaults}},
                             {WindowsFile("system.ini"), WindowsFile("win.ini"), kMsdosSys}};
    SavedMachine saved(parts);
    PROCESS_INFORMATION regedit;
    ASSERT_TRUE(StartProcess("regedit.exe /S \"" + OptimizerFixture("win95.reg") + "\"", &regedit));
    EndHelperProcess(&regedit, 30000);
    ASSERT_TRUE(PlaceFixtureFile("system.ini", WindowsFile("system.ini")));
    ASSERT_TRUE(PlaceFixtureFile("win.ini", WindowsFile("win.ini")));
    ASSERT_TRUE(PlaceFixtureFile("msdos.sys", kMsdosSys));
    SetFileAttributesA(kMsdosSys, FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    HKEY defaults;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kAppDefaults, 0, nullptr, 0, KEY_WRITE, nullptr, &defaults, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(defaults, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>("win95"), 6);
    RegCloseKey(defaults);
    const MachinePicture before = TakeMachinePicture(parts);

    HalvornProcess halvorn("optimizer");
    ASSERT_TRUE(halvorn.Start() && halvorn.WaitUntilRunning());
    HWND main = halvorn.WaitForDialog("Halvorn");
    ASSERT_NE(main, nullptr);
    PostMessageA(GetDlgItem(main, IDC_MAIN_SPEED), BM_CLICK, 0, 0);
    HWND speed = halvorn.WaitForDialog("Speed Up Hardware");
    ASSERT_NE(speed, nullptr);
    SetWindowPos(speed, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    PostMessageA(GetDlgItem(speed, IDC_SPEED_OPTIMIZE), BM_CLICK, 0, 0);
    HWND optimizer = halvorn.WaitForDialog("Hardware Optimizer");
    ASSERT_NE(optimizer, nullptr);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(optimizer, IDC_OPTIMIZE_REBOOT)));

    PostMessageA(optimizer, WM_COMMAND, MAKEWPARAM(IDC_OPTIMIZE_CPU, BN_CLICKED), LPARAM(GetDlgItem(optimizer, IDC_OPTIMIZE_CPU)));
    ASSERT_TRUE(AnswerBoosting(halvorn.Id(), IDCANCEL));
    EXPECT_EQ(DescribeDifferences(before, TakeMachinePicture(parts)), "") << "Cancel changed the machine";
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(optimizer, IDC_OPTIMIZE_REBOOT)));

    PostMessageA(optimizer, WM_COMMAND, MAKEWPARAM(IDC_OPTIMIZE_CPU, BN_CLICKED), LPARAM(GetDlgItem(optimizer, IDC_OPTIMIZE_CPU)));
    ASSERT_TRUE(AnswerBoosting(halvorn.Id(), IDOK));
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(GetDlgItem(optimizer, IDC_OPTIMIZE_REBOOT)) != 0; }, 5000, true))
        << "no restart offered after Boost";
    EXPECT_NE(FileText(kMsdosSys).find("BootDelay=0"), std::string::npos);
    const std::string systemIni = FileText(WindowsFile("system.ini"));
    for (const char* line : {"MinTimeSlice=30", "KeyBoostTime=0.1", "WindowUpdateTime=400"})
        EXPECT_NE(systemIni.find(line), std::string::npos) << line;
    // Read-only, hidden and system again after the write (the write itself marks it for archiving).
    const DWORD boot = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    EXPECT_EQ(GetFileAttributesA(kMsdosSys) & boot, boot);
    EXPECT_TRUE(WaitUntilDrawn(optimizer));
    SaveScreenshot("hardware-optimizer-e2e");

    PostMessageA(optimizer, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(optimizer); }, 5000, true));
    PostMessageA(speed, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(speed); }, 5000, true));
    ASSERT_TRUE(halvorn.Close());
}
