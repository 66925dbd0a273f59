#include <gtest/gtest.h>

#include "services/drives.h"

TEST(DriveTypeOf, ReportsTheHarnessDrivesTypes)
{
    const struct {
        char letter;
        UINT type;
    } cases[] = {{'C', DRIVE_FIXED},     {'D', DRIVE_FIXED}, {'f', DRIVE_FIXED},  {'G', DRIVE_FIXED},
                 {'A', DRIVE_REMOVABLE}, {'E', DRIVE_CDROM}, {'Z', DRIVE_REMOTE}, {'Q', DRIVE_NO_ROOT_DIR}};
    for (const auto& c : cases) EXPECT_EQ(DriveTypeOf(c.letter), c.type) << "drive " << c.letter;
}
