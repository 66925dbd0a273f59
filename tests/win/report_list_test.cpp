#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "report_canvas.h"
#include "sampling/file_changes.h"
#include "ui/report_line.h"
#include "ui/report_list.h"
#include "ui/shared_gdi.h"
#include "wine_env.h"

namespace {

const int kStops[] = {10, 110, 210, 310, 410, 510};
constexpr int kStopCount = 6;
constexpr int kListId = 100;
constexpr int kWidth = 640;
constexpr COLORREF kCyan = 0xFFFF00, kWhite = 0xFFFFFF, kYellow = 0x00FFFF, kGreen = 0x00FF00, kRed = 0x0000FF;
constexpr COLORREF kBlack = 0, kLightGrey = 0xC0C0C0, kDarkGrey = 0x404040, kOlive = 0x008080;

LRESULT CALLBACK ReportWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_DRAWITEM: {
        auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        ReportDrawItem(item->hwndItem, item, kStopCount, kStops);
        return TRUE;
    }
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
    HWND window = nullptr;
    HWND list = nullptr;

    explicit ReportWindow(bool visible, int width = kWidth, int height = 300)
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = ReportWindowProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hbrBackground = HBRUSH(GetStockObject(GRAY_BRUSH));
        wc.lpszClassName = "HalvornReportTest";
        RegisterClassA(&wc);
        window = CreateWindowExA(0, "HalvornReportTest", "Report", WS_POPUP | WS_BORDER, 40, 40, width, height, nullptr,
                                 nullptr, wc.hInstance, nullptr);
        list = CreateWindowExA(0, "LISTBOX", "",
                               WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS |
                                   LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
                               4, 4, width - 8, height - 8, window, HMENU(INT_PTR(kListId)), wc.hInstance, nullptr);
        if (visible) ShowWindow(window, SW_SHOWNOACTIVATE);
    }
    ~ReportWindow() { DestroyWindow(window); }
    void Add(const std::string& line) { SendMessageA(list, LB_ADDSTRING, 0, LPARAM(line.c_str())); }
    int Count() const { return int(SendMessageA(list, LB_GETCOUNT, 0, 0)); }
    std::string Line(int index) const
    {
        char text[kReportLineSlot] = "";
        if (SendMessageA(list, LB_GETTEXTLEN, index, 0) < kReportLineSlot) SendMessageA(list, LB_GETTEXT, index, LPARAM(text));
        return text;
    }
};

uint32_t LampBits()
{
    uint32_t bits = 0;
    for (int d = 0; d < kWatchedLetters; ++d)
        for (int k = 0; k < kFileChangeKinds; ++k)
            if (FileChangeCounts[d][k]) bits |= 1u << (d * kFileChangeKinds + k);
    return bits;
}

// The commands the painter carries out for a line, to find where things must be.
std::vector<ReportDraw> Commands(const std::string& line, const RECT& item)
{
    std::vector<ReportDraw> all;
    ReportItemLayout layout{ReportRect{int(item.left), int(item.top), int(item.right), int(item.bottom)}, kStops,
                            kStopCount, LampBits()};
    ParseReportLine(line.data(), line.size(), layout,
                    [](void* out, const ReportDraw& d) { static_cast<std::vector<ReportDraw>*>(out)->push_back(d); },
                    &all);
    return all;
}

std::vector<ReportDraw> Only(const std::vector<ReportDraw>& all, ReportOp op)
{
    std::vector<ReportDraw> out;
    for (const ReportDraw& d : all)
        if (d.op == op) out.push_back(d);
    return out;
}

class ReportPaint : public testing::Test {
protected:
    void SetUp() override { CreateSharedGdi(); }
    void TearDown() override { DeleteSharedGdi(); }

    // Paints line index of the list into the canvas as the list would: black background,
    // cyan text prepared.
    RECT Paint(const ReportWindow& report, int index)
    {
        const int height = int(SendMessageA(report.list, LB_GETITEMHEIGHT, 0, 0));
        DRAWITEMSTRUCT item = {};
        item.CtlType = ODT_LISTBOX;
        item.CtlID = kListId;
        item.itemID = UINT(index);
        item.itemAction = ODA_DRAWENTIRE;
        item.hwndItem = report.list;
        item.hDC = canvas.Dc();
        item.rcItem = RECT{0, index * height, kWidth, (index + 1) * height};
        SetBkColor(canvas.Dc(), kBlack);
        SetTextColor(canvas.Dc(), kCyan);
        ReportDrawItem(report.list, &item, kStopCount, kStops);
        return item.rcItem;
    }

