// List-box and hover services against real windows.
#include <gtest/gtest.h>

#include <string>

#include "resources/ids_ui.h"
#include "services/list_box.h"

TEST(SelectedItemNumber, ReadsTheFieldAfterTheFirstTabOfTheSelectedLine)
{
    HWND dialog = CreateWindowA("STATIC", "lists", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr, nullptr, nullptr);
    HWND list = CreateWindowA("LISTBOX", "", WS_CHILD, 0, 0, 200, 80, dialog, HMENU(100), nullptr, nullptr);
    ASSERT_TRUE(dialog && list);
    struct Case {
        std::string line;
        DWORD number;
    } cases[] = {
        {"Helper App\t1234", 1234}, {"1234\t5678", 5678}, {"No tab here 99", 0}, {"Name\t42\t7", 42},
        {"Large\t4294967295", 4294967295u}, {std::string(300, 'n') + "\t77", 77},  // longer than a report slot
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line.substr(0, 20));
        SendMessageA(list, LB_RESETCONTENT, 0, 0);
        SendMessageA(list, LB_ADDSTRING, 0, LPARAM("first\t1"));
        SendMessageA(list, LB_ADDSTRING, 0, LPARAM(c.line.c_str()));
        EXPECT_EQ(SelectedItemNumber(dialog, 100), 0u);  // nothing selected
        SendMessageA(list, LB_SETCURSEL, 1, 0);
        EXPECT_EQ(SelectedItemNumber(dialog, 100), c.number);
    }
    DestroyWindow(dialog);
}

TEST(HoverCursor, ShowsTheHelpCursorOverTheListedControlsAndSetsTheDialogsResult)
{
    // The edges of "over" are covered by RectHoldsPoint's own tests.
    HWND dialog = CreateWindowA(WC_DIALOG, "hover", WS_POPUP | WS_VISIBLE, 50, 50, 300, 200, nullptr, nullptr,
                                nullptr, nullptr);
    CreateWindowA("STATIC", "", WS_CHILD | WS_VISIBLE, 20, 20, 100, 40, dialog, HMENU(200), nullptr, nullptr);
    const int ids[] = {199, 200};
    const HCURSOR help = LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_HELP_CURSOR));
    ASSERT_NE(help, nullptr);
    for (POINT at : {POINT{90, 90}, POINT{300, 300}}) {
        SetCursorPos(at.x, at.y);
        const HCURSOR expected = at.x == 90 ? help : LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
        // Wine updates the cursor of a moved pointer on its own time and may overwrite
        // the one just set: a wrong choice never shows, a right one within a few tries.
        HCURSOR shown = nullptr;
        for (int attempt = 0; attempt < 20 && shown != expected; ++attempt, Sleep(shown == expected ? 0 : 20)) {
            MSG msg;
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
            SetWindowLongPtrA(dialog, DWLP_MSGRESULT, 0);
            EXPECT_TRUE(HoverCursor(dialog, ids, 2));
            EXPECT_EQ(GetWindowLongPtrA(dialog, DWLP_MSGRESULT), 1);
            shown = GetCursor();
        }
        EXPECT_EQ(shown, expected) << "at " << at.x;
    }
    DestroyWindow(dialog);
}
