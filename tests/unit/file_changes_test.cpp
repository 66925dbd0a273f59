#include <gtest/gtest.h>

#include "sampling/file_changes.h"

TEST(WatchedDriveLetterIndex, FindsTheOrdinalAmongRemovableAndFixedDrives)
{
    const uint32_t types[kWatchedLetters] = {3, 5, 2, 1, 3, 4};  // C: fixed, D: CD-ROM, E: removable, G: fixed
    const int expected[] = {0, 2, 4, -1};                        // ordinals 0..3
    for (int ordinal = 0; ordinal < 4; ++ordinal) EXPECT_EQ(WatchedDriveLetterIndex(types, ordinal), expected[ordinal]);
    EXPECT_EQ(WatchedDriveLetterIndex(types, -1), -1);
    const uint32_t none[kWatchedLetters] = {5, 4, 1, 1, 6, 0};
    EXPECT_EQ(WatchedDriveLetterIndex(none, 0), -1);
}
