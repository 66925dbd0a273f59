// Customize Program Appearance against real windows: a helper process shows the window it
// acts on, and every action is checked from outside that process and then undone.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "boost/window_boss.h"
#include "boost/window_boss_rules.h"
#include "box_watcher.h"
#include "resources/ids_boost.h"
#include "services/toolhelp.h"
#include "test_windows.h"

namespace {

const char kTargetTitle[] = "Appearance Target";
const char kBossCaption[] = "Customize Program Appearance";

HWND Popup(const char* title, HWND owner = nullptr)
{
    return CreateWindowA("STATIC", title, WS_POPUP | WS_VISIBLE, 40, 40, 200, 100, owner, nullptr, nullptr, nullptr);
}

// Selects the list line of window as a click would; false when the list has no such line.
bool Select(HWND dialog, const std::string& name, HWND window)
{
    const std::string line = name + "\t" + std::to_string(ItemValueOfHandle(uintptr_t(window)));
    const std::vector<std::string> lines = ListBoxLines(GetDlgItem(dialog, IDC_WINDOW_LIST));
    for (size_t i = 0; i < lines.size(); ++i)
        if (lines[i] == line) {
            SendDlgItemMessageA(dialog, IDC_WINDOW_LIST, LB_SETCURSEL, i, 0);
            SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_WINDOW_LIST, LBN_SELCHANGE), 0);
            return true;
        }
    return false;
}

void Click(HWND dialog, int id)
{
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), LPARAM(GetDlgItem(dialog, id)));
}

// Each of the twelve radios: "X" checked, "." not; lower case when disabled.
std::string Radios(HWND dialog)
{
    std::string radios;
    for (int id = IDC_WINDOW_SHOW; id <= IDC_WINDOW_POPUPS_HIDE; ++id) {
        if (!GetDlgItem(dialog, id)) continue;  // the numbers have gaps
        const bool enabled = IsWindowEnabled(GetDlgItem(dialog, id));
        radios += IsDlgButtonChecked(dialog, id) == BST_CHECKED ? (enabled ? 'X' : 'x') : (enabled ? '.' : ',');
    }
    return radios;
}

