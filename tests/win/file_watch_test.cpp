// The watcher thread counts changes on the mapped drives. Wine signals changes to direct
// children of the watched root only, so the test writes in the drive's root.
#include <gtest/gtest.h>

#include "sampling/file_changes.h"
#include "sampling/file_watch.h"
#include "wine_env.h"

TEST(FileWatch, CountsAWriteOnAFixedDrive)
{
    static HANDLE watcher = CreateThread(nullptr, 0, FileWatchThread, nullptr, 0, nullptr);
    Sleep(300);  // the notifications are armed
    ASSERT_EQ(WaitForSingleObject(watcher, 0), DWORD(WAIT_TIMEOUT)) << "the watcher found nothing to watch";
    std::atomic<uint32_t>* d = FileChangeCounts['D' - 'C'];
    const uint32_t written = d[kChangeLastWrite];
    ASSERT_TRUE(WriteWholeFile("D:\\WATCHED.TXT", "changed", 7));
    for (const DWORD start = GetTickCount(); GetTickCount() - start < 3000 && d[kChangeLastWrite] == written;) Sleep(20);
    EXPECT_GT(d[kChangeLastWrite].load(), written);
    DeleteFileA("D:\\WATCHED.TXT");
    // Nothing was counted for the CD-ROM drive E:, which is not watched.
    for (int kind = 0; kind < kFileChangeKinds; ++kind) EXPECT_EQ(FileChangeCounts['E' - 'C'][kind].load(), 0u);
}

// The drives the watcher, the status report and the File Changes dialog show: the harness
// maps D:, F: and G: as fixed drives and E: as a CD-ROM drive; the prefix's C: is fixed.
TEST(FileWatch, WatchesTheFixedDrivesFromC)
{
    const struct { char letter; bool watched; } cases[] = {
        {'C', true}, {'D', true}, {'E', false}, {'F', true}, {'G', true},
    };
    for (const auto& c : cases) EXPECT_EQ(IsWatchedDrive(c.letter - kFirstWatchedLetter), c.watched) << c.letter << ":";
}
