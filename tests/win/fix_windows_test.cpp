// The Fix Windows Problems dialog from the program's own resources: its topic buttons open
// the report viewer with the topic lines beside their help text, and "Diagnose" opens the
// catalogue of checks owned by the dialog.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/app_globals.h"
#include "checks/fix_windows.h"
#include "resources/ids_checks.h"
#include "resources/ids_tools.h"
#include "test_windows.h"
#include "wine_env.h"

namespace {

// The top-level window of this thread that owner owns, with this title (any when null).
HWND OwnedWindow(HWND owner, const char* title)
{
    struct Search {
        HWND owner;
        const char* title;
        HWND found;
    } search = {owner, title, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), [](HWND window, LPARAM argument) -> BOOL {
        Search* search = reinterpret_cast<Search*>(argument);
        char text[100] = {};
        GetWindowTextA(window, text, sizeof text);
        if (GetWindow(window, GW_OWNER) != search->owner || (search->title && std::string(text) != search->title))
            return TRUE;
        search->found = window;
        return FALSE;
    }, LPARAM(&search));
    return search.found;
}

class FixWindows : public testing::Test {
protected:
    void SetUp() override
    {
        savedInstance_ = gInstance;
        gInstance = GetModuleHandleA(nullptr);
        dialog_ = CreateDialogParamA(gInstance, MAKEINTRESOURCEA(IDD_FIX_WINDOWS), nullptr, FixWindowsDlgProc, 0);
        ASSERT_NE(dialog_, nullptr);
        ShowWindow(dialog_, SW_SHOW);
    }
    void TearDown() override
    {
        DestroyWindow(dialog_);  // and the viewer it owns
        gInstance = savedInstance_;
    }
    void Press(int id) { SendMessageA(dialog_, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), LPARAM(GetDlgItem(dialog_, id))); }

    HWND dialog_ = nullptr;
    HINSTANCE savedInstance_ = nullptr;
};

std::string ItemText(HWND window, int id)
{
    char text[300] = {};
    GetDlgItemTextA(window, id, text, sizeof text);
    return text;
}

TEST_F(FixWindows, TopicButtonsShowTheirTopicsBesideTheirHelp)
{
    PumpMessagesFor(300);
    ASSERT_TRUE(WaitUntilDrawn(dialog_));
    EXPECT_FALSE(SaveScreenshot("fix-windows").empty());

    Press(IDC_FIX_WINDOWS_BOOT);
    HWND viewer = OwnedWindow(dialog_, "Reference");
    ASSERT_NE(viewer, nullptr) << "the viewer belongs to the dialog";
    EXPECT_EQ(ItemText(viewer, IDC_VIEWER_TITLE), "  Boot Problems");
    HWND report = GetDlgItem(viewer, IDC_VIEWER_REPORT);
    HWND help = GetDlgItem(viewer, IDC_VIEWER_HELP);
    const std::vector<std::string> lines = ListBoxLines(report);
    ASSERT_EQ(lines.size(), 14u);
    EXPECT_EQ(lines[0], "\x06\x01" "CStartup Problems");

    // A topic line scrolls its paragraph to the top of Quick Help.
    SendMessageA(report, LB_SETCURSEL, 12, 0);
    SendMessageA(viewer, WM_COMMAND, MAKEWPARAM(IDC_VIEWER_REPORT, LBN_SELCHANGE), LPARAM(report));
    const LRESULT selected = SendMessageA(help, LB_GETCURSEL, 0, 0);
    ASSERT_NE(selected, LB_ERR);
    EXPECT_EQ(ListBoxLines(help)[size_t(selected)], "Invalid System Disk");
    EXPECT_EQ(SendMessageA(help, LB_GETTOPINDEX, 0, 0), selected);

    Press(IDC_FIX_WINDOWS_ERRORS);
    EXPECT_EQ(OwnedWindow(dialog_, "Reference"), viewer) << "the viewer is reused";
    EXPECT_EQ(ItemText(viewer, IDC_VIEWER_TITLE), "  Error Messages");
    EXPECT_EQ(ListBoxLines(report).size(), 44u);
    PumpMessagesFor(300);
    ASSERT_TRUE(WaitUntilDrawn(viewer));
    EXPECT_FALSE(SaveScreenshot("fix-windows-error-messages").empty());
}

struct DiagnoseWatch {
    HWND owner;
    HWND found;
};

// Waits for the Diagnose window owned by the dialog and closes it with Cancel.
DWORD WINAPI CloseDiagnose(LPVOID argument)
{
    DiagnoseWatch* watch = static_cast<DiagnoseWatch*>(argument);
    for (int tries = 0; tries < 250 && !watch->found; ++tries) {
        Sleep(20);
        HWND window = FindWindowA(nullptr, "Diagnose Windows Problems");
        if (window && GetWindow(window, GW_OWNER) == watch->owner) watch->found = window;
    }
    if (watch->found) PostMessageA(watch->found, WM_COMMAND, IDCANCEL, 0);
    return 0;
}

TEST_F(FixWindows, DiagnoseOpensTheCatalogueOwnedByTheDialogAndRegistryOpensNothing)
{
    DiagnoseWatch watch = {dialog_, nullptr};
    HANDLE watcher = CreateThread(nullptr, 0, CloseDiagnose, &watch, 0, nullptr);
    ASSERT_NE(watcher, nullptr);
    Press(IDC_FIX_WINDOWS_DIAGNOSE);  // returns when the modal window has been closed
    WaitForSingleObject(watcher, 10000);
    CloseHandle(watcher);
    EXPECT_NE(watch.found, nullptr) << "no \"Diagnose Windows Problems\" window owned by the dialog";

    Press(IDC_FIX_WINDOWS_REGISTRY);
    PumpMessagesFor(100);
    EXPECT_EQ(OwnedWindow(dialog_, nullptr), nullptr);
    EXPECT_TRUE(IsWindowEnabled(dialog_));
}

}  // namespace