bool IsTopmost(HWND window)
{
    return (GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

// The helper's window, found from this process, and a Window Boss owned by a window here.
struct WindowBossTest : testing::Test {
    void SetUp() override
    {
        LoadToolhelp();
        helper_ = StartHelperTest("WindowBossHelper.DISABLED_ShowsAppearanceTarget");
        target_ = WaitForProcessWindow(helper_.dwProcessId, kTargetTitle, 15000);
        ASSERT_NE(target_, nullptr);
        owner_ = Popup("Window Boss Owner");
        dialog_ = WindowBoss(owner_);
        ASSERT_NE(dialog_, nullptr);
    }
    void TearDown() override
    {
        DestroyWindow(owner_);  // the dialog goes with its owner
        EndHelperProcess(&helper_);
    }
    PROCESS_INFORMATION helper_ = {};
    HWND target_ = nullptr, owner_ = nullptr, dialog_ = nullptr;
};

}  // namespace

// Helper process: a titled window, until it closes.
TEST(WindowBossHelper, DISABLED_ShowsAppearanceTarget)
{
    HWND target = CreateWindowA("STATIC", kTargetTitle, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200, nullptr,
                                nullptr, nullptr, nullptr);
    PumpMessagesFor(60000, target);
}

TEST_F(WindowBossTest, EveryActionIsSeenFromOutsideAndUndone)
{
    ASSERT_TRUE(Select(dialog_, kTargetTitle, target_));
    EXPECT_EQ(WindowText(GetDlgItem(dialog_, IDC_WINDOW_NAME)), kTargetTitle);
    Click(dialog_, IDC_WINDOW_MINIMIZE);
    Click(dialog_, IDC_WINDOW_LOCKED);
    Click(dialog_, IDC_WINDOW_HIDE);
    EXPECT_TRUE(!IsWindowVisible(target_) && IsIconic(target_) && !IsWindowEnabled(target_));
    Click(dialog_, IDC_WINDOW_SHOW);
    Click(dialog_, IDC_WINDOW_RESTORE);
    Click(dialog_, IDC_WINDOW_UNLOCKED);
    EXPECT_TRUE(IsWindowVisible(target_) && !IsIconic(target_) && IsWindowEnabled(target_));

    RECT before, after;
    GetWindowRect(target_, &before);
    Click(dialog_, IDC_WINDOW_TOPMOST);
    EXPECT_TRUE(IsTopmost(target_) && GetWindowRect(target_, &after) && EqualRect(&before, &after));
    Click(dialog_, IDC_WINDOW_NOT_TOPMOST);
    EXPECT_TRUE(!IsTopmost(target_) && GetWindowRect(target_, &after) && EqualRect(&before, &after));

    SetDlgItemTextA(dialog_, IDC_WINDOW_NAME, std::string(300, 'n').c_str());
    Click(dialog_, IDC_WINDOW_CHANGE);
    EXPECT_EQ(WindowText(target_), std::string(255, 'n'));
    SetDlgItemTextA(dialog_, IDC_WINDOW_NAME, kTargetTitle);
    Click(dialog_, IDC_WINDOW_CHANGE);
    EXPECT_EQ(WindowText(target_), kTargetTitle);
}

// A window that closed after the list was made: its item disables the radios and nothing
// is acted on; after the list is refilled the radios act on nothing until a new choice.
TEST_F(WindowBossTest, ClosedWindowsAndRefilledListsAreNeverActedOn)
{
    HWND shortLived = Popup("Short Lived");
    SendMessageA(dialog_, WM_RBUTTONDOWN, 0, MAKELPARAM(5, 500));  // refills the list
    ASSERT_TRUE(Select(dialog_, "Short Lived", shortLived));
    EXPECT_EQ(Radios(dialog_).find_first_of("x,"), std::string::npos) << Radios(dialog_);
    DestroyWindow(shortLived);
    ASSERT_TRUE(Select(dialog_, "Short Lived", shortLived));
    const std::string closed = Radios(dialog_);
    EXPECT_EQ(closed.find_first_of("X."), std::string::npos) << closed;
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog_, IDC_WINDOW_NAME)));
    Click(dialog_, IDC_WINDOW_HIDE);
    Click(dialog_, IDC_WINDOW_LOCKED);
    Click(dialog_, IDC_WINDOW_CHANGE);
    EXPECT_EQ(Radios(dialog_), closed);

    ASSERT_TRUE(Select(dialog_, kTargetTitle, target_));
    SendMessageA(dialog_, WM_RBUTTONDOWN, 0, MAKELPARAM(5, 500));
    Click(dialog_, IDC_WINDOW_HIDE);
    Click(dialog_, IDC_WINDOW_LOCKED);
    EXPECT_TRUE(IsWindowVisible(target_) && IsWindowEnabled(target_));
}

// The dialog lists itself and can hide, lock and rename itself; a second call brings it
// back as it was.
TEST_F(WindowBossTest, ASecondCallBringsBackTheOneDialogEvenAfterItLockedItself)
{
    ASSERT_TRUE(Select(dialog_, kBossCaption, dialog_));
    SetDlgItemTextA(dialog_, IDC_WINDOW_NAME, "Renamed Boss");
    Click(dialog_, IDC_WINDOW_CHANGE);
    Click(dialog_, IDC_WINDOW_LOCKED);
    Click(dialog_, IDC_WINDOW_HIDE);
    EXPECT_FALSE(IsWindowEnabled(dialog_) || IsWindowVisible(dialog_));
    EXPECT_EQ(WindowBoss(owner_), dialog_);
    EXPECT_TRUE(IsWindowEnabled(dialog_) && IsWindowVisible(dialog_));
    EXPECT_EQ(WindowText(dialog_), kBossCaption);
}
