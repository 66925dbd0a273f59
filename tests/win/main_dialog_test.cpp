// The main dialog's size limit, "Close all programs" and the Boosting confirmation,
// against real windows of this process.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
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

// Every item of the live menu leads somewhere: to one of the dialog's picture buttons or to
// one of the program's own commands, each offered exactly once (separators aside).
TEST_F(MainDialogTest, MenuOffersEachButtonAndCommandOnce)
{
    HMENU menu = GetMenu(MainDialog);
    ASSERT_NE(menu, nullptr);
    std::multiset<UINT> commands, expected = {IDM_CLOSE_ALL, 2 /* Exit */, IDM_MAIN_HELP, IDM_MAIN_ABOUT};
    for (int p = 0; p < GetMenuItemCount(menu); ++p) {
        HMENU popup = GetSubMenu(menu, p);
        ASSERT_NE(popup, nullptr) << "menu bar item " << p;
        for (int i = 0; i < GetMenuItemCount(popup); ++i)
            if (!(GetMenuState(popup, UINT(i), MF_BYPOSITION) & MF_SEPARATOR)) commands.insert(GetMenuItemID(popup, i));
    }
    for (HWND child = GetWindow(MainDialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if ((GetWindowLongA(child, GWL_STYLE) & BS_TYPEMASK) == BS_OWNERDRAW) expected.insert(UINT(GetDlgCtrlID(child)));
    EXPECT_EQ(expected.size(), 14u);
    EXPECT_EQ(commands, expected);
}

// Windows of another program: the helper run below marks in its exit code which of its
// windows were asked to close (bit 0 the titled one, then untitled, hidden, captionless),
// once the test has set this event.
const char kCloseDone[] = "HalvornCloseTargetsDone";
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
    HANDLE done = CreateEventA(nullptr, TRUE, FALSE, kCloseDone);
    gCloseTargets[0] = MakeTarget("Close Me", WS_OVERLAPPEDWINDOW | WS_VISIBLE);  // last: the test waits for it
    // The closes were posted before the event was set: waiting in the queue, if not handled yet.
    WaitUntil([&] { return WaitForSingleObject(done, 0) == WAIT_OBJECT_0; }, 10000, true);
    PumpMessagesFor(0);
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
    HANDLE done = CreateEventA(nullptr, TRUE, FALSE, kCloseDone);
    for (int answer : {IDNO, IDYES}) {
        SCOPED_TRACE(answer == IDYES ? "Yes" : "No");
        ShowWindow(MainDialog, SW_RESTORE);
        gCloseBits = 0;
        gCloseTargets[0] = own;
        ResetEvent(done);
        PROCESS_INFORMATION other = StartHelperTest("CloseTargetsHelper.DISABLED_OtherProgram");
        ASSERT_NE(WaitForProcessWindow(other.dwProcessId, "Close Me", 5000), nullptr);
        BoxWatcher boxes(GetCurrentProcessId(), answer);
        CloseAllPrograms();
        SetEvent(done);
        PumpMessagesFor(0);  // a close posted to this program's window is handled now
        ASSERT_TRUE(boxes.WaitForBox("Close All Programs?", 2000));
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
    CloseHandle(done);
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
        WaitUntil([&] {
            dialog = FindProcessWindow(GetCurrentProcessId(), "#32770", "Boosting");
            return dialog && IsWindowVisible(dialog);
        }, 5000);
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
    DestroyWindow(viewers[0]);
}

}  // namespace
