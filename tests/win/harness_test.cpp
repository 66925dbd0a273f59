// The harness's drive map: every test run sees the fixture drives with their types, and
// Z: (the host's root) is never a fixed drive.
#include <gtest/gtest.h>

#include "wine_env.h"

TEST(Harness, MapsFixtureDrivesWithTheirTypes)
{
    EXPECT_EQ(GetDriveTypeA("C:\\"), UINT(DRIVE_FIXED));
    EXPECT_EQ(GetDriveTypeA("D:\\"), UINT(DRIVE_FIXED));
    EXPECT_EQ(GetDriveTypeA("A:\\"), UINT(DRIVE_REMOVABLE));
    EXPECT_EQ(GetDriveTypeA("E:\\"), UINT(DRIVE_CDROM));
    EXPECT_EQ(GetDriveTypeA("Z:\\"), UINT(DRIVE_REMOTE));
    EXPECT_TRUE(PathExists("D:\\README.TXT"));
    EXPECT_TRUE(PathExists("E:\\README.TXT"));
}

TEST(Harness, RunsHostCommands)
{
    std::string folder = FreshTestFolder("host_command");
    std::string unixFolder = folder.substr(2);
    for (char& c : unixFolder) if (c == '\\') c = '/';
    ASSERT_TRUE(RunHostCommand("echo ready > '" + unixFolder + "/out.txt'"));
    EXPECT_TRUE(PathExists(folder + "\\out.txt"));
}
