#pragma once
#include <cstddef>

// The text a report line is looked up by: the first tab-separated field of text with its
// markup left out. A character with code 1 to 7, "&" or "~" is dropped together with the
// character that follows it; a line feed is dropped alone. The result is cut to fit size.
// Returns false (out empty) when text is null or has two characters or fewer, the case in
// which no line is looked up at all.
bool ReportSearchText(const char* text, char* out, size_t size);
