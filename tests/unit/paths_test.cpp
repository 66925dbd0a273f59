#include <gtest/gtest.h>

#include <string>

#include "services/paths.h"

TEST(DirectoryOfPath, CutsAtTheLastBackslash)
{
    char out[64];
    ASSERT_TRUE(DirectoryOfPath("C:\\Program Files\\Halvorn\\halvorn.exe", out, sizeof out));
    EXPECT_STREQ(out, "C:\\Program Files\\Halvorn");
    ASSERT_TRUE(DirectoryOfPath("C:\\halvorn.exe", out, sizeof out));
    EXPECT_STREQ(out, "C:");
    ASSERT_TRUE(DirectoryOfPath("halvorn.exe", out, sizeof out));
    EXPECT_STREQ(out, "");
    ASSERT_TRUE(DirectoryOfPath(nullptr, out, sizeof out));
    EXPECT_STREQ(out, "");
}

TEST(DirectoryOfPath, RefusesAFolderThatDoesNotFit)
{
    char out[8] = "unset";
    EXPECT_FALSE(DirectoryOfPath("C:\\longer\\x.exe", out, sizeof out));
    EXPECT_STREQ(out, "");
    EXPECT_TRUE(DirectoryOfPath("C:\\abcd\\x.exe", out, sizeof out));  // 7 characters fit
    EXPECT_STREQ(out, "C:\\abcd");
}

TEST(JoinPath, JoinsOrRefuses)
{
    char out[16];
    ASSERT_TRUE(JoinPath("C:\\dir", "a.dat", out, sizeof out));
    EXPECT_STREQ(out, "C:\\dir\\a.dat");
    EXPECT_FALSE(JoinPath("C:\\directory", "sysstats.dat", out, sizeof out));
    EXPECT_STREQ(out, "");
}
