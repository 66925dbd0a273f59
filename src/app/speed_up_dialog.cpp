#include <windows.h>

#include "app/speed_up_dialog.h"

#include "app/app_globals.h"
#include "resources/ids_main.h"
#include "services/help_file.h"
#include "services/window_position.h"
#include "ui/drawing.h"

// Benchmarks, wait time, bottlenecks, optimizer and upgrade advisor: their tools are not
// part of the program yet, so the buttons open nothing.
static const PictureButton kSpeedButtons[] = {
    {IDC_SPEED_BENCHMARK, IDB_SPEED_BENCHMARK}, {IDC_SPEED_WAIT, IDB_SPEED_WAIT},
    {IDC_SPEED_BOTTLENECK, IDB_SPEED_BOTTLENECK}, {IDC_SPEED_OPTIMIZE, IDB_SPEED_OPTIMIZE},
    {IDC_SPEED_UPGRADE, IDB_SPEED_UPGRADE},
};

INT_PTR CALLBACK SpeedUpDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        CenterWindow(dialog, MainDialog);
        return TRUE;
    case WM_HELP:
    case WM_CONTEXTMENU:
        ShowHelpFile(dialog, HELP_CONTEXT, HELP_CONTEXT_SPEED_UP);
        return TRUE;
    case WM_DRAWITEM: {
        const DRAWITEMSTRUCT* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        DrawTablePictureButton(kSpeedButtons, item, HBRUSH(GetStockObject(LTGRAY_BRUSH)));
        return TRUE;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) EndDialog(dialog, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}
