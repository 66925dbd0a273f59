#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "report_canvas.h"
#include "sampling/file_changes.h"
#include "ui/report_line.h"
#include "ui/report_list.h"
#include "ui/shared_gdi.h"
#include "wine_env.h"

namespace {

const int kStops[] = {10, 130, 210, 310, 410, 510};
constexpr int kStopCount = 6;
constexpr int kListId = 100;
constexpr int kWidth = 640;
constexpr COLORREF kCyan = 0xFFFF00, kWhite = 0xFFFFFF, kYellow = 0x00FFFF, kBlack = 0;

// One line of every kind of markup, as a status report would show them.
const char* const kSample[] = {
    "\x06\x01" "CMeasure\t\x06\x01" "CValue\t\x06\x01" "CUsage",
    "\x01" "CProcessor usage\t\x01Y37%\t~Y37",
    "\x01" "CMemory in use\t\x01Y82%\t~M82",
    "\x01" "CDisk activity\t\x01G" "Low\t#15",
    "\x01" "CSwap file\t\x01Y" "Medium\t#50",
    "\x01" "CPaging\t\x01R" "High\t#88",
    "\x01" "CLoad over a day\t\x01Y" "Normal\t%99",
    "\x01" "CFile changes C:\t\x01Y" "Active\t&0",
    "\x01" "CFile changes D:\t\x01Y" "Quiet\t&1",
    "\x01" "CFree resources\t\x01Y" "5 of 8\t@5",
    " ",
    "\x01" "CCarry flag test\t\t\x01YPassed",
    "\x01" "CDivide test\t\x01RFailed\t\x01QKept red",
    "\x01QList colour\t~Y00\t\x01" "Cafter",
    "\x02" "COlder driver\t\x02YOlive\t\x04\xC0\x80\x40RGB text",
    "\x03" "Does not apply to this machine",
    "\x06Plain underlined",
};
constexpr int kSampleLines = sizeof kSample / sizeof kSample[0];

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

    explicit ReportWindow(bool visible)
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = ReportWindowProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hbrBackground = HBRUSH(GetStockObject(GRAY_BRUSH));
        wc.lpszClassName = "HalvornReportTest";
        RegisterClassA(&wc);
        window = CreateWindowExA(0, "HalvornReportTest", "Report", WS_POPUP | WS_BORDER, 40, 40, kWidth, 340, nullptr,
                                 nullptr, wc.hInstance, nullptr);
        list = CreateWindowExA(0, "LISTBOX", "",
                               WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS |
                                   LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
                               4, 4, kWidth - 8, 332, window, HMENU(INT_PTR(kListId)), wc.hInstance, nullptr);
        if (visible) ShowWindow(window, SW_SHOWNOACTIVATE);
    }
    ~ReportWindow() { DestroyWindow(window); }
    void Add(const std::string& line) { SendMessageA(list, LB_ADDSTRING, 0, LPARAM(line.c_str())); }
    int Count() const { return int(SendMessageA(list, LB_GETCOUNT, 0, 0)); }
    std::string Line(int index) const
    {
        char text[kReportLineSlot] = "";
        if (SendMessageA(list, LB_GETTEXTLEN, index, 0) < kReportLineSlot)
            SendMessageA(list, LB_GETTEXT, index, LPARAM(text));
        return text;
    }
};

COLORREF ColourOf(ReportBrush brush)
{
    const COLORREF colours[] = {0x000000, 0xFFFFFF, 0xC0C0C0, 0x404040, 0x00FFFF,
                                0xFFFF00, 0xFF00FF, 0x00FF00, 0x0000FF, 0xFF0000};
    return colours[int(brush)];
}

// What the painter must produce, worked out from the parser's commands: fills and frames
// drawn into a plain array in order, text left to its own check.
struct Expectation {
    std::vector<COLORREF> pixels;
    std::vector<bool> isText;
    struct Text {
        ReportDraw draw;
        COLORREF colour;
    };
    std::vector<Text> texts;
    int width, height;

