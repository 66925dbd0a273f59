#include "ui/numbered_items.h"

static void AppendItem(std::string& column, int number, const char* text)
{
    column += std::to_string(number);
    column += ") ";
    column += text ? text : "";
    column += "\r\n\r\n";
}

void AppendNumberedItems(TwoColumnText& target, const TextPair* pairs, int count)
{
    for (int k = 0; k < count; ++k) {
        AppendItem(target.first, k + 1, pairs[k].first);
        AppendItem(target.second, k + 1, pairs[k].second);
    }
}
