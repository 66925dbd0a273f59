// The priority rules: which class the optimizer gives each class, and the thread icon.
#include <gtest/gtest.h>

#include "boost/priority_rules.h"

TEST(PriorityRules, OptimizerBringsOnlyExtremeClassesToNormal)
{
    const struct {
        uint32_t from;
        const char* module;
        uint32_t planned;
    } cases[] = {
        {kHighClass, "NOTEPAD", kNormalClass},
        {kRealTimeClass, "notepad.exe", kNormalClass},
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
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.from << " " << (c.module ? c.module : "(null)"));
        EXPECT_EQ(PlanPriorityChange(c.from, c.module), c.planned);
    }
}

TEST(PriorityRules, ThreadIconStaysWithinTheThirtyThreeIcons)
{
    EXPECT_EQ(PriorityIconId(-2), 1700);
    EXPECT_EQ(PriorityIconId(13), 1713);
    EXPECT_EQ(PriorityIconId(32), 1732);
    EXPECT_EQ(PriorityIconId(33), 1732);
}
