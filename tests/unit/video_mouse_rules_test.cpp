// The mouse test's click rules, the colour ramps and the calibration layout.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "hardware/mouse_rules.h"
#include "hardware/video_patterns.h"

namespace {

// One click of a mouse test run: 'L' background left click, 'R' right click, a digit
// toggles button 10 + digit.
struct MouseRun {
    const char* label;
    const char* clicks;
    uint32_t flag;
    bool closes;  // whether the last right click ended the test
};

}  // namespace

TEST(MouseRules, FlagAndEndOfTheTestFromTheClicks)
{
    const MouseRun runs[] = {
        {"no clicks but the right one", "R", 1, false},
        {"three corners", "012R", 1, false},
        {"four corners, no stray click", "0123R", 0, true},
        {"four corners in another order, centre too", "43210R", 0, true},
        {"a stray left click first", "L0123R", 1, true},
        {"a stray left click after the corners", "0123LR", 1, true},
        {"a corner clicked twice is unchecked", "01233R", 1, false},
        {"centre instead of a corner", "0124R", 1, false},
        {"an early right click is remembered", "012R3R", 1, true},
    };
    for (const MouseRun& run : runs) {
        SCOPED_TRACE(run.label);
        MouseTestRules rules;
        MouseTestCreated(&rules);
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

TEST(MouseRules, CreationClearsAPreviousRunAndUnknownIdsAreIgnored)
{
    MouseTestRules rules;
    MouseTestCreated(&rules);
    MouseBackgroundLeftClick(&rules);
    for (int id = kMouseTopLeft; id <= kMouseBottomRight; ++id) MouseButtonChanged(&rules, id, true);
    MouseTestCreated(&rules);
    EXPECT_EQ(rules.errorFlag, 0u);
    for (int id : {9, 15, -1, 1000}) MouseButtonChanged(&rules, id, true);
    EXPECT_FALSE(MouseRightClick(&rules));
}

TEST(VideoPatterns, RampsInOrderEachRisingBy32AndEndingBlack)
{
    const char* names[kRampCount] = {"red", "magenta", "yellow", "green", "cyan", "blue", "grey"};
    const int channels[kRampCount][3] = {{1, 0, 0}, {1, 0, 1}, {1, 1, 0}, {0, 1, 0}, {0, 1, 1}, {0, 0, 1}, {1, 1, 1}};
    ASSERT_EQ(kRampFillCount, 63);
    for (int ramp = 0; ramp < kRampCount; ++ramp) {
        SCOPED_TRACE(names[ramp]);
        std::vector<std::vector<int>> fills, expected;
        for (int step = 0; step < kRampSteps; ++step) {
            const PatternColor c = RampFill(ramp * kRampSteps + step);
            fills.push_back({c.red, c.green, c.blue});
            const int level = step == 8 ? 0 : step * 32;
            expected.push_back({channels[ramp][0] * level, channels[ramp][1] * level, channels[ramp][2] * level});
        }
        EXPECT_EQ(fills, expected);
    }
    for (int outside : {-1, kRampFillCount, 1000}) {
        const PatternColor c = RampFill(outside);
        EXPECT_EQ(c.red + c.green + c.blue, 0) << outside;
    }
}

TEST(VideoPatterns, CalibrationSwatchesOn1024x768)
{
    // 1024 / 17 = 60 wide, 768 / 5 = 153 high; odd columns, rows 1 and 3.
    struct Case { int index; long left, top; } cases[] = {
        {0, 60, 153}, {1, 180, 153}, {7, 900, 153}, {8, 60, 459}, {12, 540, 459}, {15, 900, 459},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(kCalibrationColors[c.index].name));
        const CalibrationSwatch s = CalibrationSwatchAt(c.index, 1024, 768);
        EXPECT_EQ(std::vector<long>({s.cell.left, s.cell.top, s.cell.right, s.cell.bottom}),
                  std::vector<long>({c.left, c.top, c.left + 60, c.top + 153}));
        EXPECT_EQ(std::vector<long>({s.nameBand.left, s.nameBand.top, s.nameBand.right, s.nameBand.bottom}),
                  std::vector<long>({c.left - 10, c.top - 30, c.left + 70, c.top + 143}));
    }
    // No two swatches share a cell, and every cell lies on the screen.
    for (int a = 0; a < kCalibrationColorCount; ++a) {
        const PlainRect r = CalibrationSwatchAt(a, 1024, 768).cell;
        EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= 1024 && r.bottom <= 768) << a;
        for (int b = a + 1; b < kCalibrationColorCount; ++b) {
            const PlainRect q = CalibrationSwatchAt(b, 1024, 768).cell;
            EXPECT_FALSE(r.left < q.right && q.left < r.right && r.top < q.bottom && q.top < r.bottom) << a << " " << b;
        }
    }
}

TEST(VideoPatterns, CalibrationTableNamesAndColours)
{
    const CalibrationColor& first = kCalibrationColors[0];
    const CalibrationColor& brown = kCalibrationColors[11];
    const CalibrationColor& last = kCalibrationColors[kCalibrationColorCount - 1];
    EXPECT_EQ(std::string(first.name) + " " + brown.name + " " + last.name, "White Brown Black");
    EXPECT_EQ(std::vector<int>({brown.color.red, brown.color.green, brown.color.blue}), std::vector<int>({128, 128, 0}));
    EXPECT_EQ(last.color.red + last.color.green + last.color.blue, 0);
    EXPECT_EQ(first.color.red + first.color.green + first.color.blue, 765);
}
