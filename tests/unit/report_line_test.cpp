#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "ui/report_line.h"

namespace {

const int kStops[] = {10, 110, 310, 410};
const ReportRect kItem{0, 20, 600, 36};  // 16 pixels high, as a list item is

// Rectangles of one kind of command: "F" or "R", the runs of brush letters, then the first
// and the last rectangle.
std::string Shapes(char kind, const std::vector<std::pair<char, ReportRect>>& shapes)
{
    if (shapes.empty()) return "";
    std::string text = std::string(" ") + kind;
    for (size_t i = 0, run = 1; i < shapes.size(); ++i, ++run)
        if (i + 1 == shapes.size() || shapes[i + 1].first != shapes[i].first) {
            text += shapes[i].first + std::to_string(run);
            run = 0;
        }
    char rects[96];
    const ReportRect &a = shapes.front().second, &b = shapes.back().second;
    snprintf(rects, sizeof rects, " %d,%d,%d,%d", a.left, a.top, a.right, a.bottom);
    text += rects;
    snprintf(rects, sizeof rects, " %d,%d,%d,%d", b.left, b.top, b.right, b.bottom);
    return shapes.size() > 1 ? text + rects : text;
}

// What a line draws, in one string: each text as "T<x>:<text>:<colour in force>" (with "u"
// when underlined; the grey-text colour shows as ff000000), then the fills and the frames.
// Brush letters: K black, W white, L light grey, D dark grey, Y, C, M, G, R, B.
std::string Drawn(const std::string& line, uint32_t lit = 0, const int* stops = kStops, int count = 4)
{
    struct Record {
        std::string texts;
        std::vector<std::pair<char, ReportRect>> fills, frames;
        uint32_t colour = 0x123456;  // what the list prepared
    } r;
    auto sink = [](void* self, const ReportDraw& d) {
        Record& r = *static_cast<Record*>(self);
        const char brush = "KWLDYCMGRB"[int(d.brush)];
        char colour[16];
        if (d.op == ReportOp::kTextColour) r.colour = d.colour;
        if (d.op == ReportOp::kGreyTextColour) r.colour = 0xFF000000u;
        if (d.op == ReportOp::kFill) r.fills.push_back({brush, d.rect});
        if (d.op == ReportOp::kFrame) r.frames.push_back({brush, d.rect});
        if (d.op != ReportOp::kText) return;
        EXPECT_EQ(d.rect.top, kItem.top + 2);
        snprintf(colour, sizeof colour, ":%x", r.colour);
        r.texts += " T" + std::to_string(d.rect.left) + ":" + std::string(d.text, size_t(d.textLength)) + colour +
                   (d.underlined ? "u" : "");
    };
    ParseReportLine(line.data(), line.size(), ReportItemLayout{kItem, stops, count, lit}, sink, &r);
    const std::string all = r.texts + Shapes('F', r.fills) + Shapes('R', r.frames);
    return all.empty() ? all : all.substr(1);
}

TEST(ReportLine, DrawsEachFieldInItsColumnWithItsMarkup)
{
    struct Case {
        const char* name;
        std::string line;
        const char* drawn;
    } cases[] = {
        {"adjacent tabs leave no empty column", "\x01" "CCaption\t\t\x01YValue", "T10:Caption:ffff00 T110:Value:ffffff"},
        {"fields past the last stop are not drawn", "a\tb\tc\td\te\tf", "T10:a:0 T110:b:0 T310:c:0 T410:d:0"},
        {"a NUL ends the line", std::string("a\tb\0c", 5), "T10:a:0 T110:b:0"},
        {"bright Y is white like W", "\x01YPassed\t\x01Wx", "T10:Passed:ffffff T110:x:ffffff"},
        {"dark Y, C and B", "\x02YOlive\t\x02" "CTeal\t\x02" "BNavy", "T10:Olive:8080 T110:Teal:808000 T310:Navy:800000"},
        {"grey and rgb", "\x03" "Credits\t\x04\x10\x20\x30Mixed", "T10:Credits:ff000000 T110:Mixed:302010"},
        {"underline then plain text is black underlined", "\x06Heading", "T10:Heading:0u"},
        {"unknown letter keeps the previous colour", "\x01GGood\t\x01QOdd", "T10:Good:ff00 T110:Odd:ff00"},
        {"truncated codes read nothing past the field", "\x01\t\x04\x10\t\x01" "Cx", "T310:x:ffff00"},
        // "#": strips every second pixel of 1..100 % of the column, sloping, one brush by width.
        {"#00 is 1 %", "#00", "FG1 11,22,12,34"},
        {"#32 green", "#32", "FG17 11,22,12,34 43,25,44,34"},
        {"#33 yellow", "#33", "FY17 11,22,12,34 43,25,44,34"},
        {"#66 red", "#66", "FR34 11,22,12,34 77,29,78,34"},
        {"#99 the whole column", "#99", "FR50 11,22,12,34 109,33,110,34"},
        {"two digits at most", "#123", "FG7 11,22,12,34 23,23,24,34"},
        {"no digits", "#x9\t#", "FG2 11,22,12,34 111,22,112,34"},
        // "%": full-height strips every third pixel, coloured by their distance.
        {"%00 is a 1 % bar", "x\t%00", "T10:x:0 FG1 111,22,112,34"},
        {"a single digit at the end is the value", "x\t%4", "T10:x:0 FG4 111,22,112,34 120,22,121,34"},
        {"% in the last column ends at the item's edge", "a\tb\tc\t%99",
         "T10:a:0 T110:b:0 T310:c:0 FG12Y11R41 411,22,412,34 600,22,601,34"},
        // "~": a framed bar over two columns, then its digits in the bar's text colour.
        {"~Y is a yellow bar with yellow digits", "~Y50", "T164:50:ffff FY1 11,21,159,35 RK1 11,21,159,35"},
        {"~00 draws no bar but its digits", "~G00", "T14:00:ff00"},
        {"~ unknown letter: black brush, colour kept", "~Q40", "T134:40:123456 FK1 11,21,129,35 RK1 11,21,129,35"},
        {"the next field takes the next column", "~Y10\tNext", "T44:10:ffff T110:Next:0 FY1 11,21,39,35 RK1 11,21,39,35"},
        {"~ in the last column ends at the item's edge", "a\tb\tc\t~W99",
         "T10:a:0 T110:b:0 T310:c:0 T602:99:ffffff FW1 411,21,597,35 RK1 411,21,597,35"},
        // "@": green-capped cells; a huge count draws only what fits in the item.
        {"three cells", "x\t@3", "T10:x:0 FG3 111,22,119,25 131,22,139,25 RL3 111,22,119,35 131,22,139,35"},
        {"no count", "@\t@0", ""},
        {"cells bounded", "@4294967295999", "FG59 11,22,19,25 591,22,599,25 RL59 11,22,19,35 591,22,599,35"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Drawn(c.line), c.drawn);
    }
    const int equal[] = {5, 250, 250};  // an empty column has no strips at all
    EXPECT_EQ(Drawn("a\t%99", 0, equal, 3), "T5:a:0");
}

TEST(ReportLine, LampsShowWhichFileChangeCountersAreSet)
{
    // Drive 2 (E:): kinds 0 and 3 have changes; drive 0's kind 1 is not this line's.
    const uint32_t lit = (1u << (2 * 5 + 0)) | (1u << (2 * 5 + 3)) | (1u << (0 * 5 + 1));
    EXPECT_EQ(Drawn("&2", lit), "FL1Y1D2L1Y1D1 14,30,21,32 94,30,101,32 RL1D2L1D1 11,21,24,35 91,21,104,35");
    // Drive indexes past H: (and non-digits) show unlit lamps instead of reading past the counters.
    for (const char* field : {"&6", "&9", "&x", "&"})
        EXPECT_EQ(Drawn(field, 0xFFFFFFFFu), "FD5 14,30,21,32 94,30,101,32 RD5 11,21,24,35 91,21,104,35") << field;
}

TEST(FormatReportLine, WritesBarValuesOfAHundredOrMoreAs99AndOtherNumbersWhole)
{
    struct Case { const char* format; unsigned long value; const char* line; } cases[] = {
        {"\x01" "CCPU\t%%%lu", 100, "\x01" "CCPU\t%99"},       // a full processor, not a 10 % bar
        {"\x01" "CCPU\t%%%lu", 99, "\x01" "CCPU\t%99"},
        {"\x01" "CCPU\t%%%lu", 7, "\x01" "CCPU\t%7"},
        {"\x01" "CGDI16\t#%lu", 100, "\x01" "CGDI16\t#99"},   // companion absent
        {"\x01" "CDisk Space\t#%lu", 4000000000ul, "\x01" "CDisk Space\t#99"},
        {"~M%lu", 250, "~M99"},                                  // a bar in the first field
        {"\x01" "CLoad\t\x06" "~Y%lu", 100, "\x01" "CLoad\t\x06" "~Y99"},
        {"\x06" "#%lu", 101, "\x06" "#99"},
        // Numbers that are not bar values keep every digit.
        {"\x01" "CProcesses\t\x01" "Y%lu", 150, "\x01" "CProcesses\t\x01" "Y150"},
        {"\x01" "C32-Bit Apps\t@%lu", 120, "\x01" "C32-Bit Apps\t@120"},
        {"\x01" "CC: changes\t&%lu", 100, "\x01" "CC: changes\t&100"},
        {"\x01" "CLoad 100%%\t%lu", 100, "\x01" "CLoad 100%\t100"},  // "%" inside a caption
        {"#x%lu", 100, "#x100"},                                 // "#" not directly before
        {"~%lu", 100, "~100"},                                   // "~" without its letter
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        char out[kReportLineSlot];
        EXPECT_EQ(FormatReportLine(out, sizeof out, c.format, c.value), int(strlen(c.line)));
        EXPECT_STREQ(out, c.line);
    }
    char small[6];
    FormatReportLine(small, sizeof small, "\x01" "CCPU\t%%%lu", 100);  // cut, and ended, within its size
    EXPECT_STREQ(small, "\x01" "CCPU");
    // What the painter reads back from a written bar is the value written.
    char out[kReportLineSlot];
    FormatReportLine(out, sizeof out, "%%%lu", 100);
    EXPECT_EQ(ReportBarValue(out + 1, strlen(out + 1)), 99);
}

}  // namespace
