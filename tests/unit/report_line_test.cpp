#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "ui/report_line.h"

namespace {

const int kStops[] = {10, 110, 310, 410};
const ReportRect kItem{0, 20, 600, 36};  // 16 pixels high, as a list item is

struct Recorded {
    ReportDraw draw;
    std::string text;
    uint32_t colour;  // the text colour in force when the command ran (kGrey: 0xFF000000)
};

constexpr uint32_t kGrey = 0xFF000000u;

// Runs the parser and keeps the commands, tracking the text colour as a DC would.
struct Recorder {
    std::vector<Recorded> all;
    uint32_t colour;

    explicit Recorder(uint32_t startColour = 0x123456) : colour(startColour) {}
    static void Sink(void* self, const ReportDraw& d)
    {
        Recorder& r = *static_cast<Recorder*>(self);
        if (d.op == ReportOp::kTextColour) r.colour = d.colour;
        if (d.op == ReportOp::kGreyTextColour) r.colour = kGrey;
        r.all.push_back(Recorded{d, d.text ? std::string(d.text, size_t(d.textLength)) : std::string(), r.colour});
    }
    std::vector<Recorded> Of(ReportOp op) const
    {
        std::vector<Recorded> out;
        for (const Recorded& r : all)
            if (r.draw.op == op) out.push_back(r);
        return out;
    }
};

Recorder Parse(const std::string& line, uint32_t lit = 0, const int* stops = kStops, int count = 4,
               uint32_t startColour = 0x123456)
{
    Recorder r(startColour);
    ReportItemLayout layout{kItem, stops, count, lit};
    ParseReportLine(line.data(), line.size(), layout, Recorder::Sink, &r);
    return r;
}

std::string Bright(char letter, const std::string& text)
{
    return std::string(1, kMarkBright) + letter + text;
}

TEST(ReportLine, FieldsAreNonEmptyRunsBetweenTabs)
{
    struct Case {
        const char* name;
        std::string line;
        std::vector<std::string> texts;
        std::vector<int> xs;
    } cases[] = {
        {"adjacent tabs leave no empty column", Bright('C', "Caption") + "\t\t" + Bright('Y', "Value"),
         {"Caption", "Value"}, {10, 110}},
        {"leading and trailing tabs", "\t\tA\tB\t", {"A", "B"}, {10, 110}},
        {"a space is a column", " \tB", {" ", "B"}, {10, 110}},
        {"only tabs draw nothing", "\t\t\t", {}, {}},
        {"fields past the last stop are not drawn", "a\tb\tc\td\te\tf", {"a", "b", "c", "d"}, {10, 110, 310, 410}},
        {"a NUL ends the line", std::string("a\tb\0c", 5), {"a", "b"}, {10, 110}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<Recorded> texts = Parse(c.line).Of(ReportOp::kText);
        ASSERT_EQ(texts.size(), c.texts.size());
        for (size_t i = 0; i < texts.size(); ++i) {
            EXPECT_EQ(texts[i].text, c.texts[i]);
            EXPECT_EQ(texts[i].draw.rect.left, c.xs[i]);
            EXPECT_EQ(texts[i].draw.rect.top, kItem.top + 2);
        }
    }
}

TEST(ReportLine, ColourCodes)
{
    struct Case {
        const char* name;
        std::string field;
        std::string text;
        uint32_t colour;
        bool underlined;
    } cases[] = {
        {"bright Y is white like W", Bright('Y', "Passed"), "Passed", 0xFFFFFF, false},
        {"bright W", Bright('W', "x"), "x", 0xFFFFFF, false},
        {"bright C", Bright('C', "Label"), "Label", 0xFFFF00, false},
        {"bright R", Bright('R', "Failed"), "Failed", 0x0000FF, false},
        {"dark Y is olive", "\x02YOlive", "Olive", 0x008080, false},
        {"dark C is teal", "\x02" "CTeal", "Teal", 0x808000, false},
        {"dark B is navy", "\x02" "BNavy", "Navy", 0x800000, false},
        {"grey", "\x03" "Credits", "Credits", kGrey, false},
        {"rgb", "\x04\x10\x20\x30Mixed", "Mixed", 0x302010, false},
        {"plain text is black", "Plain", "Plain", 0x000000, false},
        {"0x05 is plain text", "\x05" "x", "\x05" "x", 0x000000, false},
        {"underline then plain text is black underlined", "\x06Heading", "Heading", 0x000000, true},
        {"underline then cyan", "\x06" + Bright('C', "Extension"), "Extension", 0xFFFF00, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<Recorded> texts = Parse(c.field).Of(ReportOp::kText);
        ASSERT_EQ(texts.size(), 1u);
        EXPECT_EQ(texts[0].text, c.text);
        EXPECT_EQ(texts[0].colour, c.colour);
        EXPECT_EQ(texts[0].draw.underlined, c.underlined);
    }
}

TEST(ReportLine, UnknownColourLetterKeepsThePreviousColourAndDropsTheLetter)
{
    std::vector<Recorded> texts = Parse(Bright('G', "Good") + "\t" + Bright('Q', "Odd")).Of(ReportOp::kText);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[1].text, "Odd");
    EXPECT_EQ(texts[1].colour, 0x00FF00u);
    // As the first field it keeps the colour the list prepared.
    texts = Parse("\x02qOdd", 0, kStops, 4, 0xABCDEF).Of(ReportOp::kText);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].colour, 0xABCDEFu);
    // Truncated codes draw nothing and read nothing past the field.
    EXPECT_TRUE(Parse(std::string(1, kMarkBright)).Of(ReportOp::kText).empty());
    EXPECT_TRUE(Parse("\x04\x10\t" + Bright('C', "x")).Of(ReportOp::kText).size() == 1);
}

