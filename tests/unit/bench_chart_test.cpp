// The benchmark charts, the overall score and the disk offset plans over recorded timings.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "bench/bench_chart.h"
#include "bench/bench_plans.h"

namespace {

std::vector<std::string> Chart(int test, const BenchResult& result, const char* leftOut = "")
{
    char lines[kBenchChartLineCount][kReportLineSlot];
    const int count = BuildBenchChart(test, result, leftOut, lines);
    return std::vector<std::string>(lines, lines + count);
}

constexpr int kCpu = int(BenchWorkload::kCpu);
constexpr int kOverall = int(BenchWorkload::kOverallScore);

}  // namespace

TEST(BenchChart, ThisPcStandsBeforeTheFirstLongerBarOnTheReferenceScale)
{
    // CPU references 22, 18, 15, 15, 15, 11, 10; 1600 ms is 16 on that scale.
    const std::vector<std::string> lines = Chart(kCpu, BenchMeasured(1600));
    ASSERT_EQ(lines.size(), size_t(kBenchChartLineCount));
    EXPECT_EQ(lines[1], "\x01" "CClone 486-33\t~M00");  // the slowest: no bar
    EXPECT_EQ(lines[3], "\x01" "YThis PC\t~Y49");
    EXPECT_EQ(lines[8], "\x01" "CDell XP-133\t~M99");  // the fastest: the whole bar

    // A fraction counts: 1650 ms is 16.5, not 16.
    EXPECT_EQ(Chart(kCpu, BenchMeasured(1650))[3], "\x01" "YThis PC\t~Y45");
    // Faster than every reference: the whole bar, after the last row, which moves down the scale.
    const std::vector<std::string> fast = Chart(kCpu, BenchMeasured(0.5));
    EXPECT_EQ(fast[7], "\x01" "CDell XP-133\t~M54");
    EXPECT_EQ(fast[8], "\x01" "YThis PC\t~Y99");
    // Slower than every reference: no bar, first.
    const std::vector<std::string> slow = Chart(kCpu, BenchMeasured(3000));
    EXPECT_EQ(slow[1], "\x01" "YThis PC\t~Y00");

    EXPECT_EQ(BenchBar(7, 7, 7), 99u);  // all equal
}

// Every page: 17 lines, seven coloured reference rows and one "This PC". A test that did not
// run shows its reason after the references, with no bar, and the fastest reference keeps
// the whole bar.
TEST(BenchChart, EveryPageHasSeventeenLinesAndATestThatDidNotRunHasNoBar)
{
    for (int test = 0; test < kBenchTestCount; ++test) {
        SCOPED_TRACE(kBenchTests[test].name);
        for (bool isMeasured : {true, false}) {
            const std::vector<std::string> lines = Chart(test, isMeasured ? BenchMeasured(1234.5) : BenchNotMeasured("No room"));
            ASSERT_EQ(lines.size(), size_t(kBenchChartLineCount));
            int references = 0, thisPc = 0, bars = 0, whole = 0;
            for (int i = 1; i <= 8; ++i) {
                thisPc += lines[i].find("This PC") != std::string::npos;
                references += lines[i].compare(0, 2, "\x01" "C") == 0;
                bars += lines[i].find("~Y") != std::string::npos;
                whole += lines[i].find("~M99") != std::string::npos;
            }
            EXPECT_EQ(references, kBenchReferenceCount);
            EXPECT_EQ(thisPc, 1);
            EXPECT_EQ(bars, isMeasured ? 1 : 0);
            if (!isMeasured) EXPECT_EQ(lines[8], "\x03" "This PC\t\x03" "No room");
            if (!isMeasured) EXPECT_GE(whole, 1);
        }
    }
}

TEST(BenchScore, WeighsTheNineTestsAndLeavesOutThoseThatDidNotRun)
{
    BenchResult parts[kBenchScorePartCount];
    for (int i = 0; i < kBenchScorePartCount; ++i) parts[i] = BenchMeasured(i + 1);
    char leftOut[kReportLineSlot];
    // 10 x CPU + FPU + the four disk tests + 2 x each video test.
    BenchResult score = BenchOverallScore(parts, leftOut, sizeof leftOut);
    EXPECT_TRUE(score.isMeasured);
    EXPECT_FALSE(score.isPartial);
    EXPECT_DOUBLE_EQ(score.milliseconds, 10 * 1 + 2 + 3 + 4 + 5 + 6 + 2 * 7 + 2 * 8 + 2 * 9);
    EXPECT_STREQ(leftOut, "");

    parts[2] = BenchNotMeasured("Not enough free disk space");
    parts[5] = BenchNotMeasured("Not enough free disk space");
    score = BenchOverallScore(parts, leftOut, sizeof leftOut);
    EXPECT_TRUE(score.isMeasured);
    EXPECT_TRUE(score.isPartial);
    EXPECT_DOUBLE_EQ(score.milliseconds, 78 - 3 - 6);
    EXPECT_STREQ(leftOut, "Hard Disk Read, Hard Disk Random Write");
    const std::vector<std::string> lines = Chart(kOverall, score, leftOut);
    ASSERT_EQ(lines.size(), size_t(kBenchChartLineCount));
    EXPECT_EQ(lines[9], "\x03" "Left out, did not run: Hard Disk Read, Hard Disk Random Write");

    // A short buffer is cut at its end and stays terminated.
    char shortLeftOut[20];
    BenchOverallScore(parts, shortLeftOut, sizeof shortLeftOut);
    EXPECT_STREQ(shortLeftOut, "Hard Disk Read, Har");

    for (BenchResult& part : parts) part = BenchNotMeasured("No temporary file");
    EXPECT_FALSE(BenchOverallScore(parts, leftOut, sizeof leftOut).isMeasured);
}

TEST(BenchPlans, EveryBlockLiesInsideTheFileItNeeds)
{
    const DiskPattern patterns[] = {DiskPattern::kSequentialRead, DiskPattern::kSequentialWrite,
                                    DiskPattern::kRandomRead, DiskPattern::kRandomWrite};
    for (DiskPattern pattern : patterns) {
        SCOPED_TRACE(int(pattern));
        const DiskPlan plan = DiskPlanOf(pattern);
        // Reads need the file filled first; every block fits in what the free-space check asked.
        EXPECT_EQ(plan.fillLength, plan.isRead ? kBenchFileLength : 0u);
        for (uint32_t seed : {0u, 1u, 12345u, 0xFFFFFFFFu}) {
            BenchRandom random{seed};
            std::vector<uint32_t> offsets(plan.blockCount);
            DiskPlanOffsets(pattern, &random, offsets.data());
            std::set<uint32_t> distinct(offsets.begin(), offsets.end());
            EXPECT_GT(distinct.size(), 20u);
            for (uint32_t offset : offsets) {
                EXPECT_LT(uint64_t(offset) + kBenchBlockLength, plan.minimumFreeBytes);
                if (plan.isRead) ASSERT_LE(offset + kBenchBlockLength, plan.fillLength);
            }
        }
    }
}
