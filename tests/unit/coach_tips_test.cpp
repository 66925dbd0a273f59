#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <unistd.h>

#include "analysis/coach_scores.h"
#include "analysis/tip_file.h"

namespace {

std::vector<uint8_t> TipImage(uint32_t key, uint32_t impact, uint32_t effort, const std::string& title,
                              const std::string& text)
{
    std::vector<uint8_t> image(kTipRecordSize, 0);
    const uint32_t words[3] = {key, impact, effort};
    for (int w = 0; w < 3; ++w)
        for (int b = 0; b < 4; ++b) image[size_t(4 * w + b)] = uint8_t(words[w] >> (8 * b));
    memcpy(&image[12], title.data(), std::min<size_t>(title.size(), 128));
    memcpy(&image[140], text.data(), std::min<size_t>(text.size(), 512));
    return image;
}

std::vector<uint8_t> Joined(std::initializer_list<std::vector<uint8_t>> parts)
{
    std::vector<uint8_t> all;
    for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

// The records of key as "title/text/impact/effort" lines.
std::string Parsed(const std::vector<uint8_t>& bytes, uint32_t key)
{
    std::vector<TipRecord> records;
    ParseTipRecords(bytes.data(), bytes.size(), key, &records);
    std::string lines;
    for (const TipRecord& r : records)
        lines += std::string(r.title) + "/" + r.text + "/" + std::to_string(r.impact) + "/" + std::to_string(r.effort) + "\n";
    return lines;
}

TEST(TipFile, AcceptsOnlyWholeRecordsUpToTheLimit)
{
    const uint64_t accepted[] = {652, 1304, 652u * 10000};
    const uint64_t refused[] = {0, 651, 653, 652u * 10001, 652ull << 32};
    for (uint64_t length : accepted) EXPECT_TRUE(IsTipFileLength(length)) << length;
    for (uint64_t length : refused) EXPECT_FALSE(IsTipFileLength(length)) << length;
}

TEST(TipFile, PicksTheKeysWholeRecordsInFileOrderWithinTheirFields)
{
    const auto bytes = Joined({TipImage(3, 4, 2, "first", "one"), TipImage(5, 1, 1, "other", "x"),
                               TipImage(3, 12, 7, "third", "three"), std::vector<uint8_t>(651, 3)});
    EXPECT_EQ(Parsed(bytes, 3), "first/one/4/2\nthird/three/9/7\n");  // a level beyond 9 shows as 9
    EXPECT_EQ(Parsed(bytes, 5), "other/x/1/1\n");
    EXPECT_EQ(Parsed(bytes, 4), "");
    // Without their NULs, a title ends at 127 characters and never runs on into the text.
    EXPECT_EQ(Parsed(TipImage(1, 0, 0, std::string(128, 'T'), std::string(512, 'x')), 1),
              std::string(127, 'T') + "/" + std::string(511, 'x') + "/0/0\n");
}

TEST(CoachScore, WithNoStatisticsEveryZeroDivisorCountsAsOne)
{
    static SystemStats zero;
    const int32_t expected[kCoachScoreCount] = {0, 7, 0, 100, 0, 0, 0, 0, -10, 0, 0, 0, 0};
    for (int i = 0; i < kCoachScoreCount; ++i) EXPECT_EQ(CoachScore(i, zero, 7), expected[i]) << kCoachScores[i].name;
}

int Score(const char* name, const SystemStats& stats)
{
    for (int i = 0; i < kCoachScoreCount; ++i)
        if (strcmp(kCoachScores[i].name, name) == 0) return CoachScore(i, stats, 0);
    ADD_FAILURE() << "no score " << name;
    return 0;
}

TEST(CoachScore, ScoresFromTheCounters)
{
    static SystemStats s;
    s.foregroundSwitches = 7;
    EXPECT_EQ(Score("Duration", s), 70);
    EXPECT_EQ(Score("Integration", s), 0);
    s.processes[3] = 10;  // process mean 3
    EXPECT_EQ(Score("Duration", s), 23);
    EXPECT_EQ(Score("Integration", s), 1);
    s.threads[15] = 4;  // 15 threads over 3 processes: 5 a process, 5 below the norm
    EXPECT_EQ(Score("Program Power", s), -5);

    s.keystrokes = 100000000, s.secondsSampled = 1000000;  // keystrokes x 60 passes 32 bits
    EXPECT_EQ(Score("Typing Rate", s), 1200);
    EXPECT_EQ(Score("Preference", s), 1);
    s.pointerActions = 1;
    EXPECT_EQ(Score("Preference", s), 0);
    s.pointerActions = UINT32_MAX, s.keystrokes = 1;  // the sum must not wrap round to a small divisor
    EXPECT_EQ(Score("Application Drag", s), 0);
    s.functionKeys = s.rightClicks = UINT32_MAX;
    EXPECT_EQ(CoachGaugeCells(Score("Expertise", s)), 9);  // held at the top, not wrapped negative
    s.functionKeys = 6, s.rightClicks = 4, s.f1Presses = 5;
    EXPECT_EQ(Score("Expertise", s), 2);

    s.printerActivity[50] = 1, s.secondsSampled = 0;
    EXPECT_EQ(Score("Paper Trail", s), 400);
    s.secondsObserved = 0, s.secondsSampled = 5;
    EXPECT_EQ(Score("Utilization", s), 5);

    // Efficiency weighs memory headroom, Urgency memory load.
    s.memoryHeadroom[80] = 1, s.memoryLoad[40] = 1, s.diskActivity[30] = 1;
    EXPECT_EQ(Score("Efficiency", s), 80);  // 100 - (50 + 80 + 30) / 8
    EXPECT_EQ(Score("Urgency", s), 50);     // printer 50 over memory load 40
    s.memoryLoad[40] = 0, s.memoryLoad[90] = 1;
    EXPECT_EQ(Score("Efficiency", s), 80);
    EXPECT_EQ(Score("Urgency", s), 90);
}

TEST(CoachGaugeCells, ShowOneToNineCells)
{
    const std::pair<int32_t, int> cases[] = {{INT32_MIN, 1}, {0, 1}, {1, 1}, {2, 2}, {8, 8}, {9, 9}, {INT32_MAX, 9}};
    for (const auto& c : cases) EXPECT_EQ(CoachGaugeCells(c.first), c.second) << c.first;
}

TEST(DiskEfficiency, RecentlyUsedProgramsScoreHigh)
{
    const struct {
        const char* what;
        std::vector<std::pair<int, int>> accessed;  // year, month; seen in 6/1997
        int32_t score;
    } cases[] = {
        {"no files", {}, 10},
        {"this month", {{1997, 6}, {1997, 6}}, 10},
        {"next year counts as now", {{1998, 1}}, 10},
        {"0 and 6 months", {{1997, 6}, {1996, 12}}, 7},
        {"average truncated", {{1997, 6}, {1997, 6}, {1997, 5}}, 10},
        {"30 months ago is 23", {{1994, 12}}, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        AccessMonths months{};
        for (const auto& date : c.accessed) CountAccessMonth(&months, date.first, date.second, 1997, 6);
        EXPECT_EQ(months.total, c.accessed.size());
        EXPECT_EQ(DiskEfficiencyScore(months), c.score);
    }
}

// make_tips on sources written here; names of this process's own, as tests run side by side.
std::string Temporary(const char* name)
{
    return ::testing::TempDir() + "make_tips_" + std::to_string(getpid()) + "_" + name;
}

// The exit status; *output gets what was written (nothing on failure), *message stderr.
int MakeTips(const std::string& source, std::vector<uint8_t>* output, std::string* message)
{
    const std::string in = Temporary("in.txt"), out = Temporary("out.dat"), err = Temporary("err.txt");
    std::ofstream(in, std::ios::binary) << source;
    const int status = std::system((std::string(HALVORN_MAKE_TIPS) + " " + in + " " + out + " 12 2>" + err).c_str());
    std::ifstream written(out, std::ios::binary), errors(err);
    output->assign(std::istreambuf_iterator<char>(written), {});
    message->assign(std::istreambuf_iterator<char>(errors), {});
    for (const std::string& path : {in, out, err}) std::remove(path.c_str());
    return status;
}

TEST(MakeTips, WritesZeroFilledRecordsAndRefusesBadSourcesNamingTheLine)
{
    std::vector<uint8_t> bytes;
    std::string message;
    ASSERT_EQ(MakeTips("# c\n@ 2 7 3\nTitle\nFirst line\n  second line \n\n# c\n@ 12 0 9\nT\nx\n", &bytes, &message), 0);
    EXPECT_EQ(bytes, Joined({TipImage(2, 7, 3, "Title", "First line second line"), TipImage(12, 0, 9, "T", "x")}));
    const struct {
        const char* what;
        std::string source;
        const char* where;
    } cases[] = {
        {"title of 128", "@ 1 1 1\n" + std::string(128, 'T') + "\ntext\n", ":2:"},
        {"text of 512", "@ 1 1 1\nT\n" + std::string(300, 'x') + "\n" + std::string(211, 'y') + "\n", ":4:"},
        {"key too big", "@ 1 1 1\nT\nx\n\n@ 13 1 1\nT\nx\n", ":5:"},
        {"effort 10", "@ 1 1 10\nT\nx\n", ":1:"},
        {"no text", "@ 1 1 1\nT\n\n", ":1:"},
        {"two numbers", "@ 1 1\nT\nx\n", ":1:"},
        {"text outside a record", "# c\nstray\n", ":2:"},
        {"records not apart", "@ 1 1 1\nT\nx\n@ 2 1 1\nT\nx\n", ":4:"},
        {"no records", "# only a comment\n", ":1:"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_NE(MakeTips(c.source, &bytes, &message), 0);
        EXPECT_NE(message.find(c.where), std::string::npos) << message;
        EXPECT_TRUE(bytes.empty());
    }
}

}  // namespace