int BarWidth(const std::vector<Recorded>& fills)
{
    if (fills.empty()) return 0;
    return fills.back().draw.rect.right - fills.front().draw.rect.left;
}

TEST(ReportLine, WedgeBarWidthBrushAndSlope)
{
    struct Case {
        const char* field;
        int width;  // of the 100-pixel column
        ReportBrush brush;
    } cases[] = {
        {"#00", 1, ReportBrush::kGreen},  {"#32", 33, ReportBrush::kGreen}, {"#33", 34, ReportBrush::kYellow},
        {"#65", 66, ReportBrush::kYellow}, {"#66", 67, ReportBrush::kRed},  {"#99", 100, ReportBrush::kRed},
        {"#7", 8, ReportBrush::kGreen},   {"#x9", 1, ReportBrush::kGreen},  {"#", 1, ReportBrush::kGreen},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.field);
        // Column 1 runs from 110 to 310: 200 pixels, so use column 0 with stops 10, 110.
        Recorder r = Parse(c.field);
        std::vector<Recorded> fills = r.Of(ReportOp::kFill);
        ASSERT_EQ(fills.size(), size_t((c.width + 1) / 2));
        const int height = (kItem.bottom - 2) - (kItem.top + 2);
        for (size_t k = 0; k < fills.size(); ++k) {
            const ReportRect& s = fills[k].draw.rect;
            const int i = int(k) * 2;
            EXPECT_EQ(fills[k].draw.brush, c.brush);
            EXPECT_EQ(s.left, 11 + i);
            EXPECT_EQ(s.right, 12 + i);
            EXPECT_EQ(s.top, kItem.top + 2 + i * height / 100);
            EXPECT_EQ(s.bottom, kItem.bottom - 2);
        }
        EXPECT_EQ(r.colour, 0u);  // bars set black text
    }
}

