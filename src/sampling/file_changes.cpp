#include "sampling/file_changes.h"

std::atomic<uint32_t> FileChangeCounts[kWatchedLetters][kFileChangeKinds];

static_assert(kWatchedLetters * kFileChangeKinds <= 32, "one bit per counter");

uint32_t FileChangeLampBits()
{
    uint32_t bits = 0;
    for (int drive = 0; drive < kWatchedLetters; ++drive)
        for (int kind = 0; kind < kFileChangeKinds; ++kind)
            if (FileChangeCounts[drive][kind].load(std::memory_order_relaxed))
                bits |= 1u << (drive * kFileChangeKinds + kind);
    return bits;
}

void AddWatchedDrive(FileWatchTable& table, int letter, void* const handles[kFileChangeKinds])
{
    if (letter < 0 || letter >= kWatchedLetters) return;
    for (int k = 0; k < kFileChangeKinds && table.count < kMaxWatchHandles; ++k) {
        table.handles[table.count] = handles[k];
        table.letter[table.count] = letter;
        table.kind[table.count] = FileChangeKind(k);
        ++table.count;
    }
}

void RemoveWatchEntry(FileWatchTable& table, uint32_t index)
{
    if (index >= table.count) return;
    for (uint32_t i = index + 1; i < table.count; ++i) {
        table.handles[i - 1] = table.handles[i];
        table.letter[i - 1] = table.letter[i];
        table.kind[i - 1] = table.kind[i];
    }
    --table.count;
}

bool IsWatchedDriveType(uint32_t driveType)
{
    return driveType == 2 || driveType == 3;
}

int ChangedDriveLetter(const FileWatchTable& table, uint32_t index, const uint32_t driveTypes[kWatchedLetters])
{
    if (index >= table.count) return -1;
    const int letter = table.letter[index];
    return IsWatchedDriveType(driveTypes[letter]) ? letter : -1;
}
