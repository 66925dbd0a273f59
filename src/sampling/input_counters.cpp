#include "sampling/input_counters.h"

std::atomic<uint32_t> PointerActions;
std::atomic<uint32_t> NavigationActions;
std::atomic<uint32_t> Keystrokes;
std::atomic<uint32_t> HelpKeyPresses;
std::atomic<uint32_t> RightClicks;
std::atomic<uint32_t> FunctionKeyPresses;

namespace {
const uint32_t kNonClientLeftDown = 0x00A1;
const uint32_t kNonClientRightDown = 0x00A4;
const uint32_t kLeftDown = 0x0201;
const uint32_t kRightDown = 0x0204;
const uint32_t kMiddleDown = 0x0207;
const uint32_t kExtraDown = 0x020B;
const uint32_t kClientToNonClient = 0x0160;  // left down 0x0201 - non-client left down 0x00A1, and so on
const uint32_t kKeyDown = 0x0100;
const uint32_t kSystemKeyDown = 0x0104;

// Clear, Page Up, Page Down, End and the four arrows move around rather than type.
bool IsNavigationKey(uint32_t key)
{
    return key == 0x0C || (key >= 0x21 && key <= 0x23) || (key >= 0x25 && key <= 0x28);
}

// Keypad digits that double as navigation keys when Num Lock is off (keypad 5 does not).
bool IsKeypadNavigation(uint32_t key)
{
    return (key >= 0x60 && key <= 0x64) || (key >= 0x66 && key <= 0x69);
}
}  // namespace

InputIncrements ClassifyInputEvent(uint32_t message, uint32_t virtualKey, bool numLockOn)
{
    InputIncrements add;
    switch (message) {
    case kNonClientLeftDown:
        add.pointer = add.navigation = 1;
        return add;
    case kNonClientRightDown:
    case kRightDown:
        add.pointer = add.right = 1;
        return add;
    case kLeftDown:
        add.pointer = 1;
        return add;
    case kKeyDown:
    case kSystemKeyDown:
        break;
    default:
        return add;
    }
    const uint32_t key = virtualKey & 0xFF;
    if (IsNavigationKey(key) || (IsKeypadNavigation(key) && !numLockOn)) {
        add.pointer = add.navigation = 1;
    } else if (key == 0x70) {
        add.help = 1;
        add.keystrokes = 2;
    } else if (key >= 0x71 && key <= 0x7B) {
        add.keystrokes = add.function = 1;
    } else {
        add.keystrokes = 1;
    }
    return add;
}

uint32_t ButtonMessageAtHit(uint32_t message, int32_t hitTest)
{
    const bool isPress = message == kLeftDown || message == kRightDown || message == kMiddleDown || message == kExtraDown;
    // From the caption (2) to the help button (21): every part of the frame. The client
    // area (1), nothing (0), a see-through window (-1) and an error (-2) are not.
    const bool isFrame = hitTest >= 2 && hitTest <= 21;
    return isPress && isFrame ? message - kClientToNonClient : message;
}

void CountInputEvent(uint32_t message, uint32_t virtualKey, bool numLockOn)
{
    const InputIncrements add = ClassifyInputEvent(message, virtualKey, numLockOn);
    if (add.pointer) PointerActions.fetch_add(add.pointer, std::memory_order_relaxed);
    if (add.navigation) NavigationActions.fetch_add(add.navigation, std::memory_order_relaxed);
    if (add.keystrokes) Keystrokes.fetch_add(add.keystrokes, std::memory_order_relaxed);
    if (add.help) HelpKeyPresses.fetch_add(add.help, std::memory_order_relaxed);
    if (add.right) RightClicks.fetch_add(add.right, std::memory_order_relaxed);
    if (add.function) FunctionKeyPresses.fetch_add(add.function, std::memory_order_relaxed);
}
