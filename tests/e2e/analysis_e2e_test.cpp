// The analysis views of a running program over a statistics file written beside it: Speed Up
// Hardware's bottleneck analyzer and wait time, and the Tips dialog's coach and performance
// tips, with and without BOOST.DAT.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "analysis/tip_file.h"
#include "box_watcher.h"
#include "halvorn_process.h"
#include "resources/ids_analysis.h"
#include "resources/ids_main.h"
#include "sampling/system_stats.h"
#include "shared_test_steps.h"
#include "wine_env.h"

namespace {

// A machine whose processor was busy (80 % of the seconds at 95 %, the rest at 80 %) over
// a million sampled seconds: the counts are large enough that the seconds the running
// program adds change nothing shown.
SystemStats BusyProcessorStats()
{
    SystemStats stats = {};
    stats.secondsObserved = 2000000;
    stats.secondsSampled = 1000000;
    stats.cpuUsage[95] = 800000;
    stats.cpuUsage[80] = 200000;
    stats.keystrokes = 30000000;
    stats.processes[20] = 1000000;
    stats.threads[200] = 1000000;
    return stats;
}

class AnalysisE2e : public testing::Test {
protected:
    // Writes the statistics and the tip files beside the program and starts it.
    bool Start(bool withBoostFile)
    {
        const SystemStats stats = BusyProcessorStats();
        if (!WriteWholeFile(halvorn_.StatsPath(), &stats, sizeof stats)) return false;
        const std::string built = gHalvornExe.substr(0, gHalvornExe.rfind('\\'));
        for (const char* file : {kCoachTipFile, kBoostTipFile}) {
            if (file == kBoostTipFile && !withBoostFile) continue;
            if (!CopyFileA((built + "\\" + file).c_str(), (halvorn_.Folder() + "\\" + file).c_str(), FALSE)) return false;
        }
        return halvorn_.Start() && halvorn_.WaitUntilRunning() && (main_ = halvorn_.WaitForDialog("Halvorn"));
    }
    // Presses a button of a dialog and waits for the dialog it opens.
    HWND Open(HWND dialog, int button, const char* title) { return halvorn_.OpenFrom(dialog, button, title); }
    bool Close(HWND dialog)
    {
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        return WaitUntil([&] { return !IsWindow(dialog); }, 5000, true);
    }
    static std::vector<std::string> Lines(HWND dialog, int listId) { return ListBoxLines(GetDlgItem(dialog, listId)); }

    HalvornProcess halvorn_{"analysis"};
    HWND main_ = nullptr;
};

}  // namespace

