// What every dialog of picture buttons on light grey answers alike.
#pragma once
#include <windows.h>

#include "services/help_file.h"
#include "ui/drawing.h"
#include "ui/report_list.h"

// Help and the context menu open the dialog's help topic, draw requests paint the table's
// buttons (rows of any type with an id and a bitmapId), OK and Cancel end the dialog. True
// when message was one of these; the dialog procedure then returns TRUE.
template <typename Row, size_t N>
bool OnPictureButtonDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam, const Row (&rows)[N],
                           DWORD helpContext)
{
    switch (message) {
    case WM_HELP:
    case WM_CONTEXTMENU:
        ShowHelpFile(dialog, HELP_CONTEXT, helpContext);
        return true;
    case WM_DRAWITEM:
        DrawTablePictureButton(rows, reinterpret_cast<const DRAWITEMSTRUCT*>(lParam), HBRUSH(GetStockObject(LTGRAY_BRUSH)));
        return true;
    case WM_COMMAND:
        if (LOWORD(wParam) != IDOK && LOWORD(wParam) != IDCANCEL) return false;
        EndDialog(dialog, LOWORD(wParam));
        return true;
    }
    return false;
}

// One report list of such a dialog: its id and the tab stops it is drawn with.
struct DialogReport {
    int listId;
    int tabStopCount;
    const int* tabStops;
};

// The same for a dialog that also shows a report list, cyan on black: its items are
// measured and drawn by the report painter. True when message was handled; the dialog
// procedure then returns *result.
template <typename Row, size_t N>
bool OnPictureReportDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam, const Row (&rows)[N],
                           DWORD helpContext, const DialogReport& report, INT_PTR* result)
{
    *result = TRUE;
    switch (message) {
    case WM_MEASUREITEM: {
        MEASUREITEMSTRUCT* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        ReportMeasureItem(GetDlgItem(dialog, int(item->CtlID)), item);
        return true;
    }
    case WM_DRAWITEM: {
        const DRAWITEMSTRUCT* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (int(item->CtlID) != report.listId) break;
        ReportDrawItem(item->hwndItem, item, report.tabStopCount, report.tabStops, kReportNoLitLamps);
        return true;
    }
    case WM_CTLCOLORLISTBOX:
        *result = INT_PTR(ReportListColours(HDC(wParam), kReportTextCyan));
        return true;
    }
    return OnPictureButtonDialog(dialog, message, wParam, lParam, rows, helpContext);
}
