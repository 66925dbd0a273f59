// The report list: an owner-drawn, fixed-height list box with LBS_HASSTRINGS on a black
// background. It keeps its own copy of every line, so no item points into a list of slots
// that has moved since, and its lines can be read back with LB_GETTEXT.
#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>

// The text colour a report list gives each item before its markup picks one.
constexpr COLORREF kReportTextCyan = 0xFFFF00;  // report viewer, Quick Help, file inventory
constexpr COLORREF kReportTextRed = 0x0000FF;   // status report

// WM_CTLCOLORLISTBOX of every dialog that owns a report list: sets the background colour
// black (the painter draws text in the background mode and colour the list prepared, so
// a white background would box every text) and textColour as the default text colour,
// and returns the black stock brush for the dialog to return.
HBRUSH ReportListColours(HDC dc, COLORREF textColour);

// Adds entries 0..count-1 of a list of 256-byte slots starting at base to the list, in
// order, with redrawing switched off meanwhile. Does not empty the list first.
void ReportShowLines(HWND list, const char* base, DWORD count);

// Appends the lines of the RCDATA report table resourceId to the list of slots through
// nextSlot, then shows every entry of that list (*base, *count, read after appending) in
// the report list. A missing resource adds and shows nothing. Returns the number of table
// lines appended.
int ReportLoadTable(HWND list, UINT resourceId, char* (*nextSlot)(), char* const* base, const uint32_t* count);

// The owner-draw painter for WM_DRAWITEM of a report list: draws the item's fields at the
// given tab stops (pixels from the item's left edge). Draws only whole items. litLamps
// says which file-change lamps are lit (bit drive * 5 + kind); lists without lamp rows pass
// kReportNoLitLamps.
void ReportDrawItem(HWND list, const DRAWITEMSTRUCT* item, int tabStopCount, const int* tabStops,
                    uint32_t litLamps);
constexpr uint32_t kReportNoLitLamps = 0;

// WM_MEASUREITEM of a report list: the item height is the character height of the list's
// device context.
void ReportMeasureItem(HWND list, MEASUREITEMSTRUCT* item);

// Replaces line index of the dialog's report list listId with text (at most 255
// characters are kept).
void ReportReplaceLine(HWND dialog, int listId, int index, const char* text);
