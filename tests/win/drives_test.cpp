#include <gtest/gtest.h>

#include <string>

#include "services/drives.h"

TEST(DriveTypeOf, ReportsTheMappedDrivesTypes)
{
    struct Case {
        char letter;
        UINT type;
    };
    const Case cases[] = {
        {'C', DRIVE_FIXED}, {'D', DRIVE_FIXED},   {'f', DRIVE_FIXED}, {'G', DRIVE_FIXED},
        {'A', DRIVE_REMOVABLE}, {'E', DRIVE_CDROM}, {'Z', DRIVE_REMOTE}, {'Q', DRIVE_NO_ROOT_DIR},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("drive ") + c.letter);
        EXPECT_EQ(DriveTypeOf(c.letter), c.type);
    }
}

TEST(DriveFreeBytes, AreTheDiskFiguresWrappedTo32Bits)
{
    for (char letter : {'C', 'D', 'F', 'A', 'E', 'Q'}) {
        SCOPED_TRACE(std::string("drive ") + letter);
        const char root[] = {letter, ':', '\\', '\0'};
        DWORD sectors = 0, bytes = 0, freeClusters = 0, totalClusters = 0;
        BOOL known = FALSE;
        unsigned long long freeBytes = 0;
        // Other programs change the free space meanwhile: read until two readings agree.
        for (int attempt = 0; attempt < 5; ++attempt) {
            known = GetDiskFreeSpaceA(root, &sectors, &bytes, &freeClusters, &totalClusters);
            freeBytes = 1ull * freeClusters * sectors * bytes;
            if (DriveFreeBytes(letter) == DWORD(freeBytes & 0xFFFFFFFFu)) break;
        }
        const unsigned long long totalBytes = 1ull * totalClusters * sectors * bytes;
        EXPECT_EQ(DriveFreeBytes(letter), DWORD(freeBytes & 0xFFFFFFFFu));
        EXPECT_EQ(DriveTotalBytes(letter), DWORD(totalBytes & 0xFFFFFFFFu));
        if (!known) {
            EXPECT_EQ(DriveFreeBytes(letter), 0u);
            EXPECT_EQ(DriveTotalBytes(letter), 0u);
        } else if (letter == 'C') {
            EXPECT_NE(DriveTotalBytes(letter), 0u);
        }
    }
}
