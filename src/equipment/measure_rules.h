// Rules of the measurement stage that turn what the system reports into EquipmentInfo
// fields, apart from the calls that ask the system.
#pragma once
#include <cstdint>

#include "equipment/equipment_info.h"

// The decimal number that starts at the first character of text belonging to digits
// ("1234" for serial ports, "123" for printer ports); 0 when there is none. Saturates at
// 4294967295.
uint32_t PortNumberIn(const char* text, const char* digits);

// The floppy drive of a BIOS drive type: 1 360 KB 5.25", 2 1.2 MB 5.25", 3 720 KB 3.5",
// 4 1.44 MB 3.5", 5 and 6 2.88 MB 3.5"; {0, 0} for anything else.
FloppyKind FloppyKindOfBiosType(uint32_t biosType);

// Memory fields from the system's totals in bytes. Totals above 4 GB do not fit the 32-bit
// fields: those are held at 4294967295. RAM in MB is worked out from the physical memory
// as recorded, so the pages' two RAM lines agree: (bytes + 360000) / 1000000, made even by
// taking one off an odd result.
void ApplyMemoryTotals(EquipmentInfo* info, uint64_t physicalBytes, uint64_t pageFileBytes, uint64_t virtualBytes);

// Counts one fixed drive of the given size; the first ten are recorded, a size above 4 GB
// as 4294967295, the most the field holds.
void ApplyHardDisk(EquipmentInfo* info, uint64_t bytes);

// The standard speed nearest to a measured clock in MHz (16 ... 200; the lower one at equal
// distance, 200 above it); 0 for 0.
uint32_t NearestStandardSpeed(uint32_t clock);

// The clock and power fields from the best time of the timed loops (ms; 0 counts as 1)
// for the CPU type already in info. Only types 386, 486 and 586 have a formula: for any
// other type all five fields stay 0.
void ApplyCpuTiming(EquipmentInfo* info, uint32_t bestMs);

// Function keys from the keyboard type and the reported count of function keys: type 2 or
// 4 gives 12, type 6 gives 24, others 10; a larger reported count wins.
uint32_t FunctionKeyCount(int keyboardType, int reportedFunctionKeys);

// Windows version, build and platform from the system's packed version number.
void ApplyWindowsVersion(EquipmentInfo* info, uint32_t version);

// Marks the port a port name stands for: COM1..COM4 and LPT1..LPT3.
void ApplyPortName(EquipmentInfo* info, const char* portName);
