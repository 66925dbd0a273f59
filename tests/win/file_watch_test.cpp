// The watcher thread counts changes on the mapped drives. Wine signals changes to direct
// children of the watched root only, so the test writes in the drive's root.
#include <gtest/gtest.h>

#include "sampling/file_changes.h"
#include "sampling/file_watch.h"
#include "test_windows.h"
#include "wine_env.h"

TEST(FileWatch, CountsAWriteOnAFixedDrive)
{
    std::atomic<uint32_t>* d = FileChangeCounts['D' - 'C'];
    const uint32_t written = d[kChangeLastWrite];
    static HANDLE watcher = CreateThread(nullptr, 0, FileWatchThread, nullptr, 0, nullptr);
    // The watcher arms its notifications a moment after it starts: the file is written
    // again until a write is counted.
    EXPECT_TRUE(WaitUntil([&] { return WriteWholeFile("D:\\WATCHED.TXT", "changed", 7) && d[kChangeLastWrite] > written; },
                          3000))
        << "no write on D: was counted";
    EXPECT_EQ(WaitForSingleObject(watcher, 0), DWORD(WAIT_TIMEOUT)) << "the watcher found nothing to watch";
    DeleteFileA("D:\\WATCHED.TXT");
    // Nothing was counted for the CD-ROM drive E:, which is not watched.
    for (int kind = 0; kind < kFileChangeKinds; ++kind) EXPECT_EQ(FileChangeCounts['E' - 'C'][kind].load(), 0u);
}
