#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
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

void FillList(const std::vector<std::string>& lines)
{
    StringListCount = 0;
    for (const std::string& line : lines) lstrcpynA(StringListNext(), line.c_str(), kStringListSlot);
}

std::vector<std::string> ListEntries()
{
    std::vector<std::string> entries;
    for (uint32_t i = 0; i < StringListCount; ++i) entries.push_back(StringListBase + i * kStringListSlot);
    return entries;
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
        // Fill the whole slot, so a zero-filled next slot is not an accident of the heap.
        memset(slot, 'a' + i % 26, kStringListSlot - 1);
        snprintf(slot, 16, "entry %d", i);
        slot[strlen(slot)] = ' ';
    }
    for (int i = 0; i < 300; ++i) {
        SCOPED_TRACE(i);
        char expected[16];
        snprintf(expected, sizeof expected, "entry %d ", i);
        const char* slot = StringListBase + i * kStringListSlot;
        ASSERT_EQ(std::string(slot, strlen(expected)), expected);
        ASSERT_EQ(slot[kStringListSlot - 2], char('a' + i % 26));
        ASSERT_EQ(slot[kStringListSlot - 1], '\0');
    }
}

TEST(StringList, StartsAFreshListAfterTheCountIsReset)
{
    FillList({"old one", "old two", "old three"});
    StringListCount = 0;
    char* first = StringListNext();
    EXPECT_EQ(StringListCount, 1u);
    EXPECT_EQ(first, StringListBase);
    EXPECT_TRUE(IsZeroSlot(first));
    char* second = StringListNext();
    EXPECT_EQ(StringListCount, 2u);
    EXPECT_TRUE(IsZeroSlot(second));
}

TEST(StringList, SortsCaseInsensitivelyInTheLocalesOrder)
{
    FillList({"banana", "Cherry", "apple", "_under", "APPLE", "Banana split", "10 items", "2 items"});
    SortByIndex(0, int32_t(StringListCount) - 1, StringListLess, StringListSwap);
    std::vector<std::string> sorted = ListEntries();
    // Equal strings in any case may come in either order.
    for (std::string& s : sorted) CharUpperA(&s[0]);
    // Punctuation sorts before digits and letters, whatever the letters' case.
    EXPECT_EQ(sorted, (std::vector<std::string>{"_UNDER", "10 ITEMS", "2 ITEMS", "APPLE", "APPLE", "BANANA",
                                                "BANANA SPLIT", "CHERRY"}));
}

TEST(StringList, LessIgnoresCaseAndSwapExchangesWholeSlots)
{
    FillList({"Apple", "apple", "b"});
    EXPECT_FALSE(StringListLess(0, 1));
    EXPECT_FALSE(StringListLess(1, 0));
    EXPECT_TRUE(StringListLess(1, 2));
    EXPECT_FALSE(StringListLess(2, 0));
    // Bytes after the terminator move with the entry.
    StringListBase[0 * kStringListSlot + 200] = 'X';
    StringListSwap(0, 2);
    EXPECT_EQ(ListEntries(), (std::vector<std::string>{"b", "apple", "Apple"}));
    EXPECT_EQ(StringListBase[2 * kStringListSlot + 200], 'X');
    EXPECT_EQ(StringListBase[0 * kStringListSlot + 200], '\0');
}

// Run in a helper process: an append whose block cannot be had ends the program.
TEST(StringListHelper, DISABLED_AppendBeyondMemory)
{
    StringListCount = 0;
    StringListNext();
    StringListCount = 0xF0000000u;  // the next block would be about a terabyte
    StringListNext();
    ADD_FAILURE() << "not reached: the append ends the process";
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
