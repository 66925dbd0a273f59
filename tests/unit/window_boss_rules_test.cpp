#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "boost/window_boss_rules.h"

namespace {

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
        const std::string line = Item("A\tB\r\nC", ItemValueOfHandle(uintptr_t(handle)));
        char name[256] = "";
        uint32_t back = 1;
        ASSERT_TRUE(ParseWindowItem(line.c_str(), name, sizeof name, &back));
        EXPECT_STREQ(name, "A B  C");  // one tab per line, whatever the caption holds
        EXPECT_EQ(HandleOfItemValue(back), handle);
    }

    // Lines that name no handle are refused, never read as some other window.
    for (const char* bad : {"no tab", "name\t", "name\t12a", "name\t-5", "name\t4294967296", "name\t 7"}) {
        uint32_t value = 9;
        EXPECT_FALSE(ParseWindowItem(bad, nullptr, 0, &value)) << bad;
        EXPECT_EQ(value, 0u) << bad;
    }
}

TEST(WindowBossRules, LongNamesAreCutAndNamelessWindowsFallBack)
{
    // A long caption is cut so the whole line fits its 256-byte slot with the handle intact;
    // a small buffer gets the whole handle or nothing (a handle cut short names another window).
    EXPECT_EQ(Item(std::string(300, 'w'), 4294967295u), std::string(255 - 11, 'w') + "\t4294967295");
    EXPECT_EQ(Item("abc", 123456, 8), "\t123456");
    EXPECT_EQ(Item("abc", 123456, 7), "");

    const struct {
        const char* caption;
        const char* module;
        const char* name;
    } names[] = {{"Calc", "CALC.EXE", "Calc"}, {"", "win_tests.exe", "win_tests"}, {nullptr, ".exe", "<no name>"}};
    for (const auto& n : names) {
        char name[256] = "unchanged";
        WindowItemName(n.caption, n.module, name, sizeof name);
        EXPECT_STREQ(name, n.name);
    }
}
