#include <gtest/gtest.h>

#include <vector>

#include "services/report_search.h"

namespace {

const char* ItemAt(void* context, int index)
{
    return (*static_cast<std::vector<const char*>*>(context))[size_t(index)];
}

}  // namespace

TEST(FindWrappedLabel, FindsALabelAcrossTheItemsTheWrapperCut)
{
    // Help text as the wrapper leaves it in a narrow list: headings cut at spaces, a long
    // word cut without one.
    std::vector<const char*> items = {"OVERVIEW",     "A test page.", "5. Features not", "included in the",
                                      "manual",       "Windows",      "Version is",     "Supercalifrag",
                                      "ilistic",      "memory",       " "};
    const struct {
        const char* search;
        int index;
    } cases[] = {
        {"overview", 0},                                  // one item, case ignored
        {"5. Features not included in the manual", 2},   // three items
        {"5. Features not  included", 2},                 // blanks the wrapper skipped
        {"Windows Version", 5},
        {"Supercalifragilistic", 7},                      // a word cut where it no longer fitted
        {"Windows Versions", -1},                         // reads past what the items say
        {"manual Windows Version is more", -1},           // runs out of items
        {"Features not", -1},                             // must start an item
        {"", -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.search);
        EXPECT_EQ(FindWrappedLabel(c.search, int(items.size()), ItemAt, &items), c.index);
    }
}
