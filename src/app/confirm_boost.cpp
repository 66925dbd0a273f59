#include <windows.h>

#include "app/confirm_boost.h"

#include "app/app_globals.h"
#include "resources/ids_main.h"
#include "services/help_file.h"
#include "services/window_position.h"
#include "ui/drawing.h"
#include "ui/report_list.h"

// Slides the bolt to the right one pixel at a time between two half-second pauses.
static void SlideBolt(HWND dialog)
{
    HWND icon = GetDlgItem(dialog, IDC_BOOST_ICON);
    RECT client, bolt;
    GetClientRect(dialog, &client);
    GetWindowRect(icon, &bolt);
    ScreenRectToClient(dialog, &bolt);
    const int width = bolt.right - bolt.left;
    const int steps = client.right - 2 * width - bolt.left;
    Sleep(500);
    for (int i = 1; i <= steps; ++i) {
        SetWindowPos(icon, nullptr, bolt.left + i, bolt.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        UpdateWindow(dialog);
        Sleep(2);
    }
    Sleep(500);
}

static INT_PTR CALLBACK BoostingDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        SetDlgItemTextA(dialog, IDC_BOOST_TEXT, reinterpret_cast<const char*>(lParam));
        SendDlgItemMessageA(dialog, IDC_BOOST_ICON, STM_SETICON, WPARAM(LoadIconA(gInstance, MAKEINTRESOURCEA(IDI_BOOST))), 0);
        CenterWindow(dialog, MainDialog);
        return TRUE;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
        if (GetDlgCtrlID(HWND(lParam)) != IDC_BOOST_TEXT) return FALSE;
        return INT_PTR(ReportListColours(HDC(wParam), RGB(255, 255, 255)));
    case WM_DRAWITEM: {
        const DRAWITEMSTRUCT* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        const int bitmap = item->CtlID == IDOK ? IDB_BOOST_GO : IDB_BOOST_CANCEL;
        DrawPictureButton(item->hwndItem, item, HBRUSH(GetStockObject(LTGRAY_BRUSH)), bitmap);
        return TRUE;
    }
    case WM_HELP:
        ShowHelpFile(dialog, HELP_CONTEXT, HELP_CONTEXT_BOOSTING);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            SlideBolt(dialog);
            EndDialog(dialog, 1);
        } else if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, 0);
        }
        return TRUE;
    }
    return FALSE;
}

int ConfirmBoost(HWND owner, const char* text)
{
    return DialogBoxParamA(gInstance, MAKEINTRESOURCEA(IDD_BOOSTING), owner, BoostingDlgProc,
                           LPARAM(text ? text : "")) == 1 ? 1 : 0;
}
