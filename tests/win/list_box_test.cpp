// List-box services against real list boxes in a visible popup window.
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
        list_ = CreateWindowA("LISTBOX", "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
                              10, 20, 200, 80, window_, HMENU(kListId), nullptr, nullptr);
        ASSERT_TRUE(window_ && list_);
    }
    void TearDown() override { DestroyWindow(window_); }
    void Add(const std::string& line) { SendMessageA(list_, LB_ADDSTRING, 0, LPARAM(line.c_str())); }
    LRESULT Selected() const { return SendMessageA(list_, LB_GETCURSEL, 0, 0); }
    LRESULT Top() const { return SendMessageA(list_, LB_GETTOPINDEX, 0, 0); }
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
    EXPECT_EQ(SelectedItemNumber(window_, kListId), 0u);  // nothing selected
    struct Case {
        std::string line;
        DWORD number;
    } cases[] = {
        {"Helper App\t1234", 1234},
        {"1234\t5678", 5678},
        {"No tab here 99", 0},
        {"Name\t42\t7", 42},
        {"Name\tnot a number", 0},
        {"Large\t4294967295", 4294967295u},
        {std::string(300, 'n') + "\t77", 77},  // longer than a report slot
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line.substr(0, 20));
        SendMessageA(list_, LB_RESETCONTENT, 0, 0);
        Add("first\t1");
        Add(c.line);
        SendMessageA(list_, LB_SETCURSEL, 1, 0);
        EXPECT_EQ(SelectedItemNumber(window_, kListId), c.number);
    }
    SendMessageA(list_, LB_SETCURSEL, WPARAM(-1), 0);
    EXPECT_EQ(SelectedItemNumber(window_, kListId), 0u);
}

TEST_F(ListBoxes, SelectReportLineSelectsTheLabelsLineAndBringsItToTheTop)
{
    for (int i = 0; i < 40; ++i) {
        char line[32];
        snprintf(line, sizeof line, "Topic %02d", i);
        if (i == 25) snprintf(line, sizeof line, "Memory size and use");
        if (i == 30) snprintf(line, sizeof line, "Disk drives");
        Add(line);
    }
    struct Case {
        const char* label;
        const char* text;
        LRESULT selected;
    } cases[] = {
        {"caption field", "\x01" "CMemory\t\x01" "Y32 MB", 25},
        {"other case, no markup", "disk DRIVES\tFixed", 30},
        {"bar code in the label", "Top~uic 07\t~M05", 7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        SendMessageA(list_, LB_SETCURSEL, 0, 0);
        SendMessageA(list_, LB_SETTOPINDEX, 0, 0);
        SelectReportLine(c.text, list_);
        EXPECT_EQ(Selected(), c.selected);
        EXPECT_EQ(Top(), c.selected);
    }
}

TEST_F(ListBoxes, SelectReportLineRepaintsEvenWhenNothingMatches)
{
    for (const char* line : {"Processor", "Memory", "Disk"}) Add(line);
    SendMessageA(list_, LB_SETCURSEL, 1, 0);
    UpdateWindow(list_);

    ValidateRect(list_, nullptr);
    SelectReportLine("Printer\tnone", list_);
    EXPECT_EQ(Selected(), 1);
    EXPECT_TRUE(NeedsPaint());

    // Two characters or fewer: nothing at all happens.
    ValidateRect(list_, nullptr);
    SelectReportLine("Di", list_);
    EXPECT_EQ(Selected(), 1);
    EXPECT_FALSE(NeedsPaint());
    SelectReportLine(nullptr, list_);
    EXPECT_EQ(Selected(), 1);
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
    // The help cursor resource is not built yet, so both cases show the arrow; which
    // rectangles count as "over" is covered by RectHoldsPoint's own tests.
    HWND dialog = CreateWindowA(WC_DIALOG, "hover", WS_POPUP | WS_VISIBLE, 50, 50, 300, 200, nullptr, nullptr,
                                nullptr, nullptr);
    HWND control = CreateWindowA("STATIC", "", WS_CHILD | WS_VISIBLE, 20, 20, 100, 40, dialog, HMENU(200), nullptr,
                                 nullptr);
    ASSERT_TRUE(dialog && control);
    const int ids[] = {199, 200};
    HCURSOR arrow = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    for (POINT at : {POINT{90, 90}, POINT{300, 300}}) {
        SCOPED_TRACE(at.x);
        SetCursorPos(at.x, at.y);
        SetWindowLongPtrA(dialog, DWLP_MSGRESULT, 0);
        SetCursor(nullptr);
        EXPECT_TRUE(HoverCursor(dialog, ids, 2));
        EXPECT_EQ(GetWindowLongPtrA(dialog, DWLP_MSGRESULT), 1);
        EXPECT_EQ(GetCursor(), arrow);
    }
    DestroyWindow(dialog);
}
