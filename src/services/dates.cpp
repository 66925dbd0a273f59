#include "services/dates.h"

#include <cctype>
#include <cstdio>

// Whether text holds abbreviation (upper case) anywhere, in any case.
static bool HoldsWord(const char* text, const char* abbreviation)
{
    for (const char* p = text; *p; ++p) {
        size_t k = 0;
        while (abbreviation[k] && std::toupper(static_cast<unsigned char>(p[k])) == abbreviation[k]) ++k;
        if (!abbreviation[k]) return true;
    }
    return false;
}

// Skips to the next run of digits, converts it and moves past it; 0 when no digit is left.
static uint32_t NextNumber(const char** cursor)
{
    const char* p = *cursor;
    while (*p && !std::isdigit(static_cast<unsigned char>(*p))) ++p;
    uint32_t value = 0;
    for (; std::isdigit(static_cast<unsigned char>(*p)); ++p) {
        const uint32_t digit = uint32_t(*p - '0');
        value = value > (UINT32_MAX - digit) / 10 ? UINT32_MAX : value * 10 + digit;
    }
    *cursor = p;
    return value;
}

void ParseDateText(const char* text, uint32_t* day, uint32_t* month, uint32_t* year)
{
    static const char* const kMonths[] = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                          "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
    *day = *month = *year = 0;
    if (!text) return;
    int named = -1;
    for (int i = 0; i < 12 && named < 0; ++i) {
        if (HoldsWord(text, kMonths[i])) named = i;
    }
    const char* cursor = text;
    if (named >= 0) {
        *month = uint32_t(named);
    } else {
        *month = NextNumber(&cursor);
    }
    *day = NextNumber(&cursor);
    *year = NextNumber(&cursor);
    if (*year >= 1901) *year -= 1900;
}

void FormatFileDate(unsigned month, unsigned day, unsigned year, char* out, size_t size)
{
    if (size == 0) return;
    if (year < 1900) {
        snprintf(out, size, "00/00/00");
        return;
    }
    snprintf(out, size, "%.2u/%.2u/%.2u", month, day, year - 1900);
}
