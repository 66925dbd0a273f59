// Long names (programs, files, devices) shown in a report column are cut at a natural
// break so that they fit the column and stay recognisable.
#pragma once
#include <cstddef>

// Keeps the first kShortNameLength characters of a name at most.
constexpr size_t kShortNameLength = 17;

// Copies text into out (size bytes). A text longer than kShortNameLength characters is cut
// at the last break character (space - _ = + ( [ { , . / \) at or before that position;
// the break character goes and what precedes it stays. When there is no such break, or
// the cut would leave nothing, the first kShortNameLength characters stay.
void ShortenAtBreakText(const char* text, char* out, size_t size);