TEST(ReportLine, StripedBarColoursEachStripByItsDistance)
{
    // Column 1 is 200 pixels wide: "%49" is 100 pixels.
    Recorder r = Parse("x\t%49");
    std::vector<Recorded> fills = r.Of(ReportOp::kFill);
    ASSERT_EQ(fills.size(), 34u);  // 0, 3, ... 99
    for (size_t k = 0; k < fills.size(); ++k) {
        const int i = int(k) * 3;
        SCOPED_TRACE(i);
        EXPECT_EQ(fills[k].draw.rect.left, 111 + i);
        EXPECT_EQ(fills[k].draw.rect.top, kItem.top + 2);
        EXPECT_EQ(fills[k].draw.rect.bottom, kItem.bottom - 2);
        const ReportBrush expected = i <= 33 ? ReportBrush::kGreen : i <= 66 ? ReportBrush::kYellow : ReportBrush::kRed;
        EXPECT_EQ(fills[k].draw.brush, expected);
    }
    // "%00" is a 1 % bar: two pixels of a 200-pixel column, one strip.
    fills = Parse("x\t%00").Of(ReportOp::kFill);
    ASSERT_EQ(fills.size(), 1u);
    EXPECT_EQ(fills[0].draw.rect.left, 111);
    // A single digit at the end of the field is the value: "%4" is 5 %, 10 pixels.
    fills = Parse("x\t%4").Of(ReportOp::kFill);
    EXPECT_EQ(fills.size(), 4u);  // 0, 3, 6, 9
}

TEST(ReportLine, SolidBarSpansTwoColumnsAndDrawsItsDigits)
{
    struct Case {
        const char* name;
        std::string field;
        int right;  // of the filled rectangle, 0 for none
        ReportBrush brush;
        uint32_t textColour;
        std::string digits;
    } cases[] = {
        // Column 0 and 1 together: 10..310, 300 pixels.
        {"Y is a yellow bar with yellow digits", "~Y50", 10 + 150 - 1, ReportBrush::kYellow, 0x00FFFF, "50"},
        {"M", "~M99", 10 + 297 - 1, ReportBrush::kMagenta, 0xFF00FF, "99"},
        {"00 draws no bar but its digits", "~G00", 0, ReportBrush::kGreen, 0x00FF00, "00"},
        {"single digit", "~C5", 10 + 15 - 1, ReportBrush::kCyan, 0xFFFF00, "5"},
        {"unknown letter: black brush, colour kept", "~Q40", 10 + 120 - 1, ReportBrush::kBlack, 0x123456, "40"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Recorder r = Parse(c.field);
        std::vector<Recorded> fills = r.Of(ReportOp::kFill);
        std::vector<Recorded> frames = r.Of(ReportOp::kFrame);
        std::vector<Recorded> texts = r.Of(ReportOp::kText);
        if (c.right == 0) {
            EXPECT_TRUE(fills.empty());
            EXPECT_TRUE(frames.empty());
        } else {
            ASSERT_EQ(fills.size(), 1u);
            ASSERT_EQ(frames.size(), 1u);
            const ReportRect expected{11, kItem.top + 1, c.right, kItem.bottom - 1};
            EXPECT_EQ(fills[0].draw.rect.left, expected.left);
            EXPECT_EQ(fills[0].draw.rect.right, expected.right);
            EXPECT_EQ(fills[0].draw.rect.top, expected.top);
            EXPECT_EQ(fills[0].draw.rect.bottom, expected.bottom);
            EXPECT_EQ(fills[0].draw.brush, c.brush);
            EXPECT_EQ(frames[0].draw.brush, ReportBrush::kBlack);
            EXPECT_EQ(frames[0].draw.rect.right, expected.right);
        }
        ASSERT_EQ(texts.size(), 1u);
        EXPECT_EQ(texts[0].text, c.digits);
        EXPECT_EQ(texts[0].colour, c.textColour);
        const int barRight = c.right == 0 ? 10 + 0 - 1 : c.right;
        EXPECT_EQ(texts[0].draw.rect.left, barRight + 5);
    }
    // The next field still takes the next column.
    std::vector<Recorded> texts = Parse("~Y10\tNext").Of(ReportOp::kText);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[1].draw.rect.left, 110);
}

