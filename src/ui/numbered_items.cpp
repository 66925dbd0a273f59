#include "ui/numbered_items.h"

#include <cstdio>
#include <cstring>

static void AppendItem(char* buffer, size_t size, int number, const char* text)
{
    if (size == 0) return;
    const size_t used = strnlen(buffer, size - 1);
    buffer[used] = '\0';
    snprintf(buffer + used, size - used, "%d) %s\r\n\r\n", number, text ? text : "");
}

void AppendNumberedItems(const TwoColumnText& target, const TextPair* pairs, int count)
{
    for (int k = 0; k < count; ++k) {
        AppendItem(target.first, target.size, k + 1, pairs[k].first);
        AppendItem(target.second, target.size, k + 1, pairs[k].second);
    }
}
