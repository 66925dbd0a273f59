// The detected-hardware record, filled once at start-up and read by every hardware tool.
#pragma once
#include <cstddef>
#include <cstdint>

constexpr size_t kEquipmentInfoLength = 6636;

struct EquipmentInfo {
    uint8_t bytes[kEquipmentInfoLength];  // fields arrive with equipment detection
};
static_assert(sizeof(EquipmentInfo) == kEquipmentInfoLength, "EquipmentInfo is 6636 bytes");

extern EquipmentInfo* gEquipmentInfo;
