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

std::vector<TipRecord> Parse(const std::vector<uint8_t>& bytes, uint32_t key)
{
    std::vector<TipRecord> records;
    ParseTipRecords(bytes.data(), bytes.size(), key, &records);
    return records;
}

TEST(TipFile, AcceptsOnlyWholeRecordsUpToTheLimit)
{
    const struct {
        uint64_t length;
        bool accepted;
    } cases[] = {{0, false}, {651, false}, {652, true}, {653, false}, {1304, true},
                 {652u * 10000, true}, {652u * 10001, false}, {652ull << 32, false}};
    for (const auto& c : cases) EXPECT_EQ(IsTipFileLength(c.length), c.accepted) << c.length;
}

TEST(TipFile, PicksTheKeysRecordsInFileOrder)
{
    const auto bytes = Joined({TipImage(3, 4, 2, "first", "one"), TipImage(5, 1, 1, "other", "x"),
                               TipImage(3, 12, 7, "third", "three"), std::vector<uint8_t>(100, 3)});
    const auto three = Parse(bytes, 3);
    ASSERT_EQ(three.size(), 2u);
    EXPECT_STREQ(three[0].title, "first");
    EXPECT_STREQ(three[0].text, "one");
    EXPECT_EQ(three[0].impact, 4u);
    EXPECT_EQ(three[0].effort, 2u);
    EXPECT_STREQ(three[1].title, "third");
    EXPECT_EQ(three[1].impact, 9u);  // a level beyond 9 shows as 9
    EXPECT_TRUE(Parse(bytes, 4).empty());
    EXPECT_EQ(Parse(Joined({TipImage(3, 0, 0, "a", "b"), TipImage(5, 0, 0, "c", "d")}), 5).size(), 1u);
    EXPECT_TRUE(Parse(std::vector<uint8_t>(651, 0), 0).empty());  // a part record is no record
}

TEST(TipFile, FieldsWithoutTheirNulAreCutAtTheirLastByte)
{
    const auto records = Parse(TipImage(1, 0, 0, std::string(128, 'T'), std::string(512, 'x')), 1);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(std::string(records[0].title), std::string(127, 'T'));
    EXPECT_EQ(std::string(records[0].text), std::string(511, 'x'));
}

TEST(CoachScore, WithNoStatisticsEveryZeroDivisorCountsAsOne)
{
    static SystemStats zero;
    const int32_t expected[kCoachScoreCount] = {0, 7, 0, 100, 0, 0, 0, 0, -10, 0, 0, 0, 0};
    for (int i = 0; i < kCoachScoreCount; ++i) EXPECT_EQ(CoachScore(i, zero, 7), expected[i]) << kCoachScores[i].name;
    EXPECT_EQ(CoachGaugeCells(CoachScore(3, zero, 0)), 9);   // Efficiency
    EXPECT_EQ(CoachGaugeCells(CoachScore(12, zero, 0)), 1);  // Utilization
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
    memset(&s, 0, sizeof s);
    s.foregroundSwitches = 7;
    EXPECT_EQ(Score("Duration", s), 70);
    EXPECT_EQ(Score("Integration", s), 0);
    s.processes[3] = 10;  // process mean 3
    EXPECT_EQ(Score("Duration", s), 23);
    EXPECT_EQ(Score("Integration", s), 1);
    s.threads[15] = 4;  // 15 threads over 3 processes: 5 a process, 5 below the norm
    EXPECT_EQ(Score("Program Power", s), -5);
    EXPECT_EQ(CoachGaugeCells(Score("Program Power", s)), 1);

    s.keystrokes = 100000000;  // x 60 passes 32 bits
    s.secondsSampled = 1000000;
    EXPECT_EQ(Score("Typing Rate", s), 1200);
    EXPECT_EQ(Score("Preference", s), 1);
    s.pointerActions = 1;
    EXPECT_EQ(Score("Preference", s), 0);
    s.pointerActions = UINT32_MAX;  // the sum must not wrap round to a small divisor
    s.keystrokes = 1;
    EXPECT_EQ(Score("Application Drag", s), 0);

    s.functionKeys = UINT32_MAX;
    s.rightClicks = UINT32_MAX;
    EXPECT_EQ(CoachGaugeCells(Score("Expertise", s)), 9);  // saturated, not wrapped negative
    s.functionKeys = 6;
    s.rightClicks = 4;
    s.f1Presses = 5;
    EXPECT_EQ(Score("Expertise", s), 2);

    s.printerActivity[50] = 1;
    s.secondsSampled = 0;
    EXPECT_EQ(Score("Paper Trail", s), 400);
    s.secondsObserved = 0;
    s.secondsSampled = 5;
    EXPECT_EQ(Score("Utilization", s), 5);
}

