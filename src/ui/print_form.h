// The printed form of a report line: plain text without markup, fields joined by ", ".
#pragma once
#include <cstddef>

// Room the printed form of any report line needs.
constexpr size_t kPrintLineLength = 1024;

// Writes the printed form of line into out (size bytes, always terminated; cut to fit):
// the underline prefix, colour codes with their letter, the grey code, the RGB code with
// its three bytes and the lamp code with its digit are left out of every field; bar fields
// ("#", "%" and "~" with its colour letter) print their value readably, for example
// "[####      ] 40%"; level cells ("@" and a count) print as "Level 7"; each tab becomes ", ".
void PrintableReportLine(const char* line, char* out, size_t size);
