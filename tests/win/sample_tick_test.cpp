// The whole tick under Wine, with the dynamic-data counters of a fixture.
#include <gtest/gtest.h>

#include <memory>

#include "dynamic_data.h"
#include "equipment/equipment_info.h"
#include "sampling/input_counters.h"
#include "sampling/sample_tick.h"
#include "sampling/system_stats.h"
#include "services/toolhelp.h"

TEST(SampleTick, CountsTheFixtureCountersAndTheCensus)
{
    LoadToolhelp();
    DynamicDataFixture counters;
    ASSERT_TRUE(counters.IsOpen());
    auto stats = std::make_unique<SystemStats>();
    auto live = std::make_unique<LiveSample>();
    auto equipment = std::make_unique<EquipmentInfo>();
    gSystemStats = stats.get();
    gLiveSample = live.get();
    gEquipmentInfo = equipment.get();
    counters.SetAll(37, 10, 0, 1000, 0, 1, 0);
    SampleTick();    // the first tick records only the clock
    Keystrokes = 1;  // the user is active
    SampleTick();
    EXPECT_EQ(stats->secondsSampled, 1.0f);
    EXPECT_EQ(stats->cpuUsage[37], 1u);
    EXPECT_EQ(live->cpuUsage, 37u);
    EXPECT_TRUE(live->threads > 0 && live->windows > 0 && live->modules > live->processes);
    EXPECT_EQ(stats->processes[live->processes], 1u);
    // Threads count at their absolute levels: this one at normal (8), none below level 1.
    EXPECT_GE(stats->threadPriority[8], 1u);
    EXPECT_EQ(stats->threadPriority[0], 0u);
    EXPECT_EQ(stats->keystrokes, 1u);
    EXPECT_EQ(Keystrokes.load(), 0u);  // taken by the tick
    gSystemStats = nullptr;
    gLiveSample = nullptr;
    gEquipmentInfo = nullptr;
}
