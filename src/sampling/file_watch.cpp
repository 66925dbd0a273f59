// The watcher thread: the only writer of FileChangeCounts. It waits on five change
// notifications per removable or fixed drive C..H and counts each one that fires.
#include <windows.h>

#include "sampling/file_changes.h"
#include "sampling/file_watch.h"

namespace {

const DWORD kFilters[kFileChangeKinds] = {FILE_NOTIFY_CHANGE_LAST_WRITE, FILE_NOTIFY_CHANGE_SIZE,
                                          FILE_NOTIFY_CHANGE_ATTRIBUTES, FILE_NOTIFY_CHANGE_FILE_NAME,
                                          FILE_NOTIFY_CHANGE_DIR_NAME};

bool IsWatchable(UINT type)
{
    return type == DRIVE_REMOVABLE || type == DRIVE_FIXED;
}

char RootOf(int letter, char* root)
{
    root[0] = char('C' + letter);
    root[1] = ':';
    root[2] = '\\';
    root[3] = '\0';
    return root[0];
}

// A drive is watched with all five notifications or not at all (a removable drive
// without a medium refuses them); each handle keeps the letter of its drive.
void WatchDrives(FileWatchTable& watch)
{
    watch.count = 0;
    for (int letter = 0; letter < kWatchedLetters; ++letter) {
        char root[4];
        RootOf(letter, root);
        if (!IsWatchable(GetDriveTypeA(root))) continue;
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
    for (int letter = 0; letter < kWatchedLetters; ++letter) {
        char root[4];
        RootOf(letter, root);
        types[letter] = GetDriveTypeA(root);
    }
    const int letter = ChangedDriveLetter(watch, index, types);
    if (letter < 0) {
        Drop(watch, index);
        return;
    }
    FileChangeCounts[letter][watch.kind[index]].fetch_add(1, std::memory_order_relaxed);
    if (!FindNextChangeNotification(watch.handles[index])) Drop(watch, index);
}

}  // namespace

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
