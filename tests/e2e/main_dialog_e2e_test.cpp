// The road from the main dialog to the status report: Halvorn under Xvfb with fixture
// counters, ticks kept sampling by key presses, the lists read back from outside.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "box_watcher.h"
#include "dynamic_data.h"
#include "halvorn_process.h"
#include "resources/ids_inventory.h"
#include "resources/ids_main.h"
#include "resources/ids_status.h"
#include "test_windows.h"
#include "wine_env.h"

namespace {

std::string Line(HWND dialog, int listId, size_t index)
{
    const std::vector<std::string> lines = ListBoxLines(GetDlgItem(dialog, listId));
    return index < lines.size() ? lines[index] : std::string();
}

bool HasLine(HWND dialog, int listId, const std::string& line)
{
    const std::vector<std::string> lines = ListBoxLines(GetDlgItem(dialog, listId));
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// Waits, keeping the program sampling, until the report's first usage line is the CPU line
// with this figure.
testing::AssertionResult ShowsUsageLine(HWND report, const std::string& figure)
{
    const std::string expected = "\x01" "CCPU\t" + figure;
    if (WaitWhileActive([&] { return Line(report, IDC_STATUS_USAGE_LIST, 0) == expected; }, 10000))
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << "the first usage line stayed \"" << Line(report, IDC_STATUS_USAGE_LIST, 0)
                                       << "\", not the CPU at " << figure;
}

// Presses OK and waits until the dialog is gone.
bool CloseDialog(HWND dialog)
{
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    return WaitUntil([&] { return !IsWindow(dialog); }, 5000, true);
}

struct ActivityWindow {
    HWND window = CreateWindowA("STATIC", "activity", WS_POPUP | WS_VISIBLE | WS_BORDER, 10, 700, 100, 40, nullptr,
                                nullptr, nullptr, nullptr);
    ~ActivityWindow() { DestroyWindow(window); }
};

TEST(MainDialogE2e, FromTheMainDialogToALiveStatusReport)
{
    MemoryDrive smallDrive('D', "10000000");  // so the coach's free-space hint is known
    ASSERT_TRUE(smallDrive.mounted) << "cannot mount a small file system on " << smallDrive.folder;
    DynamicDataFixture counters;
    ASSERT_TRUE(counters.IsOpen());
    counters.SetAll(37, 100, 50, 4096, 2048, 10, 5);
    ActivityWindow activity;
    HalvornProcess halvorn("main_dialog", true);
    ASSERT_TRUE(halvorn.Start());
    ASSERT_TRUE(halvorn.WaitUntilRunning());
    HWND main = halvorn.WaitForDialog("Halvorn");
    ASSERT_NE(main, nullptr);
    SaveScreenshot("main-dialog");

    // The button opens the status report, which refreshes from the counters. (That the
    // command brings an open report forward and keeps it the tick's target is checked in the
    // program's process by the Win32 tests.)
    SendWithTimeout(GetDlgItem(main, IDC_MAIN_STATUS), BM_CLICK);
    HWND report = halvorn.WaitForDialog("Status Report");
    ASSERT_NE(report, nullptr);
    EXPECT_TRUE(ShowsUsageLine(report, "%37"));
    counters.Set("KERNEL\\CPUUsage", 100);

    const std::string hint = "Drive D: less than 10MB free space";
    EXPECT_TRUE(WaitUntil([&] { return HasLine(report, IDC_STATUS_COACH_LIST, hint); }, 5000)) << "no hint: " << hint;
    const std::vector<std::string> firstPage = ListBoxLines(GetDlgItem(report, IDC_STATUS_INVENTORY_LIST));
    SetWindowPos(main, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SetWindowPos(report, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    // The inventory pages take turns every ten refreshes.
    EXPECT_TRUE(WaitWhileActive([&] { return ListBoxLines(GetDlgItem(report, IDC_STATUS_INVENTORY_LIST)) != firstPage; },
                                25000))
        << "the page did not advance";
    // A full processor is written as the largest two-digit bar value (the picture: a full bar).
    EXPECT_TRUE(ShowsUsageLine(report, "%99"));
    SaveScreenshot("status-report");

    // A file written on D: shows in File Changes.
    ASSERT_TRUE(WriteWholeFile("D:\\CHANGED.TXT", "changed", 7));
    PostMessageA(GetDlgItem(report, IDC_STATUS_FILE_CHANGES), BM_CLICK, 0, 0);
    HWND changes = halvorn.WaitForDialog("File Changes");
    ASSERT_NE(changes, nullptr);
    HWND drives = GetDlgItem(changes, IDC_CHANGES_DRIVES);
    const std::vector<std::string> letters = ListBoxLines(drives);
    const auto d = std::find(letters.begin(), letters.end(), "D:");
    ASSERT_NE(d, letters.end());
    // Choosing the drive shows its counts as they are then; the change notification may
    // come a little after the write, so the drive is chosen again until it counts.
    std::string total, written;
    EXPECT_TRUE(WaitUntil([&] {
        SendWithTimeout(drives, LB_SETCURSEL, WPARAM(d - letters.begin()));
        SendWithTimeout(changes, WM_COMMAND, MAKEWPARAM(IDC_CHANGES_DRIVES, LBN_SELCHANGE), LPARAM(drives));
        total = WindowText(GetDlgItem(changes, IDC_CHANGES_TOTAL));
        written = WindowText(GetDlgItem(changes, IDC_CHANGES_WRITTEN));
        return atoi(total.c_str()) >= 1 && atoi(written.c_str()) >= 1;
    }, 5000)) << "D: counts " << total << " changes, " << written << " written";
    ASSERT_TRUE(CloseDialog(changes));
    DeleteFileA("D:\\CHANGED.TXT");

    // Applications lists the program itself; choosing it shows its file, kind, threads and
    // modules. (Wine's toolhelp returns no heap lists, so the heap figures read 0 there.)
    SetWindowPos(report, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    PostMessageA(GetDlgItem(report, IDC_STATUS_APPLICATIONS), BM_CLICK, 0, 0);
    HWND apps = halvorn.WaitForDialog("Applications");
    ASSERT_NE(apps, nullptr);
    HWND programs = GetDlgItem(apps, IDC_APPS_LIST);
    LRESULT self = -1;
    for (LRESULT i = 0, n = SendWithTimeout(programs, LB_GETCOUNT); i < n && self < 0; ++i)
        if (DWORD(SendWithTimeout(programs, LB_GETITEMDATA, WPARAM(i))) == halvorn.Id()) self = i;
    ASSERT_GE(self, 0) << "the program does not list itself";
    SendWithTimeout(programs, LB_SETCURSEL, WPARAM(self));
    SendWithTimeout(apps, WM_COMMAND, MAKEWPARAM(IDC_APPS_LIST, LBN_SELCHANGE), LPARAM(programs));
    EXPECT_NE(WindowText(GetDlgItem(apps, IDC_APPS_FILE)).find("halvorn.exe"), std::string::npos);
    EXPECT_EQ(WindowText(GetDlgItem(apps, IDC_APPS_KIND)), "32-bit Windows");
    EXPECT_GE(atoi(WindowText(GetDlgItem(apps, IDC_APPS_THREADS)).c_str()), 3);  // main, sampling, input
    EXPECT_GE(atoi(WindowText(GetDlgItem(apps, IDC_APPS_MODULES)).c_str()), 3);
    ASSERT_TRUE(CloseDialog(apps));

    // The file inventory of 32-bit programs on the fixed drives (Wine's own programs on C:).
    SetWindowPos(report, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    PostMessageA(GetDlgItem(report, IDC_STATUS_FILE_INVENTORY), BM_CLICK, 0, 0);
    HWND inventory = halvorn.WaitForDialog("File Inventory");
    ASSERT_NE(inventory, nullptr);
    PostMessageA(GetDlgItem(inventory, IDC_INVENTORY_WIN95), BM_CLICK, 0, 0);
    HWND rows = GetDlgItem(inventory, IDC_INVENTORY_LIST);
    ASSERT_TRUE(WaitUntil([&] { return SendWithTimeout(rows, LB_GETCOUNT) >= 2; }, 60000, true))
        << "the inventory listed nothing";
    const std::vector<std::string> inventoryLines = ListBoxLines(rows);
    ASSERT_GE(inventoryLines.size(), 2u);
    EXPECT_EQ(inventoryLines[0].rfind("\x06\x01" "CName\t", 0), 0u) << inventoryLines[0];
    EXPECT_NE(std::find_if(inventoryLines.begin(), inventoryLines.end(),
                           [](const std::string& l) { return l.find("\x01" "YNOTEPAD.EXE\t") == 0 ||
                                                             l.find("\x01" "Ynotepad.exe\t") == 0; }),
              inventoryLines.end());
    EXPECT_TRUE(WaitUntilDrawn(inventory)) << "the file inventory kept changing";
    SaveScreenshot("file-inventory");
    ASSERT_TRUE(CloseDialog(inventory));
    ASSERT_TRUE(halvorn.Close());
}

TEST(MainDialogE2e, FileExitEndsTheProgramAndSavesTheStatistics)
{
    HalvornProcess halvorn("main_exit");
    ASSERT_TRUE(halvorn.Start());
    ASSERT_TRUE(halvorn.WaitUntilRunning());
    HWND main = halvorn.WaitForDialog("Halvorn");
    ASSERT_NE(main, nullptr);
    PostMessageA(main, WM_COMMAND, 2, 0);  // File > Exit
    DWORD exitCode = 1;
    ASSERT_TRUE(halvorn.WaitForExit(10000, &exitCode));
    EXPECT_EQ(exitCode, 0u);
    EXPECT_TRUE(PathExists(halvorn.StatsPath()));
}

}  // namespace
