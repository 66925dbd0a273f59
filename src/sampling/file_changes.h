// File-system change counts per drive C..H (0..5) and kind of change. The watcher thread
// is the only writer; the status report (its lamps) and the File Changes dialog read them
// without a lock. Zero at start-up, never cleared, never stored.
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
constexpr char kFirstWatchedLetter = 'C';
constexpr int kMaxWatchHandles = kWatchedLetters * kFileChangeKinds;

// Whether a drive of this GetDriveType type is watched: removable (2) and fixed (3) drives
// are; CD-ROM, network and RAM drives and letters without a drive are not.
bool IsWatchedDriveType(uint32_t driveType);

extern std::atomic<uint32_t> FileChangeCounts[kWatchedLetters][kFileChangeKinds];

// Which counters are not zero, as lamp bits for a report list: bit drive * 5 + kind.
uint32_t FileChangeLampBits();

// The watcher's change notifications, in the order they are waited on, each with the
// letter (0 = C .. 5 = H) of the drive it watches and its kind of change. Drives that
// could not be watched have no entries, so a handle's position says nothing about its
// letter: the letter is kept beside it. Only the watcher thread touches a table.
struct FileWatchTable {
    void* handles[kMaxWatchHandles];  // change notification handles
    int letter[kMaxWatchHandles];
    FileChangeKind kind[kMaxWatchHandles];
    uint32_t count;
};

// Appends a drive's five notifications, in change-kind order.
void AddWatchedDrive(FileWatchTable& table, int letter, void* const handles[kFileChangeKinds]);

// Takes the entry at index out of the table, keeping the order of the others.
void RemoveWatchEntry(FileWatchTable& table, uint32_t index);

// The letter whose count the signalled entry at index feeds, given the current drive types
// of C..H; -1 when its drive is no longer watched (IsWatchedDriveType).
int ChangedDriveLetter(const FileWatchTable& table, uint32_t index, const uint32_t driveTypes[kWatchedLetters]);
