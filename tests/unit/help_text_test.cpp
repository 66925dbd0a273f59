// The help-text word-wrapper, measured with a fixed-pitch "font" of 10 pixels a character.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/help_text.h"

namespace {
int MeasureFixed(void*, const char*, size_t length)
{
    return int(length) * 10;
}
void Collect(void* context, const char* text, size_t length)
{
    static_cast<std::vector<std::string>*>(context)->emplace_back(text, length);
}
std::vector<std::string> Wrap(const std::string& text, int width)
{
    std::vector<std::string> items;
    WrapHelpText(text.c_str(), text.size(), width, MeasureFixed, Collect, &items);
    return items;
}
}  // namespace

TEST(HelpText, CutsLinesAndClosesWithASpacer)
{
    struct Case { const char* name; std::string text; int width; std::vector<std::string> items; } cases[] = {
        {"lines that fit", "OVERVIEW\nShort line", 200, {"OVERVIEW", "Short line", " "}},
        {"two line feeds", "one\n\ntwo\n", 200, {"one", "two", " "}},
        {"one-space line", "one\n \ntwo", 200, {"one", " ", "two", " "}},
        {"cut at last space that fits", "aaa bbb ccc ddd", 80, {"aaa bbb", "ccc ddd", " "}},
        {"blanks after the cut skipped", "aaa    bbb", 50, {"aaa", "bbb", " "}},
        {"over-long word broken", "abcdefghijkl", 50, {"abcde", "fghij", "kl", " "}},
        {"over-long word after a short one", "ab abcdefghij x", 50, {"ab", "abcde", "fghij", "x", " "}},
        {"narrower than a character", "abc", 5, {"a", "b", "c", " "}},
        {"empty text", "", 100, {" "}},
    };
    for (const Case& c : cases) EXPECT_EQ(Wrap(c.text, c.width), c.items) << c.name;
    // A long word loses no character and every piece fits.
    const std::string word(997, 'w');
    std::string joined;
    for (const std::string& item : Wrap(word + " tail", 70)) {
        EXPECT_LE(item.size(), 7u);
        if (item != " ") joined += item;
    }
    EXPECT_EQ(joined, word + "tail");
}
