#include <gtest/gtest.h>

#include "sampling/file_changes.h"

TEST(WatchedDriveLetterIndex, FindsTheOrdinalAmongRemovableAndFixedDrives)
{
    const uint32_t types[kWatchedLetters] = {3, 5, 2, 1, 3, 4}, none[kWatchedLetters] = {5, 4, 1, 1, 6, 0};
    const int expected[] = {0, 2, 4, -1};  // C: fixed, D: CD-ROM, E: removable, G: fixed; then no drive
    for (int ordinal = 0; ordinal < 4; ++ordinal) EXPECT_EQ(WatchedDriveLetterIndex(types, ordinal), expected[ordinal]) << ordinal;
    EXPECT_EQ(WatchedDriveLetterIndex(types, -1), -1);
    EXPECT_EQ(WatchedDriveLetterIndex(none, 0), -1);
}
