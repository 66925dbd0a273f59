#include <gtest/gtest.h>

#include <string>

#include "sampling/input_counters.h"

TEST(ClassifyInputEvent, FollowsTheTableForEveryRow)
{
    // adds: pointer, navigation, keystrokes, help, right, function
    struct Case { const char* name; uint32_t message, key; bool numLock; const char* adds; } cases[] = {
        {"non-client left press", 0x00A1, 0, false, "110000"},  {"non-client right press", 0x00A4, 0, false, "100010"},
        {"left press", 0x0201, 0, false, "100000"},             {"right press", 0x0204, 0, false, "100010"},
        {"left release", 0x0202, 0, false, "000000"},           {"mouse move", 0x0200, 0, false, "000000"},
        {"key release", 0x0101, 'A', false, "000000"},          {"letter", 0x0100, 'A', false, "001000"},
        {"system key letter", 0x0104, 'F', false, "001000"},    {"Clear", 0x0100, 0x0C, false, "110000"},
        {"Page Up", 0x0100, 0x21, true, "110000"},              {"Page Down", 0x0100, 0x22, false, "110000"},
        {"End", 0x0100, 0x23, false, "110000"},                 {"Home types", 0x0100, 0x24, false, "001000"},
        {"Left", 0x0100, 0x25, false, "110000"},                {"Down with Alt", 0x0104, 0x28, false, "110000"},
        {"Insert types", 0x0100, 0x2D, false, "001000"},        {"keypad 8, Num Lock on", 0x0100, 0x68, true, "001000"},
        {"keypad 8, Num Lock off", 0x0100, 0x68, false, "110000"}, {"keypad 0, Num Lock off", 0x0100, 0x60, false, "110000"},
        {"keypad 5 always types", 0x0100, 0x65, false, "001000"}, {"keypad 9, Num Lock on", 0x0100, 0x69, true, "001000"},
        {"keypad multiply", 0x0100, 0x6A, false, "001000"},     {"F1 counts two keystrokes", 0x0100, 0x70, false, "002100"},
        {"F2", 0x0100, 0x71, false, "001001"},                  {"F12", 0x0104, 0x7B, false, "001001"},
        {"F13 types", 0x0100, 0x7C, false, "001000"},           {"only the low byte is the key", 0x0100, 0x1570, false, "002100"},
    };
    for (const Case& c : cases) {
        const InputIncrements add = ClassifyInputEvent(c.message, c.key, c.numLock);
        std::string adds;
        for (uint32_t n : {add.pointer, add.navigation, add.keystrokes, add.help, add.right, add.function})
            adds += std::to_string(n);
        EXPECT_EQ(adds, c.adds) << c.name;
    }
}
