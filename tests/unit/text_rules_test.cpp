#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "services/text_rules.h"

TEST(TextRules, UpperCaseAndPrefixesStayWithinTheirBytes)
{
    char text[] = "ab\rc;\nz{x";
    UppercaseBuffer(text, 8);
    EXPECT_EQ(std::string(text, 9), "AB C;\nZ{x");  // the byte after length is kept
    char out[8];
    memset(out, '#', sizeof out);
    CopyUpper("system.ini", out, 5);
    CopyUpper("abc", out, 0);
    CopyUpper(nullptr, out, sizeof out);
    EXPECT_EQ(std::string(out, sizeof out), std::string("SYST\0###", 8));

    struct Case { const char* text; const char* prefix; int expected; } cases[] = {
        {"DEVICE=HIMEM.SYS", "DEVICE", 1}, {"DEVICE", "DEVICE", 1}, {"DEV", "DEVICE", 0},
        {"device", "DEVICE", 0},           {nullptr, "DEVICE", 1},  {"DEVICE", nullptr, 1}};
    for (const Case& c : cases)
        EXPECT_EQ(StartsWith(c.text, c.prefix), c.expected) << (c.text ? c.text : "(null)") << " / " << (c.prefix ? c.prefix : "(null)");
}

TEST(ProfileLineValue, TakesWhatFollowsTheFirstEquals)
{
    const std::string longValue(400, 'v'), longLine = "key=" + longValue;
    struct Case { const char* line; std::string expected; } cases[] = {
        {"shell=Explorer.exe", "Explorer.exe"}, {"shell=", ""},            {"shell =   Explorer.exe   ", "Explorer.exe"},
        {"shell=a b  ", "a b"},                 {"path=C:\\A=B", "C:\\A=B"}, {"shell=     ", ""},
        {"[boot]", ""},                         {nullptr, ""},             {longLine.c_str(), longValue.substr(0, 255)},
    };
    for (const Case& c : cases) EXPECT_EQ(ProfileLineValue(c.line), c.expected) << (c.line ? c.line : "(null)");
}

TEST(FormatThousands, PutsACommaBeforeEachGroupOfThreeWithinItsRoom)
{
    struct Case { uint32_t value; size_t size; const char* expected; } cases[] = {  // null: does not fit
        {0, kThousandsTextLength, "0"},       {999, kThousandsTextLength, "999"},         {1000, kThousandsTextLength, "1,000"},
        {999999, kThousandsTextLength, "999,999"}, {1000000, kThousandsTextLength, "1,000,000"},
        {4294967295u, kThousandsTextLength, "4,294,967,295"}, {100000, 8, "100,000"}, {1000000, 8, nullptr},  // needs 10 bytes
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        char buffer[kThousandsTextLength + 8];  // the given room inside guard bytes that must survive
        memset(buffer, '#', sizeof buffer);
        EXPECT_EQ(FormatThousands(c.value, buffer + 4, c.size), c.expected != nullptr);
        EXPECT_STREQ(buffer + 4, c.expected ? c.expected : "");
        EXPECT_EQ(std::string(buffer, 4) + std::string(buffer + 4 + c.size, 4), "########");
    }
    const char* items[] = {"one", "two"};
    char out[16];
    memset(out, '#', sizeof out);
    EXPECT_TRUE(JoinPlusLines(out, 15, items, 2));  // 14 characters and the terminator
    EXPECT_STREQ(out, "+ one\r\n+ two\r\n");
    EXPECT_FALSE(JoinPlusLines(out, 12, items, 2));  // only whole lines that fit
    EXPECT_STREQ(out, "+ one\r\n");
    EXPECT_EQ(out[15], '#');
}

TEST(BufferSearches, ReadContentAsUpperCaseAndSkipCommentLines)
{
    struct Case { std::string content; const char* text; int contains, active; } cases[] = {
        {"device=*vpicd\r\n", "DEVICE=*VPICD", 1, 1},
        {"device=*vpicd\r\n", "device=*vpicd", 1, 0},  // an active-line text is matched as given
        {"device=*vpicd\r\n", "*VPICD \n", 1, 0},      // a return reads as a space
        {"device=*vpicd\r\n", "*VPICD\r", 0, 0},
        {std::string("last\0after nul", 14), "AFTER NUL", 1, 1},  // the whole length counts
        {"rem device=emm386.exe", "EMM386", 1, 0},
        {"; device=emm386.exe\n", "EMM386", 1, 0},
        {"   REM device=emm386.exe", "EMM386", 1, 1},
        {"REMARK EMM386", "EMM386", 1, 0},
        {"REM EMM386\nDEVICE=EMM386.EXE", "EMM386", 1, 1},
        {"DEVICE=EMM\n386.EXE", "EMM386", 0, 0},
        {"", "", 1, 0},
        {"x", nullptr, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.content + " / " + (c.text ? c.text : "(null)"));
        EXPECT_EQ(BufferContainsText(c.content.data(), c.content.size(), c.text), c.contains);
        if (c.text) EXPECT_EQ(BufferHasActiveLine(c.content.data(), c.content.size(), c.text), c.active);
    }
    EXPECT_EQ(BufferContainsText("[386Enh]", 4, "[386E"), 0);  // never reads past length
}
