#include <windows.h>

#include "hardware/fix_hardware.h"

#include "app/app_globals.h"
#include "hardware/problem_solver_texts.h"
#include "resources/ids_hardware.h"
#include "services/help_file.h"
#include "services/window_position.h"

namespace {

constexpr int kConfigurationStep = 3;
constexpr int kDiagnosticsStep = 4;

// Both edits show their text without a selection: set on opening, and again whenever one
// takes the focus or changes.
void ClearSelections(HWND dialog)
{
    SendDlgItemMessageA(dialog, IDC_SOLVER_PROBLEMS, EM_SETSEL, 0, 0);
    SendDlgItemMessageA(dialog, IDC_SOLVER_SOLUTIONS, EM_SETSEL, 0, 0);
}

void OnSolverInit(HWND dialog, const ProblemReport& report)
{
    SetDlgItemTextA(dialog, IDC_SOLVER_PROBLEMS_LABEL, report.leftLabel);
    SetDlgItemTextA(dialog, IDC_SOLVER_SOLUTIONS_LABEL, report.rightLabel);
    const SolverTexts texts = ProblemSolverTexts(report);
    SetDlgItemTextA(dialog, IDC_SOLVER_PROBLEMS, texts.problems.c_str());
    SetDlgItemTextA(dialog, IDC_SOLVER_SOLUTIONS, texts.solutions.c_str());
    CenterWindow(dialog, MainDialog);
}

void RunChosenStep(HWND dialog, int step)
{
    const LRESULT category = SendDlgItemMessageA(dialog, IDC_PROBLEM_CATEGORIES, LB_GETCURSEL, 0, 0);
    if (category < 0 || category >= kProblemCategoryCount) return;
    const ProblemReport report = RunProblemStep(int(category), step);
    ShowProblemSolver(dialog, report);
}

}  // namespace

ProblemReport RunProblemStep(int category, int step)
{
    ProblemReport report;
    const bool checking = step == kConfigurationStep || step == kDiagnosticsStep;
    if (checking) ShowAnalyzingPanel();
    ProblemCategoryTable[category].steps[step](report);
    if (checking) HideAnalyzingPanel();
    return report;
}

INT_PTR ShowProblemSolver(HWND owner, const ProblemReport& report)
{
    return DialogBoxParamA(gInstance, MAKEINTRESOURCEA(IDD_PROBLEM_SOLVER), owner, ProblemSolverDlgProc,
                           LPARAM(&report));
}

INT_PTR CALLBACK ProblemSolverDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        OnSolverInit(dialog, *reinterpret_cast<const ProblemReport*>(lParam));
        return TRUE;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC: {
        // Read-only edits ask with WM_CTLCOLORSTATIC; the labels keep the dialog's colours.
        const int id = GetDlgCtrlID(HWND(lParam));
        if (id != IDC_SOLVER_PROBLEMS && id != IDC_SOLVER_SOLUTIONS) return FALSE;
        HDC dc = HDC(wParam);
        SetTextColor(dc, id == IDC_SOLVER_PROBLEMS ? RGB(255, 255, 255) : RGB(0, 255, 255));
        SetBkColor(dc, RGB(0, 0, 0));
        return INT_PTR(GetStockObject(BLACK_BRUSH));
    }
    case WM_HELP:
    case WM_CONTEXTMENU:
        ShowHelpFile(dialog, HELP_CONTEXT, HELP_CONTEXT_PROBLEM_SOLVER);
        return TRUE;
    case WM_COMMAND: {
        const int id = LOWORD(wParam), notification = HIWORD(wParam);
        if ((id == IDC_SOLVER_PROBLEMS || id == IDC_SOLVER_SOLUTIONS) &&
            (notification == EN_SETFOCUS || notification == EN_UPDATE)) {
            ClearSelections(dialog);
        } else if (id == IDOK || id == IDCANCEL) {
            EndDialog(dialog, id);
        }
        return TRUE;
    }
    }
    return FALSE;
}

void OpenFixHardware(HWND owner)
{
    DialogBoxParamA(gInstance, MAKEINTRESOURCEA(IDD_FIX_HARDWARE), owner, FixHardwareDlgProc, 0);
}

INT_PTR CALLBACK FixHardwareDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        for (const ProblemCategory& category : ProblemCategoryTable)
            SendDlgItemMessageA(dialog, IDC_PROBLEM_CATEGORIES, LB_ADDSTRING, 0, LPARAM(category.name));
        SendDlgItemMessageA(dialog, IDC_PROBLEM_CATEGORIES, LB_SETCURSEL, 0, 0);
        CenterWindow(dialog, MainDialog);
        return TRUE;
    case WM_HELP:
    case WM_CONTEXTMENU:
        ShowHelpFile(dialog, HELP_CONTEXT, HELP_CONTEXT_PROBLEM_SOLVER);
        return TRUE;
    case WM_COMMAND: {
        const int id = LOWORD(wParam);
        if (id >= IDC_PROBLEM_STEP_FIRST && id < IDC_PROBLEM_STEP_FIRST + kProblemStepCount)
            RunChosenStep(dialog, id - IDC_PROBLEM_STEP_FIRST);
        else if (id == IDOK || id == IDCANCEL)
            EndDialog(dialog, id);
        return TRUE;
    }
    }
    return FALSE;
}
