// The shared string list against the real heap, and what running out of memory does.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "box_watcher.h"
#include "services/alloc.h"
#include "services/string_list.h"
#include "test_windows.h"

TEST(StringList, GrowsBySlotsThatStartZeroAndKeepsEarlierEntries)
{
    const std::string zero(kReportLineSlot, '\0');
    for (int round = 0; round < 2; ++round) {  // the second reuses the slots the first filled
        StringListCount = 0;
        for (int i = 0; i < 300; ++i) {
            ASSERT_EQ(std::string(StringListNext(), kReportLineSlot), zero) << i;
            memset(StringListBase + i * kReportLineSlot, 'a' + i % 26, kReportLineSlot - 1);  // all but the NUL
        }
        for (int i = 0; i < 300; ++i)
            ASSERT_EQ(std::string(StringListBase + i * kReportLineSlot), std::string(kReportLineSlot - 1, 'a' + i % 26));
    }
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
    for (const char* helperTest : {"DISABLED_StringListAppend", "DISABLED_AllocChecked"}) {
        SCOPED_TRACE(helperTest);
        PROCESS_INFORMATION helper = StartHelperTest(std::string("OutOfMemoryHelper.") + helperTest);
        ASSERT_NE(helper.hProcess, nullptr);
        BoxWatcher boxes(helper.dwProcessId);
        EXPECT_TRUE(boxes.WaitForBox("Out of Memory", 15000));
        DWORD code = 99;
        EXPECT_EQ(WaitForSingleObject(helper.hProcess, 10000), WAIT_OBJECT_0);
        GetExitCodeProcess(helper.hProcess, &code);
        EXPECT_EQ(code, 0u);
        EndHelperProcess(&helper);
        EXPECT_EQ(boxes.Boxes().size(), 1u);
    }
}
