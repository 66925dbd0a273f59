// Customize Program Appearance against real windows: a helper process shows the windows it
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

HWND Popup(const char* title, HWND owner = nullptr, DWORD style = WS_POPUP | WS_VISIBLE)
{
    return CreateWindowA("STATIC", title, style, 40, 40, 200, 100, owner, nullptr, nullptr, nullptr);
}

std::string ItemOf(const std::string& name, HWND window)
{
    return name + "\t" + std::to_string(ItemValueOfHandle(uintptr_t(window)));
}

// Selects the list line as a click would; false when the list has no such line.
bool Select(HWND dialog, const std::string& line)
{
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

bool Checked(HWND dialog, int id)
{
    return IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

// The checked button of each pair but Activity (the foreground moves as windows restore):
// "X" for the first button, "o" for the second, "?" for neither or both.
std::string CheckedPairs(HWND dialog)
{
    std::string letters;
    for (int first : {IDC_WINDOW_SHOW, IDC_WINDOW_MINIMIZE, IDC_WINDOW_UNLOCKED, IDC_WINDOW_TOPMOST, IDC_WINDOW_POPUPS_SHOW}) {
        const bool a = Checked(dialog, first), b = Checked(dialog, first + 1);
        letters += a == b ? '?' : a ? 'X' : 'o';
    }
    return letters;
}

// The twelve radio buttons and the name edit that are enabled.
int EnabledControls(HWND dialog)
{
    int count = IsWindowEnabled(GetDlgItem(dialog, IDC_WINDOW_NAME)) ? 1 : 0;
    for (int id = IDC_WINDOW_SHOW; id <= IDC_WINDOW_POPUPS_HIDE; ++id) count += IsWindowEnabled(GetDlgItem(dialog, id)) ? 1 : 0;
    return count;
}

bool IsTopmost(HWND window)
{
    return (GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

// The helper's windows, found from this process, and a Window Boss owned by a window here.
struct WindowBossTest : testing::Test {
    void SetUp() override
    {
        LoadToolhelp();
        helper_ = StartHelperTest("WindowBossHelper.DISABLED_ShowsAppearanceTargets");
        target_ = WaitForProcessWindow(helper_.dwProcessId, kTargetTitle, 15000);
        WaitUntil([&] { return (captionless_ = FindProcessWindow(helper_.dwProcessId, "Static", "")) != nullptr; }, 5000);
        ASSERT_TRUE(target_ && captionless_);
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
    HWND target_ = nullptr, captionless_ = nullptr, owner_ = nullptr, dialog_ = nullptr;
};

}  // namespace

// Helper process: a titled window and a window without a caption, until the titled one
// closes.
TEST(WindowBossHelper, DISABLED_ShowsAppearanceTargets)
{
    HWND target = CreateWindowA("STATIC", kTargetTitle, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200, nullptr,
                                nullptr, nullptr, nullptr);
    Popup("", nullptr, WS_POPUP);
    PumpMessagesFor(60000, target);
}

TEST_F(WindowBossTest, SelectingChecksTheStateAndEveryActionIsSeenFromOutside)
{
    ASSERT_TRUE(Select(dialog_, ItemOf(kTargetTitle, target_)));
    EXPECT_EQ(WindowText(GetDlgItem(dialog_, IDC_WINDOW_NAME)), kTargetTitle);
    EXPECT_EQ(EnabledControls(dialog_), 13);
    EXPECT_EQ(CheckedPairs(dialog_), "XoXoX");

    // A changed state is read again at the next selection.
    ShowWindow(target_, SW_MINIMIZE);
    ShowWindow(target_, SW_HIDE);
    EnableWindow(target_, FALSE);
    ASSERT_TRUE(Select(dialog_, ItemOf(kTargetTitle, target_)));
    EXPECT_EQ(CheckedPairs(dialog_), "oXooX");
    ShowWindow(target_, SW_RESTORE);
    EnableWindow(target_, TRUE);
    ASSERT_TRUE(Select(dialog_, ItemOf(kTargetTitle, target_)));
    EXPECT_EQ(CheckedPairs(dialog_), "XoXoX");

    // Each action, seen from outside, and the clicked button checked.
    Click(dialog_, IDC_WINDOW_MINIMIZE);
    Click(dialog_, IDC_WINDOW_LOCKED);
    Click(dialog_, IDC_WINDOW_HIDE);
    EXPECT_TRUE(!IsWindowVisible(target_) && IsIconic(target_) && !IsWindowEnabled(target_));
    EXPECT_EQ(CheckedPairs(dialog_), "oXooX");
    Click(dialog_, IDC_WINDOW_SHOW);
    Click(dialog_, IDC_WINDOW_RESTORE);
    Click(dialog_, IDC_WINDOW_UNLOCKED);
    EXPECT_TRUE(IsWindowVisible(target_) && !IsIconic(target_) && IsWindowEnabled(target_));
    EXPECT_EQ(CheckedPairs(dialog_), "XoXoX");

    RECT before, after1, after2;
    GetWindowRect(target_, &before);
    Click(dialog_, IDC_WINDOW_TOPMOST);
    EXPECT_TRUE(IsTopmost(target_) && GetWindowRect(target_, &after1) && EqualRect(&before, &after1));
    ASSERT_TRUE(Select(dialog_, ItemOf(kTargetTitle, target_)));
    EXPECT_TRUE(Checked(dialog_, IDC_WINDOW_TOPMOST));
    Click(dialog_, IDC_WINDOW_NOT_TOPMOST);
    EXPECT_TRUE(!IsTopmost(target_) && GetWindowRect(target_, &after2) && EqualRect(&before, &after2));

    Click(dialog_, IDC_WINDOW_ACTIVE);
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == target_; }, 2000));
    ASSERT_TRUE(Select(dialog_, ItemOf(kTargetTitle, target_)));
    EXPECT_TRUE(Checked(dialog_, IDC_WINDOW_ACTIVE));
    Click(dialog_, IDC_WINDOW_INACTIVE);
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == dialog_; }, 2000));
    EXPECT_TRUE(Checked(dialog_, IDC_WINDOW_INACTIVE));

    // Owned pop-ups, on a window of this process: Wine does not bring back pop-ups of
    // another process that ShowOwnedPopups hid.
    HWND local = CreateWindowA("STATIC", "Local Target", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 60, 300, 200, 100, nullptr,
                               nullptr, nullptr, nullptr);
    HWND palette = Popup("Local Palette", local);
    SendMessageA(dialog_, WM_RBUTTONDOWN, 0, MAKELPARAM(5, 500));
    ASSERT_TRUE(Select(dialog_, ItemOf("Local Target", local)));
    Click(dialog_, IDC_WINDOW_POPUPS_HIDE);
    EXPECT_TRUE(!IsWindowVisible(palette) && IsWindowVisible(local));
    Click(dialog_, IDC_WINDOW_POPUPS_SHOW);
    EXPECT_TRUE(IsWindowVisible(palette));
    DestroyWindow(local);
    ASSERT_TRUE(Select(dialog_, ItemOf(kTargetTitle, target_)));

    SetDlgItemTextA(dialog_, IDC_WINDOW_NAME, "Renamed Target");
    Click(dialog_, IDC_WINDOW_CHANGE);
    EXPECT_EQ(WindowText(target_), "Renamed Target");
    SetDlgItemTextA(dialog_, IDC_WINDOW_NAME, std::string(300, 'n').c_str());
    Click(dialog_, IDC_WINDOW_CHANGE);
    EXPECT_EQ(WindowText(target_), std::string(255, 'n'));
    SetWindowTextA(target_, kTargetTitle);
}

