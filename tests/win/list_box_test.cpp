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
        window_ = CreateWindowA(WC_DIALOG, "lists", WS_POPUP | WS_VISIBLE, 100, 100, 300, 200, nullptr, nullptr,
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
    HWND window_ = nullptr, list_ = nullptr;
};
}  // namespace

TEST_F(ListBoxes, SelectedItemNumberReadsTheFieldAfterTheFirstTab)
{
    struct Case {
        std::string line;
        DWORD number;
    } cases[] = {
        {"Helper App\t1234", 1234},   {"1234\t5678", 5678},         {"No tab here 99", 0},
        {"Name\t42\t7", 42},          {"Large\t4294967295", 4294967295u},
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
    } cases[] = {{"\x01" "CMemory\t\x01" "Y32 MB", 25}, {"disk DRIVES\tFixed", 30}, {"Top~uic 07\t~M05", 7}};
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
