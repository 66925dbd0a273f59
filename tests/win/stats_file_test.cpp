#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "box_watcher.h"
#include "child_modes.h"
#include "sampling/stats_file.h"
#include "wine_env.h"

namespace {

const char kOpenFailed[] =
    "Unable to open file due to error. If you are running from a floppy disk your disk may be write "
    "protected. Or your hard disk may be full.";
const char kCreateFailed[] =
    "Unable to create file due to error. If you are running from a floppy disk your disk may be write "
    "protected. Or your hard disk may be full.";

bool IsZero(const SystemStats& stats)
{
    static const SystemStats zero = {};
    return memcmp(&stats, &zero, sizeof zero) == 0;
}

// True when the file holds exactly one whole image, every word the same value.
testing::AssertionResult IsWholeImage(const std::string& path, unsigned* generation = nullptr)
{
    std::vector<unsigned char> bytes;
    if (!ReadWholeFileBytes(path, &bytes)) return testing::AssertionFailure() << path << " cannot be read";
    if (bytes.size() != kSystemStatsLength) return testing::AssertionFailure() << "size " << bytes.size();
    uint32_t first;
    memcpy(&first, bytes.data(), 4);
    for (size_t i = 0; i < kSystemStatsWords; ++i) {
        uint32_t word;
        memcpy(&word, bytes.data() + 4 * i, 4);
        if (word != first) return testing::AssertionFailure() << "word " << i << " is " << word << ", word 0 is " << first;
    }
    if (generation) *generation = first;
    return testing::AssertionSuccess();
}

class StatsFile : public testing::Test {
protected:
    void SetUp() override
    {
        folder = FreshTestFolder(std::string("stats_") + testing::UnitTest::GetInstance()->current_test_info()->name());
        path = folder + "\\sysstats.dat";
    }
    std::string folder;
    std::string path;
    SystemStats stats = {};
};

TEST_F(StatsFile, MissingFileLeavesZerosAndShowsNothing)
{
    BoxWatcher boxes;
    LoadSystemStatsFrom(path.c_str(), &stats);
    EXPECT_TRUE(IsZero(stats));
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(StatsFile, WrongSizesShowTheOpenBoxAndLeaveZeros)
{
    for (size_t length : {size_t(0), kSystemStatsLength - 1, kSystemStatsLength + 1}) {
        SCOPED_TRACE(length);
        std::vector<unsigned char> bytes(length, 0x5A);
        ASSERT_TRUE(WriteWholeFile(path, bytes.data(), bytes.size()));
        BoxWatcher boxes;
        SystemStats loaded = {};
        LoadSystemStatsFrom(path.c_str(), &loaded);
        EXPECT_TRUE(IsZero(loaded));
        auto seen = boxes.Boxes();
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_EQ(seen[0].caption, "Error!");
        EXPECT_EQ(seen[0].text, kOpenFailed);
    }
}

TEST_F(StatsFile, DoubleFileLoadsTheFirstImageSilently)
{
    std::vector<unsigned char> bytes(2 * kSystemStatsLength);
    FillStatsImage(bytes.data(), 11);
    FillStatsImage(bytes.data() + kSystemStatsLength, 22);
    ASSERT_TRUE(WriteWholeFile(path, bytes.data(), bytes.size()));
    BoxWatcher boxes;
    LoadSystemStatsFrom(path.c_str(), &stats);
    EXPECT_EQ(stats.sessionEnds, 11u);
    EXPECT_EQ(stats.appsDos[100], 11u);
    EXPECT_EQ(memcmp(&stats, bytes.data(), kSystemStatsLength), 0);
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(StatsFile, SaveThenLoadRoundTripsAndLeavesNoTemporaryFile)
{
    FillStatsImage(&stats, 0xC0FFEE);
    BoxWatcher boxes;
    SaveSystemStatsTo(path.c_str(), &stats);
    EXPECT_TRUE(IsWholeImage(path));
    EXPECT_FALSE(PathExists(path + ".tmp"));
    SystemStats loaded = {};
    LoadSystemStatsFrom(path.c_str(), &loaded);
    EXPECT_EQ(memcmp(&loaded, &stats, sizeof stats), 0);
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(StatsFile, SaveIntoAMissingFolderShowsTheCreateBox)
{
    BoxWatcher boxes;
    SaveSystemStatsTo((folder + "\\no such folder\\sysstats.dat").c_str(), &stats);
    auto seen = boxes.Boxes();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].caption, "Error!");
    EXPECT_EQ(seen[0].text, kCreateFailed);
}

TEST_F(StatsFile, FailedSaveKeepsThePreviousImage)
{
    FillStatsImage(&stats, 7);
    SaveSystemStatsTo(path.c_str(), &stats);
    // A folder in the way of the temporary file makes the next save fail before it
    // touches the statistics file.
    ASSERT_TRUE(CreateDirectoryA((path + ".tmp").c_str(), nullptr));
    FillStatsImage(&stats, 8);
    BoxWatcher boxes;
    SaveSystemStatsTo(path.c_str(), &stats);
    EXPECT_TRUE(boxes.WaitForBox("Error!", 2000));
    unsigned generation = 0;
    EXPECT_TRUE(IsWholeImage(path, &generation));
    EXPECT_EQ(generation, 7u);
}

TEST_F(StatsFile, CrashLeftoversDoNotHideTheLastGoodImage)
{
    FillStatsImage(&stats, 5);
    SaveSystemStatsTo(path.c_str(), &stats);
    std::vector<unsigned char> partial(5000, 0xEE);  // a save cut short by a crash
    ASSERT_TRUE(WriteWholeFile(path + ".tmp", partial.data(), partial.size()));
    SystemStats loaded = {};
    LoadSystemStatsFrom(path.c_str(), &loaded);
    EXPECT_EQ(loaded.sessionEnds, 5u);
    FillStatsImage(&stats, 6);
    SaveSystemStatsTo(path.c_str(), &stats);
    unsigned generation = 0;
    EXPECT_TRUE(IsWholeImage(path, &generation));
    EXPECT_EQ(generation, 6u);
    EXPECT_FALSE(PathExists(path + ".tmp"));
}

TEST_F(StatsFile, KillingASaveAtAnyMomentLeavesAWholeImage)
{
    FillStatsImage(&stats, 0);
    SaveSystemStatsTo(path.c_str(), &stats);
    unsigned newest = 0;
    for (int round = 0; round < 12; ++round) {
        SCOPED_TRACE(round);
        PROCESS_INFORMATION child = StartChild("save-forever", "\"" + path + "\"");
        ASSERT_NE(child.hProcess, nullptr);
        Sleep(150 + 37 * round);
        TerminateProcess(child.hProcess, 9);
        WaitForSingleObject(child.hProcess, 10000);
        CloseHandle(child.hThread);
        CloseHandle(child.hProcess);
        unsigned generation = 0;
        ASSERT_TRUE(IsWholeImage(path, &generation));
        newest = generation;
    }
    EXPECT_GT(newest, 0u);  // the children did save while they ran
}

struct RacingSaver {
    std::string path;
    unsigned value;
    static DWORD WINAPI Run(LPVOID self)
    {
        RacingSaver* saver = static_cast<RacingSaver*>(self);
        static thread_local SystemStats stats;
        FillStatsImage(&stats, saver->value);
        for (int i = 0; i < 100; ++i) SaveSystemStatsTo(saver->path.c_str(), &stats);
        return 0;
    }
};

TEST_F(StatsFile, RacingSavesNeitherFailNorMix)
{
    BoxWatcher boxes;
    RacingSaver a{path, 1}, b{path, 2};
    HANDLE threads[2] = {CreateThread(nullptr, 0, RacingSaver::Run, &a, 0, nullptr),
                         CreateThread(nullptr, 0, RacingSaver::Run, &b, 0, nullptr)};
    WaitForMultipleObjects(2, threads, TRUE, 60000);
    CloseHandle(threads[0]);
    CloseHandle(threads[1]);
    unsigned generation = 0;
    EXPECT_TRUE(IsWholeImage(path, &generation));
    EXPECT_TRUE(generation == 1 || generation == 2);
    EXPECT_TRUE(boxes.Boxes().empty());
}

}  // namespace
