// The analysis views against their real dialogs: the bottleneck analyzer's animation and
// findings, Quick Help from a finding, the wait-time window's figures and its owner, the
// coach's gauge and advice, and Boost PC Tips' levels.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "analysis/bottleneck_analyzer.h"
#include "analysis/coach.h"
#include "analysis/coach_scores.h"
#include "analysis/load_patterns.h"
#include "analysis/tip_file.h"
#include "analysis/wait_time.h"
#include "analysis/wait_time_rules.h"
#include "app/app_globals.h"
#include "resources/ids_analysis.h"
#include "resources/ids_tools.h"
#include "sampling/system_stats.h"
#include "services/program_directory.h"
#include "box_watcher.h"
#include "quick_help_reader.h"
#include "shared_test_steps.h"
#include "test_windows.h"
#include "wine_env.h"

namespace {

struct AnalysisViewsTest : testing::Test {
    void SetUp() override
    {
        savedInstance_ = gInstance;
        gInstance = GetModuleHandleA(nullptr);
        stats_ = SystemStats{};
        gSystemStats = &stats_;
    }
    void TearDown() override
    {
        for (HWND w : opened_)
            if (IsWindow(w)) DestroyWindow(w);
        gSystemStats = nullptr;
        gInstance = savedInstance_;
    }
    HWND Open(int dialogId, DLGPROC procedure, LPARAM parameter = 0)
    {
        HWND dialog = CreateDialogParamA(gInstance, MAKEINTRESOURCEA(dialogId), nullptr, procedure, parameter);
        if (dialog) opened_.push_back(dialog);
        return dialog;
    }
    SystemStats stats_;
    HINSTANCE savedInstance_ = nullptr;
    std::vector<HWND> opened_;
};

// Every text the "Best Match" caption is given while this thread creates dialogs: the
// caption control is subclassed as it is created, before the dialog's start-up runs.
std::vector<std::string> gCaptions;
WNDPROC gStaticProcedure;

LRESULT CALLBACK RecordCaption(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_SETTEXT && lParam) gCaptions.push_back(reinterpret_cast<const char*>(lParam));
    return CallWindowProcA(gStaticProcedure, window, message, wParam, lParam);
}

LRESULT CALLBACK SubclassCaption(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND) {
        const CREATESTRUCTA* create = reinterpret_cast<CBT_CREATEWNDA*>(lParam)->lpcs;
        if (create->hMenu == HMENU(INT_PTR(IDC_BOTTLENECK_BEST_CAPTION)) && (create->style & WS_CHILD))
            gStaticProcedure = WNDPROC(SetWindowLongPtrA(HWND(wParam), GWLP_WNDPROC, LONG_PTR(RecordCaption)));
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

std::vector<std::string> Lines(HWND dialog, int listId)
{
    return ListBoxLines(GetDlgItem(dialog, listId));
}

std::vector<std::string> PatternLines(int p)
{
    std::vector<std::string> lines;
    for (int band = 0; band < kLoadBands; ++band) lines.push_back(PatternBandLine(band, kLoadPatterns[p].bandShares[band]));
    return lines;
}

std::vector<std::string> FindingLines(int p)
{
    std::vector<std::string> lines;
    for (int line = 0; line < kFindingLines; ++line) lines.push_back(FindingLine(p, line));
    return lines;
}

}  // namespace