TEST_F(WindowBossTest, ClosedWindowsAndRefilledListsAreNeverActedOn)
{
    // A window without a caption is listed under its program's module name.
    EXPECT_TRUE(Select(dialog_, ItemOf("win_tests", captionless_)));

    // A window that closed after the list was made: nothing to act on, nothing acted on.
    HWND shortLived = Popup("Short Lived");
    SendMessageA(dialog_, WM_RBUTTONDOWN, 0, MAKELPARAM(5, 500));
    ASSERT_TRUE(Select(dialog_, ItemOf("Short Lived", shortLived)));
    EXPECT_EQ(EnabledControls(dialog_), 13);
    const std::string checked = CheckedPairs(dialog_);
    DestroyWindow(shortLived);
    ASSERT_TRUE(Select(dialog_, ItemOf("Short Lived", shortLived)));
    EXPECT_EQ(EnabledControls(dialog_), 0);
    EXPECT_EQ(WindowText(GetDlgItem(dialog_, IDC_WINDOW_NAME)), "Short Lived");
    Click(dialog_, IDC_WINDOW_HIDE);
    Click(dialog_, IDC_WINDOW_LOCKED);
    Click(dialog_, IDC_WINDOW_CHANGE);
    EXPECT_EQ(CheckedPairs(dialog_), checked);

    // Chosen, then the list refilled: the new window is there, nothing is selected, and the
    // radios act on nothing.
    ASSERT_TRUE(Select(dialog_, ItemOf(kTargetTitle, target_)));
    HWND later = Popup("Arrived Later");
    EXPECT_FALSE(Select(dialog_, ItemOf("Arrived Later", later)));
    SendMessageA(dialog_, WM_RBUTTONDOWN, 0, MAKELPARAM(5, 500));
    EXPECT_EQ(SendDlgItemMessageA(dialog_, IDC_WINDOW_LIST, LB_GETCURSEL, 0, 0), LB_ERR);
    Click(dialog_, IDC_WINDOW_HIDE);
    Click(dialog_, IDC_WINDOW_LOCKED);
    EXPECT_TRUE(IsWindowVisible(target_) && IsWindowEnabled(target_));
    EXPECT_TRUE(Select(dialog_, ItemOf("Arrived Later", later)));
    DestroyWindow(later);
}

TEST_F(WindowBossTest, ASecondCallBringsBackTheOneDialogEvenAfterItLockedItself)
{
    EXPECT_EQ(WindowBoss(owner_), dialog_);
    // The dialog lists itself; it can hide, lock and rename itself.
    ASSERT_TRUE(Select(dialog_, ItemOf(kBossCaption, dialog_)));
    SetDlgItemTextA(dialog_, IDC_WINDOW_NAME, "Renamed Boss");
    Click(dialog_, IDC_WINDOW_CHANGE);
    Click(dialog_, IDC_WINDOW_LOCKED);
    Click(dialog_, IDC_WINDOW_HIDE);
    EXPECT_EQ(WindowText(dialog_), "Renamed Boss");
    EXPECT_FALSE(IsWindowEnabled(dialog_) || IsWindowVisible(dialog_));
    EXPECT_EQ(WindowBoss(owner_), dialog_);
    EXPECT_TRUE(IsWindowEnabled(dialog_) && IsWindowVisible(dialog_));
    EXPECT_EQ(WindowText(dialog_), kBossCaption);

    // Gone with its owner, it is forgotten: the next call opens a new one.
    DestroyWindow(owner_);
    EXPECT_FALSE(IsWindow(dialog_));
    owner_ = Popup("Second Owner");
    dialog_ = WindowBoss(owner_);
    ASSERT_TRUE(IsWindow(dialog_));
    EXPECT_EQ(WindowText(dialog_), kBossCaption);
    EXPECT_TRUE(Select(dialog_, ItemOf("Second Owner", owner_)));
}
