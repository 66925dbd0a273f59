// The main dialog's size limit, "Close all programs" and the Boosting confirmation,
// against real windows of this process.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "app/app_globals.h"
#include "app/close_programs.h"
#include "app/confirm_boost.h"
#include "app/main_dialog.h"
#include "box_watcher.h"
#include "resources/ids_main.h"
#include "test_windows.h"

namespace {

void Pump(DWORD ms)
{
    const DWORD start = GetTickCount();
    do {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        Sleep(10);
    } while (GetTickCount() - start < ms);
}

// The main dialog as start-up makes it, recorded in MainDialog for the commands.
struct MainDialogFixture : testing::Test {
    void SetUp() override
    {
        savedInstance_ = gInstance;
        gInstance = GetModuleHandleA(nullptr);
        MainDialog = CreateDialogParamA(gInstance, MAKEINTRESOURCEA(IDD_MAIN), nullptr, MainDlgProc, 0);
        ASSERT_NE(MainDialog, nullptr);
        ShowWindow(MainDialog, SW_SHOWNORMAL);
    }
    void TearDown() override
    {
        DestroyWindow(MainDialog);
        MainDialog = nullptr;
        gInstance = savedInstance_;  // other tests expect the program's resources unreached
    }
    HINSTANCE savedInstance_ = nullptr;
};

TEST_F(MainDialogFixture, CannotGrowBeyond598By493)
{
    struct Case {
        int width, height, expectWidth, expectHeight;
    } cases[] = {{900, 700, 598, 493}, {598, 493, 598, 493}, {500, 600, 500, 493}, {400, 300, 400, 300}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.width);
        SetWindowPos(MainDialog, nullptr, 0, 0, c.width, c.height, SWP_NOMOVE | SWP_NOZORDER);
        RECT r;
        GetWindowRect(MainDialog, &r);
        EXPECT_EQ(r.right - r.left, c.expectWidth);
        EXPECT_EQ(r.bottom - r.top, c.expectHeight);
    }
    ShowWindow(MainDialog, SW_MAXIMIZE);
    RECT r;
    GetWindowRect(MainDialog, &r);
    EXPECT_LE(r.right - r.left, 598);
    EXPECT_LE(r.bottom - r.top, 493);
}

std::map<HWND, int> gCloses;

LRESULT CALLBACK CountCloses(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CLOSE) {
        ++gCloses[window];
        return 0;  // stays open, so the test can look at it
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

TEST_F(MainDialogFixture, CloseAllProgramsPostsCloseOnlyOnYesAndOnlyToTitledCaptionedWindows)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = CountCloses;
    wc.hInstance = gInstance;
    wc.lpszClassName = "HalvornCloseTarget";
    RegisterClassA(&wc);
    auto make = [](const char* title, DWORD style, HWND owner) {
        return CreateWindowA("HalvornCloseTarget", title, style, 20, 20, 200, 100, owner, nullptr, gInstance, nullptr);
    };
    HWND titled = make("Close Me", WS_OVERLAPPEDWINDOW | WS_VISIBLE, nullptr);
    HWND untitled = make("", WS_OVERLAPPEDWINDOW | WS_VISIBLE, nullptr);
    HWND hidden = make("Hidden", WS_OVERLAPPEDWINDOW, nullptr);
    HWND bare = make("No Caption", WS_POPUP | WS_VISIBLE, nullptr);
    HWND owned = make("Owned Tool", WS_OVERLAPPEDWINDOW | WS_VISIBLE, MainDialog);

    for (int answer : {IDNO, IDYES}) {
        SCOPED_TRACE(answer == IDYES ? "Yes" : "No");
        gCloses.clear();
        BoxWatcher boxes(GetCurrentProcessId(), answer);
        CloseAllPrograms();
        Pump(300);
        SeenBox box;
        ASSERT_TRUE(boxes.WaitForBox("Close All Programs?", 2000, &box));
        EXPECT_EQ(box.text, "About to close all open programs except for this program. Continue?");
        EXPECT_EQ(gCloses[titled], answer == IDYES ? 1 : 0);
        for (HWND skipped : {untitled, hidden, bare, owned}) EXPECT_EQ(gCloses[skipped], 0);
        EXPECT_EQ(IsIconic(MainDialog) != 0, answer == IDYES);
    }
    for (HWND w : {titled, untitled, hidden, bare, owned}) DestroyWindow(w);
}

// Answers the Boosting dialog of this process from a second thread.
struct BoostAnswer {
    UINT message;
    WPARAM wParam;
    std::string text;
    static DWORD WINAPI Run(LPVOID self)
    {
        BoostAnswer* answer = static_cast<BoostAnswer*>(self);
        for (int i = 0; i < 500; ++i, Sleep(10)) {
            HWND dialog = FindWindowA("#32770", "Boosting");
            if (!dialog || !IsWindowVisible(dialog)) continue;
            answer->text = WindowText(GetDlgItem(dialog, IDC_BOOST_TEXT));
            PostMessageA(dialog, answer->message, answer->wParam, 0);
            return 0;
        }
        return 1;
    }
};

TEST(ConfirmBoost, OneOnlyForBoost)
{
    const HINSTANCE savedInstance = gInstance;
    gInstance = GetModuleHandleA(nullptr);
    struct Case {
        const char* label;
        UINT message;
        WPARAM wParam;
        int result;
    } cases[] = {{"Cancel", WM_COMMAND, IDCANCEL, 0}, {"close box", WM_CLOSE, 0, 0}, {"Boost", WM_COMMAND, IDOK, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        BoostAnswer answer{c.message, c.wParam, ""};
        HANDLE thread = CreateThread(nullptr, 0, BoostAnswer::Run, &answer, 0, nullptr);
        EXPECT_EQ(ConfirmBoost(nullptr, "+ Raise the priority\r\n+ Larger cache"), c.result);
        WaitForSingleObject(thread, 5000);
        CloseHandle(thread);
        EXPECT_EQ(answer.text, "+ Raise the priority\r\n+ Larger cache");
    }
    gInstance = savedInstance;
}

}  // namespace
