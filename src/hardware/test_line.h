// The line the printer test page repeats down the page: every digit, letter and printable
// punctuation mark of a keyboard, so a missing or misprinted character stands out.
#pragma once

constexpr int kTestLineLength = 92;

// The line, kTestLineLength characters and a terminating NUL.
const char* PrinterTestLine();
