#include <gtest/gtest.h>

#include "sampling/input_counters.h"

namespace {

struct Case {
    const char* name;
    uint32_t message, key;
    bool numLock;
    uint32_t pointer, navigation, keystrokes, help, right, function;
};

const Case kCases[] = {
    {"non-client left press", 0x00A1, 0, false, 1, 1, 0, 0, 0, 0},
    {"non-client right press", 0x00A4, 0, false, 1, 0, 0, 0, 1, 0},
    {"left press", 0x0201, 0, false, 1, 0, 0, 0, 0, 0},
    {"right press", 0x0204, 0, false, 1, 0, 0, 0, 1, 0},
    {"left release", 0x0202, 0, false, 0, 0, 0, 0, 0, 0},
    {"mouse move", 0x0200, 0, false, 0, 0, 0, 0, 0, 0},
    {"key release", 0x0101, 'A', false, 0, 0, 0, 0, 0, 0},
    {"letter", 0x0100, 'A', false, 0, 0, 1, 0, 0, 0},
    {"system key letter", 0x0104, 'F', false, 0, 0, 1, 0, 0, 0},
    {"Clear", 0x0100, 0x0C, false, 1, 1, 0, 0, 0, 0},
    {"Page Up", 0x0100, 0x21, true, 1, 1, 0, 0, 0, 0},
    {"Page Down", 0x0100, 0x22, false, 1, 1, 0, 0, 0, 0},
    {"End", 0x0100, 0x23, false, 1, 1, 0, 0, 0, 0},
    {"Home types", 0x0100, 0x24, false, 0, 0, 1, 0, 0, 0},
    {"Left", 0x0100, 0x25, false, 1, 1, 0, 0, 0, 0},
    {"Down with Alt", 0x0104, 0x28, false, 1, 1, 0, 0, 0, 0},
    {"Insert types", 0x0100, 0x2D, false, 0, 0, 1, 0, 0, 0},
    {"keypad 8, Num Lock on", 0x0100, 0x68, true, 0, 0, 1, 0, 0, 0},
    {"keypad 8, Num Lock off", 0x0100, 0x68, false, 1, 1, 0, 0, 0, 0},
    {"keypad 0, Num Lock off", 0x0100, 0x60, false, 1, 1, 0, 0, 0, 0},
    {"keypad 5 always types", 0x0100, 0x65, false, 0, 0, 1, 0, 0, 0},
    {"keypad 9, Num Lock on", 0x0100, 0x69, true, 0, 0, 1, 0, 0, 0},
    {"keypad multiply", 0x0100, 0x6A, false, 0, 0, 1, 0, 0, 0},
    {"F1 counts two keystrokes", 0x0100, 0x70, false, 0, 0, 2, 1, 0, 0},
    {"F2", 0x0100, 0x71, false, 0, 0, 1, 0, 0, 1},
    {"F12", 0x0104, 0x7B, false, 0, 0, 1, 0, 0, 1},
    {"F13 types", 0x0100, 0x7C, false, 0, 0, 1, 0, 0, 0},
    {"only the low byte is the key", 0x0100, 0x1570, false, 0, 0, 2, 1, 0, 0},
};

TEST(ClassifyInputEvent, FollowsTheTableForEveryRow)
{
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        InputIncrements add = ClassifyInputEvent(c.message, c.key, c.numLock);
        EXPECT_EQ(add.pointer, c.pointer);
        EXPECT_EQ(add.navigation, c.navigation);
        EXPECT_EQ(add.keystrokes, c.keystrokes);
        EXPECT_EQ(add.help, c.help);
        EXPECT_EQ(add.right, c.right);
        EXPECT_EQ(add.function, c.function);
    }
}

TEST(CountInputEvent, AddsToTheSharedCounters)
{
    PointerActions = NavigationActions = Keystrokes = HelpKeyPresses = RightClicks = FunctionKeyPresses = 0;
    CountInputEvent(0x0100, 0x70, false);  // F1
    CountInputEvent(0x0100, 0x70, false);
    CountInputEvent(0x0204, 0, false);     // right press
    CountInputEvent(0x0100, 0x23, false);  // End
    EXPECT_EQ(Keystrokes.load(), 4u);
    EXPECT_EQ(HelpKeyPresses.load(), 2u);
    EXPECT_EQ(RightClicks.load(), 1u);
    EXPECT_EQ(PointerActions.load(), 2u);
    EXPECT_EQ(NavigationActions.load(), 1u);
    EXPECT_EQ(FunctionKeyPresses.load(), 0u);
}

}  // namespace
