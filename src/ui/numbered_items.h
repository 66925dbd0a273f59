// Two columns of advice (problems beside their solutions) written as numbered paragraphs.
#pragma once
#include <cstddef>

// Two text buffers of size bytes each, filled side by side.
struct TwoColumnText {
    char* first;
    char* second;
    size_t size;
};

struct TextPair {
    const char* first;
    const char* second;
};

// For each pair k (from 1) appends "k) first\r\n\r\n" to target.first and
// "k) second\r\n\r\n" to target.second. Nothing is cleared first; text that does not fit
// is cut at the buffer's end, which always stays NUL-terminated.
void AppendNumberedItems(const TwoColumnText& target, const TextPair* pairs, int count);
