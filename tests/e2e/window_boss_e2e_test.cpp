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
#include "shared_test_steps.h"

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

    const std::string item = "Appearance Test Window\t" + std::to_string(DWORD(UINT_PTR(window)));
    const std::vector<std::string> lines = ListBoxLines(GetDlgItem(dialog, IDC_WINDOW_LIST));
    const size_t index = std::find(lines.begin(), lines.end(), item) - lines.begin();
    ASSERT_LT(index, lines.size()) << "no line \"" << item << "\"";
    ChooseListItem(dialog, IDC_WINDOW_LIST, int(index));
    const auto click = [&](int id) { SendWithTimeout(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), LPARAM(GetDlgItem(dialog, id))); };
    click(IDC_WINDOW_HIDE);
    EXPECT_FALSE(IsWindowVisible(window));
    click(IDC_WINDOW_SHOW);
    EXPECT_TRUE(IsWindowVisible(window));

    PumpMessagesFor(300);  // the selection's flash is over
    EXPECT_TRUE(WaitUntilDrawn(dialog));
    EXPECT_FALSE(SaveScreenshot("program-appearance").empty());

    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, 5000, true));
    EXPECT_TRUE(halvorn.Close());
    DestroyWindow(window);
}
