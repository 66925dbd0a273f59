// Lamp monitors on this thread, fed a live sample of the test's own.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis/monitor_chooser.h"
#include "analysis/monitors.h"
#include "app/app_globals.h"
#include "resources/ids_monitors.h"
#include "sampling/system_stats.h"
#include "test_windows.h"

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

TEST(Monitors, UsageIconsShowTheSampleUntilPaused)
{
    LiveSample sample = {};
    sample.cpuUsage = 37;
    sample.videoLoad = 5;
    sample.diskActivity = 120;  // more than 99 shows 99
    sample.memoryLoad = 7;
    sample.pagingActivity = 42;
    static SystemStats stats;
    stats.keystrokes = 10;
    stats.secondsWithKeystrokes = 5;
    LiveSample* savedSample = gLiveSample;
    SystemStats* savedStats = gSystemStats;
    gLiveSample = &sample;
    gSystemStats = &stats;
    NewDataReadyMessage = RegisterWindowMessageA("NEWDATAREADY");
    OpenMonitor(nullptr, MONITOR_USAGE);
    HWND usage = MonitorWindows[5];
    ASSERT_NE(usage, nullptr);
    auto shows = [&](int controlId, int iconId) {
        return HICON(SendDlgItemMessageA(usage, controlId, STM_GETICON, 0, 0)) ==
               LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(iconId));
    };
    struct Case {
        int control, number, label;
    } cases[] = {
        {IDC_USAGE_CPU, 1737, IDI_USAGE_LABEL_CPU},       {IDC_USAGE_VIDEO, 1705, IDI_USAGE_LABEL_VIDEO},
        {IDC_USAGE_DISK, 1799, IDI_USAGE_LABEL_DISK},     {IDC_USAGE_MEMORY, 1742, IDI_USAGE_LABEL_MEMORY},
        {IDC_USAGE_TYPING, 1724, IDI_USAGE_LABEL_TYPING},  // 10 keys in 5 seconds: 24 words a minute
    };
    SendMessageA(usage, NewDataReadyMessage, 0, 0);
    for (const Case& c : cases) EXPECT_TRUE(shows(c.control, c.number)) << c.control;
    SendMessageA(usage, WM_RBUTTONDOWN, 0, 0);  // pause: labels, which new data leaves alone
    SendMessageA(usage, NewDataReadyMessage, 0, 0);
    for (const Case& c : cases) EXPECT_TRUE(shows(c.control, c.label)) << c.control;
    SendMessageA(usage, WM_RBUTTONDOWN, 0, 0);
    SendMessageA(usage, NewDataReadyMessage, 0, 0);
    EXPECT_TRUE(shows(IDC_USAGE_CPU, 1737));

    SendMessageA(usage, WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(MonitorWindows[5], nullptr);
    gLiveSample = savedSample;
    gSystemStats = savedStats;
}

namespace {
std::vector<WPARAM> gChosen;

LRESULT CALLBACK FakeSamplingWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == MonitorActiveMessage) {
        gChosen.push_back(wParam);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

struct ChooserRun {
    bool found = false;
    UINT checkedAtStart = 2;
};

// Reads the chooser's check box, clicks every monitor button and the check box, then OK.
DWORD WINAPI DriveChooser(LPVOID parameter)
{
    ChooserRun* run = static_cast<ChooserRun*>(parameter);
    HWND chooser = WaitForProcessWindow(GetCurrentProcessId(), "Monitors", 5000);
    if (!chooser) return 0;
    run->found = true;
    run->checkedAtStart = UINT(SendDlgItemMessageA(chooser, IDC_CHOOSE_ON_TOP, BM_GETCHECK, 0, 0));
    for (int id = IDC_CHOOSE_PRIORITIES; id <= IDC_CHOOSE_ON_TOP; ++id) SendDlgItemMessageA(chooser, id, BM_CLICK, 0, 0);
    PostMessageA(chooser, WM_COMMAND, IDOK, 0);
    return 0;
}
}  // namespace

TEST(MonitorChooser, ButtonsSendTheirMonitorAndTheCheckBoxTurnsKeepOnTopOver)
{
    MonitorActiveMessage = RegisterWindowMessageA("MONITORACTIVE");
    WNDCLASSA wc = {};
    wc.lpfnWndProc = FakeSamplingWindow;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "PDDynamic";
    RegisterClassA(&wc);
    HWND sampling = CreateWindowA("PDDynamic", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance, nullptr);
    ASSERT_NE(sampling, nullptr);
    for (bool onTop : {true, false}) {
        SCOPED_TRACE(onTop);
        KeepMonitorsOnTop = onTop;
        gChosen.clear();
        ChooserRun run;
        HANDLE driver = CreateThread(nullptr, 0, DriveChooser, &run, 0, nullptr);
        ShowMonitorChooser(nullptr);
        WaitForSingleObject(driver, 5000);
        CloseHandle(driver);
        ASSERT_TRUE(run.found);
        EXPECT_EQ(run.checkedAtStart, onTop ? UINT(BST_CHECKED) : UINT(BST_UNCHECKED));
        EXPECT_EQ(KeepMonitorsOnTop, !onTop);
        // Buttons 13401..13406 in id order: Priorities, Disk, Memory, Software, System, Usage.
        EXPECT_EQ(gChosen, (std::vector<WPARAM>{2804, 2802, 2803, 2805, 2806, 2801}));
    }
    DestroyWindow(sampling);
    UnregisterClassA("PDDynamic", GetModuleHandleA(nullptr));
    KeepMonitorsOnTop = true;
}

TEST(PriorityMap, ListsThisProgramFirstAtItsClassAndThreadPriority)
{
    HWND program = CreateWindowA("STATIC", "Probe Program", WS_POPUP | WS_VISIBLE, 0, 0, 50, 20, nullptr, nullptr,
                                 nullptr, nullptr);
    ASSERT_TRUE(SetPriorityClass(GetCurrentProcess(), HIGH_PRIORITY_CLASS));
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_HIGHEST);
    NewDataReadyMessage = RegisterWindowMessageA("NEWDATAREADY");
    OpenMonitor(nullptr, MONITOR_PRIORITY);
    HWND map = MonitorWindows[4];
    ASSERT_NE(map, nullptr);
    SendMessageA(map, NewDataReadyMessage, 0, 0);
    SetPriorityClass(GetCurrentProcess(), NORMAL_PRIORITY_CLASS);
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_NORMAL);

    char name[64] = {};
    GetDlgItemTextA(map, IDC_PRIORITY_FIRST_ROW, name, sizeof name);
    EXPECT_STREQ(name, "Probe Program");  // the map's own tool window names no program
    std::string lamps;
    for (int cell = 0; cell < 12; ++cell) lamps += LampText(map, IDC_PRIORITY_FIRST_ROW + 1 + cell);
    EXPECT_EQ(lamps, "000000001000");  // High, above the class's base (13 + 2)
    SendMessageA(map, WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(MonitorWindows[4], nullptr);
    DestroyWindow(program);
}
