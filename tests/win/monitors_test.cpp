// Lamp monitors on this thread, fed a live sample of the test's own.
#include <gtest/gtest.h>

#include <string>

#include "analysis/monitors.h"
#include "app/app_globals.h"
#include "sampling/system_stats.h"

namespace {
std::string LampText(HWND monitor, int id)
{
    char text[8] = {};
    GetWindowTextA(GetDlgItem(monitor, id), text, sizeof text);
    return text;
}
void Pump()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}
}  // namespace

TEST(Monitors, LampsFollowTheLiveSampleAndUsageToggles)
{
    LiveSample sample = {};
    LiveSample* saved = gLiveSample;
    gLiveSample = &sample;
    NewDataReadyMessage = RegisterWindowMessageA("NEWDATAREADY");
    OpenMonitor(nullptr, 2806);  // System
    HWND system = MonitorWindows[0];
    ASSERT_NE(system, nullptr);
    OpenMonitor(nullptr, 2806);  // again: the same window
    EXPECT_EQ(MonitorWindows[0], system);
    EXPECT_TRUE(GetWindowLongPtrA(system, GWL_EXSTYLE) & WS_EX_TOPMOST);

    sample.cpuUsage = 1;
    SendMessageA(system, NewDataReadyMessage, 0, 0);
    EXPECT_EQ(LampText(system, 10101), "1");
    EXPECT_EQ(LampText(system, 10102), "0");
    sample.cpuUsage = 91;
    SendMessageA(system, NewDataReadyMessage, 0, 0);
    EXPECT_EQ(LampText(system, 10110), "1");

    OpenMonitor(nullptr, 2801);  // Usage opens...
    ASSERT_NE(MonitorWindows[5], nullptr);
    OpenMonitor(nullptr, 2801);  // ...and closes
    Pump();
    EXPECT_EQ(MonitorWindows[5], nullptr);
    OpenMonitor(nullptr, 9999);  // not a monitor: nothing happens

    SendMessageA(system, WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(MonitorWindows[0], nullptr);
    gLiveSample = saved;
}
