#include <windows.h>

#include "boost/change_priorities.h"

#include <cstdio>
#include <iterator>

#include "app/app_globals.h"
#include "boost/priority_boss.h"
#include "resources/ids_boost.h"
#include "sampling/stats_file.h"
#include "services/list_box.h"
#include "services/processes.h"
#include "services/window_names.h"
#include "services/window_position.h"
#include "ui/picture_dialog.h"
#include "ui/report_list.h"

DWORD(WINAPI* ProgramSetBatchLimit)(DWORD limit) = GdiSetBatchLimit;

namespace {

// More processor time for the chosen program; this program's own drawing calls go out at
// once. A process that ended or refuses the rights is left alone without a word.
void BoostProcessor(DWORD processId)
{
    if (HANDLE process = OpenProcess(PROCESS_SET_INFORMATION | PROCESS_VM_OPERATION, FALSE, processId)) {
        FlushInstructionCache(process, nullptr, 0);
        SetPriorityClass(process, HIGH_PRIORITY_CLASS);
        CloseHandle(process);
    }
    ProgramSetBatchLimit(1);
}

// Only this program's statistics file, and only when it is there.
void FlushFiles(DWORD)
{
    FlushSystemStatsFile();
}

// Reading the queue state of this thread is the whole flush.
void FlushMessages(DWORD)
{
    GetQueueStatus(255);
}

// This program's drawing calls are pooled.
void PoolVideo(DWORD)
{
    ProgramSetBatchLimit(15);
}

const char* const kProcessorActions[] = {"Flush video screen writes", "Flush instruction cache",
                                         "Raise priority to HIGH"};
const char* const kFileActions[] = {"Flush open file buffers"};
const char* const kMessageActions[] = {"Flush USER message buffers"};
const char* const kVideoActions[] = {"Pool video screen writes"};

struct ProgramBoost {
    int id;
    int bitmapId;
    const char* const* actions;  // null: the button opens Execution Priorities instead
    size_t actionCount;
    void (*act)(DWORD processId);
};

const ProgramBoost kBoosts[] = {
    {IDC_CHANGE_CPU, IDB_CHANGE_CPU, kProcessorActions, std::size(kProcessorActions), BoostProcessor},
    {IDC_CHANGE_FILES, IDB_CHANGE_FILES, kFileActions, std::size(kFileActions), FlushFiles},
    {IDC_CHANGE_MESSAGES, IDB_CHANGE_MESSAGES, kMessageActions, std::size(kMessageActions), FlushMessages},
    {IDC_CHANGE_VIDEO, IDB_CHANGE_VIDEO, kVideoActions, std::size(kVideoActions), PoolVideo},
    {IDC_CHANGE_PRIORITY, IDB_CHANGE_PRIORITY, nullptr, 0, nullptr},
};

// The one dialog that can be open (it is modal): how its boosts ask for confirmation.
struct ChangeDialog {
    BoostConfirmFn confirm;
} gDialog;

void OnProgramSelected(HWND dialog)
{
    const DWORD processId = SelectedItemNumber(dialog, IDC_CHANGE_PROGRAMS);
    ProgramNameQuery query;
    ProgramNameOf(processId, &query);
    char name[sizeof query.programName];
    if (query.programName[0])
        lstrcpynA(name, query.programName, sizeof name);
    else
        snprintf(name, sizeof name, "Process #%lu", static_cast<unsigned long>(processId));
    SetDlgItemTextA(dialog, IDC_CHANGE_NAME, name);
}

void OnCommand(HWND dialog, int id, int notification)
{
    if (id == IDC_CHANGE_PROGRAMS) {
        if (notification == LBN_SELCHANGE || notification == LBN_DBLCLK) OnProgramSelected(dialog);
        return;
    }
    if (notification != BN_CLICKED) return;
    for (const ProgramBoost& boost : kBoosts) {
        if (boost.id != id) continue;
        if (!boost.actions)
            PriorityBoss(dialog);
        else if (ConfirmProposal(dialog, gDialog.confirm, boost.actions, boost.actionCount))
            boost.act(SelectedItemNumber(dialog, IDC_CHANGE_PROGRAMS));
    }
}

void OnInitDialog(HWND dialog, BoostConfirmFn confirm)
{
    gDialog.confirm = confirm;
    FillProcessList(dialog, IDC_CHANGE_PROGRAMS);
    HWND list = GetDlgItem(dialog, IDC_CHANGE_PROGRAMS);
    SendMessageA(list, LB_SETCURSEL, 0, 0);
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_CHANGE_PROGRAMS, LBN_SELCHANGE), LPARAM(list));
    CenterWindow(dialog, MainDialog);
}

}  // namespace

INT_PTR CALLBACK ChangePrioritiesDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (OnPictureButtonDialog(dialog, message, wParam, lParam, kBoosts, HELP_CONTEXT_CHANGE_PRIORITIES)) return TRUE;
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog(dialog, reinterpret_cast<BoostConfirmFn>(lParam));
        return TRUE;
    case WM_CTLCOLORSTATIC:
        if (GetDlgCtrlID(HWND(lParam)) != IDC_CHANGE_NAME) return FALSE;
        return INT_PTR(ReportListColours(HDC(wParam), RGB(255, 255, 255)));
    case WM_COMMAND:
        OnCommand(dialog, LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

void OpenChangePriorities(HWND owner, BoostConfirmFn confirm)
{
    DialogBoxParamA(gInstance, MAKEINTRESOURCEA(IDD_CHANGE_PRIORITIES), owner, ChangePrioritiesDlgProc,
                    LPARAM(confirm));
}
