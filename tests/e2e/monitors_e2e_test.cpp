// The monitors of a running program: opened from the chooser that the status report's
// "Monitors" button shows, fed by the fixture's counters once a second, kept on top or not,
// and left open by "Close all programs".
#include <gtest/gtest.h>

#include <windows.h>
#include <tlhelp32.h>

#include <algorithm>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "analysis/monitors.h"
#include "box_watcher.h"
#include "dynamic_data.h"
#include "halvorn_process.h"
#include "resources/ids_main.h"
#include "resources/ids_monitors.h"
#include "resources/ids_status.h"
#include "wine_env.h"

namespace {

struct UsageSearch {
    DWORD processId;
    HWND found;
};

// The usage monitor has no caption: it is the program's dialog with the CPU icon.
BOOL CALLBACK MatchUsage(HWND window, LPARAM parameter)
{
    UsageSearch* search = reinterpret_cast<UsageSearch*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId || !GetDlgItem(window, IDC_USAGE_CPU)) return TRUE;
    search->found = window;
    return FALSE;
}

class Monitors : public testing::Test {
protected:
    // Opens the chooser the way a user does: main dialog, "Status Report", "Monitors".
    HWND OpenChooser()
    {
        HWND main = halvorn_.WaitForDialog("Halvorn");
        if (!main) return nullptr;
        PostMessageA(GetDlgItem(main, IDC_MAIN_STATUS), BM_CLICK, 0, 0);
        HWND report = halvorn_.WaitForDialog("Status Report");
        if (!report) return nullptr;
        // A click activates the window first; under Wine a button of an inactive window
        // loses a posted BM_CLICK.
        SetWindowPos(report, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        PostMessageA(GetDlgItem(report, IDC_STATUS_MONITORS), BM_CLICK, 0, 0);
        return chooser_ = halvorn_.WaitForDialog("Monitors");
    }
    // Presses a chooser button; its handler returns once the sampling thread has acted.
    bool Click(int control) { return SendWithTimeout(GetDlgItem(chooser_, control), BM_CLICK) != -1; }
    HWND Monitor(const char* title) { return FindProcessWindow(halvorn_.Id(), "#32770", title); }
    HWND Usage()
    {
        UsageSearch search{halvorn_.Id(), nullptr};
        EnumWindows(MatchUsage, LPARAM(&search));
        return search.found;
    }
    // The lamps of one row, "1" lit and "0" dark, left to right, as each lamp's user data
    // tells.
    static std::string Row(HWND monitor, int firstLampId, int cells = 10)
    {
        std::string lamps;
        for (int cell = 0; cell < cells; ++cell)
            lamps += GetWindowLongPtrA(GetDlgItem(monitor, firstLampId + cell), GWLP_USERDATA) ? '1' : '0';
        return lamps;
    }
    // Waits until the row shows what expected() gives (asked again on every look, for
    // figures of the running system that may move); fails naming the row and both texts.
    static testing::AssertionResult RowBecomes(HWND monitor, int firstLampId, const std::function<std::string()>& expected,
                                               int cells = 10)
    {
        if (WaitUntil([&] { return Row(monitor, firstLampId, cells) == expected(); }, 8000, true))
            return testing::AssertionSuccess();
        return testing::AssertionFailure() << "lamps " << firstLampId << ".. read " << Row(monitor, firstLampId, cells)
                                           << ", expected " << expected();
    }
    static testing::AssertionResult RowBecomes(HWND monitor, int firstLampId, const std::string& expected, int cells = 10)
    {
        return RowBecomes(monitor, firstLampId, [&] { return expected; }, cells);
    }
    // The priority map's row whose program name is name; 0 when none is.
    static int PriorityRowNamed(HWND map, const std::string& name)
    {
        for (int row = 0; row < 10; ++row) {
            const int nameId = IDC_PRIORITY_FIRST_ROW + row * IDC_PRIORITY_ROW_STEP;
            if (WindowText(GetDlgItem(map, nameId)) == name) return nameId;
        }
        return 0;
    }
    static std::vector<DWORD_PTR> Icons(HWND usage)
    {
        std::vector<DWORD_PTR> icons(5);
        for (int i = 0; i < 5; ++i) icons[i] = DWORD_PTR(SendWithTimeout(GetDlgItem(usage, IDC_USAGE_CPU + i), STM_GETICON));
        return icons;
    }
    static bool OnTop(HWND window) { return (GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

    HalvornProcess halvorn_{"monitors", true};
    HWND chooser_ = nullptr;
};

// Lamps lit from the left for a level 0..10.
std::string Lit(int level)
{
    level = std::max(0, std::min(10, level));
    return std::string(size_t(level), '1') + std::string(size_t(10 - level), '0');
}

// The running system's figures that two rows show, read by the test as the program reads them.
int MemoryLoad()
{
    MEMORYSTATUSEX status = {sizeof status};
    GlobalMemoryStatusEx(&status);
    return int(status.dwMemoryLoad);
}

int ProcessCount()
{
    int count = 0;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry = {sizeof entry};
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) ++count;
    CloseHandle(snapshot);
    return count;
}

}  // namespace

TEST_F(Monitors, OpenFromTheChooserFollowTheCountersAndKeepOnTop)
{
    DynamicDataFixture counters;
    ASSERT_TRUE(counters.IsOpen());
    // CPU 37 lights four lamps; nothing written per write leaves "Write Size" full; counters
    // that do not move read as no disk traffic.
    counters.SetAll(37, 100, 50, 4096, 0, 10, 5);
    HWND activity = CreateWindowA("STATIC", "activity", WS_POPUP | WS_VISIBLE | WS_BORDER, 10, 10, 100, 40, nullptr,
                                  nullptr, nullptr, nullptr);
    ASSERT_TRUE(halvorn_.Start());
    ASSERT_TRUE(halvorn_.WaitUntilRunning());
    ASSERT_TRUE(RunHostCommand("xdotool search --name 'Wine desktop' windowfocus --sync key Shift_L"));

    ASSERT_NE(OpenChooser(), nullptr);
    EXPECT_EQ(IsDlgButtonChecked(chooser_, IDC_CHOOSE_ON_TOP), UINT(BST_CHECKED));
    for (int control : {IDC_CHOOSE_SYSTEM, IDC_CHOOSE_DISK, IDC_CHOOSE_MEMORY, IDC_CHOOSE_SOFTWARE,
                        IDC_CHOOSE_PRIORITIES, IDC_CHOOSE_USAGE})
        ASSERT_TRUE(Click(control)) << control;
    HWND system = Monitor("System Monitor"), disk = Monitor("Disk Monitor"), memory = Monitor("Memory Monitor"),
         software = Monitor("Software Monitor"), priority = Monitor("Priority Map"), usage = Usage();
    ASSERT_TRUE(system && disk && memory && software && priority && usage)
        << "open: system " << system << ", disk " << disk << ", memory " << memory << ", software " << software
        << ", priority " << priority << ", usage " << usage;
    for (HWND monitor : {system, disk, memory, software, priority, usage})
        EXPECT_TRUE(OnTop(monitor)) << "monitors start on top: " << WindowText(monitor);

    // Each monitor shows what the fixture's counters (or the running system, read the same
    // way here) give, once a tick has reached it.
    const struct {
        const char* row;
        HWND monitor;
        int firstLamp;
        std::function<std::string()> lamps;
    } rows[] = {
        {"System CPU", system, 10101, [] { return Lit(4); }},  // 37 %
        {"System Memory", system, 10141, [] { return Lit(0); }},  // paging counters that do not move
        {"Disk Write Size", disk, 10211, [] { return Lit(10); }},  // nothing written per write: all used
        {"Disk Reads", disk, 10261, [] { return Lit(0); }},
        {"Memory Load", memory, 10351, [] { return Lit((MemoryLoad() + 9) / 10); }},
        {"Memory Usage", memory, 10311, [] { return Lit(0); }},
        {"Software Process", software, 10411, [] { return Lit(std::min(ProcessCount(), 500) / 5); }},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.row);
        EXPECT_TRUE(RowBecomes(row.monitor, row.firstLamp, row.lamps));
    }
    // The test's own window is a program of normal priority: its lamp is the second of the
    // normal group.
    int activityRow = 0;
    EXPECT_TRUE(WaitUntil([&] { return (activityRow = PriorityRowNamed(priority, "activity")) != 0; }, 8000, true))
        << "the priority map does not name the test's window";
    if (activityRow) EXPECT_TRUE(RowBecomes(priority, activityRow + 1, "000010000000", 12));
    // The usage monitor shows figures: 37 for the processor, 0 for the disk and paging
    // counters that do not move (one icon, the figure 0).
    EXPECT_TRUE(WaitUntil([&] {
        const std::vector<DWORD_PTR> icons = Icons(usage);
        return icons[2] && icons[2] == icons[3] && icons[0] && icons[0] != icons[2];
    }, 8000, true)) << "usage icons for 37 and 0 are not shown";

