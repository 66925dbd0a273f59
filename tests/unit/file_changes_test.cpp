#include <gtest/gtest.h>

#include "sampling/file_changes.h"

TEST(WatchedDriveLetterIndex, FindsTheOrdinalAmongRemovableAndFixedDrives)
{
    //                                 C  D  E  F  G  H
    const uint32_t types[kWatchedLetters] = {3, 5, 2, 1, 3, 4};
    EXPECT_EQ(WatchedDriveLetterIndex(types, 0), 0);  // C:
    EXPECT_EQ(WatchedDriveLetterIndex(types, 1), 2);  // E: (D: is a CD-ROM)
    EXPECT_EQ(WatchedDriveLetterIndex(types, 2), 4);  // G:
    EXPECT_EQ(WatchedDriveLetterIndex(types, 3), -1);
    EXPECT_EQ(WatchedDriveLetterIndex(types, -1), -1);
    const uint32_t none[kWatchedLetters] = {5, 4, 1, 1, 6, 0};
    EXPECT_EQ(WatchedDriveLetterIndex(none, 0), -1);
}
