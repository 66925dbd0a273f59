// The rules of the full-screen mouse test: which clicks count as a fault and when the test
// ends. The test window feeds its clicks in and closes when told to.
#pragma once
#include <cstdint>

// The five check buttons of the test window, by control id.
enum MouseTestButton {
    kMouseTopLeft = 10,
    kMouseTopRight = 11,
    kMouseBottomLeft = 12,
    kMouseBottomRight = 13,
    kMouseCentre = 14,
};
constexpr int kMouseButtonCount = 5;

struct MouseTestRules {
    uint32_t errorFlag;               // 1 once the clicks showed a fault
    bool isChecked[kMouseButtonCount];  // by id - kMouseTopLeft
};

// The test window was created: no fault yet, nothing checked.
void MouseTestCreated(MouseTestRules* rules);
// A left click that missed every button and landed on the window itself.
void MouseBackgroundLeftClick(MouseTestRules* rules);
// Button id now shows checked or unchecked. Ids outside the five are ignored.
void MouseButtonChanged(MouseTestRules* rules, int id, bool isChecked);
// A right click on the window: with all four corner buttons checked the test is over
// (true: close the window) and the flag stays as it is; otherwise the click is a fault and
// the test goes on. The centre button does not count.
bool MouseRightClick(MouseTestRules* rules);
