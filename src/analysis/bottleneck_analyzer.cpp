#include <windows.h>

#include "analysis/bottleneck_analyzer.h"

#include <string>

#include "analysis/load_patterns.h"
#include "app/app_globals.h"
#include "resources/ids_analysis.h"
#include "services/help_file.h"
#include "services/list_box.h"
#include "services/report_slot.h"
#include "services/window_position.h"
#include "ui/quick_help.h"
#include "ui/report_list.h"

namespace {

const int kBandTabStops[] = {5, 50, 125, 125};
const int kFindingTabStops[] = {5, 200, 200, 200};
const int kHoverLists[] = {IDC_BOTTLENECK_FINDINGS};

struct CategorySet {
    const LoadCategory* rows;
    int count;
    const char* title;
};

CategorySet CategoriesOf(BottleneckVariant variant)
{
    if (variant == BottleneckVariant::kHardware) return {kHardwareLoadCategories, kHardwareLoadCategoryCount, "Hardware"};
    return {kSystemLoadCategories, kSystemLoadCategoryCount, "System"};
}

BottleneckVariant VariantOf(HWND dialog)
{
    return BottleneckVariant(GetWindowLongPtrA(dialog, DWLP_USER));
}

const LoadCategory* ChosenCategory(HWND dialog)
{
    const CategorySet set = CategoriesOf(VariantOf(dialog));
    const LRESULT index = SendDlgItemMessageA(dialog, IDC_BOTTLENECK_CATEGORIES, LB_GETCURSEL, 0, 0);
    if (index < 0 || index >= set.count) return nullptr;
    return &set.rows[index];
}

void EmptyList(HWND dialog, int id)
{
    SendDlgItemMessageA(dialog, id, LB_RESETCONTENT, 0, 0);
}

void AddLine(HWND dialog, int id, const std::string& line)
{
    SendDlgItemMessageA(dialog, id, LB_ADDSTRING, 0, LPARAM(line.c_str()));
}

// Shows stock pattern p in the "Best Match" caption and list, replacing the lines of the
// pattern shown before.
void ShowPattern(HWND dialog, int p)
{
    const LoadPattern& pattern = kLoadPatterns[p];
    SetDlgItemTextA(dialog, IDC_BOTTLENECK_BEST_CAPTION, pattern.name);
    HWND list = GetDlgItem(dialog, IDC_BOTTLENECK_PATTERN);
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    for (int band = 0; band < kLoadBands; ++band) {
        const std::string line = PatternBandLine(band, pattern.bandShares[band]);
        if (SendMessageA(list, LB_GETCOUNT, 0, 0) > band)
            ReportReplaceLine(dialog, IDC_BOTTLENECK_PATTERN, band, line.c_str());
        else
            AddLine(dialog, IDC_BOTTLENECK_PATTERN, line);
    }
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

void OnCategoryChosen(HWND dialog)
{
    const LoadCategory* category = ChosenCategory(dialog);
    if (!category) return;
    EmptyList(dialog, IDC_BOTTLENECK_ACTUAL);
    EmptyList(dialog, IDC_BOTTLENECK_PATTERN);
    EmptyList(dialog, IDC_BOTTLENECK_FINDINGS);

    uint32_t d[kPercentBuckets];
    BuildLoadDistribution(*gSystemStats, *category, d);
    int shares[kLoadBands];
    LoadBandShares(d, shares);
    for (int band = 0; band < kLoadBands; ++band) AddLine(dialog, IDC_BOTTLENECK_ACTUAL, ActualBandLine(band, shares[band]));

    // The animation walks through the stock patterns up to the best match, each shown for
    // a moment. It waits on this thread on purpose: a timer would let another choice
    // start a second animation half-way through this one.
    const int best = MatchLoadPattern(d);
    for (int p = 0; p <= best; ++p) {
        ShowPattern(dialog, p);
        UpdateWindow(dialog);
        Sleep(kPatternStepMs);
    }
    for (int line = 0; line < kFindingLines; ++line) AddLine(dialog, IDC_BOTTLENECK_FINDINGS, FindingLine(best, line));
}

void OnFindingChosen(HWND dialog)
{
    const LoadCategory* category = ChosenCategory(dialog);
    HWND list = GetDlgItem(dialog, IDC_BOTTLENECK_FINDINGS);
    const LRESULT index = SendMessageA(list, LB_GETCURSEL, 0, 0);
    if (!category || index < 0) return;
    char line[kReportLineSlot] = "";
    if (SendMessageA(list, LB_GETTEXTLEN, WPARAM(index), 0) >= LRESULT(sizeof line)) return;
    SendMessageA(list, LB_GETTEXT, WPARAM(index), LPARAM(line));
    ShowQuickHelpTopic(line, category->helpId);
}

void OnInit(HWND dialog, BottleneckVariant variant)
{
    SetWindowLongPtrA(dialog, DWLP_USER, LONG_PTR(variant));
    const CategorySet set = CategoriesOf(variant);
    for (int i = 0; i < set.count; ++i)
        SendDlgItemMessageA(dialog, IDC_BOTTLENECK_CATEGORIES, LB_ADDSTRING, 0, LPARAM(set.rows[i].name));
    SetWindowTextA(dialog, set.title);
    CenterWindow(dialog, MainDialog);
    SendDlgItemMessageA(dialog, IDC_BOTTLENECK_CATEGORIES, LB_SETCURSEL, 0, 0);
    // The first category's animation runs before the dialog is first shown; showing it
    // now lets the user watch it.
    ShowWindow(dialog, SW_SHOW);
    UpdateWindow(dialog);
    OnCategoryChosen(dialog);
}

}  // namespace

INT_PTR CALLBACK BottleneckDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        OnInit(dialog, BottleneckVariant(lParam));
        return TRUE;
    case WM_COMMAND: {
        const int id = LOWORD(wParam), notification = HIWORD(wParam);
        const bool chosen = notification == LBN_SELCHANGE || notification == LBN_DBLCLK;
        if (id == IDC_BOTTLENECK_CATEGORIES && chosen) OnCategoryChosen(dialog);
        else if (id == IDC_BOTTLENECK_FINDINGS && notification == LBN_SELCHANGE) OnFindingChosen(dialog);
        else if (id == IDOK || id == IDCANCEL) EndDialog(dialog, id);
        return TRUE;
    }
    case WM_DRAWITEM: {
        const DRAWITEMSTRUCT* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        const int* stops = item->CtlID == IDC_BOTTLENECK_FINDINGS ? kFindingTabStops : kBandTabStops;
        ReportDrawItem(item->hwndItem, item, 4, stops, kReportNoLitLamps);
        return TRUE;
    }
    case WM_MEASUREITEM: {
        MEASUREITEMSTRUCT* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        ReportMeasureItem(GetDlgItem(dialog, int(item->CtlID)), item);
        return TRUE;
    }
    case WM_SETCURSOR:
        return HoverCursor(dialog, kHoverLists, 1);
    case WM_CTLCOLORLISTBOX:
        return INT_PTR(ReportListColours(HDC(wParam), kReportTextCyan));
    case WM_CTLCOLORSTATIC: {
        const int id = GetDlgCtrlID(HWND(lParam));
        if (id == IDC_BOTTLENECK_ACTUAL_CAPTION || id == IDC_BOTTLENECK_BEST_CAPTION)
            // Cyan or white on black, as the report lists under them.
            return INT_PTR(ReportListColours(HDC(wParam), id == IDC_BOTTLENECK_ACTUAL_CAPTION ? kReportTextCyan : RGB(255, 255, 255)));
        return FALSE;
    }
    case WM_HELP:
    case WM_CONTEXTMENU:
        ShowHelpFile(dialog, HELP_CONTEXT, HELP_CONTEXT_BOTTLENECK);
        return TRUE;
    }
    return FALSE;
}

void OpenBottleneckAnalyzer(HWND owner, BottleneckVariant variant)
{
    DialogBoxParamA(gInstance, MAKEINTRESOURCEA(IDD_BOTTLENECK), owner, BottleneckDlgProc, LPARAM(variant));
}
