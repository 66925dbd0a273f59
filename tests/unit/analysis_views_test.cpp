#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "analysis/load_patterns.h"
#include "analysis/wait_time_rules.h"

namespace {

// A distribution of {bucket, count} pairs.
std::vector<uint32_t> Distribution(std::initializer_list<std::pair<int, uint32_t>> counts)
{
    std::vector<uint32_t> d(kPercentBuckets, 0);
    for (const auto& c : counts) d[size_t(c.first)] += c.second;
    return d;
}

TEST(MatchLoadPattern, PicksThePatternOfTheQuarterShares)
{
    const struct {
        const char* what;
        std::vector<uint32_t> d;
        int pattern;
    } cases[] = {
        {"nothing sampled", Distribution({}), 0},
        {"light with heavy bursts", Distribution({{10, 60}, {90, 30}, {50, 10}}), 5},
        {"light, a little heavy", Distribution({{10, 81}, {90, 19}}), 0},
        {"light, heavy exactly a fifth", Distribution({{10, 80}, {90, 20}}), 6},
        {"equal counts everywhere", [] { auto d = std::vector<uint32_t>(kPercentBuckets, 1); d[0] = 0; return d; }(), 4},
        {"edge 24 is light", Distribution({{24, 1}}), 0},
        {"edge 25 is moderate", Distribution({{25, 1}}), 1},
        {"edge 74 is high", Distribution({{74, 1}}), 2},
        {"edge 75 is heavy", Distribution({{75, 1}}), 3},
        {"bucket 0 does not dilute", Distribution({{0, 4000000000u}, {90, 3}}), 3},
        {"two quarters, none over half", Distribution({{10, 50}, {60, 50}}), 6},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(MatchLoadPattern(c.d.data()), c.pattern);
    }
}

// Reversed sources count free as used, counts are rebinned to percent of a typical full
// load (clamped at 100), unmeasured categories stay empty, hardware memory is paging.
TEST(LoadDistribution, FollowsEachCategorysSource)
{
    static SystemStats s;
    s.secondsSampled = 3;  // word 1: what an unmeasured row would show if it read anything
    s.bytesPerRead[100] = 7, s.bytesPerRead[30] = 5, s.bytesPerRead[0] = 3;
    s.processes[50] = 4, s.processes[500] = 1, s.processes[25] = 2;
    s.modules[1] = s.modules[4] = s.modules[5] = 1, s.modules[500] = 9;
    s.threadPriority[32] = 9, s.threadPriority[16] = 2;
    s.memoryLoad[40] = 1, s.pagingActivity[60] = 2;
    const struct {
        const char* name;
        std::vector<uint32_t> d;
    } cases[] = {
        {"Disk Cache: Read Size", Distribution({{0, 7}, {70, 5}, {100, 3}})},
        {"Tasks: Processes", Distribution({{100, 5}, {50, 2}})},
        {"Tasks: Modules", Distribution({{0, 2}, {1, 1}, {100, 9}})},
        {"Tasks: Priorities", Distribution({{100, 9}, {50, 2}})},
        {"Res: GDI32", Distribution({})},
        {"Memory Mgr: Load", Distribution({{40, 1}})},
        {"Memory", Distribution({{60, 2}})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<uint32_t> d(kPercentBuckets, 0xdead);
        int found = 0;
        for (const auto& table : {std::make_pair(kSystemLoadCategories, kSystemLoadCategoryCount),
                                  std::make_pair(kHardwareLoadCategories, kHardwareLoadCategoryCount)})
            for (int i = 0; i < table.second; ++i)
                if (strcmp(table.first[i].name, c.name) == 0) BuildLoadDistribution(s, table.first[i], d.data()), ++found;
        EXPECT_EQ(found, 1);
        EXPECT_EQ(d, c.d);
    }
}

TEST(LoadBandShares, RoundHalfUpCapAt99AndShowAnEmptySpreadAsLight)
{
    const struct {
        const char* what;
        std::vector<uint32_t> d;
        std::vector<int> shares;
    } cases[] = {
        {"one bucket", Distribution({{55, 7}}), {0, 0, 0, 0, 0, 99, 0, 0, 0, 0}},
        {"thirds round", Distribution({{5, 1}, {95, 2}}), {33, 0, 0, 0, 0, 0, 0, 0, 0, 67}},
        {"band edges", Distribution({{10, 1}, {11, 1}, {100, 2}, {0, 50}}), {25, 25, 0, 0, 0, 0, 0, 0, 0, 50}},
        {"empty", Distribution({}), {99, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
    };
    for (auto c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<int> shares(kLoadBands, -1);
        LoadBandShares(c.d.data(), shares.data());
        EXPECT_EQ(shares, c.shares);
    }
    std::vector<uint32_t> empty = Distribution({});
    int shares[kLoadBands];
    LoadBandShares(empty.data(), shares);
    EXPECT_EQ(empty, Distribution({{1, 1}}));  // the marked second the matcher then sees
    EXPECT_EQ(MatchLoadPattern(empty.data()), 0);
}

// The list boxes draw from this markup: a colour switch, the label, a tab, then a bar or text.
TEST(LoadReportLines, SpellTheMarkupExactly)
{
    EXPECT_EQ(ActualBandLine(0, 7), "\x01" "C00-10%\t~M07");
    EXPECT_EQ(ActualBandLine(9, 99), "\x01" "C90-100%\t~M99");
    EXPECT_EQ(PatternBandLine(3, 30), "\x01" "C30-40%\t~Y30\n");
    EXPECT_EQ(FindingLine(5, 3), "\x01" "CCan cause system errors\t\x01" "YNo");
}

int WaitRow(const char* name)
{
    int row = 0;
    while (row < kWaitRows - 1 && strcmp(kWaitTimeRows[row].name, name) != 0) ++row;
    return row;
}

TEST(WaitTime, ABusySecondWaitsHalfASecond)
{
    static SystemStats stats;
    WaitTimes times = ComputeWaitTimes(stats);
    EXPECT_EQ(times.total, 1.0);
    for (int i = 0; i < kWaitRows; ++i) EXPECT_EQ(times.wait[i] + times.barPosition[i], 0) << kWaitTimeRows[i].name;
    EXPECT_EQ(WaitPercentText(times.total, stats.secondsSampled), "0%");  // nothing sampled yet

    const int cpu = WaitRow("CPU"), memory = WaitRow("Memory");
    stats.secondsSampled = 7200;
    stats.cpuUsage[100] = 3600;
    times = ComputeWaitTimes(stats);
    EXPECT_EQ(times.wait[cpu], 1800.0);
    EXPECT_EQ(times.barPosition[cpu], 100);
    EXPECT_EQ(WaitTimeText(times.wait[cpu]), "00:00:30");
    EXPECT_EQ(WaitPercentText(times.total, stats.secondsSampled), "25%");
    // Memory is paging, not memory load; bars are shares of the total wait, truncated.
    stats.memoryLoad[100] = 1000;
    stats.pagingActivity[50] = 3600;
    times = ComputeWaitTimes(stats);
    EXPECT_EQ(times.wait[memory], 900.0);
    EXPECT_EQ(times.barPosition[cpu], 66);
    EXPECT_EQ(times.barPosition[memory], 33);
}

TEST(WaitTime, TextsOfDaysHoursAndMinutes)
{
    const struct {
        double seconds;
        const char* text;
    } cases[] = {{59.9, "00:00:00"}, {60, "00:00:01"}, {86399, "00:23:59"},
                 {90000, "01:01:00"}, {8640000, "100:00:00"}, {-5, "00:00:00"}, {std::nan(""), "00:00:00"}};
    for (const auto& c : cases) EXPECT_EQ(WaitTimeText(c.seconds), c.text) << c.seconds;
    EXPECT_EQ(WaitPercentText(1.0, 3), "33%");
    EXPECT_EQ(WaitPercentText(1e30, 1), "2147483647%");
    EXPECT_EQ(WaitPercentText(5, -1), "0%");
}

}  // namespace
