#include <gtest/gtest.h>

#include "ui/tool_table.h"

TEST(ToolTable, CommandIdsSelectRowsAfterTheBase)
{
    const ToolEntry rows[3] = {{"a", nullptr, 1}, {"b", nullptr, 2}, {"c", nullptr, 3}};
    const int cases[][2] = {{2201, 0}, {2203, 2}, {2200, -1}, {2204, -1}, {-2147483647 - 1, -1}, {2147483647, -1}};
    for (const auto& c : cases) EXPECT_EQ(ToolRowIndex(ToolTable{rows, 3, 2200}, c[0]), c[1]) << c[0];
}
