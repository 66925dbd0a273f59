// Keyboard and mouse activity counters. The input hook adds to them from whichever thread
// the system calls it on; the sampling tick reads and clears them once a second. No lock:
// an event that lands between the tick's read and its clear is lost.
#pragma once
#include <atomic>
#include <cstdint>

extern std::atomic<uint32_t> PointerActions;     // mouse button presses and navigation keys
extern std::atomic<uint32_t> NavigationActions;  // non-client left presses and navigation keys
extern std::atomic<uint32_t> Keystrokes;         // typing keys (F1 counts two)
extern std::atomic<uint32_t> HelpKeyPresses;     // F1
extern std::atomic<uint32_t> RightClicks;        // right button presses
extern std::atomic<uint32_t> FunctionKeyPresses; // F2 to F12

struct InputIncrements {
    uint32_t pointer = 0, navigation = 0, keystrokes = 0, help = 0, right = 0, function = 0;
};

// What one input event adds to the counters: message is the event's window message
// (key down, button down, ...), virtualKey the low byte of its first parameter for key
// messages, numLockOn whether Num Lock is toggled on or held down.
InputIncrements ClassifyInputEvent(uint32_t message, uint32_t virtualKey, bool numLockOn);

// Classifies the event and adds it to the counters.
void CountInputEvent(uint32_t message, uint32_t virtualKey, bool numLockOn);

// The message a button press becomes once the window under the pointer has said what part
// of it was hit (its WM_NCHITTEST answer): a press on a caption, scroll bar, border, menu
// bar or frame button is a non-client press; on the client area, or where nothing
// answered, it stays as it is. Any other message is returned unchanged.
uint32_t ButtonMessageAtHit(uint32_t message, int32_t hitTest);
