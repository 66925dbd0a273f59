// The shared string list against the real heap, and what running out of memory does.
#include <gtest/gtest.h>

#include <string>

#include "box_watcher.h"
#include "services/alloc.h"
#include "services/string_list.h"
#include "test_windows.h"

TEST(StringList, GrowsBySlotsThatStartZeroAndKeepsEarlierEntries)
{
    StringListCount = 0;
    const std::string zeroSlot(kStringListSlot, '\0');
    for (int i = 0; i < 300; ++i) {
        char* slot = StringListNext();
        ASSERT_EQ(slot, StringListBase + i * kStringListSlot);
        ASSERT_EQ(std::string(slot, kStringListSlot), zeroSlot) << i;
        // Every byte but the last is written, so a zero next slot is no accident of the heap.
        memset(slot, 'a' + i % 26, kStringListSlot - 1);
    }
    EXPECT_EQ(StringListCount, 300u);
    for (int i = 0; i < 300; ++i)
        ASSERT_EQ(std::string(StringListBase + i * kStringListSlot), std::string(kStringListSlot - 1, char('a' + i % 26)));
    // A fresh list after the count is reset.
    StringListCount = 0;
    EXPECT_EQ(StringListNext(), StringListBase);
    StringListNext();
    EXPECT_EQ(std::string(StringListBase, 2 * kStringListSlot), zeroSlot + zeroSlot);
}

// Helper processes: allocations that cannot be had end the program.
TEST(OutOfMemoryHelper, DISABLED_StringListAppend)
{
    StringListCount = 0;
    StringListNext();
    StringListCount = 0xF0000000u;  // the next block would be about a terabyte
    StringListNext();
}

TEST(OutOfMemoryHelper, DISABLED_AllocChecked)
{
    AllocChecked(GPTR, SIZE_T(-1) / 2);
}

TEST(OutOfMemory, ShowsTheBoxAndEndsWithCodeZero)
{
    struct Case {
        const char* helper;
        const char* text;
    } cases[] = {
        {"DISABLED_StringListAppend", "Unable to allocate enough memory to continue the program. Close program and restart."},
        {"DISABLED_AllocChecked", "Unable to allocate enough memory to continue the program. Close program and restart "
                                  "or contact Technical Support."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.helper);
        PROCESS_INFORMATION helper = StartHelperTest(std::string("OutOfMemoryHelper.") + c.helper);
        ASSERT_NE(helper.hProcess, nullptr);
        BoxWatcher boxes(helper.dwProcessId);
        SeenBox box;
        EXPECT_TRUE(boxes.WaitForBox("Out of Memory", 15000, &box));
        EXPECT_EQ(box.text, c.text);
        DWORD code = 99;
        EXPECT_EQ(WaitForSingleObject(helper.hProcess, 10000), WAIT_OBJECT_0);
        GetExitCodeProcess(helper.hProcess, &code);
        EXPECT_EQ(code, 0u);
        EndHelperProcess(&helper);
        EXPECT_EQ(boxes.Boxes().size(), 1u);
    }
}