    Expectation(int w, int h) : pixels(size_t(w * h), kBlack), isText(size_t(w * h), false), width(w), height(h) {}
    void Set(int x, int y, COLORREF c)
    {
        if (x >= 0 && y >= 0 && x < width && y < height) pixels[size_t(y * width + x)] = c;
    }
    void Add(const std::string& line, const RECT& item, uint32_t lamps, HDC dc)
    {
        struct Context {
            Expectation* self;
            COLORREF colour;
        } context{this, kCyan};
        const ReportItemLayout layout{ReportRect{int(item.left), int(item.top), int(item.right), int(item.bottom)},
                                      kStops, kStopCount, lamps};
        std::vector<ReportDraw> commands;
        auto keep = [](void* out, const ReportDraw& d) { static_cast<std::vector<ReportDraw>*>(out)->push_back(d); };
        ParseReportLine(line.data(), line.size(), layout, keep, &commands);
        for (const ReportDraw& d : commands) {
            const ReportRect& r = d.rect;
            switch (d.op) {
            case ReportOp::kTextColour: context.colour = d.colour; break;
            case ReportOp::kGreyTextColour: context.colour = GetSysColor(COLOR_GRAYTEXT); break;
            case ReportOp::kFill:
                for (int y = r.top; y < r.bottom; ++y)
                    for (int x = r.left; x < r.right; ++x) Set(x, y, ColourOf(d.brush));
                break;
            case ReportOp::kFrame:
                for (int x = r.left; x < r.right; ++x) {
                    Set(x, r.top, ColourOf(d.brush));
                    Set(x, r.bottom - 1, ColourOf(d.brush));
                }
                for (int y = r.top; y < r.bottom; ++y) {
                    Set(r.left, y, ColourOf(d.brush));
                    Set(r.right - 1, y, ColourOf(d.brush));
                }
                break;
            case ReportOp::kText: {
                ReportDraw text = d;
                HGDIOBJ old = SelectObject(dc, d.underlined ? SharedGdi.underlinedFont : SharedGdi.normalFont);
                SIZE size = {};
                GetTextExtentPoint32A(dc, d.text, d.textLength, &size);
                SelectObject(dc, old);
                text.rect.right = r.left + size.cx;
                text.rect.bottom = r.top + size.cy;
                for (int y = r.top; y < text.rect.bottom; ++y)
                    for (int x = r.left; x < text.rect.right; ++x)
                        if (x < width && y < height) isText[size_t(y * width + x)] = true;
                texts.push_back(Text{text, context.colour});
                break;
            }
            }
        }
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

// Sets file-change counts for the test and puts the old ones back afterwards.
struct FileChangeFixture {
    uint32_t saved[kWatchedLetters][kFileChangeKinds];
    FileChangeFixture()
    {
        for (int d = 0; d < kWatchedLetters; ++d)
            for (int k = 0; k < kFileChangeKinds; ++k) saved[d][k] = FileChangeCounts[d][k].exchange(0);
        FileChangeCounts[0][0] = 3;  // C: files written
        FileChangeCounts[0][3] = 1;  // C: a file renamed
    }
    ~FileChangeFixture()
    {
        for (int d = 0; d < kWatchedLetters; ++d)
            for (int k = 0; k < kFileChangeKinds; ++k) FileChangeCounts[d][k] = saved[d][k];
    }
};

class ReportPaint : public testing::Test {
protected:
    void SetUp() override { CreateSharedGdi(); }
    void TearDown() override { DeleteSharedGdi(); }
    FileChangeFixture changes;
};

TEST_F(ReportPaint, EveryKindOfMarkupPaintsWhatItsCommandsSay)
{
    ReportWindow report(false);
    for (const char* line : kSample) report.Add(line);
    const int height = int(SendMessageA(report.list, LB_GETITEMHEIGHT, 0, 0));
    Canvas canvas(kWidth, height * kSampleLines);
    Expectation expected(kWidth, height * kSampleLines);
    std::vector<std::string> lines(kSample, kSample + kSampleLines);  // the commands point into these
    for (int i = 0; i < kSampleLines; ++i) {
        DRAWITEMSTRUCT item = {};
        item.CtlType = ODT_LISTBOX;
        item.itemID = UINT(i);
        item.itemAction = ODA_DRAWENTIRE;
        item.hwndItem = report.list;
        item.hDC = canvas.Dc();
        item.rcItem = RECT{0, i * height, kWidth, (i + 1) * height};
        SetBkColor(canvas.Dc(), kBlack);
        SetTextColor(canvas.Dc(), kCyan);  // as the list prepares it
        ReportDrawItem(report.list, &item, kStopCount, kStops);
        expected.Add(lines[size_t(i)], item.rcItem, LampBits(), canvas.Dc());
    }

    // Bars, lamps and cells: every pixel outside the text is as the commands say.
    int wrong = 0, firstWrong = -1;
    for (int y = 0; y < expected.height; ++y)
        for (int x = 0; x < kWidth; ++x) {
            const size_t at = size_t(y * kWidth + x);
            if (!expected.isText[at] && canvas.At(x, y) != expected.pixels[at] && wrong++ == 0) firstWrong = int(at);
        }
    EXPECT_EQ(wrong, 0) << "first at x " << firstWrong % kWidth << ", y " << firstWrong / kWidth;

    // Text: drawn in the colour in force (cyan captions, white "Y" values, yellow "~Y"
    // digits, a kept colour after an unknown letter), underlined where marked.
    ASSERT_EQ(expected.texts.size(), 37u);
    for (const Expectation::Text& t : expected.texts) {
        const std::string text(t.draw.text, size_t(t.draw.textLength));
        SCOPED_TRACE(text);
        const RECT box{t.draw.rect.left, t.draw.rect.top, t.draw.rect.right, t.draw.rect.bottom};
        if (t.colour != kBlack) EXPECT_GT(canvas.Count(box, t.colour), 3);
        for (COLORREF other : {kCyan, kWhite, kYellow, COLORREF(0x0000FF)})
            if (other != t.colour) EXPECT_EQ(canvas.Count(box, other), 0);
        int longestRun = 0;
        for (int y = box.top; y < box.bottom; ++y)
            longestRun = std::max(longestRun, canvas.Count(RECT{box.left, y, box.right, y + 1}, t.colour));
        if (t.colour != kBlack) EXPECT_EQ(longestRun >= box.right - box.left - 1, t.draw.underlined);
    }
    auto colourOf = [&](const char* text) {
        for (const Expectation::Text& t : expected.texts)
            if (std::string(t.draw.text, size_t(t.draw.textLength)) == text) return t.colour;
        return COLORREF(0x123456);
    };
    EXPECT_EQ(colourOf("Processor usage"), kCyan);
    EXPECT_EQ(colourOf("Passed"), kWhite);
    EXPECT_EQ(colourOf("37"), kYellow);
    EXPECT_EQ(colourOf("Kept red"), COLORREF(0x0000FF));
    EXPECT_EQ(colourOf("List colour"), kCyan);

    // The cases that matter most, read straight off the canvas.
    auto rowOf = [&](int line) { return line * height + height - 3; };
    EXPECT_EQ(canvas.At(kStops[2] + 1, rowOf(3)), 0x00FF00u);  // "#15": 16 pixels, green
    EXPECT_EQ(canvas.At(kStops[2] + 1, rowOf(4)), kYellow);    // "#50": 51 pixels, yellow
    EXPECT_EQ(canvas.At(kStops[2] + 1, rowOf(5)), 0x0000FFu);  // "#88": 89 pixels, red
    EXPECT_EQ(canvas.At(kStops[2] + 70, rowOf(6)), 0x0000FFu); // "%99": its 70th column is a red stripe
    EXPECT_EQ(canvas.At(kStops[2] + 71, rowOf(6)), kBlack);
    EXPECT_EQ(canvas.At(kStops[2] + 20, height + height / 2), kYellow);  // "~Y37"
    for (int lamp = 0; lamp < 5; ++lamp) {
        SCOPED_TRACE(lamp);
        const int left = kStops[2] + 20 * lamp;
        const RECT upperC{left + 3, 7 * height + 3, left + 12, 7 * height + height / 2};
        const RECT upperD{upperC.left, upperC.top + height, upperC.right, upperC.bottom + height};
        EXPECT_EQ(canvas.Count(upperC, kYellow) > 0, lamp == 0 || lamp == 3);
        EXPECT_EQ(canvas.Count(upperD, kYellow), 0);
    }
    // Five level cells: green caps inside their frames.
    EXPECT_EQ(canvas.Count(RECT{kStops[2], 9 * height, kStops[2] + 50, 9 * height + 6}, 0x00FF00), 5 * 6 * 2);
}

TEST_F(ReportPaint, SelectionChangesAndEmptyListsDrawNothing)
{
    ReportWindow report(false);
    report.Add("\x01" "CCaption");
    Canvas canvas(kWidth, 16);
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

// Slots of 256 bytes grown one at a time, as the program's string list is.
std::vector<char> gSlots;
uint32_t gSlotCount = 0;
char* gSlotBase = nullptr;
char* NextSlot()
{
    gSlots.resize((gSlotCount + 1) * kReportLineSlot, 0);
    gSlotBase = gSlots.data();
    return gSlotBase + gSlotCount++ * kReportLineSlot;
}

TEST(ReportList, KeepsItsOwnCopyOfEveryLine)
{
    ReportWindow report(false);
    gSlotCount = 0;
    for (const char* line : {"\x01" "CFirst", "\x01" "CSecond", " "}) lstrcpynA(NextSlot(), line, kReportLineSlot);
    ReportShowLines(report.list, gSlotBase, gSlotCount);
    // The next report is built in the same slots while this one is still shown.
    gSlotCount = 0;
    for (int i = 0; i < 50; ++i) memset(NextSlot(), 'x', kReportLineSlot);  // not even terminated
    ASSERT_EQ(report.Count(), 3);
    EXPECT_EQ(report.Line(0), "\x01" "CFirst");
    EXPECT_EQ(report.Line(2), " ");
    // Showing adds after what is there; a slot without its NUL keeps 255 characters.
    ReportShowLines(report.list, gSlotBase, 1);
    ASSERT_EQ(report.Count(), 4);
    EXPECT_EQ(report.Line(3), std::string(255, 'x'));
    // A table that is not in the resources adds nothing.
    gSlotCount = 0;
    EXPECT_EQ(ReportLoadTable(report.list, 2999, NextSlot, &gSlotBase, &gSlotCount), 0);
    EXPECT_EQ(gSlotCount, 0u);
    EXPECT_EQ(report.Count(), 4);
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
    ShortenAtBreak(report.window, "\x01" "CProgram\t\x01Y%s", "Drawing Studio Professional", kListId, 2, out,
                   sizeof out);
    EXPECT_STREQ(out, "\x01" "CProgram\t\x01YDrawing Studio");
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

TEST(ReportList, SampleReportOnScreen)
{
    CreateSharedGdi();
    {
        FileChangeFixture changes;
        ReportWindow report(true);
        gSlotCount = 0;
        for (const char* line : kSample) lstrcpynA(NextSlot(), line, kReportLineSlot);
        ReportShowLines(report.list, gSlotBase, gSlotCount);
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
        // The list painted itself through the painter: the "~Y37" bar is yellow on screen.
        EXPECT_EQ(GetPixel(dc, kStops[2] + 20, height + height / 2), kYellow);
        ReleaseDC(report.list, dc);
        EXPECT_FALSE(SaveScreenshot("report_list").empty());
    }
    DeleteSharedGdi();
}

}  // namespace
