// The road from the main dialog to the status report: Halvorn under Xvfb with fixture
// counters, ticks kept sampling by key presses, the lists read back from outside.
#include <gtest/gtest.h>

#include <algorithm>
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

// Drive D: on a 10,000,000-byte memory file system for one test, so the free space is known.
struct SmallDriveD {
    std::string folder = std::string(getenv("HALVORN_RUN_DIR") ? getenv("HALVORN_RUN_DIR") : "") + "/drives/d";
    bool mounted = RunHostCommand("mount -t tmpfs -o size=10000000 halvorn-d " + folder);
    ~SmallDriveD()
    {
        if (mounted) RunHostCommand("umount " + folder);
    }
};

struct ActivityWindow {
    HWND window = CreateWindowA("STATIC", "activity", WS_POPUP | WS_VISIBLE | WS_BORDER, 10, 700, 100, 40, nullptr,
                                nullptr, nullptr, nullptr);
    ~ActivityWindow() { DestroyWindow(window); }
};

TEST(MainDialogE2e, FromTheMainDialogToALiveStatusReport)
{
    SmallDriveD smallDrive;
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

    const std::vector<std::pair<int, std::string>> buttons = {
        {IDC_MAIN_HARDWARE, "Hardware"}, {IDC_MAIN_WINDOWS, "Windows"}, {IDC_MAIN_CONFLICTS, "Software Conflicts"},
        {IDC_MAIN_SPEED, "Speed Up Hardware"}, {IDC_MAIN_TUNE, "Tune Windows"},
        {IDC_MAIN_PRIORITIES, "Change Program Priorities"}, {IDC_MAIN_TIPS, "Tips"},
        {IDC_MAIN_APPEARANCE, "Program Appearance"}, {IDC_MAIN_STATUS, "Status Report"},
        {IDC_MAIN_LIBRARY, "Reference Library"}};
    int previousTop = -1;
    for (const auto& button : buttons) {
        SCOPED_TRACE(button.second);
        HWND control = GetDlgItem(main, button.first);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(WindowText(control), button.second);
        RECT r;
        GetWindowRect(control, &r);
        EXPECT_GT(r.top, previousTop);  // one column, top to bottom in this order
        previousTop = r.top;
    }
    ASSERT_NE(GetMenu(main), nullptr);
    // Wine answers menu questions only inside the menu's process: read the program's own
    // menu resource, the one the dialog template names.
    HMODULE program = LoadLibraryExA(gHalvornExe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    HMENU menu = LoadMenuA(program, MAKEINTRESOURCEA(IDR_MAIN_MENU));
    ASSERT_NE(menu, nullptr);
    const std::vector<std::vector<std::pair<int, std::string>>> popups = {
        {{IDM_CLOSE_ALL, "&Close all programs"}, {2, "E&xit"}},
        {{1901, "Fix &hardware problems"}, {1902, "Fix &Windows problems"}, {1903, "Fix &software conflicts"}},
        {{1904, "&Speed-up hardware"}, {1905, "&Tune Windows"}, {1906, "Change program &priorities"},
         {1907, "Customize program &appearance"}},
        {{1910, "&Status report"}, {1911, "&Tips"}, {1912, "&Reference library"}},
        {{1913, "&Help"}, {1915, "&About Halvorn"}}};
    ASSERT_EQ(GetMenuItemCount(menu), 5);
    for (size_t p = 0; p < popups.size(); ++p) {
        HMENU popup = GetSubMenu(menu, int(p));
        for (const auto& item : popups[p]) {
            SCOPED_TRACE(item.second);
            char text[64] = "";
            GetMenuStringA(popup, UINT(item.first), text, sizeof text, MF_BYCOMMAND);
            EXPECT_EQ(std::string(text), item.second);
        }
    }
    DestroyMenu(menu);
    FreeLibrary(program);
    SaveScreenshot("main-dialog");

    // The button opens the status report; the command again, while it is open, brings that
    // one forward instead of opening a second.
    SendMessageA(GetDlgItem(main, IDC_MAIN_STATUS), BM_CLICK, 0, 0);
    HWND first = halvorn.WaitForDialog("Status Report");
    ASSERT_NE(first, nullptr);
    PumpWhileActive(3000);
    EXPECT_EQ(Line(first, IDC_STATUS_USAGE_LIST, 0), "\x01" "CCPU\t%37");
    PostMessageA(main, WM_COMMAND, IDC_MAIN_STATUS, 0);
    EXPECT_EQ(halvorn.WaitForDialog("Status Report", {first}, 2000), nullptr) << "a second status report opened";
    counters.Set("KERNEL\\CPUUsage", 100);
    PumpWhileActive(3000);
    // Still refreshing, and a full processor is written as the largest two-digit bar value.
    EXPECT_EQ(Line(first, IDC_STATUS_USAGE_LIST, 0), "\x01" "CCPU\t%99");
    // Closed and opened again, the new report is the one that refreshes.
    PostMessageA(first, WM_COMMAND, IDCANCEL, 0);
    for (int i = 0; i < 100 && IsWindow(first); ++i) PumpMessagesFor(50);
    ASSERT_FALSE(IsWindow(first));
    PostMessageA(main, WM_COMMAND, IDC_MAIN_STATUS, 0);
    HWND report = halvorn.WaitForDialog("Status Report");
    ASSERT_NE(report, nullptr);
    counters.Set("KERNEL\\CPUUsage", 55);
    PumpWhileActive(3000);
    EXPECT_EQ(Line(report, IDC_STATUS_USAGE_LIST, 0), "\x01" "CCPU\t%55");
    counters.Set("KERNEL\\CPUUsage", 100);  // the picture shows a full processor bar

    const std::vector<std::string> hints = ListBoxLines(GetDlgItem(report, IDC_STATUS_COACH_LIST));
    EXPECT_NE(std::find(hints.begin(), hints.end(), "Drive D: less than 10MB free space"), hints.end());
    const std::vector<std::string> firstPage = ListBoxLines(GetDlgItem(report, IDC_STATUS_INVENTORY_LIST));
    SetWindowPos(main, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SetWindowPos(report, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    PumpWhileActive(10500);
    EXPECT_NE(ListBoxLines(GetDlgItem(report, IDC_STATUS_INVENTORY_LIST)), firstPage) << "the page did not advance";
    SaveScreenshot("status-report");

    // A file written on D: shows in File Changes.
    ASSERT_TRUE(WriteWholeFile("D:\\CHANGED.TXT", "changed", 7));
    PumpWhileActive(1000);
    PostMessageA(GetDlgItem(report, IDC_STATUS_FILE_CHANGES), BM_CLICK, 0, 0);
    HWND changes = halvorn.WaitForDialog("File Changes");
    ASSERT_NE(changes, nullptr);
    HWND drives = GetDlgItem(changes, IDC_CHANGES_DRIVES);
    const std::vector<std::string> letters = ListBoxLines(drives);
    const auto d = std::find(letters.begin(), letters.end(), "D:");
    ASSERT_NE(d, letters.end());
    SendMessageA(drives, LB_SETCURSEL, WPARAM(d - letters.begin()), 0);
    SendMessageA(changes, WM_COMMAND, MAKEWPARAM(IDC_CHANGES_DRIVES, LBN_SELCHANGE), LPARAM(drives));
    EXPECT_GE(std::stoi(WindowText(GetDlgItem(changes, IDC_CHANGES_TOTAL))), 1);
    EXPECT_GE(std::stoi(WindowText(GetDlgItem(changes, IDC_CHANGES_WRITTEN))), 1);
    PostMessageA(changes, WM_COMMAND, IDOK, 0);
    Sleep(300);
    DeleteFileA("D:\\CHANGED.TXT");

    // Applications lists the program itself; choosing it shows its file, kind, threads and
    // modules. (Wine's toolhelp returns no heap lists, so the heap figures read 0 there.)
    SetWindowPos(report, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    PostMessageA(GetDlgItem(report, IDC_STATUS_APPLICATIONS), BM_CLICK, 0, 0);
    HWND apps = halvorn.WaitForDialog("Applications");
    ASSERT_NE(apps, nullptr);
    HWND programs = GetDlgItem(apps, IDC_APPS_LIST);
    LRESULT self = -1;
    for (LRESULT i = 0, n = SendMessageA(programs, LB_GETCOUNT, 0, 0); i < n && self < 0; ++i)
        if (DWORD(SendMessageA(programs, LB_GETITEMDATA, WPARAM(i), 0)) == halvorn.Id()) self = i;
    ASSERT_GE(self, 0) << "the program does not list itself";
    SendMessageA(programs, LB_SETCURSEL, WPARAM(self), 0);
    SendMessageA(apps, WM_COMMAND, MAKEWPARAM(IDC_APPS_LIST, LBN_SELCHANGE), LPARAM(programs));
    EXPECT_NE(WindowText(GetDlgItem(apps, IDC_APPS_FILE)).find("halvorn.exe"), std::string::npos);
    EXPECT_EQ(WindowText(GetDlgItem(apps, IDC_APPS_KIND)), "32-bit Windows");
    EXPECT_GE(std::stoi(WindowText(GetDlgItem(apps, IDC_APPS_THREADS))), 3);  // main, sampling, input
    EXPECT_GE(std::stoi(WindowText(GetDlgItem(apps, IDC_APPS_MODULES))), 3);
    PostMessageA(apps, WM_COMMAND, IDOK, 0);
    Sleep(300);

    // The file inventory of 32-bit programs on the fixed drives (Wine's own programs on C:).
    SetWindowPos(report, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    PostMessageA(GetDlgItem(report, IDC_STATUS_FILE_INVENTORY), BM_CLICK, 0, 0);
    HWND inventory = halvorn.WaitForDialog("File Inventory");
    ASSERT_NE(inventory, nullptr);
    PostMessageA(GetDlgItem(inventory, IDC_INVENTORY_WIN95), BM_CLICK, 0, 0);
    HWND rows = GetDlgItem(inventory, IDC_INVENTORY_LIST);
    for (int i = 0; i < 600 && SendMessageA(rows, LB_GETCOUNT, 0, 0) < 2; ++i) PumpMessagesFor(100);
    const std::vector<std::string> inventoryLines = ListBoxLines(rows);
    ASSERT_GE(inventoryLines.size(), 2u);
    EXPECT_EQ(inventoryLines[0].rfind("\x06\x01" "CName\t", 0), 0u) << inventoryLines[0];
    EXPECT_NE(std::find_if(inventoryLines.begin(), inventoryLines.end(),
                           [](const std::string& l) { return l.find("\x01" "YNOTEPAD.EXE\t") == 0 ||
                                                             l.find("\x01" "Ynotepad.exe\t") == 0; }),
              inventoryLines.end());
    PumpMessagesFor(500);
    SaveScreenshot("file-inventory");
    PostMessageA(inventory, WM_COMMAND, IDOK, 0);
    Sleep(300);
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
