#include <gtest/gtest.h>

#include <string>

#include "services/walk_path.h"

TEST(JoinWalkPath, AddsOneBackslashAndRefusesWhatDoesNotFit)
{
    char out[kWalkPathLength];
    ASSERT_TRUE(JoinWalkPath("C:\\", "WINDOWS", out));
    EXPECT_STREQ(out, "C:\\WINDOWS");
    ASSERT_TRUE(JoinWalkPath("C:\\WINDOWS", "SYSTEM", out));
    EXPECT_STREQ(out, "C:\\WINDOWS\\SYSTEM");

    const std::string folder = "C:\\" + std::string(250, 'a');  // 253 characters
    ASSERT_TRUE(JoinWalkPath(folder.c_str(), "12345", out));   // 259: the last that fits
    EXPECT_EQ(std::string(out), folder + "\\12345");
    EXPECT_FALSE(JoinWalkPath(folder.c_str(), "123456", out));
    EXPECT_STREQ(out, "");
}

TEST(JoinWalkDirectory, KeepsRoomForTheSearchPattern)
{
    char out[kWalkPathLength];
    const std::string folder = "C:\\" + std::string(248, 'a');  // 251 characters
    ASSERT_TRUE(JoinWalkDirectory(folder.c_str(), "bcd", out));  // 255 + "\*.*" = 259
    EXPECT_EQ(std::string(out), folder + "\\bcd");
    EXPECT_FALSE(JoinWalkDirectory(folder.c_str(), "bcde", out));
    EXPECT_STREQ(out, "");
}

TEST(WalkSearchPattern, ReadsThePatternAsIfTheDirectoryWereCurrent)
{
    struct Case {
        const char* directory;
        const char* pattern;
        const char* expected;
    };
    const Case cases[] = {
        {"C:\\", "*.GRP", "C:\\*.GRP"},
        {"C:\\WINDOWS", "*.GRP", "C:\\WINDOWS\\*.GRP"},
        {"C:\\WINDOWS", "..\\WIN.INI", "C:\\WINDOWS\\..\\WIN.INI"},
        {"C:\\WINDOWS", "SYSTEM\\*.VXD", "C:\\WINDOWS\\SYSTEM\\*.VXD"},
        {"D:\\GAMES", "d:SAVE\\*.*", "D:\\GAMES\\SAVE\\*.*"},
        {"D:\\GAMES", "C:SAVE", "C:SAVE"},
        {"D:\\GAMES", "\\AUTOEXEC.BAT", "\\AUTOEXEC.BAT"},
        {"D:\\GAMES", "C:\\AUTOEXEC.BAT", "C:\\AUTOEXEC.BAT"},
        {"D:\\GAMES", "\\\\SERVER\\SHARE\\*", "\\\\SERVER\\SHARE\\*"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.directory) + " + " + c.pattern);
        char out[kWalkPathLength];
        ASSERT_TRUE(WalkSearchPattern(c.directory, c.pattern, out));
        EXPECT_STREQ(out, c.expected);
    }
}

TEST(WalkSearchPattern, RefusesNullAndOverlongPatterns)
{
    char out[kWalkPathLength] = "unset";
    EXPECT_FALSE(WalkSearchPattern("C:\\", nullptr, out));
    EXPECT_STREQ(out, "");
    const std::string absolute = "C:\\" + std::string(kWalkPathLength, 'a');
    EXPECT_FALSE(WalkSearchPattern("C:\\", absolute.c_str(), out));
    EXPECT_STREQ(out, "");
    const std::string folder = "C:\\" + std::string(250, 'a');
    EXPECT_FALSE(WalkSearchPattern(folder.c_str(), "*.INI-TOO-LONG", out));
    EXPECT_STREQ(out, "");
}
