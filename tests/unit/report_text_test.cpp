#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "ui/help_text.h"
#include "ui/numbered_items.h"
#include "ui/print_form.h"
#include "ui/report_line.h"
#include "ui/report_table.h"
#include "ui/short_name.h"

TEST(ShortenAtBreakText, CutsLongNamesAtTheLastBreakWithinSeventeen)
{
    // The wrapper that formats into a list line is tested under Wine with "Drawing Studio Professional".
    struct Case { const char* text; size_t size; const char* expected; } cases[] = {
        {"Network Neighborhood Browser", 256, "Network"},      // the last space at or before 17 is at 7
        {"abcdefghijklmnopq", 256, "abcdefghijklmnopq"},       // 17: kept whole
        {"abcdefghijklmnopq-rest", 256, "abcdefghijklmnopq"},  // break exactly at 17
        {"a_b=c+d[e{f,ghijklmnopqr", 256, "a_b=c+d[e{f"},      // the last of many break kinds
        // No break within the first 17: the first 17 characters stay instead of nothing.
        {"Supercalifragilisticexpialidocious", 256, "Supercalifragilis"},
        {"Supercalifragilisticexpialidocious", 6, "Super"},   // bounded by the buffer
    };
    for (const Case& c : cases) {
        char out[256];
        memset(out, 'x', sizeof out);
        ShortenAtBreakText(c.text, out, c.size);
        EXPECT_STREQ(out, c.expected) << c.text;
    }
}

TEST(AppendNumberedItems, NumbersEachPairFromOneAndKeepsEmptyTextsNumbered)
{
    TwoColumnText text{"kept\r\n", ""};
    const TextPair pairs[] = {{"Disk full", "Free some space."}, {"", nullptr}};
    AppendNumberedItems(text, pairs, 2);
    EXPECT_EQ(text.first, "kept\r\n1) Disk full\r\n\r\n2) \r\n\r\n");
    EXPECT_EQ(text.second, "1) Free some space.\r\n\r\n2) \r\n\r\n");
}

namespace {

// A list of 256-byte slots like the program's string list, grown one slot per append.
std::vector<std::vector<char>> gSlots;

char* NextSlot()
{
    gSlots.emplace_back(kReportLineSlot, '\0');
    return gSlots.back().data();
}

std::vector<std::string> Append(const std::string& table, size_t length)
{
    gSlots.clear();
    strcpy(NextSlot(), "own line");
    const int added = AppendReportTable(table.c_str(), length, NextSlot);
    std::vector<std::string> lines;
    for (const auto& slot : gSlots) lines.push_back(slot.data());
    EXPECT_EQ(size_t(added) + 1, lines.size());
    return lines;
}

TEST(AppendReportTable, AddsEachNonEmptyLineUpToTheNulOrTheLengthWithinItsSlot)
{
    using V = std::vector<std::string>;
    const std::string table = "\x01" "CCD-ROM\t~M37\n\n \n\x01" "CTen Speed\t~M99\n";
    EXPECT_EQ(Append(table, table.size() + 1), (V{"own line", "\x01" "CCD-ROM\t~M37", " ", "\x01" "CTen Speed\t~M99"}));
    const std::string cut = std::string(300, 'a') + "\nb\n" + std::string("c\0d", 3);
    EXPECT_EQ(Append(cut, cut.size()), (V{"own line", std::string(255, 'a'), "b", "c"}));
    EXPECT_EQ(Append("x\nyz", 3), (V{"own line", "x", "y"}));  // without a NUL the length bounds the text
}

}  // namespace

// The printed form of report lines.
TEST(PrintForm, LeavesOutMarkupJoinsFieldsWithCommaAndCutsToTheBuffer)
{
    std::string commas;  // every tab of a full slot still fits
    for (int i = 0; i < 255; ++i) commas += ", ";
    struct Case { std::string line; size_t size; std::string printed; } cases[] = {
        {"\x01" "CWindows Version\t\x01" "Y4.00.950", kPrintLineLength, "Windows Version, 4.00.950"},
        {"\x06\x01" "CUnderlined\t\x02" "Gdark", kPrintLineLength, "Underlined, dark"},
        {"\x03grey\t\x04\x10\x20\x30rgb", kPrintLineLength, "grey, rgb"},
        {"Drive C:\t&3\tend", kPrintLineLength, "Drive C:, , end"},
        {"CPU\t#40", kPrintLineLength, "CPU, [####      ] 40%"},
        {"Load\t%7\t~G95", kPrintLineLength, "Load, [#         ] 7%, [##########] 95%"},
        {"Cells\t@12", kPrintLineLength, "Cells, Level 12"},
        {std::string(300, 'a') + "\t" + std::string(300, 'b'), 8, "aaaaaaa"},
        {std::string(255, '\t'), kPrintLineLength, commas},
    };
    for (const Case& c : cases) {
        char out[kPrintLineLength];
        PrintableReportLine(c.line.c_str(), out, c.size);
        EXPECT_EQ(out, c.printed) << c.line.substr(0, 20);
    }
}

// The help-text word-wrapper, measured with a fixed-pitch "font" of 10 pixels a character.
namespace {
std::vector<std::string> Wrap(const std::string& text, int width)
{
    std::vector<std::string> items;
    auto measure = [](void*, const char*, size_t length) { return int(length) * 10; };
    auto collect = [](void* context, const char* text, size_t length) { static_cast<std::vector<std::string>*>(context)->emplace_back(text, length); };
    WrapHelpText(text.c_str(), text.size(), width, measure, collect, &items);
    return items;
}
}  // namespace

TEST(HelpText, CutsLinesAndClosesWithASpacer)
{
    struct Case { const char* name; std::string text; int width; std::vector<std::string> items; } cases[] = {
        {"lines that fit", "OVERVIEW\nShort line", 200, {"OVERVIEW", "Short line", " "}},
        {"two line feeds", "one\n\ntwo\n", 200, {"one", "two", " "}},
        {"one-space line", "one\n \ntwo", 200, {"one", " ", "two", " "}},
        {"cut at last space that fits", "aaa bbb ccc ddd", 80, {"aaa bbb", "ccc ddd", " "}},
        {"blanks after the cut skipped", "aaa    bbb", 50, {"aaa", "bbb", " "}},
        {"over-long word broken", "abcdefghijkl", 50, {"abcde", "fghij", "kl", " "}},
        {"over-long word after a short one", "ab abcdefghij x", 50, {"ab", "abcde", "fghij", "x", " "}},
        {"narrower than a character", "abc", 5, {"a", "b", "c", " "}},
        {"empty text", "", 100, {" "}},
    };
    for (const Case& c : cases) EXPECT_EQ(Wrap(c.text, c.width), c.items) << c.name;
}
