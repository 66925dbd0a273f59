#include <windows.h>
#include <commctrl.h>

#include "analysis/wait_time.h"

#include "analysis/wait_time_rules.h"
#include "app/app_globals.h"
#include "resources/ids_analysis.h"
#include "services/help_file.h"
#include "services/window_position.h"

namespace {

constexpr COLORREF kLightGrey = RGB(0xC0, 0xC0, 0xC0);

bool IsValueField(int id)
{
    if (id == IDC_WAIT_TOTAL || id == IDC_WAIT_PERCENT || id == IDC_WAIT_USING) return true;
    for (const WaitTimeRow& row : kWaitTimeRows)
        if (row.timeId == id) return true;
    return false;
}

void OnInit(HWND dialog)
{
    const WaitTimes times = ComputeWaitTimes(*gSystemStats);
    for (int i = 0; i < kWaitRows; ++i) {
        HWND bar = GetDlgItem(dialog, kWaitTimeRows[i].barId);
        SendMessageA(bar, PBM_SETRANGE32, 0, 100);
        SendMessageA(bar, PBM_SETPOS, WPARAM(times.barPosition[i]), 0);
        SetDlgItemTextA(dialog, kWaitTimeRows[i].timeId, WaitTimeText(times.wait[i]).c_str());
    }
    const double sampled = gSystemStats->secondsSampled;
    SetDlgItemTextA(dialog, IDC_WAIT_TOTAL, WaitTimeText(times.total).c_str());
    SetDlgItemTextA(dialog, IDC_WAIT_USING, WaitTimeText(sampled).c_str());
    SetDlgItemTextA(dialog, IDC_WAIT_PERCENT, WaitPercentText(times.total, sampled).c_str());
    CenterWindow(dialog, MainDialog);
}

}  // namespace

INT_PTR CALLBACK WaitTimeDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        OnInit(dialog);
        return TRUE;
    case WM_CTLCOLORDLG:
        return INT_PTR(GetStockObject(LTGRAY_BRUSH));
    case WM_CTLCOLORSTATIC: {
        HDC dc = HDC(wParam);
        if (IsValueField(GetDlgCtrlID(HWND(lParam)))) {
            SetTextColor(dc, RGB(255, 255, 255));
            SetBkColor(dc, RGB(0, 0, 0));
            return INT_PTR(GetStockObject(BLACK_BRUSH));
        }
        SetTextColor(dc, RGB(0, 0, 0));
        SetBkColor(dc, kLightGrey);
        return INT_PTR(GetStockObject(LTGRAY_BRUSH));
    }
    case WM_HELP:
    case WM_CONTEXTMENU:
        ShowHelpFile(dialog, HELP_CONTEXT, HELP_CONTEXT_WAIT_TIME);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) DestroyWindow(dialog);
        return TRUE;
    }
    return FALSE;
}

HWND OpenWaitTime(HWND owner)
{
    HWND window = CreateDialogParamA(gInstance, MAKEINTRESOURCEA(IDD_WAIT_TIME), owner, WaitTimeDlgProc, 0);
    if (window) ShowWindow(window, SW_SHOW);
    return window;
}