    // Side by side, so the picture shows each of them.
    const struct {
        HWND window;
        int x, y;
    } places[] = {{system, 10, 10},  {disk, 10, 195},  {chooser_, 10, 405}, {memory, 330, 10},
                  {software, 330, 150}, {priority, 600, 280}, {usage, 650, 10}};
    for (const auto& p : places) SetWindowPos(p.window, nullptr, p.x, p.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(WaitUntilDrawn(priority)) << "the monitors kept changing";
    EXPECT_FALSE(SaveScreenshot("monitors").empty());

    // A right click pauses the usage monitor on its five labels; ticks leave them (a tick
    // shows: the System monitor's CPU row goes dark with the counter); a second click
    // resumes, and the next tick shows the figures again, the processor's now 0 like the disk's.
    const std::vector<DWORD_PTR> running = Icons(usage);
    PostMessageA(usage, WM_RBUTTONDOWN, 0, 0);
    std::vector<DWORD_PTR> paused;
    EXPECT_TRUE(WaitUntil([&] {
        paused = Icons(usage);
        return std::set<DWORD_PTR>(paused.begin(), paused.end()).size() == 5u && paused[0] != running[0];
    }, 5000, true)) << "the usage monitor did not show its five labels";
    counters.Set("KERNEL\\CPUUsage", 0);
    EXPECT_TRUE(RowBecomes(system, 10101, Lit(0)));
    EXPECT_EQ(Icons(usage), paused) << "a tick changed the paused monitor";
    EXPECT_FALSE(SaveScreenshot("usage_paused").empty());
    PostMessageA(usage, WM_RBUTTONDOWN, 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return Icons(usage)[0] == running[2]; }, 5000, true))
        << "the resumed monitor does not show the processor's 0";
    counters.Set("KERNEL\\CPUUsage", 37);
    EXPECT_TRUE(WaitUntil([&] { return Icons(usage)[0] == running[0]; }, 5000, true))
        << "the processor's 37 did not come back";

    // Choosing "Usage" again closes it; choosing it a third time opens a new one.
    ASSERT_TRUE(Click(IDC_CHOOSE_USAGE));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(usage); }, 5000, true)) << "the usage monitor stayed open";

    // The chooser's check box off: the next opening is not on top.
    ASSERT_TRUE(Click(IDC_CHOOSE_ON_TOP));
    EXPECT_EQ(IsDlgButtonChecked(chooser_, IDC_CHOOSE_ON_TOP), UINT(BST_UNCHECKED));
    ASSERT_TRUE(Click(IDC_CHOOSE_USAGE));
    usage = Usage();
    ASSERT_NE(usage, nullptr);
    EXPECT_FALSE(OnTop(usage));
    // The monitors' own menu toggles the flag back and raises every open one at once.
    ASSERT_NE(SendWithTimeout(usage, WM_SYSCOMMAND, kMonitorOnTopCommand), -1);
    EXPECT_TRUE(OnTop(system) && OnTop(disk) && OnTop(usage));

    // Choosing an open lamp monitor brings it forward rather than making a second one.
    ASSERT_TRUE(Click(IDC_CHOOSE_SYSTEM));
    EXPECT_EQ(Monitor("System Monitor"), system);
    PostMessageA(chooser_, WM_COMMAND, IDOK, 0);

    // "Close all programs" leaves the program's own windows open and its main dialog on the
    // task bar, minimised.
    HWND main = halvorn_.WaitForDialog("Halvorn"), report = Monitor("Status Report");
    {
        BoxWatcher boxes(halvorn_.Id(), IDYES);
        PostMessageA(main, WM_COMMAND, IDM_CLOSE_ALL, 0);
        ASSERT_TRUE(boxes.WaitForBox("Close All Programs?", 5000));
    }
    EXPECT_TRUE(WaitUntil([&] { return IsIconic(main) != 0; }, 5000, true)) << "the main dialog was not minimised";
    // A close asked of a monitor would reach its thread before the next tick's refresh:
    // once a tick shows, any such close has been carried out.
    counters.Set("KERNEL\\CPUUsage", 55);
    EXPECT_TRUE(RowBecomes(system, 10101, Lit(6)));
    for (HWND own : {system, disk, memory, software, priority, usage, report})
        EXPECT_TRUE(IsWindowVisible(own)) << "closed: " << WindowText(own);
    EXPECT_TRUE(IsWindowVisible(main));
    EXPECT_FALSE(SaveScreenshot("close_all").empty());
    DestroyWindow(activity);
    EXPECT_TRUE(halvorn_.Close());
}
