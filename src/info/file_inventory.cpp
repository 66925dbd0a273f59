#include <windows.h>

#include "info/file_inventory.h"

#include "app/app_globals.h"
#include "resources/ids_inventory.h"
#include "services/executable_kind.h"
#include "services/files.h"
#include "services/sort.h"
#include "services/string_list.h"
#include "services/walk_path.h"
#include "services/window_position.h"
#include "ui/picture_dialog.h"
#include "ui/report_line.h"
#include "ui/report_list.h"

static const int kInventoryTabs[9] = {5, 175, 250, 325, 400, 475, 550, 625, 700};

int ProgramFileKind(const char* path)
{
    return ExecutableKind(path);
}

// Appends the heading before the first row, then the row for the entry.
static void AppendRow(const WIN32_FIND_DATAA* found, const char* where)
{
    if (StringListCount == 0) FormatInventoryHeading(StringListNext(), kReportLineSlot);
    char created[16], accessed[16], written[16];
    lstrcpynA(created, FileDateText(found->ftCreationTime), sizeof created);
    lstrcpynA(accessed, FileDateText(found->ftLastAccessTime), sizeof accessed);
    lstrcpynA(written, FileDateText(found->ftLastWriteTime), sizeof written);
    const InventoryRow row = {found->cFileName, found->nFileSizeLow, created, accessed, written, where};
    FormatInventoryRow(StringListNext(), kReportLineSlot, row);
}

// Sorts the rows below the heading and shows every line.
static void ShowSortedList(HWND reportList)
{
    if (StringListCount > 2) SortByIndex(1, int32_t(StringListCount) - 1, StringListLess, StringListSwap);
    SendMessageA(reportList, LB_RESETCONTENT, 0, 0);
    ReportShowLines(reportList, StringListBase, StringListCount);
}

struct ProgramSearch {
    int kind;
};

static int VisitProgram(const WIN32_FIND_DATAA* found, const char* directory, void* argument)
{
    const ProgramSearch* search = static_cast<const ProgramSearch*>(argument);
    if (!IsInventoriedProgram(found->cFileName, found->dwFileAttributes)) return 0;
    char path[kWalkPathLength];
    if (!JoinWalkPath(directory, found->cFileName, path)) return 0;  // too long to open: skipped
    if (ProgramFileKind(path) == search->kind) AppendRow(found, directory);
    return 0;
}

void ListProgramsOfKind(HWND reportList, int kind, InventoryWalk walk)
{
    StringListCount = 0;
    ProgramSearch search = {kind};
    walk(VisitProgram, &search);
    ShowSortedList(reportList);
}

struct BackupSearch {
    int count;
};

static int VisitNotBackedUp(const WIN32_FIND_DATAA* found, const char* directory, void* argument)
{
    BackupSearch* search = static_cast<BackupSearch*>(argument);
    if (!HasArchiveBit(found->dwFileAttributes)) return 0;
    char path[kWalkPathLength];
    if (!JoinWalkPath(directory, found->cFileName, path)) return 0;
    AppendRow(found, path);
    return ++search->count > kNotBackedUpLimit;
}

void ListFilesNotBackedUp(HWND reportList, InventoryWalk walk)
{
    StringListCount = 0;
    BackupSearch search = {0};
    walk(VisitNotBackedUp, &search);
    if (search.count >= kNotBackedUpLimit) {
        SendMessageA(reportList, LB_RESETCONTENT, 0, 0);
        SendMessageA(reportList, LB_ADDSTRING, 0, LPARAM(kTooManyNotBackedUp));
        return;
    }
    ShowSortedList(reportList);
}

struct InventoryButton {
    int id;
    int bitmapId;
    int kind;  // 0: files not backed up
};

static const InventoryButton kInventoryButtons[] = {
    {IDC_INVENTORY_DOS, IDB_INVENTORY_DOS, kProgramDos},
    {IDC_INVENTORY_WIN31, IDB_INVENTORY_WIN31, kProgramWindows31},
    {IDC_INVENTORY_WIN95, IDB_INVENTORY_WIN95, kProgramWindows95},
    {IDC_INVENTORY_BACKUP, IDB_INVENTORY_BACKUP, 0},
};

INT_PTR CALLBACK FileInventoryDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    INT_PTR result;
    if (OnPictureReportDialog(dialog, message, wParam, lParam, kInventoryButtons, HELP_CONTEXT_FILE_INVENTORY,
                              DialogReport{IDC_INVENTORY_LIST, 9, kInventoryTabs}, &result))
        return result;
    switch (message) {
    case WM_INITDIALOG:
        SendDlgItemMessageA(dialog, IDC_INVENTORY_LIST, LB_SETHORIZONTALEXTENT, 1000, 0);
        CenterWindow(dialog, MainDialog);
        return TRUE;
    case WM_COMMAND:
        for (const InventoryButton& button : kInventoryButtons) {
            if (LOWORD(wParam) != button.id) continue;
            HWND list = GetDlgItem(dialog, IDC_INVENTORY_LIST);
            ShowAnalyzingPanel();
            if (button.kind)
                ListProgramsOfKind(list, button.kind);
            else
                ListFilesNotBackedUp(list);
            HideAnalyzingPanel();
        }
        return TRUE;
    }
    return FALSE;
}
