// The report list under Wine: what the painter puts on screen for every kind of markup,
// and the list's own bounded copies of its lines.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "report_canvas.h"
#include "test_windows.h"
#include "ui/report_line.h"
#include "ui/report_list.h"
#include "ui/shared_gdi.h"
#include "wine_env.h"

namespace {

const int kStops[] = {10, 130, 210, 310, 410, 510};
constexpr int kListId = 100, kWidth = 640;
constexpr uint32_t kLitLamps = (1u << 0) | (1u << 3);  // C: has files written and one renamed, D: nothing
constexpr COLORREF kCyan = 0xFFFF00, kWhite = 0xFFFFFF, kYellow = 0x00FFFF, kGreen = 0x00FF00, kRed = 0x0000FF,
                   kBlack = 0;

// One line of every kind of markup, as a status report would show them (two a row).
const char* const kSample[] = {
    "\x06\x01" "CMeasure\t\x06\x01" "CValue\t\x06\x01" "CUsage", "\x01" "CProcessor usage\t\x01Y37%\t~Y37",
    "\x01" "CMemory in use\t\x01Y82%\t~M82",                 "\x01" "CDisk activity\t\x01G" "Low\t#15",
    "\x01" "CSwap file\t\x01Y" "Medium\t#50",                 "\x01" "CPaging\t\x01R" "High\t#88",
    "\x01" "CLoad over a day\t\x01Y" "Normal\t%99",           "\x01" "CFile changes C:\t\x01Y" "Active\t&0",
    "\x01" "CFile changes D:\t\x01Y" "Quiet\t&1",             "\x01" "CFree resources\t\x01Y" "5 of 8\t@5",
    " ",                                                      "\x01" "CCarry flag test\t\t\x01YPassed",
    "\x01" "CDivide test\t\x01RFailed\t\x01QKept red",        "\x01QList colour\t~Y00\t\x01" "Cafter",
    "\x02" "COlder driver\t\x02YOlive\t\x04\xC0\x80\x40RGB text", "\x03" "Does not apply to this machine",
};
constexpr int kSampleLines = sizeof kSample / sizeof kSample[0];

LRESULT CALLBACK ReportWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_DRAWITEM:
        ReportDrawItem(GetDlgItem(window, kListId), reinterpret_cast<DRAWITEMSTRUCT*>(lParam), 6, kStops, kLitLamps);
        return TRUE;
    case WM_MEASUREITEM:
        ReportMeasureItem(GetDlgItem(window, kListId), reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
        return TRUE;
    case WM_CTLCOLORLISTBOX:
        SetBkColor(HDC(wParam), kBlack);
        SetTextColor(HDC(wParam), kCyan);
        return LRESULT(GetStockObject(BLACK_BRUSH));
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// A popup window holding one report list, as a tool dialog would.
struct ReportWindow {
    HWND window = nullptr, list = nullptr;
    ReportWindow()
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = ReportWindowProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hbrBackground = HBRUSH(GetStockObject(GRAY_BRUSH));
        wc.lpszClassName = "HalvornReportTest";
        RegisterClassA(&wc);
        window = CreateWindowExA(0, wc.lpszClassName, "Report", WS_POPUP | WS_BORDER, 40, 40, kWidth, 340, nullptr,
                                 nullptr, wc.hInstance, nullptr);
        list = CreateWindowExA(0, "LISTBOX", "",
                               WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT,
                               4, 4, kWidth - 8, 332, window, HMENU(INT_PTR(kListId)), wc.hInstance, nullptr);
        ShowWindow(window, SW_SHOWNOACTIVATE);
    }
    ~ReportWindow() { DestroyWindow(window); }
};

// Slots of 256 bytes grown one at a time (so they move), as the program's string list is.
std::vector<char> gSlots;
uint32_t gSlotCount = 0;
char* gSlotBase = nullptr;
char* NextSlot()
{
    gSlots.resize((gSlotCount + 1) * kReportLineSlot, 0);
    gSlotBase = gSlots.data();
    return gSlotBase + gSlotCount++ * kReportLineSlot;
}

}  // namespace

