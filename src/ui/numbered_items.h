// Two columns of advice (problems beside their solutions) written as numbered paragraphs.
#pragma once
#include <string>

struct TextPair {
    const char* first;
    const char* second;
};

// Two texts filled side by side. They grow with what is appended: a long list arrives
// whole, never cut at some fixed size.
struct TwoColumnText {
    std::string first;
    std::string second;
};

// For each pair k (from 1) appends "k) first\r\n\r\n" to target.first and
// "k) second\r\n\r\n" to target.second. Nothing is cleared first; a null text counts as
// empty.
void AppendNumberedItems(TwoColumnText& target, const TextPair* pairs, int count);
