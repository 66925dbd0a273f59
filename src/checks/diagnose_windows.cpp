#include <windows.h>

#include "checks/diagnose_windows.h"

#include "app/app_globals.h"
#include "checks/windows_checks.h"
#include "resources/ids_checks.h"
#include "services/help_file.h"
#include "services/list_box.h"
#include "services/report_search.h"
#include "services/report_slot.h"
#include "services/window_position.h"
#include "ui/drawing.h"
#include "ui/quick_help.h"
#include "ui/report_list.h"

static const int kDiagnoseTabs[4] = {5, 175, 225, 275};
static const int kHoverControls[1] = {IDC_DIAGNOSE_REPORT};

// The dialog keeps one fact in DWLP_USER: the catalogue row whose report the list shows,
// plus 1 (0 before the first test). Quick Help explains a finding with that row's help
// text, even when another row has been chosen in the list since.
static int ShownRow(HWND dialog)
{
    return int(GetWindowLongPtrA(dialog, DWLP_USER)) - 1;
}

static void OnInitDialog(HWND dialog)
{
    SetWindowLongPtrA(dialog, DWLP_USER, 0);
    HWND checks = GetDlgItem(dialog, IDC_DIAGNOSE_CHECKS);
    for (const ToolEntry& check : kWindowsChecks) SendMessageA(checks, LB_ADDSTRING, 0, LPARAM(check.name));
    SendMessageA(checks, LB_SETCURSEL, 0, 0);
    SendDlgItemMessageA(dialog, IDC_DIAGNOSE_REPORT, LB_SETHORIZONTALEXTENT, 1000, 0);
    CenterWindow(dialog, MainDialog);
}

static void OnTest(HWND dialog)
{
    const LRESULT row = SendDlgItemMessageA(dialog, IDC_DIAGNOSE_CHECKS, LB_GETCURSEL, 0, 0);
    if (row < 0 || row >= kWindowsCheckCount) return;
    HWND report = GetDlgItem(dialog, IDC_DIAGNOSE_REPORT);
    ShowAnalyzingPanel();
    SendMessageA(report, LB_RESETCONTENT, 0, 0);
    kWindowsChecks[row].handler(report);
    SetWindowLongPtrA(dialog, DWLP_USER, LONG_PTR(row + 1));
    HideAnalyzingPanel();
}

// A click on a finding: the line is read from the report list's own copy, which stays the
// report's while other tools rebuild the shared string list.
static void OnFindingChosen(HWND dialog)
{
    const int row = ShownRow(dialog);
    HWND report = GetDlgItem(dialog, IDC_DIAGNOSE_REPORT);
    const LRESULT index = SendMessageA(report, LB_GETCURSEL, 0, 0);
    if (row < 0 || index == LB_ERR) return;
    char line[kReportLineSlot] = {};
    if (SendMessageA(report, LB_GETTEXTLEN, WPARAM(index), 0) >= LRESULT(sizeof line)) return;
    SendMessageA(report, LB_GETTEXT, WPARAM(index), LPARAM(line));
    char label[kReportLineSlot];
    if (!ReportSearchText(line, label, sizeof label)) return;  // the empty line explains nothing
    ShowQuickHelpTopic(line, kWindowsChecks[row].helpId);
}

static void OnCommand(HWND dialog, int id, int notification)
{
    switch (id) {
    case IDC_DIAGNOSE_TEST:
        OnTest(dialog);
        return;
    case IDC_DIAGNOSE_REPORT:
        if (notification == LBN_SELCHANGE) OnFindingChosen(dialog);
        return;
    case IDOK:
    case IDCANCEL:
        EndDialog(dialog, id);
        return;
    }
}

static BOOL OnDrawItem(HWND dialog, const DRAWITEMSTRUCT* item)
{
    if (item->CtlID == IDC_DIAGNOSE_REPORT) {
        ReportDrawItem(item->hwndItem, item, 4, kDiagnoseTabs, kReportNoLitLamps);
        return TRUE;
    }
    if (item->CtlID == IDC_DIAGNOSE_TEST) {
        DrawPictureButton(item->hwndItem, item, HBRUSH(GetStockObject(LTGRAY_BRUSH)), IDB_DIAGNOSE_TEST);
        return TRUE;
    }
    return FALSE;
}

INT_PTR CALLBACK DiagnoseWindowsDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog(dialog);
        return TRUE;
    case WM_COMMAND:
        OnCommand(dialog, LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    case WM_MEASUREITEM: {
        MEASUREITEMSTRUCT* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        if (item->CtlID != IDC_DIAGNOSE_REPORT) return FALSE;
        ReportMeasureItem(GetDlgItem(dialog, IDC_DIAGNOSE_REPORT), item);
        return TRUE;
    }
    case WM_DRAWITEM:
        return OnDrawItem(dialog, reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    case WM_CTLCOLORLISTBOX:
        if (HWND(lParam) != GetDlgItem(dialog, IDC_DIAGNOSE_REPORT)) return FALSE;
        return INT_PTR(ReportListColours(HDC(wParam), kReportTextCyan));
    case WM_SETCURSOR:
        return HoverCursor(dialog, kHoverControls, 1);
    case WM_HELP:
        ShowHelpFile(dialog, HELP_CONTEXT, HELP_CONTEXT_DIAGNOSE_WINDOWS);
        return TRUE;
    }
    return FALSE;
}

void OpenDiagnoseWindows(HWND owner)
{
    DialogBoxParamA(gInstance ? gInstance : GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_DIAGNOSE_WINDOWS), owner,
                    DiagnoseWindowsDlgProc, 0);
    ForgetDiskNameSearches();
}