TEST(ReportLine, BarsInTheLastColumnEndAtTheItemsRightEdge)
{
    // Column 3 starts at 410; the item ends at 600, so "~" spans 190 pixels and "#" too.
    std::vector<Recorded> fills = Parse("a\tb\tc\t~W99").Of(ReportOp::kFill);
    ASSERT_EQ(fills.size(), 1u);
    EXPECT_EQ(fills[0].draw.rect.right, 410 + 99 * 190 / 100 - 1);
    fills = Parse("a\tb\tc\t%99").Of(ReportOp::kFill);
    EXPECT_EQ(BarWidth(fills), 190);  // the last strip starts at 189
    // Equal stops give an empty column: no strips at all.
    const int equal[] = {5, 250, 250};
    EXPECT_TRUE(Parse("a\t%99", 0, equal, 3).Of(ReportOp::kFill).empty());
}

TEST(ReportLine, LampsShowWhichFileChangeCountersAreSet)
{
    // Drive 2 (E:): kinds 0 and 3 have changes.
    const uint32_t lit = (1u << (2 * 5 + 0)) | (1u << (2 * 5 + 3)) | (1u << (0 * 5 + 1));
    Recorder r = Parse("&2", lit);
    std::vector<Recorded> frames = r.Of(ReportOp::kFrame);
    ASSERT_EQ(frames.size(), 5u);
    for (int j = 0; j < 5; ++j) {
        SCOPED_TRACE(j);
        const bool on = j == 0 || j == 3;
        EXPECT_EQ(frames[j].draw.rect.left, 10 + 20 * j + 1);
        EXPECT_EQ(frames[j].draw.rect.right, 10 + 20 * j + 14);
        EXPECT_EQ(frames[j].draw.brush, on ? ReportBrush::kLightGrey : ReportBrush::kDarkGrey);
    }
    int yellow = 0;
    for (const Recorded& f : r.Of(ReportOp::kFill)) yellow += f.draw.brush == ReportBrush::kYellow;
    EXPECT_EQ(yellow, 2);
    // Drive indexes past H: (and non-digits) show unlit lamps instead of reading past the counters.
    for (const char* field : {"&6", "&9", "&x", "&"}) {
        SCOPED_TRACE(field);
        Recorder unlit = Parse(field, 0xFFFFFFFFu);
        ASSERT_EQ(unlit.Of(ReportOp::kFrame).size(), 5u);
        for (const Recorded& f : unlit.all) EXPECT_NE(f.draw.brush, ReportBrush::kYellow);
    }
}

TEST(ReportLine, LevelCells)
{
    Recorder r = Parse("x\t@3");
    std::vector<Recorded> fills = r.Of(ReportOp::kFill);
    std::vector<Recorded> frames = r.Of(ReportOp::kFrame);
    ASSERT_EQ(fills.size(), 3u);
    ASSERT_EQ(frames.size(), 3u);
    for (int j = 0; j < 3; ++j) {
        SCOPED_TRACE(j);
        EXPECT_EQ(fills[j].draw.brush, ReportBrush::kGreen);
        EXPECT_EQ(fills[j].draw.rect.left, 110 + 10 * j + 1);
        EXPECT_EQ(fills[j].draw.rect.right, 110 + 10 * j + 9);
        EXPECT_EQ(fills[j].draw.rect.bottom - fills[j].draw.rect.top, 3);
        EXPECT_EQ(frames[j].draw.brush, ReportBrush::kLightGrey);
        EXPECT_EQ(frames[j].draw.rect.bottom, kItem.bottom - 1);
    }
    EXPECT_TRUE(Parse("@").Of(ReportOp::kFill).empty());
    EXPECT_TRUE(Parse("@0").Of(ReportOp::kFill).empty());
    // A huge count draws only what fits in the item: (600 - 10) / 10 cells.
    EXPECT_EQ(Parse("@4294967295999").Of(ReportOp::kFill).size(), 59u);
}

TEST(ReportBarValue, ReadsAtMostTwoDigits)
{
    struct Case {
        const char* digits;
        int value;
    } cases[] = {{"42", 42}, {"7", 7}, {"07", 7}, {"123", 12}, {"5x", 5}, {"x5", 0}, {"", 0}, {"-5", 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.digits);
        EXPECT_EQ(ReportBarValue(c.digits, strlen(c.digits)), c.value);
    }
}

}  // namespace
