// The status report's detail dialogs: the file-change counts of one drive, and one
// running program with its threads, modules, windows and heap use.
#include <windows.h>
#include <tlhelp32.h>

#include <cstdio>
#include <initializer_list>

#include "analysis/status_report.h"
#include "app/app_globals.h"
#include "resources/ids_status.h"
#include "sampling/file_changes.h"
#include "sampling/file_watch.h"
#include "services/executable_header.h"
#include "services/executable_kind.h"
#include "services/help_file.h"
#include "services/processes.h"
#include "services/text_rules.h"
#include "services/toolhelp.h"
#include "services/window_position.h"
#include "ui/report_list.h"

struct ChangeField {
    int id;
    FileChangeKind kind;
};

static const ChangeField kChangeFields[] = {
    {IDC_CHANGES_WRITTEN, kChangeLastWrite},        {IDC_CHANGES_SIZE, kChangeSize},
    {IDC_CHANGES_ATTRIBUTES, kChangeAttributes},    {IDC_CHANGES_NAMES, kChangeFileName},
    {IDC_CHANGES_DIRECTORIES, kChangeDirectoryName},
};

static void ShowDriveChanges(HWND dialog)
{
    HWND list = GetDlgItem(dialog, IDC_CHANGES_DRIVES);
    const LRESULT selected = SendMessageA(list, LB_GETCURSEL, 0, 0);
    if (selected == LB_ERR) return;
    const int drive = int(SendMessageA(list, LB_GETITEMDATA, WPARAM(selected), 0));
    if (drive < 0 || drive >= kWatchedLetters) return;
    unsigned long total = 0;
    for (const ChangeField& field : kChangeFields) {
        const unsigned long count = FileChangeCounts[drive][field.kind].load();
        total += count;
        SetDlgItemInt(dialog, field.id, UINT(count), FALSE);
    }
    SetDlgItemInt(dialog, IDC_CHANGES_TOTAL, UINT(total), FALSE);
}

static void FillChangeDrives(HWND dialog)
{
    HWND list = GetDlgItem(dialog, IDC_CHANGES_DRIVES);
    for (int index = 0; index < kWatchedLetters; ++index) {
        if (!IsWatchedDrive(index)) continue;
        char name[4];
        snprintf(name, sizeof name, "%c:", kFirstWatchedLetter + index);
        const LRESULT item = SendMessageA(list, LB_ADDSTRING, 0, LPARAM(name));
        SendMessageA(list, LB_SETITEMDATA, WPARAM(item), index);
    }
    SendMessageA(list, LB_SETCURSEL, 0, 0);
}

INT_PTR CALLBACK FileChangesDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        FillChangeDrives(dialog);
        ShowDriveChanges(dialog);
        CenterWindow(dialog, MainDialog);
        return TRUE;
    case WM_CTLCOLORSTATIC: {
        const int id = GetDlgCtrlID(HWND(lParam));
        if (id < IDC_CHANGES_WRITTEN || id > IDC_CHANGES_TOTAL) return FALSE;
        return INT_PTR(ReportListColours(HDC(wParam), RGB(255, 255, 255)));
    }
    case WM_HELP:
    case WM_CONTEXTMENU:
        ShowHelpFile(dialog, HELP_CONTEXT, HELP_CONTEXT_FILE_CHANGES);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_CHANGES_DRIVES && (HIWORD(wParam) == LBN_SELCHANGE || HIWORD(wParam) == LBN_DBLCLK))
            ShowDriveChanges(dialog);
        else if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)
            EndDialog(dialog, 0);
        return TRUE;
    }
    return FALSE;
}

// ---- Applications

struct WindowSearch {
    DWORD processId;
    HWND list;      // combo box to fill with every window's title, or null
    int count;
    char title[256];  // the first non-empty title found
};

static BOOL CALLBACK VisitProcessWindow(HWND window, LPARAM argument)
{
    WindowSearch* search = reinterpret_cast<WindowSearch*>(argument);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId) return TRUE;
    ++search->count;
    char title[256];
    const int length = GetWindowTextA(window, title, sizeof title);
    if (length > 0 && !search->title[0]) lstrcpynA(search->title, title, sizeof search->title);
    if (search->list) SendMessageA(search->list, CB_ADDSTRING, 0, LPARAM(length > 0 ? title : "<no caption>"));
    return TRUE;
}

static WindowSearch FindProcessWindows(DWORD processId, HWND list)
{
    WindowSearch search = {processId, list, 0, {}};
    EnumWindows(VisitProcessWindow, LPARAM(&search));
    return search;
}

