// The monitors of a running program: opened from the chooser that the status report's
// "Monitors" button shows, fed by the fixture's counters once a second, kept on top or not,
// and left open by "Close all programs".
#include <gtest/gtest.h>

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
    bool Click(int control)
    {
        DWORD_PTR result = 0;
        return SendMessageTimeoutA(GetDlgItem(chooser_, control), BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 5000, &result) != 0;
    }
    HWND Monitor(const char* title) { return FindProcessWindow(halvorn_.Id(), "#32770", title); }
    HWND Usage()
    {
        UsageSearch search{halvorn_.Id(), nullptr};
        EnumWindows(MatchUsage, LPARAM(&search));
        return search.found;
    }
    // The lamps of one row, "1" lit and "0" dark, left to right.
    static std::string Row(HWND monitor, int lampBase)
    {
        std::string lamps;
        for (int cell = 1; cell <= 10; ++cell) lamps += WindowText(GetDlgItem(monitor, lampBase + cell));
        return lamps;
    }
    static std::vector<DWORD_PTR> Icons(HWND usage)
    {
        std::vector<DWORD_PTR> icons(5);
        for (int i = 0; i < 5; ++i)
            SendMessageTimeoutA(GetDlgItem(usage, IDC_USAGE_CPU + i), STM_GETICON, 0, 0, SMTO_ABORTIFHUNG, 2000, &icons[i]);
        return icons;
    }
    static bool OnTop(HWND window) { return (GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

    HalvornProcess halvorn_{"monitors", true};
    HWND chooser_ = nullptr;
};

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
    HWND system = Monitor("System Monitor"), disk = Monitor("Disk Monitor"), usage = Usage();
    ASSERT_TRUE(system && disk && usage);
    EXPECT_TRUE(OnTop(system) && OnTop(disk) && OnTop(usage)) << "monitors start on top";
    PumpMessagesFor(3000);

    struct Case {
        HWND monitor;
        int lampBase;
        const char* lamps;
    } rows[] = {
        {system, 10100, "1111000000"},  // CPU
        {disk, 10210, "1111111111"},    // Write Size
        {disk, 10260, "0000000000"},    // Reads
    };
    for (const Case& row : rows) {
        SCOPED_TRACE(row.lampBase);
        EXPECT_EQ(Row(row.monitor, row.lampBase), row.lamps);
    }
    // Side by side, so the picture shows each of them.
    const struct {
        HWND window;
        int x, y;
    } places[] = {{system, 10, 10},  {disk, 10, 195},  {chooser_, 10, 405}, {Monitor("Memory Monitor"), 330, 10},
                  {Monitor("Software Monitor"), 330, 150}, {Monitor("Priority Map"), 600, 280}, {usage, 650, 10}};
    for (const auto& p : places) SetWindowPos(p.window, nullptr, p.x, p.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    PumpMessagesFor(1200);
    EXPECT_FALSE(SaveScreenshot("monitors").empty());

    // A right click pauses the usage monitor on its five labels; ticks leave them; a
    // second click resumes, and the next tick shows the same CPU figure as before.
    const std::vector<DWORD_PTR> running = Icons(usage);
    PostMessageA(usage, WM_RBUTTONDOWN, 0, 0);
    PumpMessagesFor(2200);
    const std::vector<DWORD_PTR> paused = Icons(usage);
    EXPECT_EQ(std::set<DWORD_PTR>(paused.begin(), paused.end()).size(), 5u);
    EXPECT_NE(paused[0], running[0]);
    EXPECT_FALSE(SaveScreenshot("usage_paused").empty());
    PostMessageA(usage, WM_RBUTTONDOWN, 0, 0);
    PumpMessagesFor(1500);
    EXPECT_EQ(Icons(usage)[0], running[0]);

    // Choosing "Usage" again closes it; choosing it a third time opens a new one.
    ASSERT_TRUE(Click(IDC_CHOOSE_USAGE));
    PumpMessagesFor(300);
    EXPECT_FALSE(IsWindow(usage));

    // The chooser's check box off: the next opening is not on top.
    ASSERT_TRUE(Click(IDC_CHOOSE_ON_TOP));
    EXPECT_EQ(IsDlgButtonChecked(chooser_, IDC_CHOOSE_ON_TOP), UINT(BST_UNCHECKED));
    ASSERT_TRUE(Click(IDC_CHOOSE_USAGE));
    usage = Usage();
    ASSERT_NE(usage, nullptr);
    EXPECT_FALSE(OnTop(usage));
    // The monitors' own menu toggles the flag back and raises every open one at once.
    DWORD_PTR result = 0;
    ASSERT_TRUE(SendMessageTimeoutA(usage, WM_SYSCOMMAND, kMonitorOnTopCommand, 0, SMTO_ABORTIFHUNG, 5000, &result));
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
    PumpMessagesFor(1000);
    EXPECT_TRUE(IsWindowVisible(system) && IsWindowVisible(disk) && IsWindowVisible(usage) && IsWindowVisible(report));
    EXPECT_TRUE(IsWindowVisible(main) && IsIconic(main));
    EXPECT_FALSE(SaveScreenshot("close_all").empty());
    DestroyWindow(activity);
    EXPECT_TRUE(halvorn_.Close());
}
