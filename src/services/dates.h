#pragma once
#include <cstddef>
#include <cstdint>

// Reads a date written as text, such as a BIOS date: "01/15/95" gives month 1, day 15,
// year 95; "JAN 15 1995" gives month 0 (January counts as 0), day 15, year 95. A month
// abbreviation anywhere in the text (any case) sets the month and two numbers follow
// (day, year); otherwise three numbers are read (month, day, year). Each number is the
// next run of digits; a missing one reads 0, one too large for 32 bits reads 4294967295.
// A year of 1901 or more has 1900 taken off. A null text gives three zeros.
void ParseDateText(const char* text, uint32_t* day, uint32_t* month, uint32_t* year);

// Formats a file date as "%.2u/%.2u/%.2u" of month, day and year less 1900 (2000 prints
// as 100). A year before 1900 has no such form and prints as "00/00/00", like an unset
// date. Never writes more than size bytes.
void FormatFileDate(unsigned month, unsigned day, unsigned year, char* out, size_t size);
