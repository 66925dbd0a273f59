// Customize Program Appearance in the running program: from the main dialog, a window of
// this test process is chosen, hidden and shown again.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "halvorn_process.h"
#include "resources/ids_boost.h"
#include "resources/ids_main.h"
#include "test_windows.h"
#include "wine_env.h"

TEST(WindowBossE2e, HidesAndShowsAWindowOfAnotherProgram)
{
    // The window belongs to this thread: it answers the program's calls while this thread
    // waits for the program in SendWithTimeout.
    HWND window = CreateWindowA("STATIC", "Appearance Test Window", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 640, 320, 110,
                                nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    HalvornProcess halvorn("window_boss");
    ASSERT_TRUE(halvorn.Start() && halvorn.WaitUntilRunning());
    HWND main = halvorn.WaitForDialog("Halvorn");
    ASSERT_NE(main, nullptr);
    HWND dialog = halvorn.OpenFrom(main, IDC_MAIN_APPEARANCE, "Customize Program Appearance");
    ASSERT_NE(dialog, nullptr);

    HWND list = GetDlgItem(dialog, IDC_WINDOW_LIST);
    const std::string item = "Appearance Test Window\t" + std::to_string(DWORD(UINT_PTR(window)));
    const std::vector<std::string> lines = ListBoxLines(list);
    const LRESULT index = std::find(lines.begin(), lines.end(), item) - lines.begin();
    ASSERT_LT(size_t(index), lines.size()) << "no line \"" << item << "\"";
    SendWithTimeout(list, LB_SETCURSEL, WPARAM(index));
    SendWithTimeout(dialog, WM_COMMAND, MAKEWPARAM(IDC_WINDOW_LIST, LBN_SELCHANGE), LPARAM(list));
    EXPECT_EQ(WindowText(GetDlgItem(dialog, IDC_WINDOW_NAME)), "Appearance Test Window");

    SendWithTimeout(dialog, WM_COMMAND, MAKEWPARAM(IDC_WINDOW_HIDE, BN_CLICKED), LPARAM(GetDlgItem(dialog, IDC_WINDOW_HIDE)));
    EXPECT_FALSE(IsWindowVisible(window));
    SendWithTimeout(dialog, WM_COMMAND, MAKEWPARAM(IDC_WINDOW_SHOW, BN_CLICKED), LPARAM(GetDlgItem(dialog, IDC_WINDOW_SHOW)));
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_EQ(SendWithTimeout(GetDlgItem(dialog, IDC_WINDOW_SHOW), BM_GETCHECK), BST_CHECKED);

    PumpMessagesFor(300);  // the selection's flash is over
    EXPECT_TRUE(WaitUntilDrawn(dialog));
    EXPECT_FALSE(SaveScreenshot("program-appearance").empty());

    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, 5000, true));
    EXPECT_TRUE(halvorn.Close());
    DestroyWindow(window);
}