static void FillApplications(HWND dialog)
{
    HWND list = GetDlgItem(dialog, IDC_APPS_LIST);
    ForEachProcess([&](const PROCESSENTRY32& entry) {
        const WindowSearch windows = FindProcessWindows(entry.th32ProcessID, nullptr);
        char name[256];
        if (windows.title[0])
            lstrcpynA(name, windows.title, sizeof name);
        else
            snprintf(name, sizeof name, "Process #%lu", static_cast<unsigned long>(entry.th32ProcessID));
        const LRESULT item = SendMessageA(list, LB_ADDSTRING, 0, LPARAM(name));
        SendMessageA(list, LB_SETITEMDATA, WPARAM(item), LPARAM(entry.th32ProcessID));
        return true;
    });
}

static const char* KindName(int kind)
{
    return kind == kPortableExecutable ? "32-bit Windows" : kind == kWindows16Application ? "16-bit Windows" : "DOS";
}

static int FillThreads(DWORD processId, HWND combo)
{
    int count = 0;
    ForEachThread([&](const THREADENTRY32& entry) {
        if (entry.th32OwnerProcessID != processId) return true;
        char line[64];
        snprintf(line, sizeof line, "Thread %lu", static_cast<unsigned long>(entry.th32ThreadID));
        SendMessageA(combo, CB_ADDSTRING, 0, LPARAM(line));
        ++count;
        return true;
    });
    return count;
}

static int FillModules(DWORD processId, HWND combo)
{
    int count = 0;
    ForEachModule(processId, [&](const MODULEENTRY32& entry) {
        SendMessageA(combo, CB_ADDSTRING, 0, LPARAM(entry.szModule));
        ++count;
        return true;
    });
    return count;
}

// Sums the process's heap blocks by kind.
static void ShowHeapUse(HWND dialog, DWORD processId)
{
    unsigned long fixed = 0, moveable = 0, free = 0;
    ForEachHeapEntry(processId, [&](const HEAPLIST32&, const HEAPENTRY32& block) {
        if (block.dwFlags & LF32_FIXED) fixed += block.dwBlockSize;
        if (block.dwFlags & LF32_MOVEABLE) moveable += block.dwBlockSize;
        if (block.dwFlags & LF32_FREE) free += block.dwBlockSize;
        return true;
    });
    const struct {
        int id;
        unsigned long bytes;
    } fields[] = {{IDC_APPS_FIXED, fixed}, {IDC_APPS_MOVEABLE, moveable}, {IDC_APPS_FREE, free}};
    for (const auto& field : fields) {
        char text[kThousandsTextLength];
        FormatThousands(uint32_t(field.bytes), text, sizeof text);
        SetDlgItemTextA(dialog, field.id, text);
    }
}

static void ShowApplication(HWND dialog)
{
    HWND list = GetDlgItem(dialog, IDC_APPS_LIST);
    const LRESULT selected = SendMessageA(list, LB_GETCURSEL, 0, 0);
    if (selected == LB_ERR) return;
    const DWORD processId = DWORD(SendMessageA(list, LB_GETITEMDATA, WPARAM(selected), 0));
    MODULEENTRY32 module = {};
    const bool hasModule = MainModuleOf(processId, &module) != 0;
    SetDlgItemTextA(dialog, IDC_APPS_FILE, hasModule ? module.szExePath : "");
    SetDlgItemTextA(dialog, IDC_APPS_KIND, hasModule ? KindName(ExecutableKind(module.szExePath)) : "");

    HWND threads = GetDlgItem(dialog, IDC_APPS_THREAD_LIST);
    HWND modules = GetDlgItem(dialog, IDC_APPS_MODULE_LIST);
    HWND windows = GetDlgItem(dialog, IDC_APPS_WINDOW_LIST);
    for (HWND combo : {threads, modules, windows}) SendMessageA(combo, CB_RESETCONTENT, 0, 0);
    SetDlgItemInt(dialog, IDC_APPS_THREADS, UINT(FillThreads(processId, threads)), FALSE);
    SetDlgItemInt(dialog, IDC_APPS_MODULES, UINT(FillModules(processId, modules)), FALSE);
    const WindowSearch found = FindProcessWindows(processId, windows);
    SetDlgItemInt(dialog, IDC_APPS_WINDOWS, UINT(found.count), FALSE);
    SetDlgItemTextA(dialog, IDC_APPS_TITLE, found.title);
    for (HWND combo : {threads, modules, windows}) SendMessageA(combo, CB_SETCURSEL, 0, 0);
    ShowHeapUse(dialog, processId);
}

INT_PTR CALLBACK ApplicationsDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        FillApplications(dialog);
        SendDlgItemMessageA(dialog, IDC_APPS_LIST, LB_SETCURSEL, 0, 0);
        ShowApplication(dialog);
        CenterWindow(dialog, MainDialog);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_APPS_LIST && HIWORD(wParam) == LBN_SELCHANGE)
            ShowApplication(dialog);
        else if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)
            EndDialog(dialog, 0);
        return TRUE;
    }
    return FALSE;
}
