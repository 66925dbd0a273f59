#include <windows.h>

#include "analysis/coach.h"

#include <cctype>
#include <string>
#include <vector>

#include "analysis/coach_scores.h"
#include "analysis/tip_file.h"
#include "app/app_globals.h"
#include "resources/ids_analysis.h"
#include "services/help_file.h"
#include "services/list_box.h"
#include "services/window_position.h"
#include "ui/quick_help.h"
#include "ui/report_list.h"

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr size_t kTitleCut = 511;  // longest title the explanation repeats

HICON ProgramIcon(int id)
{
    return LoadIconA(gInstance, MAKEINTRESOURCEA(id));
}

void SetIcon(HWND dialog, int controlId, int iconId)
{
    SendDlgItemMessageA(dialog, controlId, STM_SETICON, WPARAM(ProgramIcon(iconId)), 0);
}

// The explanation under a score or a category: its help text, then each record's title in
// capitals followed by the record's text, separated by blank lines.
std::string Explanation(UINT helpId, const std::vector<TipRecord>& records)
{
    std::string text = HelpTextResource(helpId);
    text += "\n \n";
    for (const TipRecord& record : records) {
        std::string title(record.title);
        if (title.size() > kTitleCut) title.resize(kTitleCut);
        for (char& c : title) c = char(toupper(static_cast<unsigned char>(c)));
        text += title;
        text += "\n";
        text += record.text;
        text += "\n \n";
    }
    return text;
}

void FillAdvice(HWND dialog, int titlesId, int textId, UINT helpId, const std::vector<TipRecord>& records)
{
    for (const TipRecord& record : records)
        SendDlgItemMessageA(dialog, titlesId, LB_ADDSTRING, 0, LPARAM(record.title));
    const std::string text = Explanation(helpId, records);
    HelpTextShow(GetDlgItem(dialog, textId), text.c_str(), text.size());
    if (!records.empty()) SendDlgItemMessageA(dialog, titlesId, LB_SETCURSEL, 0, 0);
}

// Selects in textId the explanation line of the title chosen in titlesId.
void ShowChosenTitle(HWND dialog, int titlesId, int textId)
{
    HWND titles = GetDlgItem(dialog, titlesId);
    const LRESULT index = SendMessageA(titles, LB_GETCURSEL, 0, 0);
    if (index < 0) return;
    std::string title(size_t(SendMessageA(titles, LB_GETTEXTLEN, WPARAM(index), 0)) + 1, '\0');
    SendMessageA(titles, LB_GETTEXT, WPARAM(index), LPARAM(&title[0]));
    SelectReportLine(title.c_str(), GetDlgItem(dialog, textId));
}

int ChosenIndex(HWND dialog, int listId)
{
    return int(SendDlgItemMessageA(dialog, listId, LB_GETCURSEL, 0, 0));
}

bool IsChoice(WPARAM wParam, int listId)
{
    return LOWORD(wParam) == listId && (HIWORD(wParam) == LBN_SELCHANGE || HIWORD(wParam) == LBN_DBLCLK);
}

void AddName(HWND dialog, int listId, const char* name)
{
    SendDlgItemMessageA(dialog, listId, LB_ADDSTRING, 0, LPARAM(name));
}

// ---- Coach ----

// Per dialog: the Disk Efficiency score once measured (the walk is slow and its answer does
// not change while the dialog is open).
struct CoachState {
    bool diskEfficiencyKnown;
    int32_t diskEfficiency;
};

void OnScoreChosen(HWND dialog)
{
    const int index = ChosenIndex(dialog, IDC_COACH_SCORES);
    if (index < 0 || index >= kCoachScoreCount) return;
    const CoachScoreRow& row = kCoachScores[index];
    CoachState* state = reinterpret_cast<CoachState*>(GetWindowLongPtrA(dialog, DWLP_USER));
    ShowAnalyzingPanel();
    SendDlgItemMessageA(dialog, IDC_COACH_TITLES, LB_RESETCONTENT, 0, 0);
    SendDlgItemMessageA(dialog, IDC_COACH_TEXT, LB_RESETCONTENT, 0, 0);
    SetDlgItemTextA(dialog, IDC_COACH_LEFT_LABEL, row.leftLabel);
    SetDlgItemTextA(dialog, IDC_COACH_RIGHT_LABEL, row.rightLabel);
    if (index == kDiskEfficiencyScore && !state->diskEfficiencyKnown) {
        state->diskEfficiency = MeasureDiskEfficiency();
        state->diskEfficiencyKnown = true;
    }
    const int cells = CoachGaugeCells(CoachScore(index, *gSystemStats, state->diskEfficiency));
    for (int i = 0; i < kCoachGaugeCells; ++i)
        SetIcon(dialog, IDC_COACH_GAUGE_FIRST + i, i < cells ? row.gaugeIcon : IDI_COACH_EMPTY_CELL);
    std::vector<TipRecord> records;
    ReadTipFile(kCoachTipFile, uint32_t(index), &records);
    FillAdvice(dialog, IDC_COACH_TITLES, IDC_COACH_TEXT, row.helpId, records);
    HideAnalyzingPanel();
}

