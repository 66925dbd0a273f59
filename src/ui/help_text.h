// Help texts are shown in plain list boxes, one item per displayed line. This file cuts a
// help text into those items; the caller measures text in its own device context.
#pragma once
#include <cstddef>

// Width in pixels of length characters of text.
using HelpTextMeasure = int (*)(void* context, const char* text, size_t length);
// Receives one item (length characters, not terminated).
using HelpTextAddItem = void (*)(void* context, const char* text, size_t length);

// Cuts text (length bytes; a NUL ends it earlier) into items no wider than width:
// - lines end at line feeds; runs of line feeds count as one, so no item is empty;
// - a line too wide is cut at the last space before which it fits, and the blanks after
//   that space are skipped;
// - when no space gives a prefix that fits (a single word wider than the list), the word
//   is cut after the last character that fits, at least one character, so no character
//   is lost and every item makes progress.
// After the last line an item of a single space closes the text.
void WrapHelpText(const char* text, size_t length, int width, HelpTextMeasure measure, HelpTextAddItem add,
                  void* context);
