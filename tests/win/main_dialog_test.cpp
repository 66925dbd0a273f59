// The main dialog's size limit, "Close all programs" and the Boosting confirmation,
// against real windows of this process.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/app_globals.h"
#include "app/close_programs.h"
#include "app/confirm_boost.h"
#include "app/main_dialog.h"
#include "box_watcher.h"
#include "resources/ids_main.h"
#include "resources/ids_status.h"
#include "resources/ids_tools.h"
#include "services/view_registry.h"
#include "test_windows.h"

namespace {

// The main dialog as start-up makes it, recorded in MainDialog for the commands.
struct MainDialogTest : testing::Test {
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

TEST_F(MainDialogTest, CannotGrowBeyond598By493)
{
    const int cases[][4] = {{900, 700, 598, 493}, {500, 600, 500, 493}, {400, 300, 400, 300}, {0, 0, 598, 493}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c[0] << " x " << c[1]);
        if (c[0]) SetWindowPos(MainDialog, nullptr, 0, 0, c[0], c[1], SWP_NOMOVE | SWP_NOZORDER);
        else ShowWindow(MainDialog, SW_MAXIMIZE);  // maximised, it keeps to the limit too
        RECT r;
        GetWindowRect(MainDialog, &r);
        EXPECT_EQ(r.right - r.left, c[2]);
        EXPECT_EQ(r.bottom - r.top, c[3]);
    }
}

// The live menu of the dialog start-up made: its popups in order, each item's command and
// text, separators where they stand (command 0, no text).
TEST_F(MainDialogTest, MenuOffersEveryCommandInItsPopup)
{
    struct Item {
        UINT id;
        std::string text;
    };
    const struct {
        const char* title;
        std::vector<Item> items;
    } popups[] = {
        {"&File", {{IDM_CLOSE_ALL, "&Close all programs"}, {0, ""}, {2, "E&xit"}}},  // Exit is command 2
        {"F&ix", {{IDC_MAIN_HARDWARE, "Fix &hardware problems"}, {IDC_MAIN_WINDOWS, "Fix &Windows problems"},
                  {IDC_MAIN_CONFLICTS, "Fix &software conflicts"}}},
        {"&Boost", {{IDC_MAIN_SPEED, "&Speed-up hardware"}, {IDC_MAIN_TUNE, "&Tune Windows"},
                    {IDC_MAIN_PRIORITIES, "Change program &priorities"},
                    {IDC_MAIN_APPEARANCE, "Customize program &appearance"}}},
        {"&View", {{IDC_MAIN_STATUS, "&Status report"}, {IDC_MAIN_TIPS, "&Tips"}, {IDC_MAIN_LIBRARY, "&Reference library"}}},
        {"&Help", {{IDM_MAIN_HELP, "&Help"}, {0, ""}, {IDM_MAIN_ABOUT, "&About Halvorn"}}},
    };
    HMENU menu = GetMenu(MainDialog);
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(GetMenuItemCount(menu), int(sizeof popups / sizeof popups[0]));
    // Text, command, kind and popup of the item at position in menu.
    const auto read = [](HMENU menu, int position, MENUITEMINFOA* info) {
        static char text[128];
        text[0] = '\0';
        *info = MENUITEMINFOA{};
        info->cbSize = sizeof *info;
        info->fMask = MIIM_ID | MIIM_STRING | MIIM_FTYPE | MIIM_SUBMENU;
        info->dwTypeData = text;
        info->cch = sizeof text;
        return GetMenuItemInfoA(menu, UINT(position), TRUE, info) ? std::string(text) : std::string("?");
    };
    for (int p = 0; p < GetMenuItemCount(menu); ++p) {
        SCOPED_TRACE(popups[p].title);
        MENUITEMINFOA info;
        EXPECT_EQ(read(menu, p, &info), popups[p].title);
        ASSERT_NE(info.hSubMenu, nullptr);
        HMENU popup = info.hSubMenu;
        ASSERT_EQ(GetMenuItemCount(popup), int(popups[p].items.size()));
        for (int i = 0; i < GetMenuItemCount(popup); ++i) {
            const Item& expected = popups[p].items[size_t(i)];
            SCOPED_TRACE(testing::Message() << "item " << i);
            const std::string text = read(popup, i, &info);
            EXPECT_EQ(info.hSubMenu, nullptr);
            EXPECT_EQ((info.fType & MFT_SEPARATOR) != 0, expected.id == 0);
            if (expected.id == 0) continue;
            EXPECT_EQ(text, expected.text);
            EXPECT_EQ(info.wID, expected.id);
        }
    }
}

// Windows of another program: the helper run below marks in its exit code which of its
// windows were asked to close (bit 0 the titled one, then untitled, hidden, captionless).
int gCloseBits = 0;
HWND gCloseTargets[4];

LRESULT CALLBACK RecordClose(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_CLOSE) return DefWindowProcA(window, message, wParam, lParam);
    for (int i = 0; i < 4; ++i)
        if (gCloseTargets[i] == window) gCloseBits |= 1 << i;
    return 0;
}

