#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "ui/report_line.h"
#include "ui/report_table.h"

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
