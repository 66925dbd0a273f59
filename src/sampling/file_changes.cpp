#include "sampling/file_changes.h"

std::atomic<uint32_t> FileChangeCounts[kWatchedLetters][kFileChangeKinds];

int WatchedDriveLetterIndex(const uint32_t driveTypes[kWatchedLetters], int ordinal)
{
    if (ordinal < 0) return -1;
    for (int letter = 0; letter < kWatchedLetters; ++letter) {
        if (driveTypes[letter] != 2 && driveTypes[letter] != 3) continue;
        if (ordinal-- == 0) return letter;
    }
    return -1;
}
