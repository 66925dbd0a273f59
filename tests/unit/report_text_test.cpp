#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "ui/numbered_items.h"
#include "ui/short_name.h"

namespace {

std::string Shortened(const char* text, size_t size = 256)
{
    char out[256];
    memset(out, 'x', sizeof out);
    ShortenAtBreakText(text, out, size);
    return out;
}

TEST(ShortenAtBreakText, CutsLongNamesAtTheLastBreakWithinSeventeen)
{
    struct Case {
        const char* text;
        const char* expected;
    } cases[] = {
        {"Drawing Studio Professional", "Drawing Studio"},  // space at 14
        {"Network Neighborhood Browser", "Network"},             // 26+: last space at or before 17 is at 7
        {"abcdefghijklmn opqrstuvwxyz", "abcdefghijklmn"},      // 26 characters, space at 14
        {"abcdefghijklmnopq", "abcdefghijklmnopq"},              // 17: kept whole
        {"short", "short"},
        {"", ""},
        {"abcdefghijklmnopq-rest", "abcdefghijklmnopq"},        // break exactly at 17
        {"abc.def/ghi\\jklmnop(q", "abc.def/ghi"},  // "(" at 19 is too late; "\" at 11
        {"a_b=c+d[e{f,ghijklmnopqr", "a_b=c+d[e{f"},             // the last of many break kinds
        // No break within the first 17: the first 17 characters stay instead of nothing.
        {"Supercalifragilisticexpialidocious", "Supercalifragilis"},
        {" Supercalifragilisticexpialidocious", " Supercalifragili"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(Shortened(c.text), c.expected);
    }
    EXPECT_EQ(Shortened("Drawing Studio Professional", 6), "Drawi");  // bounded by the buffer
}

TEST(AppendNumberedItems, NumbersEachPairInBothColumns)
{
    char first[64] = "Before\r\n";
    char second[64] = "";
    const TextPair pairs[] = {{"No sound", "Install a driver"}, {"Crackle", "Move the card"}};
    AppendNumberedItems(TwoColumnText{first, second, sizeof first}, pairs, 2);
    EXPECT_STREQ(first, "Before\r\n1) No sound\r\n\r\n2) Crackle\r\n\r\n");
    EXPECT_STREQ(second, "1) Install a driver\r\n\r\n2) Move the card\r\n\r\n");
}

TEST(AppendNumberedItems, StopsAtTheEndOfTheBuffer)
{
    char first[16];
    char second[16];
    memset(first, 'x', sizeof first);  // not even terminated
    first[0] = '\0';
    memset(second, 'y', sizeof second);
    second[15] = 'y';  // a full, unterminated buffer stays within its size
    const TextPair pairs[] = {{"A long problem text", "A long solution text"}, {"More", "More"}};
    AppendNumberedItems(TwoColumnText{first, second, sizeof first}, pairs, 2);
    EXPECT_STREQ(first, "1) A long probl");
    EXPECT_EQ(strnlen(second, sizeof second), 15u);
    EXPECT_EQ(std::string(second, 15), std::string(15, 'y'));
}

}  // namespace
