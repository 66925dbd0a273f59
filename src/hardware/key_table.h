// The keyboard test's key table: one row per key button of the Keyboard Test dialog, in
// the order of the buttons' ids.
//
// A key code below 10000 is a virtual key that the test polls with GetAsyncKeyState: its
// virtual-key code is made by that one key (left and right Shift, Ctrl and Alt have codes
// of their own). Keys whose virtual-key code is shared by two keys (Enter and the keypad's
// Enter; Home, End, Page Up, Page Down, Insert, Delete and the arrows, which the keypad
// also makes while Num Lock is off) cannot be told apart by polling; they are recognised
// from key-down messages, whose extended-key flag says which of the two was pressed:
// 10000 + code is the key without the flag, 20000 + code the key with it.
#pragma once
#include <cstdint>

struct KeyCode {
    uint16_t code;
    uint16_t buttonId;
};

constexpr uint16_t kKeyWithoutExtendedFlag = 10000;
constexpr uint16_t kKeyWithExtendedFlag = 20000;
constexpr int kKeyButtonCount = 112;
constexpr int kFirstKeyButton = 12301;

constexpr uint16_t Polled(uint16_t vk) { return vk; }
constexpr uint16_t Plain(uint16_t vk) { return uint16_t(kKeyWithoutExtendedFlag + vk); }
constexpr uint16_t Extended(uint16_t vk) { return uint16_t(kKeyWithExtendedFlag + vk); }

// Laid out as a keyboard: function row, the rows of the main block with the editing block,
// arrows and numeric keypad beside them, then the media keys above the keypad.
inline constexpr KeyCode kKeyTable[kKeyButtonCount] = {
    {Polled(0x1B), 12301},  // Esc
    {Polled(0x70), 12302},  // F1
    {Polled(0x71), 12303},  // F2
    {Polled(0x72), 12304},  // F3
    {Polled(0x73), 12305},  // F4
    {Polled(0x74), 12306},  // F5
    {Polled(0x75), 12307},  // F6
    {Polled(0x76), 12308},  // F7
    {Polled(0x77), 12309},  // F8
    {Polled(0x78), 12310},  // F9
    {Polled(0x79), 12311},  // F10
    {Polled(0x7A), 12312},  // F11
    {Polled(0x7B), 12313},  // F12
    {Polled(0x2C), 12314},  // PrtSc
    {Polled(0x91), 12315},  // ScrLk
    {Polled(0x13), 12316},  // Pause
    {Polled(0xC0), 12317},  // `
    {Polled(0x31), 12318},  // 1
    {Polled(0x32), 12319},  // 2
    {Polled(0x33), 12320},  // 3
    {Polled(0x34), 12321},  // 4
    {Polled(0x35), 12322},  // 5
    {Polled(0x36), 12323},  // 6
    {Polled(0x37), 12324},  // 7
    {Polled(0x38), 12325},  // 8
    {Polled(0x39), 12326},  // 9
    {Polled(0x30), 12327},  // 0
    {Polled(0xBD), 12328},  // -
    {Polled(0xBB), 12329},  // =
    {Polled(0x08), 12330},  // Backspace
    {Extended(0x2D), 12331},  // Ins
    {Extended(0x24), 12332},  // Home
    {Extended(0x21), 12333},  // PgUp
    {Polled(0x90), 12334},  // Num Lock
    {Polled(0x6F), 12335},  // keypad /
    {Polled(0x6A), 12336},  // keypad *
    {Polled(0x6D), 12337},  // keypad -
    {Polled(0x09), 12338},  // Tab
    {Polled(0x51), 12339},  // Q
    {Polled(0x57), 12340},  // W
    {Polled(0x45), 12341},  // E
    {Polled(0x52), 12342},  // R
    {Polled(0x54), 12343},  // T
    {Polled(0x59), 12344},  // Y
    {Polled(0x55), 12345},  // U
    {Polled(0x49), 12346},  // I
    {Polled(0x4F), 12347},  // O
    {Polled(0x50), 12348},  // P
    {Polled(0xDB), 12349},  // [
    {Polled(0xDD), 12350},  // ]
    {Polled(0xDC), 12351},  // backslash
    {Extended(0x2E), 12352},  // Del
    {Extended(0x23), 12353},  // End
    {Extended(0x22), 12354},  // PgDn
    {Plain(0x24), 12355},  // keypad 7 / Home
    {Plain(0x26), 12356},  // keypad 8 / Up
    {Plain(0x21), 12357},  // keypad 9 / PgUp
    {Polled(0x6B), 12358},  // keypad +
    {Polled(0x14), 12359},  // Caps Lock
    {Polled(0x41), 12360},  // A
    {Polled(0x53), 12361},  // S
    {Polled(0x44), 12362},  // D
    {Polled(0x46), 12363},  // F
    {Polled(0x47), 12364},  // G
    {Polled(0x48), 12365},  // H
    {Polled(0x4A), 12366},  // J
    {Polled(0x4B), 12367},  // K
    {Polled(0x4C), 12368},  // L
    {Polled(0xBA), 12369},  // ;
    {Polled(0xDE), 12370},  // '
    {Plain(0x0D), 12371},  // Enter
    {Plain(0x25), 12372},  // keypad 4 / Left
    {Plain(0x0C), 12373},  // keypad 5 / Clear
    {Plain(0x27), 12374},  // keypad 6 / Right
    {Polled(0xA0), 12375},  // left Shift
    {Polled(0xE2), 12376},  // the key beside left Shift on 102-key keyboards
    {Polled(0x5A), 12377},  // Z
    {Polled(0x58), 12378},  // X
    {Polled(0x43), 12379},  // C
    {Polled(0x56), 12380},  // V
    {Polled(0x42), 12381},  // B
    {Polled(0x4E), 12382},  // N
    {Polled(0x4D), 12383},  // M
    {Polled(0xBC), 12384},  // ,
    {Polled(0xBE), 12385},  // .
    {Polled(0xBF), 12386},  // /
    {Polled(0xA1), 12387},  // right Shift
    {Extended(0x26), 12388},  // Up
    {Plain(0x23), 12389},  // keypad 1 / End
    {Plain(0x28), 12390},  // keypad 2 / Down
    {Plain(0x22), 12391},  // keypad 3 / PgDn
    {Extended(0x0D), 12392},  // keypad Enter
    {Polled(0xA2), 12393},  // left Ctrl
    {Polled(0x5B), 12394},  // left Windows
    {Polled(0xA4), 12395},  // left Alt
    {Polled(0x20), 12396},  // Space
    {Polled(0xA5), 12397},  // right Alt
    {Polled(0x5C), 12398},  // right Windows
    {Polled(0x5D), 12399},  // menu (applications)
    {Polled(0xA3), 12400},  // right Ctrl
    {Extended(0x25), 12401},  // Left
    {Extended(0x28), 12402},  // Down
    {Extended(0x27), 12403},  // Right
    {Plain(0x2D), 12404},  // keypad 0 / Ins
    {Plain(0x2E), 12405},  // keypad . / Del
    {Polled(0xAD), 12406},  // volume mute
    {Polled(0xAE), 12407},  // volume down
    {Polled(0xAF), 12408},  // volume up
    {Polled(0xB1), 12409},  // previous track
    {Polled(0xB3), 12410},  // play / pause
    {Polled(0xB2), 12411},  // stop
    {Polled(0xB0), 12412},  // next track
};

