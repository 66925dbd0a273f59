#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "ui/report_line.h"
#include "ui/report_table.h"

namespace {

// A list of 256-byte slots like the program's string list, grown one slot per append.
std::vector<char> gSlots;
size_t gCount = 0;

char* NextSlot()
{
    ++gCount;
    gSlots.resize(gCount * kReportLineSlot, 0);
    return gSlots.data() + (gCount - 1) * kReportLineSlot;
}

std::vector<std::string> Lines()
{
    std::vector<std::string> lines;
    for (size_t i = 0; i < gCount; ++i) lines.push_back(gSlots.data() + i * kReportLineSlot);
    return lines;
}

TEST(AppendReportTable, AddsEachNonEmptyLineAfterWhatIsThere)
{
    gSlots.clear();
    gCount = 0;
    strcpy(NextSlot(), "own line");
    const std::string table = "\x01" "CCD-ROM\t~M37\n\n \n\x01" "CTen Speed\t~M99\n";
    EXPECT_EQ(AppendReportTable(table.c_str(), table.size() + 1, NextSlot), 3);
    using V = std::vector<std::string>;
    EXPECT_EQ(Lines(), (V{"own line", "\x01" "CCD-ROM\t~M37", " ", "\x01" "CTen Speed\t~M99"}));
}

TEST(AppendReportTable, StopsAtTheNulOrTheLengthAndKeepsLongLinesInTheirSlot)
{
    gSlots.clear();
    gCount = 0;
    const std::string table = std::string(300, 'a') + "\nb\n" + std::string("c\0d", 3);
    EXPECT_EQ(AppendReportTable(table.data(), table.size(), NextSlot), 3);
    std::vector<std::string> lines = Lines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], std::string(255, 'a'));
    EXPECT_EQ(lines[2], "c");
    // Without a NUL the length bounds the text.
    gSlots.clear();
    gCount = 0;
    EXPECT_EQ(AppendReportTable("x\nyz", 3, NextSlot), 2);
    EXPECT_EQ(Lines()[1], "y");
}

}  // namespace
