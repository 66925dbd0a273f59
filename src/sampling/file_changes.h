// File-system change counts per drive C..H (0..5) and kind of change. The watcher thread
// is the only writer; the status report and the report painter read them without a lock.
// Zero at start-up, never cleared, never stored.
#pragma once
#include <atomic>
#include <cstdint>

enum FileChangeKind {
    kChangeLastWrite,   // files written to
    kChangeSize,
    kChangeAttributes,
    kChangeFileName,
    kChangeDirectoryName,
    kFileChangeKinds
};

constexpr int kWatchedLetters = 6;  // C to H

extern std::atomic<uint32_t> FileChangeCounts[kWatchedLetters][kFileChangeKinds];

// Which letter (0 = C .. 5 = H) is the ordinal-th (from 0) watchable drive, given the
// current drive types of C..H (2 removable and 3 fixed are watchable); -1 when none is.
int WatchedDriveLetterIndex(const uint32_t driveTypes[kWatchedLetters], int ordinal);
