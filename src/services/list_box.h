#pragma once
#include <windows.h>

// The number after the first tab of the selected line of list box listId (its second
// field, read as a decimal number); 0 when nothing is selected or the line has no tab.
DWORD SelectedItemNumber(HWND dialog, int listId);

// Selects the report-list line that starts like the first tab-separated field of text
// (markup left out, case ignored), or whose following lines continue it where the label
// was wrapped, scrolls it to the top and repaints the list. Does nothing for a text of two
// characters or fewer.
void SelectReportLine(const char* text, HWND list);

// For WM_SETCURSOR in a dialog: the help cursor (resource 900, the arrow while it is
// missing) when the cursor is on one of the listed controls, edges included, else the
// arrow. Sets the dialog's message result to 1 so the system keeps that cursor; returns
// TRUE for the dialog procedure to return.
BOOL HoverCursor(HWND dialog, const int* controlIds, int count);
