#pragma once
#include <cstddef>

// The text a report line is looked up by: the first tab-separated field of text with its
// markup left out. A character with code 1 to 7, "&" or "~" is dropped together with the
// character that follows it; a line feed is dropped alone. The result is cut to fit size.
// Returns false (out empty) when text is null or has two characters or fewer, the case in
// which no line is looked up at all.
bool ReportSearchText(const char* text, char* out, size_t size);

// Where a label wrapped over several list items starts: the first of count items (itemAt
// returns item i) from which search reads on when those items are joined with single
// spaces or none, the way the help text wrapper cut them (a label that fits in one item
// is found as its prefix, as LB_FINDSTRING finds it). Case is ignored. -1 when no item
// matches or search is empty.
using ReportItemAt = const char* (*)(void* context, int index);
int FindWrappedLabel(const char* search, int count, ReportItemAt itemAt, void* context);
