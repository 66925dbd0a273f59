#include <windows.h>

#include "checks/fix_windows.h"

#include "app/app_globals.h"
#include "checks/diagnose_windows.h"
#include "checks/windows_problem_rules.h"
#include "resources/ids_checks.h"
#include "services/string_list.h"
#include "services/window_position.h"
#include "ui/picture_dialog.h"
#include "ui/report_list.h"
#include "ui/report_viewer.h"

static char* NextStringListSlot(void*)
{
    return StringListNext();
}

// A topic's lines into StringList, shown in the report list.
static int ShowTopic(HWND list, int topic)
{
    StringListCount = 0;
    AppendProblemTopic(topic, ReportSink{NextStringListSlot, nullptr});
    ReportShowLines(list, StringListBase, StringListCount);
    return int(StringListCount);
}

static int ShowBootProblems(HWND list)
{
    return ShowTopic(list, kBootProblems);
}

static int ShowDeviceConflicts(HWND list)
{
    return ShowTopic(list, kDeviceConflicts);
}

static int ShowErrorMessages(HWND list)
{
    return ShowTopic(list, kErrorMessages);
}

// In ProblemTopic order.
static const ToolEntry kProblemTopics[kProblemTopicCount] = {
    {"Boot Problems", ShowBootProblems, IDR_HELP_BOOT_PROBLEMS},
    {"Device Conflicts", ShowDeviceConflicts, IDR_HELP_DEVICE_CONFLICTS},
    {"Error Messages", ShowErrorMessages, IDR_HELP_ERROR_MESSAGES},
};

const ToolTable kProblemTopicTable = {kProblemTopics, kProblemTopicCount, IDC_PROBLEM_TOPIC_BASE};

static const PictureButton kFixButtons[] = {
    {IDC_FIX_WINDOWS_BOOT, IDB_FIX_WINDOWS_BOOT},
    {IDC_FIX_WINDOWS_ERRORS, IDB_FIX_WINDOWS_ERRORS},
    {IDC_FIX_WINDOWS_DIAGNOSE, IDB_FIX_WINDOWS_DIAGNOSE},
    {IDC_FIX_WINDOWS_REGISTRY, IDB_FIX_WINDOWS_REGISTRY},
};

static void OnCommand(HWND dialog, int id)
{
    switch (id) {
    case IDC_FIX_WINDOWS_BOOT:
        OpenTool(dialog, IDC_PROBLEM_TOPIC_BOOT, IDC_PROBLEM_TOPIC_BASE, kProblemTopicTable);
        break;
    case IDC_FIX_WINDOWS_ERRORS:
        OpenTool(dialog, IDC_PROBLEM_TOPIC_ERRORS, IDC_PROBLEM_TOPIC_BASE, kProblemTopicTable);
        break;
    case IDC_FIX_WINDOWS_DIAGNOSE:
        OpenDiagnoseWindows(dialog);
        break;
    case IDC_FIX_WINDOWS_REGISTRY:
        // Registry servicing is a row of the reference library's table (row 26, command
        // 2627 of base 2600); until the reference library is part of the program this
        // button opens nothing.
        break;
    }
}

INT_PTR CALLBACK FixWindowsDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (OnPictureButtonDialog(dialog, message, wParam, lParam, kFixButtons, HELP_CONTEXT_FIX_WINDOWS)) return TRUE;
    switch (message) {
    case WM_INITDIALOG:
        CenterWindow(dialog, MainDialog);
        return TRUE;
    case WM_COMMAND:
        OnCommand(dialog, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

void OpenFixWindows(HWND owner)
{
    DialogBoxParamA(gInstance, MAKEINTRESOURCEA(IDD_FIX_WINDOWS), owner, FixWindowsDlgProc, 0);
}
