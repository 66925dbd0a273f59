#include <gtest/gtest.h>

#include <string>

#include "services/paths.h"
#include "services/walk_path.h"

TEST(DirectoryOfPath, CutsAtTheLastBackslashOrRefusesWhatDoesNotFit)
{
    struct Case { const char* path; size_t size; bool fits; const char* folder; } cases[] = {
        {"C:\\Program Files\\Halvorn\\halvorn.exe", 64, true, "C:\\Program Files\\Halvorn"},
        {"C:\\halvorn.exe", 64, true, "C:"},  {"halvorn.exe", 64, true, ""}, {nullptr, 64, true, ""},
        {"C:\\abcd\\x.exe", 8, true, "C:\\abcd"},  // 7 characters fit
        {"C:\\longer\\x.exe", 8, false, ""},
    };
    for (const Case& c : cases) {
        char out[64] = "unset";
        EXPECT_EQ(DirectoryOfPath(c.path, out, c.size), c.fits) << (c.path ? c.path : "(null)");
        EXPECT_STREQ(out, c.folder);
    }
    char out[16];
    ASSERT_TRUE(JoinPath("C:\\dir", "a.dat", out, sizeof out));
    EXPECT_STREQ(out, "C:\\dir\\a.dat");
    EXPECT_FALSE(JoinPath("C:\\directory", "sysstats.dat", out, sizeof out));
    EXPECT_STREQ(out, "");
}

// Joining at the 259-character limit itself is covered by the walk over too-deep folders.
TEST(WalkSearchPattern, ReadsThePatternAsIfTheDirectoryWereCurrent)
{
    const std::string deep = "C:\\" + std::string(250, 'a'), tooLong = "C:\\" + std::string(kWalkPathLength, 'a');
    struct Case { std::string directory; const char* pattern; const char* expected; } cases[] = {  // null: refused
        {"C:\\", "*.GRP", "C:\\*.GRP"},                   {"C:\\WINDOWS", "..\\WIN.INI", "C:\\WINDOWS\\..\\WIN.INI"},
        {"D:\\GAMES", "d:SAVE\\*.*", "D:\\GAMES\\SAVE\\*.*"}, {"D:\\GAMES", "C:SAVE", "C:SAVE"},
        {"D:\\GAMES", "\\AUTOEXEC.BAT", "\\AUTOEXEC.BAT"}, {"D:\\GAMES", "C:\\AUTOEXEC.BAT", "C:\\AUTOEXEC.BAT"},
        {"D:\\GAMES", "\\\\SERVER\\SHARE\\*", "\\\\SERVER\\SHARE\\*"},
        {"C:\\", nullptr, nullptr},                       {"C:\\", tooLong.c_str(), nullptr},
        {deep, "*.INI-TOO-LONG", nullptr},
    };
    for (const Case& c : cases) {
        char out[kWalkPathLength] = "unset";
        EXPECT_EQ(WalkSearchPattern(c.directory.c_str(), c.pattern, out), c.expected != nullptr) << c.pattern;
        EXPECT_STREQ(out, c.expected ? c.expected : "");
    }
}