INT_PTR CoachMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG: {
        SetWindowLongPtrA(dialog, DWLP_USER, LONG_PTR(new CoachState{}));
        for (const CoachScoreRow& row : kCoachScores) AddName(dialog, IDC_COACH_SCORES, row.name);
        CenterWindow(dialog, MainDialog);
        SendDlgItemMessageA(dialog, IDC_COACH_SCORES, LB_SETCURSEL, 0, 0);
        OnScoreChosen(dialog);
        return TRUE;
    }
    case WM_DESTROY:
        delete reinterpret_cast<CoachState*>(GetWindowLongPtrA(dialog, DWLP_USER));
        SetWindowLongPtrA(dialog, DWLP_USER, 0);
        return FALSE;
    case WM_COMMAND:
        if (IsChoice(wParam, IDC_COACH_SCORES)) OnScoreChosen(dialog);
        else if (LOWORD(wParam) == IDC_COACH_TITLES && HIWORD(wParam) == LBN_SELCHANGE)
            ShowChosenTitle(dialog, IDC_COACH_TITLES, IDC_COACH_TEXT);
        else if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) EndDialog(dialog, LOWORD(wParam));
        return TRUE;
    case WM_CTLCOLORLISTBOX: {
        const int id = GetDlgCtrlID(HWND(lParam));
        if (id == IDC_COACH_TEXT) return INT_PTR(ReportListColours(HDC(wParam), kReportTextCyan));
        if (id == IDC_COACH_TITLES) return INT_PTR(ReportListColours(HDC(wParam), kWhite));
        return FALSE;
    }
    case WM_HELP:
    case WM_CONTEXTMENU:
        ShowHelpFile(dialog, HELP_CONTEXT, HELP_CONTEXT_COACH);
        return TRUE;
    }
    return FALSE;
}

// ---- Boost PC Tips ----

void OnCategoryChosen(HWND dialog)
{
    const int index = ChosenIndex(dialog, IDC_TIPS_CATEGORIES);
    if (index < 0 || index >= kBoostCategoryCount) return;
    SendDlgItemMessageA(dialog, IDC_TIPS_TITLES, LB_RESETCONTENT, 0, 0);
    SendDlgItemMessageA(dialog, IDC_TIPS_TEXT, LB_RESETCONTENT, 0, 0);
    SetIcon(dialog, IDC_TIPS_IMPACT, IDI_TIPS_BLANK);
    SetIcon(dialog, IDC_TIPS_EFFORT, IDI_TIPS_BLANK);
    std::vector<TipRecord> records;
    ReadTipFile(kBoostTipFile, uint32_t(index), &records);
    FillAdvice(dialog, IDC_TIPS_TITLES, IDC_TIPS_TEXT, IDR_HELP_TIPS_OVERVIEW, records);
    // The first title, as if it had been chosen: its levels and its place in the text.
    // With no records there is no title, and nothing more to show (the file was reported).
    if (records.empty()) return;
    const TipRecord& first = records[0];
    SetIcon(dialog, IDC_TIPS_IMPACT, IDI_LEVEL_FIRST + int(first.impact));
    SetIcon(dialog, IDC_TIPS_EFFORT, IDI_LEVEL_FIRST + int(first.effort));
    ShowChosenTitle(dialog, IDC_TIPS_TITLES, IDC_TIPS_TEXT);
}

void OnTipChosen(HWND dialog)
{
    const int category = ChosenIndex(dialog, IDC_TIPS_CATEGORIES);
    const int title = ChosenIndex(dialog, IDC_TIPS_TITLES);
    if (category < 0 || title < 0) return;
    std::vector<TipRecord> records;
    ReadTipFile(kBoostTipFile, uint32_t(category), &records);
    // The file may have changed since the titles were listed: only a record that is
    // still there is shown.
    if (size_t(title) >= records.size()) return;
    SetIcon(dialog, IDC_TIPS_IMPACT, IDI_LEVEL_FIRST + int(records[size_t(title)].impact));
    SetIcon(dialog, IDC_TIPS_EFFORT, IDI_LEVEL_FIRST + int(records[size_t(title)].effort));
    ShowChosenTitle(dialog, IDC_TIPS_TITLES, IDC_TIPS_TEXT);
}

INT_PTR BoostTipsMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        for (const char* category : kBoostCategories) AddName(dialog, IDC_TIPS_CATEGORIES, category);
        CenterWindow(dialog, MainDialog);
        SendDlgItemMessageA(dialog, IDC_TIPS_CATEGORIES, LB_SETCURSEL, 0, 0);
        OnCategoryChosen(dialog);
        return TRUE;
    case WM_COMMAND:
        if (IsChoice(wParam, IDC_TIPS_CATEGORIES)) OnCategoryChosen(dialog);
        else if (LOWORD(wParam) == IDC_TIPS_TITLES && HIWORD(wParam) == LBN_SELCHANGE) OnTipChosen(dialog);
        else if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) EndDialog(dialog, LOWORD(wParam));
        return TRUE;
    case WM_CTLCOLORLISTBOX: {
        const int id = GetDlgCtrlID(HWND(lParam));
        if (id == IDC_TIPS_TEXT) return INT_PTR(ReportListColours(HDC(wParam), kReportTextCyan));
        if (id == IDC_TIPS_TITLES) return INT_PTR(ReportListColours(HDC(wParam), kWhite));
        return FALSE;
    }
    case WM_HELP:
    case WM_CONTEXTMENU:
        ShowHelpFile(dialog, HELP_CONTEXT, HELP_CONTEXT_BOOST_TIPS);
        return TRUE;
    }
    return FALSE;
}

}  // namespace

INT_PTR CALLBACK CoachDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    return CoachMessage(dialog, message, wParam, lParam);
}

INT_PTR CALLBACK BoostTipsDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    return BoostTipsMessage(dialog, message, wParam, lParam);
}
