// The mouse test's click rules, the colour ramps and the calibration layout.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "hardware/mouse_rules.h"
#include "hardware/video_patterns.h"

TEST(MouseRules, FlagAndEndOfTheTestFromTheClicks)
{
    // 'L' a left click on the background, 'R' a right click, a digit toggles button 10 + digit.
    const struct { const char* clicks; uint32_t flag; bool closes; } runs[] = {
        {"R", 1, false},
        {"012R", 1, false},    // three corners
        {"0123R", 0, true},    // four corners and nothing else
        {"43210R", 0, true},   // any order; the centre does not count
        {"L0123R", 1, true},   // a stray left click before ...
        {"0123LR", 1, true},   // ... or after the corners
        {"01233R", 1, false},  // a corner clicked twice is unchecked
        {"0124R", 1, false},   // the centre instead of a corner
        {"012R3R", 1, true},   // an early right click is remembered
    };
    for (const auto& run : runs) {
        SCOPED_TRACE(run.clicks);
        MouseTestRules rules;
        MouseBackgroundLeftClick(&rules);
        MouseButtonChanged(&rules, kMouseTopLeft, true);
        MouseTestCreated(&rules);  // a new run forgets the last one
        bool closes = false;
        for (const char* c = run.clicks; *c; ++c) {
            if (*c == 'L') {
                MouseBackgroundLeftClick(&rules);
            } else if (*c == 'R') {
                closes = MouseRightClick(&rules);
            } else {
                const int id = kMouseTopLeft + (*c - '0');
                MouseButtonChanged(&rules, id, !rules.isChecked[id - kMouseTopLeft]);
            }
        }
        EXPECT_EQ(rules.errorFlag, run.flag);
        EXPECT_EQ(closes, run.closes);
    }
}

TEST(VideoPatterns, SevenRampsOfNineFillsEachEndingBlack)
{
    ASSERT_EQ(kRampFillCount, 63);
    const struct { int index; int red, green, blue; } cases[] = {
        {0, 0, 0, 0},   {1, 32, 0, 0},   {7, 224, 0, 0},     {8, 0, 0, 0},    {10, 32, 0, 32},
        {17, 0, 0, 0},  {20, 64, 64, 0}, {40, 0, 128, 128},  {52, 0, 0, 224}, {61, 224, 224, 224},
        {62, 0, 0, 0},  {63, 0, 0, 0},
    };
    for (const auto& c : cases) {
        const PatternColor f = RampFill(c.index);
        EXPECT_EQ(std::vector<int>({f.red, f.green, f.blue}), std::vector<int>({c.red, c.green, c.blue})) << c.index;
    }
}

TEST(VideoPatterns, CalibrationSwatchesOn1024x768)
{
    // 1024 / 17 = 60 wide, 768 / 5 = 153 high; odd columns, rows 1 and 3.
    const struct { int index; long left, top; const char* name; } cases[] = {
        {0, 60, 153, "White"}, {7, 900, 153, "Lt Gray"}, {8, 60, 459, "Dk Gray"}, {15, 900, 459, "Black"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.index);
        const CalibrationSwatch s = CalibrationSwatchAt(c.index, 1024, 768);
        EXPECT_EQ(std::vector<long>({s.cell.left, s.cell.top, s.cell.right, s.cell.bottom}),
                  std::vector<long>({c.left, c.top, c.left + 60, c.top + 153}));
        EXPECT_EQ(std::vector<long>({s.nameBand.left, s.nameBand.top, s.nameBand.right, s.nameBand.bottom}),
                  std::vector<long>({c.left - 10, c.top - 30, c.left + 70, c.top + 143}));
        EXPECT_EQ(std::string(kCalibrationColors[c.index].name), c.name);
    }
}