HWND MakeTarget(const char* title, DWORD style)
{
    return CreateWindowA("HalvornCloseTarget", title, style, 20, 20, 200, 100, nullptr, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
}

TEST(CloseTargetsHelper, DISABLED_OtherProgram)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = RecordClose;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "HalvornCloseTarget";
    RegisterClassA(&wc);
    gCloseTargets[1] = MakeTarget("", WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    gCloseTargets[2] = MakeTarget("Hidden", WS_OVERLAPPEDWINDOW);
    gCloseTargets[3] = MakeTarget("No Caption", WS_POPUP | WS_VISIBLE);
    gCloseTargets[0] = MakeTarget("Close Me", WS_OVERLAPPEDWINDOW | WS_VISIBLE);  // last: the test waits for it
    PumpMessagesFor(4000);
    ExitProcess(gCloseBits);
}

TEST_F(MainDialogTest, CloseAllProgramsClosesOtherProgramsOnYesAndKeepsThisOne)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = RecordClose;
    wc.hInstance = gInstance;
    wc.lpszClassName = "HalvornCloseTarget";
    RegisterClassA(&wc);
    // A window of this program that nothing owns, as the monitors are.
    HWND own = MakeTarget("Own Monitor", WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    for (int answer : {IDNO, IDYES}) {
        SCOPED_TRACE(answer == IDYES ? "Yes" : "No");
        ShowWindow(MainDialog, SW_RESTORE);
        gCloseBits = 0;
        gCloseTargets[0] = own;
        PROCESS_INFORMATION other = StartHelperTest("CloseTargetsHelper.DISABLED_OtherProgram");
        ASSERT_NE(WaitForProcessWindow(other.dwProcessId, "Close Me", 5000), nullptr);
        BoxWatcher boxes(GetCurrentProcessId(), answer);
        CloseAllPrograms();
        PumpMessagesFor(300);
        SeenBox box;
        ASSERT_TRUE(boxes.WaitForBox("Close All Programs?", 2000, &box));
        EXPECT_EQ(box.text, "About to close all open programs except for this program. Continue?");
        DWORD bits = 99;
        EXPECT_EQ(WaitForSingleObject(other.hProcess, 10000), WAIT_OBJECT_0);
        GetExitCodeProcess(other.hProcess, &bits);
        EndHelperProcess(&other);
        EXPECT_EQ(bits, answer == IDYES ? 1u : 0u);  // only the titled, visible, captioned one
        EXPECT_EQ(gCloseBits, 0);                     // this program's window was left alone
        // The main dialog is minimised, not ended: still visible on the task bar.
        EXPECT_EQ(IsIconic(MainDialog) != 0, answer == IDYES);
        EXPECT_TRUE(IsWindow(MainDialog) && IsWindowVisible(MainDialog));
    }
    DestroyWindow(own);
}

// Answers this process's Boosting dialog with one message, after reading its text.
struct BoostAnswer {
    UINT message;
    WPARAM wParam;
    std::string text;
    static DWORD WINAPI Run(LPVOID self)
    {
        BoostAnswer* answer = static_cast<BoostAnswer*>(self);
        HWND dialog = nullptr;
        for (int i = 0; i < 500 && !(dialog && IsWindowVisible(dialog)); ++i, Sleep(10))
            dialog = FindProcessWindow(GetCurrentProcessId(), "#32770", "Boosting");
        answer->text = WindowText(GetDlgItem(dialog, IDC_BOOST_TEXT));
        PostMessageA(dialog, answer->message, answer->wParam, 0);
        return 0;
    }
};

TEST_F(MainDialogTest, ConfirmBoostIsOneOnlyForBoost)
{
    const struct {
        const char* label;
        BoostAnswer answer;
        int result;
    } cases[] = {{"Cancel", {WM_COMMAND, IDCANCEL}, 0}, {"close box", {WM_CLOSE, 0}, 0}, {"Boost", {WM_COMMAND, IDOK}, 1}};
    for (auto c : cases) {
        SCOPED_TRACE(c.label);
        HANDLE thread = CreateThread(nullptr, 0, BoostAnswer::Run, &c.answer, 0, nullptr);
        EXPECT_EQ(ConfirmBoost(nullptr, "+ Raise the priority\r\n+ Larger cache"), c.result);
        WaitForSingleObject(thread, 5000);
        CloseHandle(thread);
        EXPECT_EQ(c.answer.text, "+ Raise the priority\r\n+ Larger cache");
    }
}

// Visible top-level windows of this thread with this title.
std::vector<HWND> WindowsTitled(const char* title)
{
    struct Search { const char* title; std::vector<HWND> found; } search{title, {}};
    EnumThreadWindows(GetCurrentThreadId(), [](HWND window, LPARAM param) -> BOOL {
        Search* s = reinterpret_cast<Search*>(param);
        char text[64] = "";
        GetWindowTextA(window, text, sizeof text);
        if (IsWindowVisible(window) && strcmp(text, s->title) == 0) s->found.push_back(window);
        return TRUE;
    }, LPARAM(&search));
    return search.found;
}

TEST_F(MainDialogTest, StatusReportOpensOnceComesForwardAndIsForgottenWhenClosed)
{
    RunMainCommand(MainDialog, IDC_MAIN_STATUS);
    HWND first = RegisteredView(IDD_STATUS_REPORT);
    ASSERT_TRUE(first && IsWindow(first));
    SetForegroundWindow(MainDialog);
    RunMainCommand(MainDialog, IDC_MAIN_STATUS);  // again, while it is open
    EXPECT_EQ(RegisteredView(IDD_STATUS_REPORT), first) << "the open report must stay the tick's target";
    EXPECT_EQ(WindowsTitled("Status Report"), std::vector<HWND>{first});
    EXPECT_EQ(GetForegroundWindow(), first);
    SendMessageA(first, WM_COMMAND, IDCANCEL, 0);
    EXPECT_FALSE(IsWindow(first));
    EXPECT_EQ(RegisteredView(IDD_STATUS_REPORT), nullptr) << "the tick would post to a closed report";
    RunMainCommand(MainDialog, IDC_MAIN_STATUS);  // after closing, a new one opens
    HWND second = RegisteredView(IDD_STATUS_REPORT);
    ASSERT_TRUE(second && IsWindow(second));
    EXPECT_EQ(WindowsTitled("Status Report"), std::vector<HWND>{second});
    DestroyWindow(second);
    EXPECT_EQ(RegisteredView(IDD_STATUS_REPORT), nullptr);
}

TEST_F(MainDialogTest, CommandWithoutMenuItemOpensTheReadmeViewer)
{
    EXPECT_TRUE(WindowsTitled("Reference").empty());
    RunMainCommand(MainDialog, IDM_MAIN_README);
    const std::vector<HWND> viewers = WindowsTitled("Reference");
    ASSERT_EQ(viewers.size(), 1u);
    EXPECT_EQ(GetWindow(viewers[0], GW_OWNER), MainDialog);
    EXPECT_EQ(WindowText(GetDlgItem(viewers[0], IDC_VIEWER_TITLE)), "README.TXT File");
    EXPECT_EQ(SendDlgItemMessageA(viewers[0], IDC_VIEWER_REPORT, LB_GETCOUNT, 0, 0), 9);
    DestroyWindow(viewers[0]);
}

}  // namespace
