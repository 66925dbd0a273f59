#include "hardware/key_table.h"

namespace {

constexpr unsigned kVkNumpad0 = 0x60;
constexpr unsigned kVkDecimal = 0x6E;

// The virtual key each keypad key sends while Num Lock is off, by the one it sends while
// Num Lock is on: the digits 0..9, then the decimal point.
constexpr unsigned kNumLockOffKey[] = {0x2D, 0x23, 0x28, 0x22, 0x25, 0x0C, 0x27, 0x24, 0x26, 0x21};
constexpr unsigned kNumLockOffDecimal = 0x2E;

unsigned NumLockOffKey(unsigned vk)
{
    if (vk >= kVkNumpad0 && vk < kVkNumpad0 + 10) return kNumLockOffKey[vk - kVkNumpad0];
    if (vk == kVkDecimal) return kNumLockOffDecimal;
    return vk;
}

}  // namespace

int KeyButtonForKeyDown(const KeyCode* rows, int count, unsigned vk, bool extended)
{
    if (vk == 0 || vk > 254) return 0;
    if (!extended) vk = NumLockOffKey(vk);
    const unsigned code = (extended ? kKeyWithExtendedFlag : kKeyWithoutExtendedFlag) + vk;
    for (int i = 0; i < count; ++i)
        if (rows[i].code == code) return rows[i].buttonId;
    return 0;
}
