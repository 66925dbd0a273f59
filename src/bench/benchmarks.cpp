#include <windows.h>

#include "bench/benchmarks.h"

#include "app/app_globals.h"
#include "bench/bench_chart.h"
#include "bench/bench_measure.h"
#include "resources/ids_bench.h"
#include "services/help_file.h"
#include "services/window_position.h"
#include "ui/report_list.h"

namespace {

const int kChartTabStops[] = {5, 100, 200, 300};

// Measures the chosen test and shows its chart, with the wait cursor meanwhile.
void OnTestChosen(HWND dialog)
{
    const LRESULT test = SendDlgItemMessageA(dialog, IDC_BENCH_TESTS, LB_GETCURSEL, 0, 0);
    if (test < 0 || test >= kBenchTestCount) return;
    HCURSOR previous = SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32514)));  // IDC_WAIT
    HWND chart = GetDlgItem(dialog, IDC_BENCH_CHART);
    SendMessageA(chart, LB_RESETCONTENT, 0, 0);
    char leftOut[kReportLineSlot];
    const BenchResult result = MeasureBenchTest(int(test), leftOut, sizeof leftOut);
    char lines[kBenchChartLineCount][kReportLineSlot];
    const int count = BuildBenchChart(int(test), result, leftOut, lines);
    ReportShowLines(chart, lines[0], DWORD(count));
    SetCursor(previous ? previous : LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)));  // IDC_ARROW
}

}  // namespace

INT_PTR CALLBACK BenchmarksDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        SetWindowTextA(dialog, "Benchmarks");
        for (const BenchTest& test : kBenchTests)
            SendDlgItemMessageA(dialog, IDC_BENCH_TESTS, LB_ADDSTRING, 0, LPARAM(test.name));
        SendDlgItemMessageA(dialog, IDC_BENCH_TESTS, LB_SETCURSEL, 0, 0);
        OnTestChosen(dialog);
        CenterWindow(dialog, MainDialog);
        return TRUE;
    case WM_HELP:
    case WM_CONTEXTMENU:
        ShowHelpFile(dialog, HELP_CONTEXT, HELP_CONTEXT_BENCHMARKS);
        return TRUE;
    case WM_COMMAND: {
        const int id = LOWORD(wParam), notification = HIWORD(wParam);
        if (id == IDC_BENCH_TESTS && (notification == LBN_SELCHANGE || notification == LBN_DBLCLK)) OnTestChosen(dialog);
        else if (id == IDOK || id == IDCANCEL) EndDialog(dialog, id);
        return TRUE;
    }
    case WM_DRAWITEM: {
        const DRAWITEMSTRUCT* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item->CtlID != IDC_BENCH_CHART) return FALSE;
        ReportDrawItem(item->hwndItem, item, 4, kChartTabStops, kReportNoLitLamps);
        return TRUE;
    }
    case WM_MEASUREITEM: {
        MEASUREITEMSTRUCT* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        if (item->CtlID != IDC_BENCH_CHART) return FALSE;
        ReportMeasureItem(GetDlgItem(dialog, IDC_BENCH_CHART), item);
        return TRUE;
    }
    case WM_CTLCOLORLISTBOX:
        if (HWND(lParam) != GetDlgItem(dialog, IDC_BENCH_CHART)) return FALSE;
        return INT_PTR(ReportListColours(HDC(wParam), 0x000000));
    }
    return FALSE;
}

void OpenBenchmarks(HWND owner)
{
    DialogBoxParamA(gInstance, MAKEINTRESOURCEA(IDD_BENCHMARKS), owner, BenchmarksDlgProc, 0);
}
