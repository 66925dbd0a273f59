#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "services/dates.h"

TEST(ParseDateText, ReadsNumbersOrAMonthName)
{
    struct Case {
        const char* text;
        uint32_t month, day, year;
    } cases[] = {
        {"01/15/95", 1, 15, 95},
        {"JAN 15 1995", 0, 15, 95},
        {"15-Dec-1999", 11, 15, 99},
        {"Award BIOS 12/31/1999", 12, 31, 99},
        {"12/31", 12, 31, 0},
        {"OCT", 9, 0, 0},
        {"", 0, 0, 0},
        {"01/01/1901", 1, 1, 1},
        {"01/01/1900", 1, 1, 1900},
        {"1/2/99999999999", 1, 2, 4294967295u - 1900},
        {"FEB JAN 1 2", 0, 1, 2},  // the first abbreviation in JAN..DEC order wins
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        uint32_t day = 7, month = 7, year = 7;
        ParseDateText(c.text, &day, &month, &year);
        EXPECT_EQ(month, c.month);
        EXPECT_EQ(day, c.day);
        EXPECT_EQ(year, c.year);
    }
    uint32_t day = 7, month = 7, year = 7;
    ParseDateText(nullptr, &day, &month, &year);
    EXPECT_EQ(day + month + year, 0u);
}

TEST(FormatFileDate, PrintsTwoDigitFieldsAndTheYearLess1900)
{
    struct Case {
        unsigned month, day, year;
        const char* expected;
    } cases[] = {
        {1, 1, 2000, "01/01/100"}, {12, 31, 1999, "12/31/99"}, {7, 4, 1900, "07/04/00"},
        {3, 9, 1905, "03/09/05"},  {5, 5, 1899, "00/00/00"},   {12, 31, 30827, "12/31/28927"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        char out[16];
        FormatFileDate(c.month, c.day, c.year, out, sizeof out);
        EXPECT_STREQ(out, c.expected);
    }
    char small[6];
    memset(small, '#', sizeof small);
    FormatFileDate(1, 1, 2000, small, 5);
    EXPECT_STREQ(small, "01/0");
    EXPECT_EQ(small[5], '#');
}
