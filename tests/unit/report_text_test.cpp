#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "ui/numbered_items.h"
#include "ui/short_name.h"

TEST(ShortenAtBreakText, CutsLongNamesAtTheLastBreakWithinSeventeen)
{
    struct Case { const char* text; size_t size; const char* expected; } cases[] = {
        {"Drawing Studio Professional", 256, "Drawing Studio"},  // space at 14
        {"Network Neighborhood Browser", 256, "Network"},        // the last space at or before 17 is at 7
        {"abcdefghijklmnopq", 256, "abcdefghijklmnopq"},         // 17: kept whole
        {"short", 256, "short"},
        {"", 256, ""},
        {"abcdefghijklmnopq-rest", 256, "abcdefghijklmnopq"},    // break exactly at 17
        {"abc.def/ghi\\jklmnop(q", 256, "abc.def/ghi"},          // "(" at 19 is too late; "\" at 11
        {"a_b=c+d[e{f,ghijklmnopqr", 256, "a_b=c+d[e{f"},        // the last of many break kinds
        // No break within the first 17: the first 17 characters stay instead of nothing.
        {"Supercalifragilisticexpialidocious", 256, "Supercalifragilis"},
        {" Supercalifragilisticexpialidocious", 256, " Supercalifragili"},
        {"Drawing Studio Professional", 6, "Drawi"},             // bounded by the buffer
    };
    for (const Case& c : cases) {
        char out[256];
        memset(out, 'x', sizeof out);
        ShortenAtBreakText(c.text, out, c.size);
        EXPECT_STREQ(out, c.expected) << c.text;
    }
}

TEST(AppendNumberedItems, NumbersEachPairInBothColumnsWithinTheBuffers)
{
    char first[64] = "Before\r\n";
    char second[64] = "";
    const TextPair pairs[] = {{"No sound", "Install a driver"}, {"Crackle", "Move the card"}};
    AppendNumberedItems(TwoColumnText{first, second, sizeof first}, pairs, 2);
    EXPECT_STREQ(first, "Before\r\n1) No sound\r\n\r\n2) Crackle\r\n\r\n");
    EXPECT_STREQ(second, "1) Install a driver\r\n\r\n2) Move the card\r\n\r\n");

    // A second column that is full and unterminated is ended within its size.
    char shortFirst[16], shortSecond[16];
    memset(shortFirst, 'x', sizeof shortFirst);
    shortFirst[0] = '\0';
    memset(shortSecond, 'y', sizeof shortSecond);
    const TextPair longPairs[] = {{"A long problem text", "A long solution text"}, {"More", "More"}};
    AppendNumberedItems(TwoColumnText{shortFirst, shortSecond, sizeof shortFirst}, longPairs, 2);
    EXPECT_STREQ(shortFirst, "1) A long probl");
    EXPECT_EQ(std::string(shortSecond, 16), std::string(15, 'y') + '\0');
}
