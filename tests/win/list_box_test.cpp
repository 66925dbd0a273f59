// The selected line's number, read from a real list box.
#include <gtest/gtest.h>

#include <string>

#include "services/list_box.h"

TEST(SelectedItemNumber, ReadsTheFieldAfterTheFirstTabOfTheSelectedLine)
{
    HWND dialog = CreateWindowA("STATIC", "lists", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr, nullptr, nullptr);
    HWND list = CreateWindowA("LISTBOX", "", WS_CHILD, 0, 0, 200, 80, dialog, HMENU(100), nullptr, nullptr);
    const std::pair<std::string, DWORD> cases[] = {
        {"Helper App\t1234", 1234}, {"No tab here 99", 0}, {"Name\t42\t7", 42}, {"Large\t4294967295", 4294967295u},
        {std::string(300, 'n') + "\t77", 77},  // longer than a report slot
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.first.substr(0, 20));
        SendMessageA(list, LB_RESETCONTENT, 0, 0);
        SendMessageA(list, LB_ADDSTRING, 0, LPARAM(c.first.c_str()));
        EXPECT_EQ(SelectedItemNumber(dialog, 100), 0u);  // nothing selected
        SendMessageA(list, LB_SETCURSEL, 0, 0);
        EXPECT_EQ(SelectedItemNumber(dialog, 100), c.second);
    }
    DestroyWindow(dialog);
}
