// The priority rules: which class the optimizer gives each class, the radios and the
// thread icon.
#include <gtest/gtest.h>

#include "boost/priority_rules.h"
#include "resources/ids_boost.h"

TEST(PriorityRules, OptimizerBringsOnlyExtremeClassesToNormal)
{
    const struct {
        uint32_t from;
        const char* module;
        uint32_t planned;
    } cases[] = {
        {kHighClass, "NOTEPAD", kNormalClass},
        {kRealTimeClass, "notepad.exe", kNormalClass},
        {kIdleClass, "", kNormalClass},
        {kIdleClass, nullptr, kNormalClass},
        {kNormalClass, "NOTEPAD", kKeepClass},
        {kBelowNormalClass, "NOTEPAD", kKeepClass},
        {kAboveNormalClass, "NOTEPAD", kKeepClass},
        {0, "NOTEPAD", kKeepClass},  // a class that could not be read
        // The system kernel's process keeps its class; the name must match exactly.
        {kHighClass, "KERNEL32", kKeepClass},
        {kIdleClass, "KERNEL32", kKeepClass},
        {kHighClass, "kernel32", kNormalClass},
        {kHighClass, "KERNEL32.DLL", kNormalClass},
        {kHighClass, "KERNEL3", kNormalClass},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.from << " " << (c.module ? c.module : "(null)"));
        EXPECT_EQ(PlanPriorityChange(c.from, c.module), c.planned);
    }
}

TEST(PriorityRules, EachRadioSetsTheClassItShowsAndOtherClassesShowNone)
{
    const struct {
        uint32_t priorityClass;
        int radio;
    } cases[] = {
        {kIdleClass, IDC_PRIORITY_IDLE},
        {kNormalClass, IDC_PRIORITY_NORMAL},
        {kHighClass, IDC_PRIORITY_HIGH},
        {kRealTimeClass, IDC_PRIORITY_MAXIMUM},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PriorityRadioOf(c.priorityClass), c.radio);
        EXPECT_EQ(PriorityClassOfRadio(c.radio), c.priorityClass);
    }
    for (uint32_t other : {kBelowNormalClass, kAboveNormalClass, 0u, 0x10u}) EXPECT_EQ(PriorityRadioOf(other), 0);
    for (int other : {IDC_PRIORITY_THREADS, IDC_PRIORITY_PROGRAMS, 1})
        EXPECT_EQ(PriorityClassOfRadio(other), 0u);
}

TEST(PriorityRules, ThreadIconStaysWithinTheThirtyThreeIcons)
{
    EXPECT_EQ(PriorityIconId(0), 1700);  // also a thread that is gone
    EXPECT_EQ(PriorityIconId(8), 1708);
    EXPECT_EQ(PriorityIconId(31), 1731);
    EXPECT_EQ(PriorityIconId(32), 1732);
    EXPECT_EQ(PriorityIconId(33), 1732);
    EXPECT_EQ(PriorityIconId(1000000), 1732);
    EXPECT_EQ(PriorityIconId(-2), 1700);
}
