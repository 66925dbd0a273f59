// The watcher thread counts changes on the mapped drives. Wine signals changes to direct
// children of the watched root only, so the test writes in the drive's root.
#include <gtest/gtest.h>

#include "sampling/file_changes.h"
#include "sampling/file_watch.h"
#include "wine_env.h"

namespace {

const int kDriveD = 'D' - 'C';

bool WaitForCount(int letter, FileChangeKind kind, uint32_t above, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < timeoutMs) {
        if (FileChangeCounts[letter][kind].load() > above) return true;
        Sleep(20);
    }
    return false;
}

TEST(FileWatch, CountsWritesAndNewFoldersOnAFixedDrive)
{
    static HANDLE watcher = CreateThread(nullptr, 0, FileWatchThread, nullptr, 0, nullptr);
    ASSERT_NE(watcher, nullptr);
    Sleep(300);  // the notifications are armed
    EXPECT_EQ(WaitForSingleObject(watcher, 0), DWORD(WAIT_TIMEOUT)) << "the watcher found nothing to watch";

    const uint32_t written = FileChangeCounts[kDriveD][kChangeLastWrite].load();
    const uint32_t folders = FileChangeCounts[kDriveD][kChangeDirectoryName].load();
    const char text[] = "changed";
    ASSERT_TRUE(WriteWholeFile("D:\\WATCHED.TXT", text, sizeof text));
    EXPECT_TRUE(WaitForCount(kDriveD, kChangeLastWrite, written, 3000));
    ASSERT_TRUE(CreateDirectoryA("D:\\WATCHED.DIR", nullptr));
    EXPECT_TRUE(WaitForCount(kDriveD, kChangeDirectoryName, folders, 3000));
    DeleteFileA("D:\\WATCHED.TXT");
    RemoveDirectoryA("D:\\WATCHED.DIR");
    // Nothing was counted for the CD-ROM drive E:, which is not watched.
    for (int kind = 0; kind < kFileChangeKinds; ++kind) EXPECT_EQ(FileChangeCounts['E' - 'C'][kind].load(), 0u);
}

}  // namespace