TEST(CoachScore, EfficiencyWeighsMemoryHeadroomAndUrgencyMemoryLoad)
{
    static SystemStats s;
    memset(&s, 0, sizeof s);
    s.memoryHeadroom[80] = 1;
    EXPECT_EQ(Score("Efficiency", s), 90);
    EXPECT_EQ(Score("Urgency", s), 0);
    memset(&s, 0, sizeof s);
    s.memoryLoad[80] = 1;
    s.diskActivity[30] = 1;
    EXPECT_EQ(Score("Efficiency", s), 97);  // 100 - 30 / 8
    EXPECT_EQ(Score("Urgency", s), 80);
}

TEST(CoachGaugeCells, ShowOneToNineCells)
{
    const int32_t scores[] = {INT32_MIN, -5, 0, 1, 2, 8, 9, 100, INT32_MAX};
    const int cells[] = {1, 1, 1, 1, 2, 8, 9, 9, 9};
    for (size_t i = 0; i < std::size(scores); ++i) EXPECT_EQ(CoachGaugeCells(scores[i]), cells[i]) << scores[i];
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
    AccessMonths months{};
    CountAccessMonth(&months, 1994, 12, 1997, 6);
    EXPECT_EQ(months.counts[23], 1u);
}

// make_tips, run on sources written here; the tip file it writes is read back by the parser.
class MakeTips : public ::testing::Test {
protected:
    int Run(const std::string& source, int maxKey, std::string* message = nullptr)
    {
        const std::string in = Temporary("source.txt"), err = Temporary("error.txt");
        std::ofstream(in, std::ios::binary) << source;
        std::remove(out.c_str());
        const std::string command = std::string(HALVORN_MAKE_TIPS) + " " + in + " " + out + " " +
                                    std::to_string(maxKey) + " 2>" + err;
        const int status = std::system(command.c_str());
        std::ifstream errors(err);
        if (message) message->assign(std::istreambuf_iterator<char>(errors), {});
        return status;
    }
    std::vector<uint8_t> Output()
    {
        std::ifstream in(out, std::ios::binary);
        return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
    }
    // Names of this process's own, as tests run side by side.
    static std::string Temporary(const char* name)
    {
        return ::testing::TempDir() + "make_tips_" + std::to_string(getpid()) + "_" + name;
    }
    void TearDown() override
    {
        for (const char* name : {"source.txt", "error.txt", "out.dat"}) std::remove(Temporary(name).c_str());
    }
    const std::string out = Temporary("out.dat");
};

TEST_F(MakeTips, WritesZeroFilledRecords)
{
    ASSERT_EQ(Run("# comment\n@ 2 7 3\nTitle\nFirst line\n  second line \n\n# between\n@ 12 0 9\nT\nx\n", 12), 0);
    const auto bytes = Output();
    ASSERT_EQ(bytes.size(), 2 * kTipRecordSize);
    EXPECT_EQ(bytes, Joined({TipImage(2, 7, 3, "Title", "First line second line"), TipImage(12, 0, 9, "T", "x")}));
}

TEST_F(MakeTips, RefusesBadSourcesNamingTheLine)
{
    const struct {
        const char* what;
        std::string source;
        const char* where;
    } cases[] = {
        {"title of 128", "@ 1 1 1\n" + std::string(128, 'T') + "\ntext\n", ":2:"},
        {"text of 512", "@ 1 1 1\nT\n" + std::string(300, 'x') + "\n" + std::string(211, 'y') + "\n", ":4:"},
        {"key too big", "@ 1 1 1\nT\nx\n\n@ 13 1 1\nT\nx\n", ":5:"},
        {"impact 10", "@ 1 10 1\nT\nx\n", ":1:"},
        {"effort 10", "@ 1 1 10\nT\nx\n", ":1:"},
        {"no text", "@ 1 1 1\nT\n\n", ":1:"},
        {"no title", "@ 1 1 1\n", ":1:"},
        {"two numbers", "@ 1 1\nT\nx\n", ":1:"},
        {"not a number", "@ 1 1 -1\nT\nx\n", ":1:"},
        {"text outside a record", "# c\nstray\n", ":2:"},
        {"records not apart", "@ 1 1 1\nT\nx\n@ 2 1 1\nT\nx\n", ":4:"},
        {"no records", "# only a comment\n\n", ":2:"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::string message;
        EXPECT_NE(Run(c.source, 12, &message), 0);
        EXPECT_NE(message.find(c.where), std::string::npos) << message;
        EXPECT_TRUE(Output().empty());
    }
}

}  // namespace
