// List-box services against a real list box in a visible popup window.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "services/list_box.h"

namespace {
constexpr int kListId = 100;

class ListBoxes : public testing::Test {
protected:
    void SetUp() override
    {
        window_ = CreateWindowA("STATIC", "lists", WS_POPUP | WS_VISIBLE, 100, 100, 300, 200, nullptr, nullptr,
                                nullptr, nullptr);
        // Room for about five lines, so selecting a later line has to scroll.
        list_ = CreateWindowA("LISTBOX", "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOINTEGRALHEIGHT, 10, 20, 200,
                              80, window_, HMENU(kListId), nullptr, nullptr);
        ASSERT_TRUE(window_ && list_);
    }
    void TearDown() override { DestroyWindow(window_); }
    void Add(const std::string& line) { SendMessageA(list_, LB_ADDSTRING, 0, LPARAM(line.c_str())); }
    LRESULT Selected() const { return SendMessageA(list_, LB_GETCURSEL, 0, 0); }
    bool NeedsPaint() const
    {
        RECT r;
        return GetUpdateRect(list_, &r, FALSE) && !IsRectEmpty(&r);
    }

    HWND window_ = nullptr;
    HWND list_ = nullptr;
};
}  // namespace

TEST_F(ListBoxes, SelectedItemNumberReadsTheFieldAfterTheFirstTab)
{
    struct Case {
        std::string line;
        DWORD number;
    } cases[] = {
        {"Helper App\t1234", 1234},
        {"1234\t5678", 5678},
        {"No tab here 99", 0},
        {"Name\t42\t7", 42},
        {"Large\t4294967295", 4294967295u},
        {std::string(300, 'n') + "\t77", 77},  // longer than a report slot
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line.substr(0, 20));
        SendMessageA(list_, LB_RESETCONTENT, 0, 0);
        Add("first\t1");
        Add(c.line);
        EXPECT_EQ(SelectedItemNumber(window_, kListId), 0u);  // nothing selected
        SendMessageA(list_, LB_SETCURSEL, 1, 0);
        EXPECT_EQ(SelectedItemNumber(window_, kListId), c.number);
    }
}

TEST_F(ListBoxes, SelectReportLineSelectsTheLabelsLineAndBringsItToTheTop)
{
    for (int i = 0; i < 40; ++i) {
        char line[32];
        snprintf(line, sizeof line, i == 25 ? "Memory size and use" : i == 30 ? "Disk drives" : "Topic %02d", i);
        Add(line);
    }
    struct Case {
        const char* text;
        LRESULT selected;
    } cases[] = {
        {"\x01" "CMemory\t\x01" "Y32 MB", 25},
        {"disk DRIVES\tFixed", 30},
        {"Top~uic 07\t~M05", 7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.selected);
        SendMessageA(list_, LB_SETCURSEL, 0, 0);
        SendMessageA(list_, LB_SETTOPINDEX, 0, 0);
        SelectReportLine(c.text, list_);
        EXPECT_EQ(Selected(), c.selected);
        EXPECT_EQ(SendMessageA(list_, LB_GETTOPINDEX, 0, 0), c.selected);
    }

    // No match: the selection stays, the list is still repainted.
    UpdateWindow(list_);
    ValidateRect(list_, nullptr);
    SelectReportLine("Printer\tnone", list_);
    EXPECT_EQ(Selected(), 7);
    EXPECT_TRUE(NeedsPaint());
    // Two characters or fewer: nothing at all happens.
    ValidateRect(list_, nullptr);
    SelectReportLine("Di", list_);
    SelectReportLine(nullptr, list_);
    EXPECT_EQ(Selected(), 7);
    EXPECT_FALSE(NeedsPaint());
}

TEST_F(ListBoxes, ScreenRectToClientConvertsBothCorners)
{
    RECT r;
    GetWindowRect(list_, &r);
    ScreenRectToClient(window_, &r);
    EXPECT_EQ(r.left, 10);
    EXPECT_EQ(r.top, 20);
    EXPECT_EQ(r.right, 210);
    EXPECT_EQ(r.bottom, 100);
}

TEST(HoverCursor, SetsTheCursorAndTheDialogsResult)
{
    // Over control 200 the program's help cursor shows, elsewhere the arrow; the edges of
    // "over" are covered by RectHoldsPoint's own tests.
    HWND dialog = CreateWindowA(WC_DIALOG, "hover", WS_POPUP | WS_VISIBLE, 50, 50, 300, 200, nullptr, nullptr,
                                nullptr, nullptr);
    CreateWindowA("STATIC", "", WS_CHILD | WS_VISIBLE, 20, 20, 100, 40, dialog, HMENU(200), nullptr, nullptr);
    const int ids[] = {199, 200};
    const HCURSOR help = LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(900));
    ASSERT_NE(help, nullptr);
    const HCURSOR arrow = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    for (POINT at : {POINT{90, 90}, POINT{300, 300}}) {
        SCOPED_TRACE(at.x);
        SetCursorPos(at.x, at.y);
        const HCURSOR expected = at.x == 90 ? help : arrow;
        // Wine updates the cursor of a moved pointer on its own time and may overwrite
        // the one just set: a wrong choice never shows, a right one within a few tries.
        HCURSOR shown = nullptr;
        for (int attempt = 0; attempt < 20 && shown != expected; ++attempt) {
            MSG msg;
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
            SetWindowLongPtrA(dialog, DWLP_MSGRESULT, 0);
            EXPECT_TRUE(HoverCursor(dialog, ids, 2));
            EXPECT_EQ(GetWindowLongPtrA(dialog, DWLP_MSGRESULT), 1);
            shown = GetCursor();
            if (shown != expected) Sleep(20);
        }
        EXPECT_EQ(shown, expected);
    }
    DestroyWindow(dialog);
}