    // The box a text command covers in the canvas.
    RECT TextBox(const ReportDraw& text)
    {
        HGDIOBJ old = SelectObject(canvas.Dc(), text.underlined ? SharedGdi.underlinedFont : SharedGdi.normalFont);
        SIZE size = {};
        GetTextExtentPoint32A(canvas.Dc(), text.text, text.textLength, &size);
        SelectObject(canvas.Dc(), old);
        return RECT{text.rect.left, text.rect.top, text.rect.left + size.cx, text.rect.top + size.cy};
    }

    Canvas canvas{kWidth, 400};
};

TEST_F(ReportPaint, TextColoursFollowTheMarkup)
{
    ReportWindow report(false);
    const COLORREF grey = GetSysColor(COLOR_GRAYTEXT);
    struct Case {
        const char* name;
        std::string line;
        std::vector<COLORREF> columns;  // the colour of each column's text
    } cases[] = {
        {"cyan caption, white value (Y), olive, grey, unknown letter keeps grey",
         "\x01" "CCaption\t\t\x01YValue\t\x02YOlive\t\x03Grey\t\x01QKept", {kCyan, kWhite, kOlive, grey, grey}},
        {"each item starts from the list's colour", "\x01QFirst\tPlain", {kCyan, kBlack}},
        {"rgb", "\x04\x20\x40\x60Mixed", {RGB(0x20, 0x40, 0x60)}},
    };
    for (const Case& c : cases) report.Add(c.line);
    for (int i = 0; i < 3; ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(c.name);
        canvas.Clear(kBlack);
        const RECT item = Paint(report, i);
        std::vector<ReportDraw> texts = Only(Commands(c.line, item), ReportOp::kText);
        ASSERT_EQ(texts.size(), c.columns.size());
        for (size_t k = 0; k < texts.size(); ++k) {
            SCOPED_TRACE(k);
            const RECT box = TextBox(texts[k]);
            EXPECT_EQ(box.left, item.left + kStops[k]);
            if (c.columns[k] == kBlack) {
                // Black on black: nothing but background in the box.
                EXPECT_EQ(canvas.Count(box, kBlack), (box.right - box.left) * (box.bottom - box.top));
                continue;
            }
            EXPECT_GT(canvas.Count(box, c.columns[k]), 10);
            for (COLORREF other : {kCyan, kWhite, kYellow, kOlive})
                if (other != c.columns[k]) EXPECT_EQ(canvas.Count(box, other), 0) << std::hex << other;
        }
    }
}

TEST_F(ReportPaint, UnderlinePrefixDrawsAnUnbrokenLineUnderTheText)
{
    ReportWindow report(false);
    report.Add("\x06\x01" "CExtension");
    report.Add("\x01" "CExtension");
    report.Add("\x06" "Plain");
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        canvas.Clear(kBlack);
        const RECT item = Paint(report, i);
        const std::string line = report.Line(i);  // the commands point into it
        std::vector<ReportDraw> texts = Only(Commands(line, item), ReportOp::kText);
        ASSERT_EQ(texts.size(), 1u);
        const RECT box = TextBox(texts[0]);
        const COLORREF ink = i == 2 ? kBlack : kCyan;
        int longestRun = 0;
        for (int y = box.top; y < box.bottom; ++y)
            longestRun = std::max(longestRun, canvas.Count(RECT{box.left, y, box.right, y + 1}, ink));
        if (i == 0) EXPECT_GE(longestRun, box.right - box.left - 1);
        if (i == 1) EXPECT_LT(longestRun, (box.right - box.left) / 2);
        EXPECT_EQ(texts[0].underlined, i != 1);
    }
}

COLORREF ColourOf(ReportBrush brush)
{
    switch (brush) {
    case ReportBrush::kGreen: return kGreen;
    case ReportBrush::kYellow: return kYellow;
    case ReportBrush::kRed: return kRed;
    case ReportBrush::kCyan: return kCyan;
    default: return 0xFFFFFFFFu;
    }
}

