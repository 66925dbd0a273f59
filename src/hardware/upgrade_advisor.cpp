#include <windows.h>

#include "hardware/upgrade_advisor.h"

#include "app/app_globals.h"
#include "equipment/equipment_info.h"
#include "equipment/equipment_probes.h"
#include "hardware/upgrade_rules.h"
#include "resources/ids_analysis.h"
#include "resources/ids_hardware.h"
#include "sampling/system_stats.h"
#include "services/string_list.h"
#include "services/window_position.h"
#include "ui/quick_help.h"
#include "ui/report_list.h"

namespace {

const int kTableTabStops[] = {10, 150, 200, 275};

void SetGauge(HWND dialog, int controlId, int level)
{
    const int icon = level == kUnknownLevel ? IDI_LEVEL_UNKNOWN : IDI_LEVEL_FIRST + level;
    SendDlgItemMessageA(dialog, controlId, STM_SETICON, WPARAM(LoadIconA(gInstance, MAKEINTRESOURCEA(icon))), 0);
}

int ChosenKind(HWND dialog)
{
    const LRESULT index = SendDlgItemMessageA(dialog, IDC_UPGRADE_KINDS, LB_GETCURSEL, 0, 0);
    return index >= 0 && index < kUpgradeKindCount ? int(index) : -1;
}

void OnKindChosen(HWND dialog)
{
    const int kind = ChosenKind(dialog);
    if (kind < 0) return;
    HWND table = GetDlgItem(dialog, IDC_UPGRADE_TABLE);
    SendMessageA(table, LB_RESETCONTENT, 0, 0);
    StringListCount = 0;
    // The joystick kind counts the joysticks first, with the user's leave, each time.
    if (kind == kJoystickKind) CountJoysticks(dialog);
    UpgradeEntry entry = {};
    kUpgradeKinds[kind].build(UpgradeFacts{gEquipmentInfo, gSystemStats, gEquipmentInfo->joysticks}, &entry);
    const UpgradeLevels levels = UpgradeGaugeLevels(entry.rating, entry.usage);
    SetGauge(dialog, IDC_UPGRADE_CURRENT, levels.current);
    SetGauge(dialog, IDC_UPGRADE_USAGE, levels.usage);
    SetGauge(dialog, IDC_UPGRADE_POSSIBLE, levels.possible);
    SetGauge(dialog, IDC_UPGRADE_NEED, levels.need);
    if (entry.tableId) ReportLoadTable(table, entry.tableId, StringListNext, &StringListBase, &StringListCount);
}

void OnTableChosen(HWND dialog)
{
    const int kind = ChosenKind(dialog);
    if (kind >= 0) ShowQuickHelpTopic("OVERVIEW", kUpgradeKinds[kind].helpId);
}

}  // namespace

INT_PTR CALLBACK UpgradeAdvisorDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        for (const UpgradeKind& kind : kUpgradeKinds)
            SendDlgItemMessageA(dialog, IDC_UPGRADE_KINDS, LB_ADDSTRING, 0, LPARAM(kind.name));
        SendDlgItemMessageA(dialog, IDC_UPGRADE_KINDS, LB_SETCURSEL, 0, 0);
        OnKindChosen(dialog);
        CenterWindow(dialog, MainDialog);
        return TRUE;
    case WM_COMMAND: {
        const int id = LOWORD(wParam), notification = HIWORD(wParam);
        if (id == IDC_UPGRADE_KINDS && (notification == LBN_SELCHANGE || notification == LBN_DBLCLK)) OnKindChosen(dialog);
        else if (id == IDC_UPGRADE_TABLE && notification == LBN_SELCHANGE) OnTableChosen(dialog);
        else if (id == IDOK || id == IDCANCEL) EndDialog(dialog, id);
        return TRUE;
    }
    case WM_DRAWITEM: {
        const DRAWITEMSTRUCT* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        ReportDrawItem(item->hwndItem, item, 4, kTableTabStops, kReportNoLitLamps);
        return TRUE;
    }
    case WM_MEASUREITEM: {
        MEASUREITEMSTRUCT* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        ReportMeasureItem(GetDlgItem(dialog, int(item->CtlID)), item);
        return TRUE;
    }
    case WM_CTLCOLORLISTBOX:
        return INT_PTR(ReportListColours(HDC(wParam), kReportTextCyan));
    }
    return FALSE;
}

void OpenUpgradeAdvisor(HWND owner)
{
    DialogBoxParamA(gInstance, MAKEINTRESOURCEA(IDD_UPGRADE), owner, UpgradeAdvisorDlgProc, 0);
}
