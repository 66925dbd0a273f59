#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "box_watcher.h"
#include "services/sort.h"
#include "services/string_list.h"
#include "test_windows.h"

namespace {
bool IsZeroSlot(const char* slot)
{
    return std::all_of(slot, slot + kStringListSlot, [](char c) { return c == 0; });
}

std::vector<std::string> SortedList(const std::vector<std::string>& lines)
{
    StringListCount = 0;
    for (const std::string& line : lines) lstrcpynA(StringListNext(), line.c_str(), kStringListSlot);
    SortByIndex(0, int32_t(StringListCount) - 1, StringListLess, StringListSwap);
    std::vector<std::string> sorted;
    for (uint32_t i = 0; i < StringListCount; ++i) sorted.push_back(StringListBase + i * kStringListSlot);
    return sorted;
}
}  // namespace

TEST(StringList, GrowsBySlotsThatStartZeroAndKeepsEarlierEntries)
{
    StringListCount = 0;
    for (int i = 0; i < 300; ++i) {
        char* slot = StringListNext();
        ASSERT_EQ(StringListCount, uint32_t(i + 1));
        ASSERT_EQ(slot, StringListBase + i * kStringListSlot);
        ASSERT_TRUE(IsZeroSlot(slot)) << i;
        // Every byte but the last is written, so a zero next slot is no accident of the heap.
        memset(slot, 'a' + i % 26, kStringListSlot - 1);
    }
    for (int i = 0; i < 300; ++i) {
        const char* slot = StringListBase + i * kStringListSlot;
        ASSERT_EQ(std::string(slot), std::string(kStringListSlot - 1, char('a' + i % 26))) << i;
    }
    // A fresh list after the count is reset.
    StringListCount = 0;
    EXPECT_EQ(StringListNext(), StringListBase);
    EXPECT_EQ(StringListCount, 1u);
    EXPECT_TRUE(IsZeroSlot(StringListBase));
    EXPECT_TRUE(IsZeroSlot(StringListNext()));
}

TEST(StringList, SortsCaseInsensitivelyInTheLocalesOrder)
{
    std::vector<std::string> sorted =
        SortedList({"banana", "Cherry", "apple", "_under", "APPLE", "Banana split", "10 items", "2 items"});
    // Strings equal but for case may come in either order.
    for (std::string& s : sorted) CharUpperA(&s[0]);
    // Punctuation sorts before digits and letters, whatever the letters' case.
    EXPECT_EQ(sorted, (std::vector<std::string>{"_UNDER", "10 ITEMS", "2 ITEMS", "APPLE", "APPLE", "BANANA",
                                                "BANANA SPLIT", "CHERRY"}));
    // A swap moves the whole slot, bytes after the terminator too.
    StringListBase[200] = 'X';
    StringListSwap(0, 7);
    EXPECT_STREQ(StringListBase + 7 * kStringListSlot, "_under");
    EXPECT_EQ(StringListBase[7 * kStringListSlot + 200], 'X');
    EXPECT_EQ(StringListBase[200], '\0');
}

// Run in a helper process: an append whose block cannot be had ends the program.
TEST(StringListHelper, DISABLED_AppendBeyondMemory)
{
    StringListCount = 0;
    StringListNext();
    StringListCount = 0xF0000000u;  // the next block would be about a terabyte
    StringListNext();
}

TEST(StringList, AnAppendBeyondMemoryShowsTheBoxAndEndsWithCodeZero)
{
    PROCESS_INFORMATION helper = StartHelperTest("StringListHelper.DISABLED_AppendBeyondMemory");
    ASSERT_NE(helper.hProcess, nullptr);
    BoxWatcher boxes(helper.dwProcessId);
    SeenBox box;
    EXPECT_TRUE(boxes.WaitForBox("Out of Memory", 15000, &box));
    EXPECT_EQ(box.text, "Unable to allocate enough memory to continue the program. Close program and restart.");
    ASSERT_EQ(WaitForSingleObject(helper.hProcess, 10000), WAIT_OBJECT_0);
    DWORD code = 99;
    GetExitCodeProcess(helper.hProcess, &code);
    EXPECT_EQ(code, 0u);
    EndHelperProcess(&helper);
}