int Area(const RECT& r)
{
    return (r.right - r.left) * (r.bottom - r.top);
}

TEST_F(ReportPaint, BarsHaveTheirBrushesAndGaps)
{
    ReportWindow report(false);
    report.Add("#10\t#50\t#90");
    report.Add("%99");
    report.Add("~Y42");
    report.Add("~Y00");
    for (int i = 0; i < report.Count(); ++i) {
        SCOPED_TRACE(report.Line(i));
        canvas.Clear(kBlack);
        const RECT item = Paint(report, i);
        const std::string line = report.Line(i);  // the commands point into it
        const std::vector<ReportDraw> all = Commands(line, item);
        const std::vector<ReportDraw> fills = Only(all, ReportOp::kFill);
        const bool isSolid = i >= 2;
        for (const ReportDraw& f : fills) {
            RECT r{f.rect.left, f.rect.top, f.rect.right, f.rect.bottom};
            if (isSolid) InflateRect(&r, -1, -1);  // inside its black frame
            EXPECT_EQ(canvas.Count(r, ColourOf(f.brush)), Area(r)) << "bar strip at " << f.rect.left;
            if (!isSolid) EXPECT_EQ(canvas.At(f.rect.left + 1, f.rect.bottom - 1), kBlack) << "gap after " << f.rect.left;
        }
        switch (i) {
        case 0:  // wedges of 11, 51 and 91 pixels: green, yellow and red by width
            ASSERT_EQ(fills.size(), 6u + 26u + 46u);
            EXPECT_EQ(fills.front().brush, ReportBrush::kGreen);
            EXPECT_EQ(fills[6].brush, ReportBrush::kYellow);
            EXPECT_EQ(fills.back().brush, ReportBrush::kRed);
            break;
        case 1:  // one stripe in three, coloured by its distance from the left
            ASSERT_EQ(fills.size(), 34u);
            EXPECT_EQ(canvas.At(11 + 33, item.bottom - 3), kGreen);
            EXPECT_EQ(canvas.At(11 + 36, item.bottom - 3), kYellow);
            EXPECT_EQ(canvas.At(11 + 69, item.bottom - 3), kRed);
            break;
        default: {  // a yellow bar over two columns (none for 00) and yellow digits after it
            ASSERT_EQ(fills.size(), i == 2 ? 1u : 0u);
            const std::vector<ReportDraw> texts = Only(all, ReportOp::kText);
            ASSERT_EQ(texts.size(), 1u);
            EXPECT_EQ(std::string(texts[0].text, size_t(texts[0].textLength)), i == 2 ? "42" : "00");
            const RECT digits = TextBox(texts[0]);
            EXPECT_GT(canvas.Count(digits, kYellow), 10);
            const int yellowOutside = canvas.Count(RECT{0, item.top, kWidth, item.bottom}, kYellow) - canvas.Count(digits, kYellow);
            EXPECT_EQ(yellowOutside, i == 2 ? (84 - 2 - 2) * (item.bottom - item.top - 4) : 0);
            if (i == 2) EXPECT_EQ(canvas.At(11, (item.top + item.bottom) / 2), kBlack);  // the frame
        }
        }
    }
}

