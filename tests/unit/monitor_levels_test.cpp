// Lamp levels of the monitors from live-sample words.
#include <gtest/gtest.h>

#include <string>

#include "analysis/monitor_levels.h"
#include "analysis/priority_map.h"

TEST(MonitorLevels, RowsTurnWordsIntoLevels)
{
    struct Case { const LampMonitor& monitor; const char* label; uint32_t value; int level; } cases[] = {
        {kSystemLamps, "CPU", 0, 0},           {kSystemLamps, "CPU", 1, 1},          {kSystemLamps, "CPU", 90, 9},
        {kSystemLamps, "CPU", 91, 10},         {kSystemLamps, "Modem", 4294967295u, 10},  // no wrap-around
        {kDiskLamps, "Space Free", 19, 1},     {kDiskLamps, "Write Size", 0, 10},    {kDiskLamps, "Write Size", 100, 0},
        {kDiskLamps, "Write Size", 4294967295u, 0}, {kMemoryLamps, "RAM", 35, 6},   {kSoftwareLamps, "Process", 25, 5},
        {kSoftwareLamps, "Process", 500, 10},  {kSoftwareLamps, "Thread", 459, 9},   {kSoftwareLamps, "Window", 8, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.label) + " " + std::to_string(c.value));
        int level = -1;
        for (int r = 0; r < c.monitor.rowCount; ++r) {
            if (std::string(c.monitor.rows[r].label) != c.label) continue;
            uint32_t words[kLiveWords] = {};
            words[c.monitor.rows[r].word] = c.value;
            level = LampLevel(c.monitor.rows[r], words);
        }
        EXPECT_EQ(level, c.level);
    }
    EXPECT_EQ(UsageNumberIcon(4000), 1799);  // the last icon there is
    EXPECT_EQ(TypingWordsPerMinute(600, 0), 0u);
}

TEST(PriorityMap, ClassAndThreadPickOneOfTwelveLamps)
{
    struct Case { int classBase, relative, column; } cases[] = {
        {kIdleClassBase, 0, 1},   {kIdleClassBase, -15, 0}, {kBelowNormalClassBase, 0, 3}, {kNormalClassBase, 0, 4},
        {kNormalClassBase, 1, 5}, {kAboveNormalClassBase, 0, 5}, {kHighClassBase, -1, 6}, {kHighClassBase, 0, 7},
        {kRealTimeClassBase, 0, 10}, {kRealTimeClassBase, 15, 11},
    };
    for (const Case& c : cases) EXPECT_EQ(PriorityLampColumn(c.classBase, c.relative), c.column) << c.classBase << "/" << c.relative;
}