// What is wrong with a key table, the first fault found.
enum class KeyTableFault {
    kNone,
    kWrongCount,        // not one row per key button
    kButtonOutOfRange,  // a button id outside the dialog's key buttons
    kButtonRepeated,    // two rows for one button
    kInvalidCode,       // not a virtual key (1..254) in one of the three kinds
    kCodeRepeated,      // two buttons for one key
    kPolledAndMessage,  // a virtual key both polled and recognised from messages
};

constexpr uint16_t VirtualKeyOf(uint16_t code) { return uint16_t(code % kKeyWithoutExtendedFlag); }

constexpr bool IsValidKeyCode(uint16_t code)
{
    const uint16_t vk = VirtualKeyOf(code);
    return code < 3 * kKeyWithoutExtendedFlag && vk >= 1 && vk <= 254;
}

// Checks rows against the key buttons firstId .. firstId + buttonCount - 1, one row each.
constexpr KeyTableFault CheckKeyTable(const KeyCode* rows, int count, int firstId, int buttonCount)
{
    if (count != buttonCount) return KeyTableFault::kWrongCount;
    for (int i = 0; i < count; ++i) {
        const KeyCode row = rows[i];
        if (row.buttonId < firstId || row.buttonId >= firstId + buttonCount) return KeyTableFault::kButtonOutOfRange;
        if (!IsValidKeyCode(row.code)) return KeyTableFault::kInvalidCode;
        for (int j = 0; j < i; ++j) {
            if (rows[j].buttonId == row.buttonId) return KeyTableFault::kButtonRepeated;
            if (rows[j].code == row.code) return KeyTableFault::kCodeRepeated;
            const bool polled = row.code < kKeyWithoutExtendedFlag, otherPolled = rows[j].code < kKeyWithoutExtendedFlag;
            if (polled != otherPolled && VirtualKeyOf(rows[j].code) == VirtualKeyOf(row.code))
                return KeyTableFault::kPolledAndMessage;
        }
    }
    return KeyTableFault::kNone;
}

static_assert(CheckKeyTable(kKeyTable, kKeyButtonCount, kFirstKeyButton, kKeyButtonCount) == KeyTableFault::kNone,
              "the key table must give every key button one key");

// The key button a key-down message names: the key recognised from messages with this
// virtual-key code and extended-key flag. With Num Lock on, the keypad's digit and decimal
// keys send their own virtual keys; they name the same buttons as with Num Lock off.
// 0 when the key is not one recognised from messages (polled keys, keys not in the table).
int KeyButtonForKeyDown(const KeyCode* rows, int count, unsigned vk, bool extended);
