// Tool tables: catalogues of small report tools. Row k of a table is chosen by command id
// base + k + 1; each row names the tool, the function that fills a report list with its
// report, and the help text that explains the report's lines.
#pragma once
#include <cstdint>

struct HWND__;  // the window handle type of <windows.h>, so this header stays portable

struct ToolEntry {
    const char* name;             // shown in titles and lists
    int (*handler)(HWND__* list);  // fills StringList and shows it in the report list
    uint32_t helpId;              // RCDATA help text
};

struct ToolTable {
    const ToolEntry* rows;
    int rowCount;
    int baseId;
};

// The row a command id selects, or -1 when the id names no row of the table.
int ToolRowIndex(const ToolTable& table, int commandId);
