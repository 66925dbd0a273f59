#include "ui/short_name.h"

#include <cstring>

static bool IsBreak(char c)
{
    return c != '\0' && strchr(" -_=+([{,./\\", c) != nullptr;
}

void ShortenAtBreakText(const char* text, char* out, size_t size)
{
    if (size == 0) return;
    size_t length = strlen(text);
    if (length > kShortNameLength) {
        size_t cut = kShortNameLength;
        for (size_t i = kShortNameLength + 1; i-- > 0;) {
            if (IsBreak(text[i])) {
                cut = i;
                break;
            }
        }
        length = cut > 0 ? cut : kShortNameLength;
    }
    if (length >= size) length = size - 1;
    memcpy(out, text, length);
    out[length] = '\0';
}