TEST_F(AnalysisViewsTest, AnalyzerAnimatesUpToTheBestPatternAndListsItsFindings)
{
    // Apps: 32-Bit Windows spread as 45/5/5/45 over the quarters: the random pattern, last of
    // the seven, so the animation shows every pattern in turn.
    stats_.apps32[10] = 45, stats_.apps32[30] = 5, stats_.apps32[60] = 5, stats_.apps32[90] = 45;
    gCaptions.clear();
    HHOOK hook = SetWindowsHookExA(WH_CBT, SubclassCaption, nullptr, GetCurrentThreadId());
    HWND dialog = Open(IDD_BOTTLENECK, BottleneckDlgProc, LPARAM(BottleneckVariant::kSystem));
    UnhookWindowsHookEx(hook);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(WindowText(dialog), "System");
    EXPECT_EQ(Lines(dialog, IDC_BOTTLENECK_CATEGORIES).size(), size_t(kSystemLoadCategoryCount));

    std::vector<std::string> all;
    for (const LoadPattern& pattern : kLoadPatterns) all.push_back(pattern.name);
    EXPECT_EQ(gCaptions, all);
    const int shares[kLoadBands] = {45, 0, 5, 0, 0, 5, 0, 0, 45, 0};
    std::vector<std::string> actual;
    for (int band = 0; band < kLoadBands; ++band) actual.push_back(ActualBandLine(band, shares[band]));
    EXPECT_EQ(Lines(dialog, IDC_BOTTLENECK_ACTUAL), actual);
    EXPECT_EQ(Lines(dialog, IDC_BOTTLENECK_PATTERN), PatternLines(6));
    EXPECT_EQ(Lines(dialog, IDC_BOTTLENECK_FINDINGS), FindingLines(6));

    // Nothing measured (GDI32): the low pattern at once, and only that one shown.
    gCaptions.clear();
    ChooseListItem(dialog, IDC_BOTTLENECK_CATEGORIES, 14);
    EXPECT_EQ(gCaptions, std::vector<std::string>{"Low Load Pattern"});
    EXPECT_EQ(Lines(dialog, IDC_BOTTLENECK_ACTUAL)[0], ActualBandLine(0, 99));
    EXPECT_EQ(Lines(dialog, IDC_BOTTLENECK_PATTERN), PatternLines(0));
    EXPECT_EQ(Lines(dialog, IDC_BOTTLENECK_FINDINGS), FindingLines(0));

    HWND hardware = Open(IDD_BOTTLENECK, BottleneckDlgProc, LPARAM(BottleneckVariant::kHardware));
    ASSERT_NE(hardware, nullptr);
    EXPECT_EQ(WindowText(hardware), "Hardware");
    EXPECT_EQ(Lines(hardware, IDC_BOTTLENECK_CATEGORIES).size(), size_t(kHardwareLoadCategoryCount));
}

TEST_F(AnalysisViewsTest, AFindingOpensQuickHelpAtItsParagraphOfTheCategorysText)
{
    for (BottleneckVariant variant : {BottleneckVariant::kSystem, BottleneckVariant::kHardware}) {
        HWND dialog = Open(IDD_BOTTLENECK, BottleneckDlgProc, LPARAM(variant));
        ASSERT_NE(dialog, nullptr);
        ChooseListItem(dialog, IDC_BOTTLENECK_CATEGORIES, 3);
        for (int line : {1, 7}) {
            SCOPED_TRACE(line);
            const std::string selected =
                QuickHelpSelectionAfter([&] { ChooseListItem(dialog, IDC_BOTTLENECK_FINDINGS, line); }).selected;
            const std::string finding = FindingLine(0, line);
            EXPECT_EQ(selected, finding.substr(2, finding.find('\t') - 2));
        }
    }
}

