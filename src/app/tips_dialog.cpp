#include <windows.h>

#include "app/tips_dialog.h"

#include "analysis/coach.h"
#include "app/app_globals.h"
#include "resources/ids_analysis.h"
#include "services/window_position.h"
#include "ui/picture_dialog.h"

// The shortcuts belong to the reference library, which is not part of the program yet:
// that button opens nothing.
static const PictureButton kTipsButtons[] = {
    {IDC_TIPS_COACH, IDB_TIPS_COACH}, {IDC_TIPS_BOOST, IDB_TIPS_BOOST}, {IDC_TIPS_SHORTCUTS, IDB_TIPS_SHORTCUTS},
};

INT_PTR CALLBACK TipsDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (OnPictureButtonDialog(dialog, message, wParam, lParam, kTipsButtons, HELP_CONTEXT_TIPS)) return TRUE;
    switch (message) {
    case WM_INITDIALOG:
        CenterWindow(dialog, MainDialog);
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_TIPS_COACH:
            DialogBoxParamA(gInstance, MAKEINTRESOURCEA(IDD_COACH), dialog, CoachDlgProc, 0);
            break;
        case IDC_TIPS_BOOST:
            DialogBoxParamA(gInstance, MAKEINTRESOURCEA(IDD_BOOST_TIPS), dialog, BoostTipsDlgProc, 0);
            break;
        }
        return TRUE;
    }
    return FALSE;
}
