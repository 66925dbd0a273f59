#include "hardware/mouse_rules.h"

void MouseTestCreated(MouseTestRules* rules)
{
    *rules = MouseTestRules{};
}

void MouseBackgroundLeftClick(MouseTestRules* rules)
{
    rules->errorFlag = 1;
}

void MouseButtonChanged(MouseTestRules* rules, int id, bool isChecked)
{
    if (id >= kMouseTopLeft && id < kMouseTopLeft + kMouseButtonCount) rules->isChecked[id - kMouseTopLeft] = isChecked;
}

bool MouseRightClick(MouseTestRules* rules)
{
    static const int kCorners[] = {kMouseTopLeft, kMouseTopRight, kMouseBottomLeft, kMouseBottomRight};
    for (int id : kCorners) {
        if (!rules->isChecked[id - kMouseTopLeft]) {
            rules->errorFlag = 1;
            return false;
        }
    }
    return true;
}
