#pragma once
#include <cstddef>
#include <cstdint>

// Small text helpers shared by every tool. Letters are the ASCII letters; configuration
// and profile files are matched in upper case.

// In place over exactly length bytes: each letter becomes upper case and each carriage
// return a space.
void UppercaseBuffer(char* buffer, size_t length);

// 1 when text begins with prefix (case-sensitive), 0 when prefix is longer or differs;
// 1 when either is null.
int StartsWith(const char* text, const char* prefix);

// The value of a "key=value" line: what follows the first "=", spaces after it skipped and
// trailing spaces removed, cut to 255 characters. Empty when the line has no "=" or is
// null. The result is a static 256-byte buffer overwritten by the next call.
char* ProfileLineValue(const char* line);

// Copies at most size - 1 characters of source into destination, terminated, in upper
// case. A null source or a size of 0 leaves destination untouched.
void CopyUpper(const char* source, char* destination, size_t size);

// Room FormatThousands needs for any value: "4,294,967,295" and its terminator.
const size_t kThousandsTextLength = 14;

// Writes value in decimal with a comma before every group of three digits from the right
// ("1,000", "123"). Returns false and leaves destination empty when size is too small.
bool FormatThousands(uint32_t value, char* destination, size_t size);

// Writes "+ " item CR LF for each of count items, in order, into destination (emptied
// first; a null item is written as an empty line). Only whole lines are written: returns
// false when a line did not fit, with the lines before it in destination.
bool JoinPlusLines(char* destination, size_t size, const char* const* items, size_t count);

// Whether the content of length bytes, read as UppercaseBuffer would leave it, contains
// text turned to upper case. Searches the whole length, NUL bytes included. 0 for a null
// text.
int BufferContainsText(const char* bytes, size_t length, const char* text);

// Splits the content, read as UppercaseBuffer would leave it, into lines at line feeds and
// answers 1 when a line that begins neither with "REM" nor with ";" contains text as given
// (callers pass upper-case text). A line with spaces before "REM" is active.
int BufferHasActiveLine(const char* bytes, size_t length, const char* text);
