// The watcher thread: the only writer of FileChangeCounts. It waits on five change
// notifications per removable or fixed drive C..H and counts each one that fires.
#include <windows.h>

#include "sampling/file_watch.h"

#include "sampling/file_changes.h"
#include "services/drives.h"

namespace {

const DWORD kFilters[kFileChangeKinds] = {FILE_NOTIFY_CHANGE_LAST_WRITE, FILE_NOTIFY_CHANGE_SIZE,
                                          FILE_NOTIFY_CHANGE_ATTRIBUTES, FILE_NOTIFY_CHANGE_FILE_NAME,
                                          FILE_NOTIFY_CHANGE_DIR_NAME};

char LetterOf(int index)
{
    return char(kFirstWatchedLetter + index);
}

// A drive is watched with all five notifications or not at all (a removable drive
// without a medium refuses them); each handle keeps the letter of its drive.
void WatchDrives(FileWatchTable& watch)
{
    watch.count = 0;
    for (int letter = 0; letter < kWatchedLetters; ++letter) {
        if (!IsWatchedDrive(letter)) continue;
        const char root[] = {LetterOf(letter), ':', '\\', '\0'};
        HANDLE created[kFileChangeKinds];
        int made = 0;
        for (; made < kFileChangeKinds; ++made) {
            created[made] = FindFirstChangeNotificationA(root, TRUE, kFilters[made]);
            if (created[made] == INVALID_HANDLE_VALUE) break;
        }
        if (made < kFileChangeKinds) {
            while (made-- > 0) FindCloseChangeNotification(created[made]);
            continue;
        }
        AddWatchedDrive(watch, letter, created);
    }
}

void Drop(FileWatchTable& watch, DWORD index)
{
    FindCloseChangeNotification(watch.handles[index]);
    RemoveWatchEntry(watch, index);
}

// Counts one signalled notification against the drive it was made for, and re-arms it.
// A handle whose drive is no longer removable or fixed, or that cannot be re-armed, is
// closed, so it cannot keep the wait signalled.
void CountChange(FileWatchTable& watch, DWORD index)
{
    uint32_t types[kWatchedLetters];
    for (int letter = 0; letter < kWatchedLetters; ++letter) types[letter] = DriveTypeOf(LetterOf(letter));
    const int letter = ChangedDriveLetter(watch, index, types);
    if (letter < 0) {
        Drop(watch, index);
        return;
    }
    FileChangeCounts[letter][watch.kind[index]].fetch_add(1, std::memory_order_relaxed);
    if (!FindNextChangeNotification(watch.handles[index])) Drop(watch, index);
}

}  // namespace

bool IsWatchedDrive(int index)
{
    return index >= 0 && index < kWatchedLetters && IsWatchedDriveType(DriveTypeOf(LetterOf(index)));
}

DWORD WINAPI FileWatchThread(LPVOID)
{
    static FileWatchTable watch;
    WatchDrives(watch);
    DWORD failures = 0;
    while (watch.count > 0) {
        DWORD result = WaitForMultipleObjects(watch.count, watch.handles, FALSE, INFINITE);
        if (result < WAIT_OBJECT_0 + watch.count) {
            failures = 0;
            CountChange(watch, result - WAIT_OBJECT_0);
            continue;
        }
        // A failed wait must not become a busy loop: back off, longer each time.
        failures = failures < 10 ? failures + 1 : failures;
        Sleep(100 * failures);
    }
    return 0;  // nothing left to watch
}
