#include <windows.h>

#include "ui/report_viewer.h"

#include <cstdio>
#include <initializer_list>

#include "resources/ids_tools.h"
#include "services/help_file.h"
#include "services/list_box.h"
#include "services/string_list.h"
#include "services/window_position.h"
#include "ui/print_report.h"
#include "ui/quick_help.h"
#include "ui/report_list.h"
#include "ui/shared_gdi.h"

// The viewer OpenTool reuses; other windows of the same dialog are not remembered.
static HWND gViewer;

static const int kViewerTabStops[9] = {10, 220, 290, 360, 430, 500, 570, 640, 710};

// The shortest report line whose label is worth looking up.
constexpr size_t kShortestLookup = 5;

static void OnInitDialog(HWND dialog)
{
    for (int id : {IDC_VIEWER_HELP, IDC_VIEWER_TITLE, IDC_VIEWER_HELP_TITLE})
        SendDlgItemMessageA(dialog, id, WM_SETFONT, WPARAM(SharedGdi.normalFont), TRUE);
    SendDlgItemMessageA(dialog, IDC_VIEWER_REPORT, LB_SETHORIZONTALEXTENT, 1000, 0);
    CenterWindow(dialog, nullptr);
}

// The selected report line's label finds its paragraph in the Quick Help list. The line
// is read from the list itself, which keeps its own copy of what it shows.
static void OnReportSelection(HWND dialog)
{
    HWND report = GetDlgItem(dialog, IDC_VIEWER_REPORT);
    const LRESULT index = SendMessageA(report, LB_GETCURSEL, 0, 0);
    if (index == LB_ERR) return;
    char line[kReportLineSlot] = {};
    if (SendMessageA(report, LB_GETTEXTLEN, index, 0) >= LRESULT(sizeof line)) return;
    SendMessageA(report, LB_GETTEXT, index, LPARAM(line));
    if (lstrlenA(line) < int(kShortestLookup)) return;
    SelectReportLine(line, GetDlgItem(dialog, IDC_VIEWER_HELP));
}

static void OnCommand(HWND dialog, int id, int notification)
{
    switch (id) {
    case IDM_VIEWER_PRINT:
        PrintReport(dialog, GetDlgItem(dialog, IDC_VIEWER_REPORT), GetDlgItem(dialog, IDC_VIEWER_TITLE),
                    GetDlgItem(dialog, IDC_VIEWER_HELP), GetDlgItem(dialog, IDC_VIEWER_HELP_TITLE));
        return;
    case IDC_VIEWER_REPORT:
        if (notification == LBN_SELCHANGE || notification == LBN_DBLCLK) OnReportSelection(dialog);
        return;
    case IDOK:
    case IDCANCEL:
        if (gViewer == dialog) gViewer = nullptr;
        DestroyWindow(dialog);
        return;
    }
}

INT_PTR CALLBACK ReportViewerDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog(dialog);
        return TRUE;
    case WM_CTLCOLORLISTBOX:
        return INT_PTR(ReportListColours(HDC(wParam), kReportTextCyan));
    case WM_CTLCOLORSTATIC:
        SetTextColor(HDC(wParam), 0xFFFFFF);
        SetBkColor(HDC(wParam), 0x000000);
        return INT_PTR(GetStockObject(BLACK_BRUSH));
    case WM_DRAWITEM: {
        const DRAWITEMSTRUCT* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item->hwndItem != GetDlgItem(dialog, IDC_VIEWER_REPORT)) return FALSE;
        ReportDrawItem(item->hwndItem, item, 9, kViewerTabStops, kReportNoLitLamps);
        return TRUE;
    }
    case WM_MEASUREITEM: {
        MEASUREITEMSTRUCT* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        if (item->CtlID != IDC_VIEWER_REPORT) return FALSE;
        ReportMeasureItem(GetDlgItem(dialog, IDC_VIEWER_REPORT), item);
        return TRUE;
    }
    case WM_COMMAND:
        OnCommand(dialog, LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    case WM_HELP:
    case WM_CONTEXTMENU:
        ShowHelpFile(dialog, HELP_CONTEXT, HELP_CONTEXT_VIEWER);
        return TRUE;
    case WM_DESTROY:
        if (gViewer == dialog) gViewer = nullptr;
        return FALSE;
    }
    return FALSE;
}

int OpenTool(HWND parent, int commandId, int baseId, const ToolTable& table)
{
    const ToolTable shifted{table.rows, table.rowCount, baseId};
    const int row = ToolRowIndex(shifted, commandId);
    if (row < 0) return 0;
    const ToolEntry& tool = table.rows[row];
    if (!gViewer)
        gViewer = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_REPORT_VIEWER), parent,
                                     ReportViewerDlgProc, 0);
    if (!gViewer) return 0;
    StringListCount = 0;
    SendDlgItemMessageA(gViewer, IDC_VIEWER_HELP, LB_RESETCONTENT, 0, 0);
    SendDlgItemMessageA(gViewer, IDC_VIEWER_REPORT, LB_RESETCONTENT, 0, 0);
    char text[300];
    snprintf(text, sizeof text, "  %s", tool.name);
    SetDlgItemTextA(gViewer, IDC_VIEWER_TITLE, text);
    snprintf(text, sizeof text, " Quick Help %s", tool.name);
    SetDlgItemTextA(gViewer, IDC_VIEWER_HELP_TITLE, text);
    HelpTextLoad(GetDlgItem(gViewer, IDC_VIEWER_HELP), tool.helpId);
    ShowWindow(gViewer, SW_SHOW);
    return tool.handler ? tool.handler(GetDlgItem(gViewer, IDC_VIEWER_REPORT)) : 0;
}
