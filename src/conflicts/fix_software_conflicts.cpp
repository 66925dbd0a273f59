#include <windows.h>

#include "conflicts/fix_software_conflicts.h"

#include "app/app_globals.h"
#include "checks/program_lists.h"
#include "conflicts/support_files.h"
#include "resources/ids_conflicts.h"
#include "services/window_position.h"
#include "ui/picture_dialog.h"
#include "ui/report_list.h"

// The path column starts far enough right that a needed library's name (long names
// included) does not run into it.
static const int kConflictTabs[4] = {5, 175, 250, 400};

static const char kDangerousNotice[] =
    "This option checks for outdated or incompatible programs that could cause data loss. These programs are not "
    "checked for by anti-virus programs. Pandrel does NOT do a scan for viruses or trojan horses. It is recommended "
    "that you use a reputable virus scanner in addition to regularly running the dangerous program check.";

static int ListMissingSupportFiles(HWND list)
{
    return FindMissingSupportFiles(GetParent(list), list);
}

static int ListDangerousAfterNotice(HWND list)
{
    // The notice is shown whatever the answer; the check follows it.
    MessageBoxA(GetParent(list), kDangerousNotice, "Notice", MB_OK | MB_ICONQUESTION);
    return ListDangerousPrograms(list);
}

struct ConflictButton {
    int id;
    int bitmapId;
    int (*check)(HWND list);
};

static const ConflictButton kConflictButtons[] = {
    {IDC_CONFLICTS_INTEGRITY, IDB_CONFLICTS_INTEGRITY, ListMissingSupportFiles},
    {IDC_CONFLICTS_DANGEROUS, IDB_CONFLICTS_DANGEROUS, ListDangerousAfterNotice},
    {IDC_CONFLICTS_MSDOS, IDB_CONFLICTS_MSDOS, ListMsDosModePrograms},
    {IDC_CONFLICTS_LEGACY, IDB_CONFLICTS_LEGACY, ListIncompatiblePrograms},
};

static void OnCommand(HWND dialog, int id)
{
    for (const ConflictButton& button : kConflictButtons) {
        if (id != button.id) continue;
        HWND list = GetDlgItem(dialog, IDC_CONFLICTS_REPORT);
        ShowAnalyzingPanel();
        SendMessageA(list, LB_RESETCONTENT, 0, 0);
        button.check(list);
        HideAnalyzingPanel();
    }
}

INT_PTR CALLBACK FixSoftwareConflictsDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    INT_PTR result;
    if (OnPictureReportDialog(dialog, message, wParam, lParam, kConflictButtons, HELP_CONTEXT_FIX_CONFLICTS,
                              DialogReport{IDC_CONFLICTS_REPORT, 4, kConflictTabs}, &result))
        return result;
    switch (message) {
    case WM_INITDIALOG:
        SendDlgItemMessageA(dialog, IDC_CONFLICTS_REPORT, LB_SETHORIZONTALEXTENT, 1000, 0);
        CenterWindow(dialog, MainDialog);
        return TRUE;
    case WM_COMMAND:
        OnCommand(dialog, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

void OpenFixSoftwareConflicts(HWND owner)
{
    DialogBoxParamA(gInstance, MAKEINTRESOURCEA(IDD_FIX_CONFLICTS), owner, FixSoftwareConflictsDlgProc, 0);
}
