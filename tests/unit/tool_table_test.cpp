#include <gtest/gtest.h>

#include "ui/tool_table.h"

TEST(ToolTable, CommandIdsSelectRowsAfterTheBase)
{
    const ToolEntry rows[3] = {{"a", nullptr, 1}, {"b", nullptr, 2}, {"c", nullptr, 3}};
    const ToolTable table{rows, 3, 2200};
    const struct {
        int command, row;
    } cases[] = {{2201, 0}, {2203, 2}, {2200, -1}, {2204, -1}, {-2147483647 - 1, -1}, {2147483647, -1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        EXPECT_EQ(ToolRowIndex(table, c.command), c.row);
    }
}
