#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "services/dates.h"

TEST(ParseDateText, ReadsNumbersOrAMonthName)
{
    struct Case { const char* text; uint32_t month, day, year; } cases[] = {
        {"01/15/95", 1, 15, 95},     {"JAN 15 1995", 0, 15, 95},  {"15-Dec-1999", 11, 15, 99},
        {"Award BIOS 12/31/1999", 12, 31, 99}, {"12/31", 12, 31, 0}, {"OCT", 9, 0, 0},
        {"", 0, 0, 0},               {nullptr, 0, 0, 0},          {"01/01/1901", 1, 1, 1},
        {"01/01/1900", 1, 1, 1900},  {"1/2/99999999999", 1, 2, 4294967295u - 1900},
        {"FEB JAN 1 2", 0, 1, 2},  // the first abbreviation in JAN..DEC order wins
    };
    for (const Case& c : cases) {
        uint32_t day = 7, month = 7, year = 7;
        ParseDateText(c.text, &day, &month, &year);
        EXPECT_EQ(std::vector<uint32_t>({month, day, year}), std::vector<uint32_t>({c.month, c.day, c.year})) << (c.text ? c.text : "(null)");
    }
}

TEST(FormatFileDate, PrintsTwoDigitFieldsAndTheYearLess1900WithinItsBuffer)
{
    struct Case { unsigned month, day, year; size_t size; const char* expected; } cases[] = {
        {1, 1, 2000, 16, "01/01/100"}, {7, 4, 1900, 16, "07/04/00"},       {3, 9, 1905, 16, "03/09/05"},
        {5, 5, 1899, 16, "00/00/00"},  {12, 31, 30827, 16, "12/31/28927"}, {1, 1, 2000, 5, "01/0"},
    };
    for (const Case& c : cases) {
        char out[16];
        memset(out, '#', sizeof out);
        FormatFileDate(c.month, c.day, c.year, out, c.size);
        EXPECT_EQ(std::string(out, sizeof out), c.expected + std::string(1, '\0') + std::string(15 - strlen(c.expected), '#'));
    }
}