TEST(ReportList, PaintsEveryKindOfMarkup)
{
    CreateSharedGdi();
    {
        ReportWindow report;
        gSlotCount = 0;
        for (const char* line : kSample) lstrcpynA(NextSlot(), line, kReportLineSlot);
        ReportShowLines(report.list, gSlotBase, gSlotCount);
        const int h = int(SendMessageA(report.list, LB_GETITEMHEIGHT, 0, 0));
        HDC screen = GetDC(report.list);
        EXPECT_TRUE(WaitUntil([&] { return GetPixel(screen, kStops[2] + 20, h + h / 2) == kYellow; }, 3000, true))
            << "the list does not paint through the painter";
        ReleaseDC(report.list, screen);
        EXPECT_FALSE(SaveScreenshot("report_list").empty());

        Canvas canvas(kWidth, h * kSampleLines);
        SetBkColor(canvas.dc, kBlack);
        for (int i = 0; i < kSampleLines; ++i) {
            DRAWITEMSTRUCT item = {ODT_LISTBOX, kListId, UINT(i), ODA_DRAWENTIRE, 0, report.list, canvas.dc,
                                   {0, i * h, kWidth, (i + 1) * h}};
            SetTextColor(canvas.dc, kCyan);  // as the list prepares each item
            ReportDrawItem(report.list, &item, 6, kStops, kLitLamps);
        }
        // Colours by column: {line, left, right, colour, at least that many pixels (0: none)}.
        // Columns start at 10, 130, 210 and 310; a bar starts one pixel into its column. Where
        // each shape lies is the layout's, tested natively; here each kind of drawing and brush.
        const struct { int line, left, right; COLORREF colour; int atLeast; } regions[] = {
            {1, 10, 130, kCyan, 10},      {1, 130, 210, kWhite, 10}, {1, 211, 283, kYellow, 300},  // "~Y37": bar
            {2, 212, 370, 0xFF00FF, 500},                                                         // "~M82"
            {3, 211, 227, kGreen, 8},     {3, 227, 310, kGreen, 0},                               // "#15": 16 pixels
            {6, 211, 212, kGreen, 5},     {6, 280, 281, kRed, 5},                                 // "%99": stripes
            {7, 210, 230, kYellow, 5},    {7, 230, 270, kYellow, 0}, {7, 270, 290, kYellow, 5},   // C: lamps 1 and 4 lit
            {9, 210, 260, kGreen, 60},    {13, 10, 130, kCyan, 10},  // cell caps; an unknown letter keeps the list's colour
            {14, 210, 310, 0x4080C0, 10}, {15, 10, 310, GetSysColor(COLOR_GRAYTEXT), 10},
        };
        for (const auto& r : regions) {
            SCOPED_TRACE(testing::Message() << "line " << r.line << " from " << r.left);
            const int n = canvas.Count(RECT{r.left, r.line * h, r.right, (r.line + 1) * h}, r.colour);
            if (r.atLeast) EXPECT_GE(n, r.atLeast);
            else EXPECT_EQ(n, 0);
        }
    }
    DeleteSharedGdi();
}

TEST(ReportList, KeepsItsOwnBoundedCopiesOfItsLines)
{
    ReportWindow report;
    gSlotCount = 0;
    for (const char* line : {"\x01" "CFirst", " "}) lstrcpynA(NextSlot(), line, kReportLineSlot);
    ReportShowLines(report.list, gSlotBase, gSlotCount);
    // The next report is built in the same slots while this one is still shown.
    gSlotCount = 0;
    for (int i = 0; i < 50; ++i) memset(NextSlot(), 'x', kReportLineSlot);  // not even terminated
    EXPECT_EQ(ListBoxLines(report.list), (std::vector<std::string>{"\x01" "CFirst", " "}));
    ReportShowLines(report.list, gSlotBase, 1);  // added after what is there, cut to 255
    ReportReplaceLine(report.window, kListId, 0, std::string(400, 'y').c_str());
    EXPECT_EQ(ReportLoadTable(report.list, 2999, NextSlot, &gSlotBase, &gSlotCount), 0);  // no such table
    EXPECT_EQ(ListBoxLines(report.list), (std::vector<std::string>{std::string(255, 'y'), " ", std::string(255, 'x')}));
}