TEST_F(AnalysisViewsTest, WaitTimeShowsDaysHoursMinutesAndClosesWithItsOwner)
{
    stats_.cpuUsage[100] = 3600;   // an hour at full load: half an hour of waiting
    stats_.diskActivity[50] = 7200;
    stats_.secondsSampled = 7200;
    HWND owner = CreateWindowA("STATIC", "owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    HWND first = OpenWaitTime(owner);
    HWND second = OpenWaitTime(owner);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    const std::pair<int, const char*> texts[] = {{IDC_WAIT_TIME_CPU, "00:00:30"}, {IDC_WAIT_TIME_DISK, "00:00:30"},
                                                 {IDC_WAIT_TIME_MODEM, "00:00:00"}, {IDC_WAIT_TOTAL, "00:01:00"},
                                                 {IDC_WAIT_USING, "00:02:00"},     {IDC_WAIT_PERCENT, "50%"}};
    for (const auto& t : texts) EXPECT_EQ(WindowText(GetDlgItem(first, t.first)), t.second) << t.first;
    EXPECT_EQ(SendDlgItemMessageA(first, IDC_WAIT_BAR_CPU, PBM_GETPOS, 0, 0), 50);
    EXPECT_EQ(SendDlgItemMessageA(first, IDC_WAIT_BAR_MODEM, PBM_GETPOS, 0, 0), 0);
    // Values white on black, labels black on light grey.
    HDC dc = GetDC(first);
    EXPECT_EQ(SendMessageA(first, WM_CTLCOLORSTATIC, WPARAM(dc), LPARAM(GetDlgItem(first, IDC_WAIT_TOTAL))),
              LRESULT(GetStockObject(BLACK_BRUSH)));
    EXPECT_EQ(GetTextColor(dc), RGB(255, 255, 255));
    EXPECT_EQ(SendMessageA(first, WM_CTLCOLORSTATIC, WPARAM(dc), LPARAM(GetDlgItem(first, IDC_LABEL))),
              LRESULT(GetStockObject(LTGRAY_BRUSH)));
    EXPECT_EQ(GetTextColor(dc), RGB(0, 0, 0));
    ReleaseDC(first, dc);

    // OK closes one window only; the owner takes the other with it.
    SendMessageA(first, WM_COMMAND, IDOK, 0);
    EXPECT_FALSE(IsWindow(first));
    EXPECT_TRUE(IsWindow(second));
    DestroyWindow(owner);
    EXPECT_FALSE(IsWindow(second));
}

namespace {

std::vector<TipRecord> RecordsOf(const char* fileName, uint32_t key)
{
    char folder[MAX_PATH];
    ProgramDirectory(nullptr, folder, sizeof folder);
    std::vector<unsigned char> bytes;
    std::vector<TipRecord> records;
    if (ReadWholeFileBytes(std::string(folder) + "\\" + fileName, &bytes))
        ParseTipRecords(bytes.data(), bytes.size(), key, &records);
    return records;
}

// Whether the explanation list shows title's capitalised line as its selection.
testing::AssertionResult SelectsTitleInText(HWND dialog, int textId, std::string title)
{
    const LRESULT selected = SendDlgItemMessageA(dialog, textId, LB_GETCURSEL, 0, 0);
    if (selected < 0) return testing::AssertionFailure() << "nothing selected";
    const std::string line = ListBoxLines(GetDlgItem(dialog, textId))[size_t(selected)];
    CharUpperA(&title[0]);
    if (title.rfind(line, 0) != 0) return testing::AssertionFailure() << "selected \"" << line << "\"";
    return testing::AssertionSuccess();
}

HICON ShownIcon(HWND dialog, int controlId)
{
    return HICON(SendDlgItemMessageA(dialog, controlId, STM_GETICON, 0, 0));
}

HICON ProgramIcon(int id)
{
    return LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id));
}

}  // namespace