TEST_F(ReportPaint, LampsShowTheFileChangeCountsAndCellsTheirNumber)
{
    uint32_t saved[2][kFileChangeKinds];
    for (int d = 0; d < 2; ++d)
        for (int k = 0; k < kFileChangeKinds; ++k) saved[d][k] = FileChangeCounts[d][k].exchange(0);
    FileChangeCounts[1][0] = 7;  // D: files written
    FileChangeCounts[1][3] = 1;  // D: a file renamed
    ReportWindow report(false);
    report.Add("&1\t&0\t@4");
    const RECT item = Paint(report, 0);
    const std::string line = report.Line(0);
    const std::vector<ReportDraw> all = Commands(line, item);

    std::vector<ReportDraw> frames = Only(all, ReportOp::kFrame);
    ASSERT_EQ(frames.size(), 5u + 5u + 4u);
    for (int lamp = 0; lamp < 10; ++lamp) {
        SCOPED_TRACE(lamp);
        const bool lit = lamp == 0 || lamp == 3;
        const ReportRect& cell = frames[size_t(lamp)].rect;
        const int middle = (cell.top + cell.bottom) / 2;
        const RECT upper{cell.left + 2, cell.top + 2, cell.right - 2, middle};
        const RECT lower{cell.left + 3, middle + 2, cell.right - 3, cell.bottom - 3};
        EXPECT_EQ(canvas.Count(upper, kYellow), lit ? (upper.right - upper.left) * (upper.bottom - upper.top) : 0);
        EXPECT_GT(canvas.Count(lower, lit ? kLightGrey : kDarkGrey), 0);
        EXPECT_EQ(canvas.At(cell.left, cell.top), lit ? kLightGrey : kDarkGrey);  // the outline
    }
    // Four level cells: green caps in light grey frames, and nothing where a fifth would be.
    for (int j = 0; j < 4; ++j) {
        SCOPED_TRACE(j);
        const int left = item.left + kStops[2] + 10 * j + 1;
        EXPECT_EQ(canvas.At(left + 4, item.top + 3), kGreen);
        EXPECT_EQ(canvas.At(left, item.bottom - 2), kLightGrey);
        EXPECT_EQ(canvas.At(left + 7, item.bottom - 2), kLightGrey);
        EXPECT_EQ(canvas.At(left + 4, item.bottom - 4), kBlack);
    }
    const RECT fifth{item.left + kStops[2] + 40, item.top, item.left + kStops[2] + 50, item.bottom};
    EXPECT_EQ(canvas.Count(fifth, kBlack), 10 * (item.bottom - item.top));

    for (int d = 0; d < 2; ++d)
        for (int k = 0; k < kFileChangeKinds; ++k) FileChangeCounts[d][k] = saved[d][k];
}

TEST_F(ReportPaint, SelectionChangesDrawNothing)
{
    ReportWindow report(false);
    report.Add("\x01" "CCaption");
    DRAWITEMSTRUCT item = {};
    item.CtlType = ODT_LISTBOX;
    item.itemAction = ODA_SELECT;
    item.hwndItem = report.list;
    item.hDC = canvas.Dc();
    item.rcItem = RECT{0, 0, kWidth, 16};
    ReportDrawItem(report.list, &item, kStopCount, kStops);
    item.itemAction = ODA_DRAWENTIRE;
    item.itemID = UINT(-1);  // an empty list with the focus
    ReportDrawItem(report.list, &item, kStopCount, kStops);
    EXPECT_EQ(canvas.Count(RECT{0, 0, kWidth, 16}, kBlack), kWidth * 16);
}

// A list of 256-byte slots, as the program's string list is.
std::vector<char> Slots(const std::vector<std::string>& lines)
{
    std::vector<char> slots(lines.size() * kReportLineSlot, 0);
    for (size_t i = 0; i < lines.size(); ++i) lstrcpynA(slots.data() + i * kReportLineSlot, lines[i].c_str(), kReportLineSlot);
    return slots;
}

TEST(ReportList, KeepsItsOwnCopyOfEveryLine)
{
    ReportWindow report(false);
    std::vector<char> slots = Slots({"\x01" "CFirst", "\x01" "CSecond", " "});
    ReportShowLines(report.list, slots.data(), 3);
    // The slots are reused for the next report: the list's lines stay as they were.
    std::fill(slots.begin(), slots.end(), 'x');
    ASSERT_EQ(report.Count(), 3);
    EXPECT_EQ(report.Line(0), "\x01" "CFirst");
    EXPECT_EQ(report.Line(2), " ");
    // Showing adds after what is there; a slot without its NUL keeps 255 characters.
    ReportShowLines(report.list, slots.data(), 1);
    ASSERT_EQ(report.Count(), 4);
    EXPECT_EQ(report.Line(3), std::string(255, 'x'));
}

