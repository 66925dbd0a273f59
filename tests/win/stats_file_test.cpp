// sysstats.dat on Wine's file system: what loading accepts, the boxes it shows, and saves
// that are cut short, fail or race each other.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "box_watcher.h"
#include "sampling/stats_file.h"
#include "test_windows.h"
#include "wine_env.h"

namespace {

std::string ErrorBox(const char* verb)
{
    return std::string("Error!|Unable to ") + verb +
           " file due to error. If you are running from a floppy disk your disk may be write protected. Or your hard "
           "disk may be full.";
}

std::string BoxesSeen(BoxWatcher& watcher)
{
    std::string seen;
    for (const SeenBox& box : watcher.Boxes()) seen += (seen.empty() ? "" : "\n") + box.caption + "|" + box.text;
    return seen;
}

// Every 32-bit word of a statistics image set to one value (its generation).
void FillImage(void* image, uint32_t generation)
{
    for (size_t i = 0; i < kSystemStatsWords; ++i) memcpy(static_cast<char*>(image) + 4 * i, &generation, 4);
}

// True when the file holds exactly one whole image, every word the same value.
testing::AssertionResult IsWholeImage(const std::string& path, uint32_t* generation = nullptr)
{
    std::vector<unsigned char> bytes, whole(kSystemStatsLength);
    if (!ReadWholeFileBytes(path, &bytes) || bytes.size() != kSystemStatsLength)
        return testing::AssertionFailure() << path << " holds " << bytes.size() << " bytes";
    FillImage(whole.data(), bytes[0] | bytes[1] << 8 | bytes[2] << 16 | uint32_t(bytes[3]) << 24);
    if (bytes != whole) return testing::AssertionFailure() << "the words differ";
    if (generation) memcpy(generation, bytes.data(), 4);
    return testing::AssertionSuccess();
}

// Where the racing threads save; the helper process takes it from its environment.
std::string gSavePath;

class StatsFile : public testing::Test {
protected:
    void SetUp() override
    {
        folder = FreshTestFolder(std::string("stats_") + testing::UnitTest::GetInstance()->current_test_info()->name());
        path = folder + "\\sysstats.dat";
        SetEnvironmentVariableA("HALVORN_SAVE_PATH", path.c_str());
        gSavePath = path;
    }
    std::string folder, path;
    SystemStats stats = {};
};

// A file of `length` bytes (a generation-1 image and a generation-2 one; SIZE_MAX: no file)
// is loaded, held open without sharing while loading or while saving too, and saved over
// twice beside a sysstats.old of generation 9. Only a whole image is loaded. A file of the
// right size that cannot be read is kept as sysstats.old before the first save; where it
// cannot be moved, nothing is saved that session and one box says so.
TEST_F(StatsFile, LoadTakesWholeImagesAndAnUnreadableFileIsNeverReplacedByAnEmptyRecord)
{
    const std::string old = folder + "\\sysstats.old";
    const std::string notSaving = "Error!|Unable to read the statistics file or to move it aside. To keep the statistics "
                                  "it holds, none will be saved until the program is started again.";
    std::vector<unsigned char> bytes(2 * kSystemStatsLength), older(kSystemStatsLength);
    FillImage(bytes.data(), 1);
    FillImage(bytes.data() + kSystemStatsLength, 2);
    FillImage(older.data(), 9);
    enum Held { kNotHeld, kWhileLoading, kWhileSaving };
    struct Case { const char* label; size_t length; Held held; uint32_t loaded, saved, kept; std::string boxes; } cases[] = {
        {"missing", SIZE_MAX, kNotHeld, 0, 6, 9, ""},
        {"empty", 0, kNotHeld, 0, 6, 9, ErrorBox("open")},
        {"one byte short: saved over", kSystemStatsLength - 1, kNotHeld, 0, 6, 9, ErrorBox("open")},
        {"two images: the first counts", 2 * kSystemStatsLength, kNotHeld, 1, 6, 9, ""},
        {"held while loading", kSystemStatsLength, kWhileLoading, 0, 6, 1, ErrorBox("open")},
        {"held while loading and saving", kSystemStatsLength, kWhileSaving, 0, 1, 9, ErrorBox("open") + "\n" + notSaving},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        DeleteFileA(path.c_str());
        if (c.length != SIZE_MAX) ASSERT_TRUE(WriteWholeFile(path, bytes.data(), c.length));
        ASSERT_TRUE(WriteWholeFile(old, older.data(), older.size()));
        HANDLE held = c.held ? CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr) : nullptr;
        ASSERT_NE(held, INVALID_HANDLE_VALUE);
        BoxWatcher boxes;
        SystemStats loaded = {};
        LoadSystemStatsFrom(path.c_str(), &loaded);
        std::vector<unsigned char> expected(kSystemStatsLength);
        FillImage(expected.data(), c.loaded);
        EXPECT_EQ(memcmp(&loaded, expected.data(), kSystemStatsLength), 0);
        if (c.held == kWhileLoading) CloseHandle(held);
        FillImage(&stats, 6);
        SaveSystemStatsTo(path.c_str(), &stats);  // the save at the second sampled tick
        if (c.held == kWhileSaving) CloseHandle(held);
        SaveSystemStatsTo(path.c_str(), &stats);  // at Exit
        uint32_t saved = 0, kept = 0;
        EXPECT_TRUE(IsWholeImage(path, &saved));
        EXPECT_TRUE(IsWholeImage(old, &kept));
        EXPECT_EQ(std::make_pair(saved, kept), std::make_pair(c.saved, c.kept));
        EXPECT_EQ(BoxesSeen(boxes), c.boxes);
    }
}