TEST_F(AnalysisE2e, SpeedUpShowsTheBusyProcessorAndTipsReadTheTipFiles)
{
    ASSERT_TRUE(Start(true));
    HWND speed = Open(main_, IDC_MAIN_SPEED, "Speed Up Hardware");
    ASSERT_NE(speed, nullptr);

    HWND analyzer = Open(speed, IDC_SPEED_BOTTLENECK, "Hardware");
    ASSERT_NE(analyzer, nullptr);
    // The first quantity, CPU, is analysed as the dialog opens; the findings come last.
    ASSERT_TRUE(WaitUntil([&] { return SendWithTimeout(GetDlgItem(analyzer, IDC_BOTTLENECK_FINDINGS), LB_GETCOUNT) == 8; },
                          10000));
    // The statistics file read: the processor's spread and the pattern it makes.
    const std::vector<std::string> actual = Lines(analyzer, IDC_BOTTLENECK_ACTUAL);
    ASSERT_EQ(actual.size(), 10u);
    EXPECT_EQ(actual[7], "\x01" "C70-80%\t~M20");
    EXPECT_EQ(actual[9], "\x01" "C90-100%\t~M80");
    EXPECT_EQ(WindowText(GetDlgItem(analyzer, IDC_BOTTLENECK_BEST_CAPTION)), "Overloaded Load Pattern");
    EXPECT_TRUE(WaitUntilDrawn(analyzer));
    SaveScreenshot("bottleneck-analyzer");
    ASSERT_TRUE(Close(analyzer));

    HWND wait = Open(speed, IDC_SPEED_WAIT, "Wait Time");
    ASSERT_NE(wait, nullptr);
    // 800,000 s at 95 % and 200,000 s at 80 %: 460,000 s of waiting, 5 days 7 hours 46 minutes.
    EXPECT_EQ(WindowText(GetDlgItem(wait, IDC_WAIT_TIME_CPU)), "05:07:46");
    EXPECT_EQ(WindowText(GetDlgItem(wait, IDC_WAIT_USING)).rfind("11:13:4", 0), 0u);  // a million seconds
    EXPECT_TRUE(WaitUntilDrawn(wait));
    SaveScreenshot("wait-time");
    // The wait-time window belongs to Speed Up Hardware and goes when it closes.
    ASSERT_TRUE(Close(speed));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(wait); }, 5000, true)) << "the wait-time window stayed";

    // Tips opens the coach and the performance tips over the tip files beside the program.
    HWND tips = Open(main_, IDC_MAIN_TIPS, "Tips");
    ASSERT_NE(tips, nullptr);
    EXPECT_TRUE(WaitUntilDrawn(tips));
    SaveScreenshot("tips");

    HWND coach = Open(tips, IDC_TIPS_COACH, "Coach");
    ASSERT_NE(coach, nullptr);
    ChooseListItem(coach, IDC_COACH_SCORES, 10);
    EXPECT_FALSE(Lines(coach, IDC_COACH_TITLES).empty()) << "COACH.DAT beside the program was not read";
    EXPECT_TRUE(WaitUntilDrawn(coach));
    SaveScreenshot("coach");
    ASSERT_TRUE(Close(coach));

    HWND boost = Open(tips, IDC_TIPS_BOOST, "Boost PC Tips");
    ASSERT_NE(boost, nullptr);
    ChooseListItem(boost, IDC_TIPS_CATEGORIES, 2);
    EXPECT_GE(Lines(boost, IDC_TIPS_TITLES).size(), 2u) << "BOOST.DAT beside the program was not read";
    EXPECT_TRUE(WaitUntilDrawn(boost));
    SaveScreenshot("boost-tips");
    ASSERT_TRUE(Close(boost));
    ASSERT_TRUE(Close(tips));
    ASSERT_TRUE(halvorn_.Close());
}

TEST_F(AnalysisE2e, WithoutBoostFileEachCategoryReportsItOnceAndShowsTheOverview)
{
    ASSERT_TRUE(Start(false));
    BoxWatcher boxes(halvorn_.Id(), IDOK);
    HWND tips = Open(main_, IDC_MAIN_TIPS, "Tips");
    ASSERT_NE(tips, nullptr);
    HWND boost = Open(tips, IDC_TIPS_BOOST, "Boost PC Tips");
    ASSERT_NE(boost, nullptr);
    ASSERT_TRUE(boxes.WaitForBox("Error!", 5000));
    ChooseListItem(boost, IDC_TIPS_CATEGORIES, 4);
    ASSERT_TRUE(WaitUntil([&] { return boxes.Boxes().size() >= 2; }, 5000));
    PumpMessagesFor(500);  // a second box for the same choice would show by now
    const std::vector<SeenBox> seen = boxes.Boxes();
    ASSERT_EQ(seen.size(), 2u) << "one box per category chosen";
    for (const SeenBox& box : seen) EXPECT_NE(box.text.find("BOOST.DAT"), std::string::npos) << box.text;
    EXPECT_TRUE(Lines(boost, IDC_TIPS_TITLES).empty());
    EXPECT_EQ(Lines(boost, IDC_TIPS_TEXT).at(0), "OVERVIEW");
    // Choosing in the empty title list finds no record and changes nothing.
    SendWithTimeout(boost, WM_COMMAND, MAKEWPARAM(IDC_TIPS_TITLES, LBN_SELCHANGE), LPARAM(GetDlgItem(boost, IDC_TIPS_TITLES)));
    EXPECT_TRUE(IsWindow(boost));
    EXPECT_EQ(boxes.Boxes().size(), 2u);
    ASSERT_TRUE(Close(boost));
    ASSERT_TRUE(Close(tips));
    ASSERT_TRUE(halvorn_.Close());
}
