#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

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
        {"DEVICE=HIMEM.SYS", "DEVICE", 1}, {"DEVICE", "DEVICE", 1}, {"DEV", "DEVICE", 0},
        {"device=x", "DEVICE", 0},         {"anything", "", 1},     {"", "", 1},
        {nullptr, "DEVICE", 1},            {"DEVICE", nullptr, 1},  {"DEVX", "DEVICE", 0},
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
        {"shell=Explorer.exe", "Explorer.exe"},
        {"shell=", ""},
        {"shell =   Explorer.exe   ", "Explorer.exe"},
        {"shell=  x", "x"},
        {"shell=x ", "x"},
        {"shell=a b  ", "a b"},
        {"path=C:\\A=B", "C:\\A=B"},
        {"shell=     ", ""},
        {"[boot]", ""},
        {"", ""},
        {nullptr, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line ? c.line : "(null)");
        EXPECT_STREQ(ProfileLineValue(c.line), c.expected);
    }
}

TEST(ProfileLineValue, CutsALongValueAtTheBufferAndKeepsNothingOld)
{
    const std::string value(400, 'v');
    char* first = ProfileLineValue(("key=" + value).c_str());
    EXPECT_EQ(std::string(first), value.substr(0, 255));
    char* second = ProfileLineValue("key=short");
    EXPECT_EQ(first, second);  // one static buffer
    EXPECT_STREQ(second, "short");
}

TEST(CopyUpper, CopiesBoundedAndUpperCased)
{
    char out[8];
    memset(out, '#', sizeof out);
    CopyUpper("system.ini", out, 5);
    EXPECT_STREQ(out, "SYST");
    EXPECT_EQ(out[5], '#');

    CopyUpper("win.com", out, sizeof out);
    EXPECT_STREQ(out, "WIN.COM");

    memset(out, '#', sizeof out);
    CopyUpper("abc", out, 0);
    CopyUpper(nullptr, out, sizeof out);
    EXPECT_EQ(std::string(out, sizeof out), std::string(sizeof out, '#'));

    CopyUpper("abc", out, 1);
    EXPECT_STREQ(out, "");
    EXPECT_EQ(out[1], '#');
}

TEST(FormatThousands, PutsACommaBeforeEachGroupOfThree)
{
    struct Case {
        uint32_t value;
        const char* expected;
    } cases[] = {
        {0, "0"},           {999, "999"},           {1000, "1,000"},
        {12345, "12,345"},  {999999, "999,999"},    {1000000, "1,000,000"},
        {4294967295u, "4,294,967,295"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        // The text lies in the middle of a larger buffer whose guard bytes must survive.
        char buffer[kThousandsTextLength + 8];
        memset(buffer, '#', sizeof buffer);
        EXPECT_TRUE(FormatThousands(c.value, buffer + 4, kThousandsTextLength));
        EXPECT_STREQ(buffer + 4, c.expected);
        EXPECT_EQ(std::string(buffer, 4), "####");
        EXPECT_EQ(std::string(buffer + 4 + kThousandsTextLength, 4), "####");
    }
}

TEST(FormatThousands, RefusesABufferThatIsTooSmall)
{
    char buffer[8];
    memset(buffer, '#', sizeof buffer);
    EXPECT_FALSE(FormatThousands(1000000, buffer, sizeof buffer));  // "1,000,000" needs 10 bytes
    EXPECT_STREQ(buffer, "");
    EXPECT_TRUE(FormatThousands(100000, buffer, 8));  // "100,000" fits exactly
    EXPECT_STREQ(buffer, "100,000");
    EXPECT_FALSE(FormatThousands(1, buffer, 0));
    EXPECT_FALSE(FormatThousands(1, buffer, 1));
}

TEST(JoinPlusLines, WritesOnePlusLinePerItem)
{
    const char* items[] = {"Set page file", "Enable read-ahead"};
    char out[64] = "old text";
    EXPECT_TRUE(JoinPlusLines(out, sizeof out, items, 2));
    EXPECT_STREQ(out, "+ Set page file\r\n+ Enable read-ahead\r\n");
    EXPECT_TRUE(JoinPlusLines(out, sizeof out, items, 0));
    EXPECT_STREQ(out, "");
}

TEST(JoinPlusLines, KeepsOnlyWholeLinesThatFit)
{
    const char* items[] = {"one", "two"};
    char out[16];
    memset(out, '#', sizeof out);
    EXPECT_FALSE(JoinPlusLines(out, 12, items, 2));  // "+ one\r\n" takes 7, the second line does not fit
    EXPECT_STREQ(out, "+ one\r\n");
    EXPECT_EQ(out[12], '#');
    EXPECT_TRUE(JoinPlusLines(out, 15, items, 2));  // 14 characters and the terminator
    EXPECT_STREQ(out, "+ one\r\n+ two\r\n");
}

TEST(BufferContainsText, IgnoresCaseAndReadsCarriageReturnsAsSpaces)
{
    static const char raw[] = "[386Enh]\r\ndevice=*vpicd\r\nlast\0after nul";
    const std::string content(raw, sizeof raw - 1);
    struct Case {
        const char* text;
        int expected;
    } cases[] = {
        {"DEVICE=*VPICD", 1}, {"device=*vpicd", 1}, {"*VPICD ", 1},   {"*vpicd \n", 1},
        {"*VPICD\r", 0},      {"[386ENH] \nD", 1},  {"VPICDX", 0},    {"AFTER NUL", 1},
        {"", 1},              {"NUL!", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(BufferContainsText(content.data(), content.size(), c.text), c.expected);
    }
    EXPECT_EQ(BufferContainsText(content.data(), content.size(), nullptr), 0);
    EXPECT_EQ(BufferContainsText(content.data(), 5, "[386E"), 1);
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
        {"REM DEVICE=C:\\DOS\\EMM386.EXE\r\n", "EMM386", 0},
        {"rem device=emm386.exe", "EMM386", 0},
        {"; device=emm386.exe\n", "EMM386", 0},
        {"   REM device=emm386.exe", "EMM386", 1},
        {"REMARK EMM386", "EMM386", 0},
        {"REM EMM386\nDEVICE=EMM386.EXE", "EMM386", 1},
        {"REM one\n;two\nthree", "EMM386", 0},
        {"device=emm386.exe", "emm386", 0},  // the text is matched as given, against upper case
        {"DEVICE=EMM\n386.EXE", "EMM386", 0},
        {"FILES=30\r\nBUFFERS=20\r\n", "30 ", 1},
        {"X\n\nREM Y", "", 1},
        {"", "", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.content) + " / " + c.text);
        EXPECT_EQ(BufferHasActiveLine(c.content, strlen(c.content), c.text), c.expected);
    }
}