TEST_F(StatsFile, AFailedSaveShowsTheCreateBoxAndKeepsThePreviousImage)
{
    FillImage(&stats, 6);
    SaveSystemStatsTo(path.c_str(), &stats);
    EXPECT_FALSE(PathExists(path + ".tmp"));
    // A folder in the way of the temporary file makes a save fail before it touches the
    // statistics file; a missing folder fails the same way.
    ASSERT_TRUE(CreateDirectoryA((path + ".tmp").c_str(), nullptr));
    FillImage(&stats, 7);
    BoxWatcher boxes;
    SaveSystemStatsTo(path.c_str(), &stats);
    SaveSystemStatsTo((folder + "\\no such folder\\sysstats.dat").c_str(), &stats);
    uint32_t generation = 0;
    EXPECT_TRUE(IsWholeImage(path, &generation));
    EXPECT_EQ(generation, 6u);
    EXPECT_EQ(BoxesSeen(boxes), ErrorBox("create") + "\n" + ErrorBox("create"));
}

// Helper process: saves ever newer whole images to HALVORN_SAVE_PATH until it is killed.
TEST(StatsFileHelper, DISABLED_SaveForever)
{
    static SystemStats stats;
    for (uint32_t generation = 1;; ++generation) {
        FillImage(&stats, generation);
        SaveSystemStatsTo(getenv("HALVORN_SAVE_PATH"), &stats);
    }
}

FILETIME LastWriteTime(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data);
    return data.ftLastWriteTime;
}

// The leftovers of each killed save are what the next round's saves write over.
TEST_F(StatsFile, KillingASaveAtAnyMomentLeavesAWholeImage)
{
    SaveSystemStatsTo(path.c_str(), &stats);
    for (int round = 0; round < 12; ++round) {
        SCOPED_TRACE(round);
        const FILETIME before = LastWriteTime(path);
        PROCESS_INFORMATION saver = StartHelperTest("StatsFileHelper.DISABLED_SaveForever");
        ASSERT_NE(saver.hProcess, nullptr);
        // Killed once it has replaced the file (seen without opening it), a varying time
        // into its next saves.
        const bool saved = WaitUntil([&] {
            const FILETIME now = LastWriteTime(path);
            return CompareFileTime(&now, &before) != 0;
        }, 15000);
        Sleep(7 * round);  // the point of the rounds: a different moment of the saves each time
        EndHelperProcess(&saver);
        ASSERT_TRUE(saved) << "the helper did not save";
        EXPECT_TRUE(IsWholeImage(path));
    }
}

DWORD WINAPI SaveGenerationRepeatedly(LPVOID generation)
{
    static thread_local SystemStats stats;
    FillImage(&stats, uint32_t(reinterpret_cast<uintptr_t>(generation)));
    for (int i = 0; i < 100; ++i) SaveSystemStatsTo(gSavePath.c_str(), &stats);
    return 0;
}

TEST_F(StatsFile, RacingSavesNeitherFailNorMix)
{
    BoxWatcher boxes;
    HANDLE threads[2] = {CreateThread(nullptr, 0, SaveGenerationRepeatedly, LPVOID(1), 0, nullptr),
                         CreateThread(nullptr, 0, SaveGenerationRepeatedly, LPVOID(2), 0, nullptr)};
    WaitForMultipleObjects(2, threads, TRUE, 60000);
    for (HANDLE thread : threads) CloseHandle(thread);
    uint32_t generation = 0;
    EXPECT_TRUE(IsWholeImage(path, &generation));
    EXPECT_TRUE(generation == 1 || generation == 2);
    EXPECT_EQ(BoxesSeen(boxes), "");
}

}  // namespace