TEST_F(AnalysisViewsTest, CoachShowsTheScoreAsCellsAndTheScoresAdvice)
{
    // No statistics: "Efficiency" is at its best (nine cells), "Utilization" at its lowest.
    HWND dialog = Open(IDD_COACH, CoachDlgProc);
    ASSERT_NE(dialog, nullptr);
    struct Case {
        int score;
        int cells;
    } cases[] = {{3, 9}, {12, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(kCoachScores[c.score].name);
        ChooseListItem(dialog, IDC_COACH_SCORES, c.score);
        for (int i = 0; i < kCoachGaugeCells; ++i)
            EXPECT_EQ(ShownIcon(dialog, IDC_COACH_GAUGE_FIRST + i),
                      ProgramIcon(i < c.cells ? kCoachScores[c.score].gaugeIcon : IDI_COACH_EMPTY_CELL)) << "cell " << i;
        EXPECT_EQ(WindowText(GetDlgItem(dialog, IDC_COACH_LEFT_LABEL)), kCoachScores[c.score].leftLabel);

        const std::vector<TipRecord> records = RecordsOf(kCoachTipFile, uint32_t(c.score));
        ASSERT_FALSE(records.empty()) << "COACH.DAT has no advice for this score";
        std::vector<std::string> titles;
        for (const TipRecord& r : records) titles.push_back(r.title);
        EXPECT_EQ(Lines(dialog, IDC_COACH_TITLES), titles);
        const std::vector<std::string> text = Lines(dialog, IDC_COACH_TEXT);
        ASSERT_FALSE(text.empty());
        EXPECT_EQ(text[0], "OVERVIEW");  // the score's help text comes first

        // Choosing the last title selects its capitalised line in the explanation.
        ChooseListItem(dialog, IDC_COACH_TITLES, int(titles.size()) - 1);
        EXPECT_TRUE(SelectsTitleInText(dialog, IDC_COACH_TEXT, titles.back()));
    }
}

TEST_F(AnalysisViewsTest, BoostTipsShowTheChosenTipsImpactEffortAndText)
{
    HWND dialog = Open(IDD_BOOST_TIPS, BoostTipsDlgProc);
    ASSERT_NE(dialog, nullptr);
    const std::vector<TipRecord> records = RecordsOf(kBoostTipFile, 2);
    ASSERT_GE(records.size(), 2u) << "BOOST.DAT has too little advice for Disk Speed";
    ChooseListItem(dialog, IDC_TIPS_CATEGORIES, 2);
    ASSERT_EQ(Lines(dialog, IDC_TIPS_TITLES).size(), records.size());
    for (size_t i : {size_t(0), records.size() - 1}) {
        SCOPED_TRACE(records[i].title);
        if (i) ChooseListItem(dialog, IDC_TIPS_TITLES, int(i));
        EXPECT_EQ(ShownIcon(dialog, IDC_TIPS_IMPACT), ProgramIcon(IDI_LEVEL_FIRST + int(records[i].impact)));
        EXPECT_EQ(ShownIcon(dialog, IDC_TIPS_EFFORT), ProgramIcon(IDI_LEVEL_FIRST + int(records[i].effort)));
        if (i) EXPECT_TRUE(SelectsTitleInText(dialog, IDC_TIPS_TEXT, records[i].title));
    }
}

TEST(DiskEfficiency, CountsProgramFilesOnlyByTheMonthOfTheirLastUse)
{
    struct Entry {
        const char* name;
        DWORD attributes;
        WORD year, month;
    } entries[] = {
        {"old.exe", FILE_ATTRIBUTE_ARCHIVE, 2024, 6},                           // 30 months: counts as 23
        {"NEW.EXE", FILE_ATTRIBUTE_NORMAL, 2026, 12},                           // 0
        {"tool.exe", FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY, 2026, 9}, // 3
        {"plain.exe", FILE_ATTRIBUTE_READONLY, 2020, 1},                        // neither archive nor above 127
        {"folder.exe", FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_ARCHIVE, 2020, 1},
        {"readme.txt", FILE_ATTRIBUTE_ARCHIVE, 2020, 1},
        {"exe", FILE_ATTRIBUTE_ARCHIVE, 2020, 1},
    };
    AccessMonths months = {};
    for (const Entry& e : entries) {
        WIN32_FIND_DATAA found = {};
        lstrcpyA(found.cFileName, e.name);
        found.dwFileAttributes = e.attributes;
        SYSTEMTIME day = {};
        day.wYear = e.year, day.wMonth = e.month, day.wDay = 15, day.wHour = 12;
        FILETIME local;
        SystemTimeToFileTime(&day, &local);
        LocalFileTimeToFileTime(&local, &found.ftLastAccessTime);
        CountProgramFile(found, &months, 2026, 12);
    }
    EXPECT_EQ(months.total, 3u);
    EXPECT_EQ(months.counts[23], 1u);
    EXPECT_EQ(months.counts[0], 1u);
    EXPECT_EQ(months.counts[3], 1u);
}
