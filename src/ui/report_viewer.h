// The report viewer: a modeless window with a tool's report on the left and its Quick
// Help text on the right. Selecting a report line scrolls the help text to the paragraph
// that explains it; the menu prints both.
#pragma once
#include <windows.h>

#include "ui/tool_table.h"

// Shows row (commandId - baseId - 1) of table in the one reused report viewer (created
// owned by parent when none is open): empties both lists, sets the titles, loads the help
// text and runs the row's handler on the report list. Returns the handler's result, or 0
// when the command names no row.
int OpenTool(HWND parent, int commandId, int baseId, const ToolTable& table);

// The viewer's dialog procedure, for other views that show their own contents in windows
// made from the same dialog resource.
INT_PTR CALLBACK ReportViewerDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
