#include <windows.h>

#include "boost/priority_boss.h"

#include <cstdio>

#include "app/app_globals.h"
#include "boost/priority_rules.h"
#include "resources/ids_boost.h"
#include "services/help_file.h"
#include "services/list_box.h"
#include "services/processes.h"
#include "services/toolhelp.h"
#include "services/window_position.h"
#include "ui/report_list.h"

namespace {

HWND gPriorityBoss = nullptr;

// Lines carry a window title cut so that the tab and the id always fit the 256-byte slot.
constexpr int kLineSize = 256;
constexpr int kTitleShown = kLineSize - 12;

struct TitleQuery {
    char title[kLineSize];
};

BOOL CALLBACK TitleOfThreadWindow(HWND window, LPARAM parameter)
{
    TitleQuery* query = reinterpret_cast<TitleQuery*>(parameter);
    return GetWindowTextA(window, query->title, sizeof query->title) <= 0;
}

// The title of the first titled top-level window of the thread; empty when it has none.
void ThreadWindowTitle(DWORD threadId, TitleQuery* query)
{
    query->title[0] = '\0';
    EnumThreadWindows(threadId, TitleOfThreadWindow, reinterpret_cast<LPARAM>(query));
}

// Checks the radio of the process's current class, or none when the class has no radio or
// the process cannot be read: a check left over from another program would be a lie.
void ShowProgramClass(HWND dialog, DWORD processId)
{
    DWORD priorityClass = 0;
    if (HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId)) {
        priorityClass = GetPriorityClass(process);
        CloseHandle(process);
    }
    const int checked = PriorityRadioOf(priorityClass);
    for (int id = IDC_PRIORITY_IDLE; id <= IDC_PRIORITY_MAXIMUM; ++id)
        CheckDlgButton(dialog, id, id == checked ? BST_CHECKED : BST_UNCHECKED);
}

void OnThreadSelected(HWND dialog)
{
    const DWORD threadId = SelectedItemNumber(dialog, IDC_PRIORITY_THREADS);
    const LONG priority = threadId ? ThreadPriorityOf(threadId) : 0;
    HICON icon = LoadIconA(gInstance, MAKEINTRESOURCEA(PriorityIconId(priority)));
    SendDlgItemMessageA(dialog, IDC_PRIORITY_ICON, STM_SETICON, WPARAM(icon), 0);
}

void FillThreadList(HWND dialog, DWORD processId)
{
    HWND list = GetDlgItem(dialog, IDC_PRIORITY_THREADS);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    ForEachThread([&](const THREADENTRY32& entry) {
        if (entry.th32OwnerProcessID != processId) return true;
        TitleQuery query;
        ThreadWindowTitle(entry.th32ThreadID, &query);
        char line[kLineSize];
        const unsigned long id = entry.th32ThreadID;
        if (query.title[0])
            snprintf(line, sizeof line, "%.*s\t%lu", kTitleShown, query.title, id);
        else
            snprintf(line, sizeof line, "%lu\t%lu", id, id);
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line));
        return true;
    });
    SendMessageA(list, LB_SETCURSEL, 0, 0);
}

void OnProgramSelected(HWND dialog)
{
    const DWORD processId = SelectedItemNumber(dialog, IDC_PRIORITY_PROGRAMS);
    ShowProgramClass(dialog, processId);
    FillThreadList(dialog, processId);
    OnThreadSelected(dialog);
}

// Sets the class the radio stands for, then shows the class the system actually granted
// (real-time may become high without the privilege for it). A process that cannot be
// opened is left as it is.
void OnClassChosen(HWND dialog, int radioId)
{
    const DWORD processId = SelectedItemNumber(dialog, IDC_PRIORITY_PROGRAMS);
    if (HANDLE process = OpenProcess(PROCESS_SET_INFORMATION, FALSE, processId)) {
        SetPriorityClass(process, PriorityClassOfRadio(radioId));
        CloseHandle(process);
    }
    ShowProgramClass(dialog, processId);
    OnThreadSelected(dialog);
}

void OnInitDialog(HWND dialog)
{
    SendDlgItemMessageA(dialog, IDC_PRIORITY_PROGRAMS, LB_RESETCONTENT, 0, 0);
    INT tabStop = 5000;
    SendDlgItemMessageA(dialog, IDC_PRIORITY_THREADS, LB_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(&tabStop));
    FillProcessList(dialog, IDC_PRIORITY_PROGRAMS);  // sets the same tab stop on its list
    SendDlgItemMessageA(dialog, IDC_PRIORITY_PROGRAMS, LB_SETCURSEL, 0, 0);
    OnProgramSelected(dialog);
    CenterWindow(dialog, MainDialog);
}

void OnCommand(HWND dialog, int id, int notification)
{
    const bool chosen = notification == LBN_SELCHANGE || notification == LBN_DBLCLK;
    if (id == IDC_PRIORITY_PROGRAMS && chosen)
        OnProgramSelected(dialog);
    else if (id == IDC_PRIORITY_THREADS && chosen)
        OnThreadSelected(dialog);
    else if (PriorityClassOfRadio(id) && notification == BN_CLICKED)
        OnClassChosen(dialog, id);
    else if (id == IDOK || id == IDCANCEL)
        DestroyWindow(dialog);
}

}  // namespace

INT_PTR CALLBACK PriorityBossDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog(dialog);
        return TRUE;
    case WM_CTLCOLORLISTBOX:
        if (GetDlgCtrlID(HWND(lParam)) != IDC_PRIORITY_THREADS) return FALSE;
        return INT_PTR(ReportListColours(HDC(wParam), RGB(255, 255, 255)));
    case WM_HELP:
    case WM_CONTEXTMENU:
        ShowHelpFile(dialog, HELP_CONTEXT, HELP_CONTEXT_PRIORITY_BOSS);
        return TRUE;
    case WM_COMMAND:
        OnCommand(dialog, LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    case WM_DESTROY:
        if (gPriorityBoss == dialog) gPriorityBoss = nullptr;
        return FALSE;
    }
    return FALSE;
}

HWND PriorityBoss(HWND parent)
{
    if (gPriorityBoss && IsWindow(gPriorityBoss)) {
        if (IsIconic(gPriorityBoss)) ShowWindow(gPriorityBoss, SW_RESTORE);
        SetWindowPos(gPriorityBoss, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
        SetForegroundWindow(gPriorityBoss);
        return gPriorityBoss;
    }
    gPriorityBoss = CreateDialogParamA(gInstance, MAKEINTRESOURCEA(IDD_PRIORITY_BOSS), parent, PriorityBossDlgProc, 0);
    if (gPriorityBoss) ShowWindow(gPriorityBoss, SW_SHOWNORMAL);
    return gPriorityBoss;
}
