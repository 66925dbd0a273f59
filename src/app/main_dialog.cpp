#include <windows.h>

#include "app/main_dialog.h"

#include "analysis/status_report.h"
#include "app/app_globals.h"
#include "app/close_programs.h"
#include "app/confirm_boost.h"
#include "app/speed_up_dialog.h"
#include "app/startup.h"
#include "app/tips_dialog.h"
#include "boost/change_priorities.h"
#include "boost/tune_windows.h"
#include "boost/window_boss.h"
#include "checks/fix_windows.h"
#include "conflicts/fix_software_conflicts.h"
#include "hardware/fix_hardware.h"
#include "resources/ids_analysis.h"
#include "resources/ids_app.h"
#include "resources/ids_main.h"
#include "resources/ids_ui.h"
#include "services/help_file.h"
#include "services/window_position.h"
#include "ui/about.h"
#include "ui/dialog_size.h"
#include "ui/drawing.h"
#include "ui/readme_viewer.h"

static const PictureButton kMainButtons[] = {
    {IDC_MAIN_HARDWARE, IDB_MAIN_HARDWARE},   {IDC_MAIN_WINDOWS, IDB_MAIN_WINDOWS},
    {IDC_MAIN_CONFLICTS, IDB_MAIN_CONFLICTS}, {IDC_MAIN_SPEED, IDB_MAIN_SPEED},
    {IDC_MAIN_TUNE, IDB_MAIN_TUNE},           {IDC_MAIN_PRIORITIES, IDB_MAIN_PRIORITIES},
    {IDC_MAIN_TIPS, IDB_MAIN_TIPS},           {IDC_MAIN_APPEARANCE, IDB_MAIN_APPEARANCE},
    {IDC_MAIN_STATUS, IDB_MAIN_STATUS},       {IDC_MAIN_LIBRARY, IDB_MAIN_LIBRARY},
};

HWND CreateMainDialog()
{
    HWND dialog = CreateDialogParamA(gInstance, MAKEINTRESOURCEA(IDD_MAIN), nullptr, MainDlgProc, 0);
    if (dialog) ShowWindow(dialog, SW_SHOWNORMAL);
    return dialog;
}

void RunMainCommand(HWND dialog, int command)
{
    switch (command) {
    case IDC_MAIN_HARDWARE:
        OpenFixHardware(dialog);
        break;
    case IDC_MAIN_WINDOWS:
        OpenFixWindows(dialog);
        break;
    case IDC_MAIN_CONFLICTS:
        OpenFixSoftwareConflicts(dialog);
        break;
    case IDC_MAIN_SPEED:
        DialogBoxParamA(gInstance, MAKEINTRESOURCEA(IDD_SPEED_UP), dialog, SpeedUpDlgProc, 0);
        break;
    case IDC_MAIN_TUNE:  // its optimizers confirm in "Boosting"
        OpenTuneWindows(dialog, ConfirmBoost);
        break;
    case IDC_MAIN_PRIORITIES:  // its boosts confirm in "Boosting"
        OpenChangePriorities(dialog, ConfirmBoost);
        break;
    case IDC_MAIN_TIPS:
        DialogBoxParamA(gInstance, MAKEINTRESOURCEA(IDD_TIPS), dialog, TipsDlgProc, 0);
        break;
    case IDC_MAIN_STATUS:
        OpenStatusReport(dialog);
        break;
    case IDC_MAIN_APPEARANCE:
        WindowBoss(dialog);
        break;
    case IDM_MAIN_HELP:
        ShowHelpFile(dialog, HELP_CONTENTS, 0);
        break;
    case IDM_MAIN_README:  // no menu item or button leads here, but the command works
        ShowReadme(dialog);
        break;
    case IDM_MAIN_ABOUT:
        DialogBoxParamA(gInstance, MAKEINTRESOURCEA(IDD_ABOUT), dialog, AboutDlgProc, 0);
        break;
    case IDM_CLOSE_ALL:
        CloseAllPrograms();
        break;
    case IDOK:
    case IDCANCEL:
        ExitProgram();
        break;
    default:
        // The tools behind the other buttons and items (settings,
        // library) are not part of the program yet.
        break;
    }
}

static void OnDrawItem(const DRAWITEMSTRUCT* item)
{
    DrawTablePictureButton(kMainButtons, item, HBRUSH(GetStockObject(BLACK_BRUSH)));
}

INT_PTR CALLBACK MainDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (LimitDialogSize(message, lParam)) return TRUE;
    switch (message) {
    case WM_INITDIALOG:
        PostMessageA(dialog, WM_SETICON, ICON_BIG, LPARAM(LoadIconA(gInstance, MAKEINTRESOURCEA(IDI_APP))));
        CenterWindow(dialog, nullptr);
        return TRUE;
    case WM_CONTEXTMENU:
        ShowHelpFile(dialog, HELP_CONTEXT, HELP_CONTEXT_MAIN);
        SetWindowLongPtrA(dialog, DWLP_MSGRESULT, 0);
        return TRUE;
    case WM_DRAWITEM:
        OnDrawItem(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    case WM_COMMAND:
        RunMainCommand(dialog, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}