TEST(ReportList, ReplacesLinesInPlace)
{
    ReportWindow report(false);
    for (const char* line : {"a", "b", "c"}) report.Add(line);
    ReportReplaceLine(report.window, kListId, 1, "\x01" "CNew");
    EXPECT_EQ(report.Count(), 3);
    EXPECT_EQ(report.Line(1), "\x01" "CNew");
    ReportReplaceLine(report.window, kListId, 0, std::string(400, 'y').c_str());
    EXPECT_EQ(report.Line(0), std::string(255, 'y'));

    char out[kReportLineSlot];
    ShortenAtBreak(report.window, "\x01" "CProgram\t\x01Y%s", "Microsoft Office Professional", kListId, 2, out, sizeof out);
    EXPECT_STREQ(out, "\x01" "CProgram\t\x01YMicrosoft Office");
    EXPECT_EQ(report.Line(2), out);
    // Without a text the format is taken as it is.
    ShortenAtBreak(report.window, "\x01" "CLoad\t\x01Y100%", nullptr, kListId, 2, out, sizeof out);
    EXPECT_EQ(report.Line(2), "\x01" "CLoad\t\x01Y100%");
    // A small output buffer is never overrun.
    char tiny[8];
    ShortenAtBreak(report.window, "Name %s", "Supercalifragilistic", kListId, 2, tiny, sizeof tiny);
    EXPECT_STREQ(tiny, "Name Su");
    EXPECT_EQ(report.Count(), 3);
}

std::vector<char> gTableSlots;
uint32_t gTableCount = 0;
char* gTableBase = nullptr;
char* NextTableSlot()
{
    gTableSlots.resize((gTableCount + 1) * kReportLineSlot, 0);
    gTableBase = gTableSlots.data();
    return gTableBase + gTableCount++ * kReportLineSlot;
}

TEST(ReportList, MissingTableAddsNothing)
{
    ReportWindow report(false);
    report.Add("kept");
    EXPECT_EQ(ReportLoadTable(report.list, 2999, NextTableSlot, &gTableBase, &gTableCount), 0);
    EXPECT_EQ(gTableCount, 0u);
    EXPECT_EQ(report.Count(), 1);
}

TEST(ReportList, SampleReportOnScreen)
{
    CreateSharedGdi();
    uint32_t saved = FileChangeCounts[0][0].exchange(3);
    {
        ReportWindow report(true, kWidth, 300);
        std::vector<char> slots = Slots({
            "\x06\x01" "CMeasure\t\x06\x01" "CValue\t\x06\x01" "CUsage",
            "\x01" "CProcessor usage\t\x01Y37%\t~Y37",
            "\x01" "CMemory in use\t\x01Y82%\t~M82",
            "\x01" "CDisk activity\t\x01G" "Low\t#15",
            "\x01" "CPaging\t\x01R" "High\t#88",
            "\x01" "CLoad over a day\t\x01Y" "Normal\t%60",
            "\x01" "CFile changes C:\t\x01Y" "Active\t&0",
            "\x01" "CFile changes D:\t\x01Y" "Quiet\t&1",
            "\x01" "CFree resources\t\x01Y" "5 of 8\t@5",
            " ",
            "\x01" "CCarry flag test\t\x01YPassed",
            "\x01" "CDivide test\t\x01RFailed",
            "\x02" "COlder driver\t\x02YOlive\t\x04\xC0\x80\x40RGB text",
            "\x03" "Does not apply to this machine",
        });
        ReportShowLines(report.list, slots.data(), DWORD(slots.size() / kReportLineSlot));
        UpdateWindow(report.window);
        MSG msg;
        for (int i = 0; i < 20; ++i) {
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
            Sleep(20);
        }
        HDC dc = GetDC(report.list);
        TEXTMETRICA metrics = {};
        GetTextMetricsA(dc, &metrics);
        const int height = int(SendMessageA(report.list, LB_GETITEMHEIGHT, 0, 0));
        EXPECT_EQ(height, metrics.tmHeight);
        // The list painted itself: the processor's "~Y" bar is yellow on screen.
        const int barX = kStops[2] + 10, barY = height * 1 + height / 2;
        EXPECT_EQ(GetPixel(dc, barX, barY), kYellow);
        ReleaseDC(report.list, dc);
        EXPECT_FALSE(SaveScreenshot("report_list").empty());
    }
    FileChangeCounts[0][0] = saved;
    DeleteSharedGdi();
}

}  // namespace
