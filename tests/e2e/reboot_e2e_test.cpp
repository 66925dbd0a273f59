// Reboot from the hardware optimizer, in a Wine session of its own (the restart ends every
// program of the session): the program is asked to end with the session, saves its
// statistics and exits.
#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "halvorn_process.h"
#include "resources/ids_hardware.h"
#include "resources/ids_main.h"
#include "sampling/system_stats.h"
#include "wine_env.h"

TEST(RebootE2e, RebootEndsTheProgramThroughTheSessionEndWithItsStatisticsSaved)
{
    HalvornProcess halvorn("reboot");
    ASSERT_TRUE(halvorn.Start() && halvorn.WaitUntilRunning());
    HWND main = halvorn.WaitForDialog("Halvorn");
    ASSERT_NE(main, nullptr);
    HWND speed = halvorn.OpenFrom(main, IDC_MAIN_SPEED, "Speed Up Hardware");
    ASSERT_NE(speed, nullptr);
    HWND optimizer = halvorn.OpenFrom(speed, IDC_SPEED_OPTIMIZE, "Hardware Optimizer");
    ASSERT_NE(optimizer, nullptr);
    // Memory writes nothing and offers the restart.
    PostMessageA(optimizer, WM_COMMAND, MAKEWPARAM(IDC_OPTIMIZE_MEMORY, BN_CLICKED), LPARAM(GetDlgItem(optimizer, IDC_OPTIMIZE_MEMORY)));
    HWND boosting = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (boosting = FindProcessWindow(halvorn.Id(), "#32770", "Boosting")) && IsWindowVisible(boosting); },
                          10000, true));
    PostMessageA(boosting, WM_COMMAND, IDOK, 0);
    HWND reboot = GetDlgItem(optimizer, IDC_OPTIMIZE_REBOOT);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(reboot) != 0; }, 5000, true)) << "no restart offered";
    DeleteFileA(halvorn.StatsPath().c_str());

    PostMessageA(optimizer, WM_COMMAND, MAKEWPARAM(IDC_OPTIMIZE_REBOOT, BN_CLICKED), LPARAM(reboot));
    DWORD exitCode = 1;
    ASSERT_TRUE(halvorn.WaitForExit(30000, &exitCode)) << "the program did not end with the session";
    std::vector<unsigned char> saved;
    ASSERT_TRUE(ReadWholeFileBytes(halvorn.StatsPath(), &saved)) << "no statistics saved at the session end";
    EXPECT_EQ(saved.size(), kSystemStatsLength);
    EXPECT_EQ(exitCode, 0u) << "the program did not end the clean way";
}
