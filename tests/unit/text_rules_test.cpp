#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "services/text_rules.h"

TEST(UppercaseBuffer, ChangesExactlyLengthBytes)
{
    char text[] = "ab\rc;\nz{x";
    UppercaseBuffer(text, 8);
    EXPECT_EQ(std::string(text, 9), std::string("AB C;\nZ{x", 9));  // the byte after length is kept
}

TEST(StartsWith, ComparesThePrefixCharacterByCharacter)
{
    struct Case {
        const char* text;
        const char* prefix;
        int expected;
    } cases[] = {
        {"DEVICE=HIMEM.SYS", "DEVICE", 1}, {"DEVICE", "DEVICE", 1}, {"DEV", "DEVICE", 0}, {"device", "DEVICE", 0},
        {"", "", 1},                       {nullptr, "DEVICE", 1},  {"DEVICE", nullptr, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.text ? c.text : "(null)") + " / " + (c.prefix ? c.prefix : "(null)"));
        EXPECT_EQ(StartsWith(c.text, c.prefix), c.expected);
    }
}

TEST(ProfileLineValue, TakesWhatFollowsTheFirstEquals)
{
    struct Case {
        const char* line;
        const char* expected;
    } cases[] = {
        {"shell=Explorer.exe", "Explorer.exe"}, {"shell=", ""}, {"shell =   Explorer.exe   ", "Explorer.exe"},
        {"shell=x ", "x"},  {"shell=a b  ", "a b"}, {"path=C:\\A=B", "C:\\A=B"}, {"shell=     ", ""},
        {"[boot]", ""},     {nullptr, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line ? c.line : "(null)");
        EXPECT_STREQ(ProfileLineValue(c.line), c.expected);
    }
    const std::string value(400, 'v');
    EXPECT_EQ(std::string(ProfileLineValue(("key=" + value).c_str())), value.substr(0, 255));
}

TEST(CopyUpper, CopiesBoundedAndUpperCased)
{
    char out[8];
    memset(out, '#', sizeof out);
    CopyUpper("system.ini", out, 5);
    EXPECT_EQ(std::string(out, 6), std::string("SYST\0#", 6));
    memset(out, '#', sizeof out);
    CopyUpper("abc", out, 0);
    CopyUpper(nullptr, out, sizeof out);
    EXPECT_EQ(std::string(out, sizeof out), std::string(sizeof out, '#'));
}

TEST(FormatThousands, PutsACommaBeforeEachGroupOfThree)
{
    struct Case {
        uint32_t value;
        const char* expected;
    } cases[] = {
        {0, "0"}, {999, "999"}, {1000, "1,000"}, {999999, "999,999"}, {1000000, "1,000,000"}, {4294967295u, "4,294,967,295"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        // The documented room, inside guard bytes that must survive.
        char buffer[kThousandsTextLength + 8];
        memset(buffer, '#', sizeof buffer);
        EXPECT_TRUE(FormatThousands(c.value, buffer + 4, kThousandsTextLength));
        EXPECT_STREQ(buffer + 4, c.expected);
        EXPECT_EQ(std::string(buffer, 4) + std::string(buffer + 4 + kThousandsTextLength, 4), "########");
    }
    char small[8];
    EXPECT_FALSE(FormatThousands(1000000, small, sizeof small));  // needs 10 bytes
    EXPECT_STREQ(small, "");
    EXPECT_TRUE(FormatThousands(100000, small, sizeof small));  // fits exactly
    EXPECT_STREQ(small, "100,000");
}

TEST(JoinPlusLines, WritesWholePlusLinesThatFit)
{
    const char* items[] = {"one", "two"};
    char out[16];
    memset(out, '#', sizeof out);
    EXPECT_TRUE(JoinPlusLines(out, 15, items, 2));  // 14 characters and the terminator
    EXPECT_STREQ(out, "+ one\r\n+ two\r\n");
    EXPECT_FALSE(JoinPlusLines(out, 12, items, 2));  // the second line does not fit
    EXPECT_STREQ(out, "+ one\r\n");
    EXPECT_EQ(out[15], '#');
    EXPECT_TRUE(JoinPlusLines(out, sizeof out, items, 0));
    EXPECT_STREQ(out, "");
}

TEST(BufferContainsText, IgnoresCaseReadsReturnsAsSpacesAndSearchesTheWholeLength)
{
    static const char raw[] = "[386Enh]\r\ndevice=*vpicd\r\nlast\0after nul";
    const std::string content(raw, sizeof raw - 1);
    struct Case {
        const char* text;
        int expected;
    } cases[] = {
        {"DEVICE=*VPICD", 1}, {"device=*vpicd", 1}, {"*VPICD \n", 1}, {"*VPICD\r", 0},
        {"VPICDX", 0},        {"AFTER NUL", 1},     {"", 1},          {nullptr, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text ? c.text : "(null)");
        EXPECT_EQ(BufferContainsText(content.data(), content.size(), c.text), c.expected);
    }
    EXPECT_EQ(BufferContainsText(content.data(), 4, "[386E"), 0);  // never reads past length
}

TEST(BufferHasActiveLine, SkipsRemAndSemicolonLines)
{
    struct Case {
        const char* content;
        const char* text;
        int expected;
    } cases[] = {
        {"DEVICE=C:\\DOS\\EMM386.EXE\r\n", "EMM386", 1},
        {"rem device=emm386.exe", "EMM386", 0},
        {"; device=emm386.exe\n", "EMM386", 0},
        {"   REM device=emm386.exe", "EMM386", 1},
        {"REMARK EMM386", "EMM386", 0},
        {"REM EMM386\nDEVICE=EMM386.EXE", "EMM386", 1},
        {"device=emm386.exe", "emm386", 0},  // the text is matched as given, against upper case
        {"DEVICE=EMM\n386.EXE", "EMM386", 0},
        {"FILES=30\r\nBUFFERS=20\r\n", "30 ", 1},
        {"", "", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.content) + " / " + c.text);
        EXPECT_EQ(BufferHasActiveLine(c.content, strlen(c.content), c.text), c.expected);
    }
}
