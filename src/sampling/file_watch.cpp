// The watcher thread: the only writer of FileChangeCounts. It waits on five change
// notifications per removable or fixed drive C..H and counts each one that fires.
#include <windows.h>

#include "sampling/file_changes.h"
#include "sampling/file_watch.h"

namespace {

const DWORD kFilters[kFileChangeKinds] = {FILE_NOTIFY_CHANGE_LAST_WRITE, FILE_NOTIFY_CHANGE_SIZE,
                                          FILE_NOTIFY_CHANGE_ATTRIBUTES, FILE_NOTIFY_CHANGE_FILE_NAME,
                                          FILE_NOTIFY_CHANGE_DIR_NAME};

struct Watch {
    HANDLE handles[kWatchedLetters * kFileChangeKinds];
    int ordinal[kWatchedLetters * kFileChangeKinds];  // which watched drive a handle belongs to
    FileChangeKind kind[kWatchedLetters * kFileChangeKinds];
    DWORD count;
};

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
// without a medium refuses them).
void WatchDrives(Watch& watch)
{
    watch.count = 0;
    int watched = 0;
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
        for (int k = 0; k < kFileChangeKinds; ++k) {
            watch.handles[watch.count] = created[k];
            watch.ordinal[watch.count] = watched;
            watch.kind[watch.count] = FileChangeKind(k);
            ++watch.count;
        }
        ++watched;
    }
}

void Drop(Watch& watch, DWORD index)
{
    FindCloseChangeNotification(watch.handles[index]);
    for (DWORD i = index + 1; i < watch.count; ++i) {
        watch.handles[i - 1] = watch.handles[i];
        watch.ordinal[i - 1] = watch.ordinal[i];
        watch.kind[i - 1] = watch.kind[i];
    }
    --watch.count;
}

// Counts one signalled notification against the drive that now holds its place among the
// watchable drives, and re-arms it. A handle whose drive is gone or that cannot be
// re-armed is closed, so it cannot keep the wait signalled.
void CountChange(Watch& watch, DWORD index)
{
    uint32_t types[kWatchedLetters];
    for (int letter = 0; letter < kWatchedLetters; ++letter) {
        char root[4];
        RootOf(letter, root);
        types[letter] = GetDriveTypeA(root);
    }
    const int letter = WatchedDriveLetterIndex(types, watch.ordinal[index]);
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
    static Watch watch;
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
