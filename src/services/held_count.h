// Counts that outgrow the 32-bit fields of the stored records (disk and memory sizes in
// bytes on today's machines).
#pragma once
#include <cstdint>

// value for a 32-bit field: anything above 4294967295 is held at 4294967295 rather than
// wrapped, so a large figure never reads as a small one.
constexpr uint32_t HeldIn32Bits(uint64_t value)
{
    return value > UINT32_MAX ? UINT32_MAX : uint32_t(value);
}
