#include "ui/tool_table.h"

int ToolRowIndex(const ToolTable& table, int commandId)
{
    const int64_t row = int64_t(commandId) - table.baseId - 1;
    return row >= 0 && row < table.rowCount ? int(row) : -1;
}
