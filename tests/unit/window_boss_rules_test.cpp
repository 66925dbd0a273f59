#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "boost/window_boss_rules.h"

namespace {

std::string Name(const char* caption, const char* module, size_t size = 256)
{
    char name[256] = "unchanged";
    WindowItemName(caption, module, name, size);
    return name;
}

std::string Item(const std::string& name, uint32_t value, size_t size = 256)
{
    char line[300];
    memset(line, 'z', sizeof line);
    FormatWindowItem(name.c_str(), value, line, size);
    return line;
}

}  // namespace

TEST(WindowBossRules, ItemsRoundTripHandlesWithTheHighBitSet)
{
    // x64 handles are sign-extended 32-bit values: the list keeps the low half and the
    // handle read back is the same pointer-wide value.
    const intptr_t handles[] = {0x10062, 0x7FFFFFFF, intptr_t(int32_t(0x80000000u)), intptr_t(int32_t(0xFFFF1234u)), -2};
    for (intptr_t handle : handles) {
        SCOPED_TRACE(handle);
        const uint32_t value = ItemValueOfHandle(uintptr_t(handle));
        const std::string line = Item("Calculator", value);
        EXPECT_EQ(line, "Calculator\t" + std::to_string(value));
        char name[256] = "";
        uint32_t back = 1;
        ASSERT_TRUE(ParseWindowItem(line.c_str(), name, sizeof name, &back));
        EXPECT_STREQ(name, "Calculator");
        EXPECT_EQ(HandleOfItemValue(back), handle);
    }
    EXPECT_EQ(Item("x", 4294967295u), "x\t4294967295");

    // Lines that name no handle are refused, never read as some other window.
    for (const char* bad : {"no tab", "name\t", "name\t12a", "name\t-5", "name\t4294967296", "name\t 7"}) {
        uint32_t value = 9;
        EXPECT_FALSE(ParseWindowItem(bad, nullptr, 0, &value)) << bad;
        EXPECT_EQ(value, 0u) << bad;
    }
}

TEST(WindowBossRules, NamesFallBackFromCaptionToModuleToNoName)
{
    EXPECT_EQ(Name("Untitled - Notepad", "NOTEPAD.EXE"), "Untitled - Notepad");
    EXPECT_EQ(Name("", "win_tests.exe"), "win_tests");
    EXPECT_EQ(Name(nullptr, "EXPLORER"), "EXPLORER");  // no "." at all: the whole name
    EXPECT_EQ(Name("", ".exe"), "<no name>");           // nothing before the "."
    EXPECT_EQ(Name(nullptr, nullptr), "<no name>");
    EXPECT_EQ(Name("", nullptr, 4), "<no");  // cut to the buffer
}

TEST(WindowBossRules, LongAndOddNamesKeepTheHandleAndOneTab)
{
    // A long caption is cut so the whole line fits its 256-byte slot with the handle intact.
    const std::string longName(300, 'w');
    const std::string line = Item(longName, 4294967295u);
    EXPECT_EQ(line.size(), kWindowItemLength - 1);
    EXPECT_EQ(line, std::string(255 - 11, 'w') + "\t4294967295");
    // A small buffer gets the whole handle or nothing: a handle cut short names another window.
    EXPECT_EQ(Item("abc", 123456, 8), "\t123456");
    EXPECT_EQ(Item("abc", 123456, 7), "");

    // A tab or line break inside a caption would split the line in the wrong place.
    const std::string tabbed = Item("A\tB\r\nC", 42);
    EXPECT_EQ(tabbed, "A B  C\t42");
    uint32_t value = 0;
    char name[8];
    ASSERT_TRUE(ParseWindowItem(tabbed.c_str(), name, sizeof name, &value));
    EXPECT_EQ(value, 42u);
    ASSERT_TRUE(ParseWindowItem((std::string(20, 'n') + "\t5").c_str(), name, sizeof name, &value));
    EXPECT_STREQ(name, "nnnnnnn");  // the name is cut to its buffer
}
