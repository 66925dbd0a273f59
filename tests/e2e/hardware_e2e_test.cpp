// The hardware tools of a running program: Speed Up Hardware's upgrade advisor over the
// program's own equipment record and a statistics file written beside it.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "box_watcher.h"
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
