#include "equipment/measure_rules.h"

#include <cstring>

#include "equipment/device_record.h"
#include "services/held_count.h"

uint32_t PortNumberIn(const char* text, const char* digits)
{
    if (!text) return 0;
    const char* start = strpbrk(text, digits);
    if (!start) return 0;
    uint64_t value = 0;
    for (; *start >= '0' && *start <= '9'; ++start) {
        value = value * 10 + uint64_t(*start - '0');
        if (value > UINT32_MAX) return UINT32_MAX;
    }
    return uint32_t(value);
}

FloppyKind FloppyKindOfBiosType(uint32_t biosType)
{
    switch (biosType) {
    case 1: return {360.0f, 5.25f};
    case 2: return {1.2f, 5.25f};
    case 3: return {720.0f, 3.5f};
    case 4: return {1.44f, 3.5f};
    case 5:
    case 6: return {2.88f, 3.5f};
    default: return {0.0f, 0.0f};
    }
}

void ApplyMemoryTotals(EquipmentInfo* info, uint64_t physicalBytes, uint64_t pageFileBytes, uint64_t virtualBytes)
{
    // The byte count is held at its 32-bit limit; the megabytes, which fit, stay true, so
    // decisions by memory size see the real machine.
    info->physicalMemory = HeldIn32Bits(physicalBytes);
    uint64_t megabytes = (physicalBytes + 360000) / 1000000;
    if (megabytes & 1) --megabytes;
    info->ramMegabytes = uint32_t(megabytes);
    info->pageFile = HeldIn32Bits(pageFileBytes);
    info->virtualMemory = HeldIn32Bits(virtualBytes);
}

void ApplyHardDisk(EquipmentInfo* info, uint64_t bytes)
{
    if (info->hardDisks < 10) info->hardDiskSizes[info->hardDisks] = HeldIn32Bits(bytes);
    ++info->hardDisks;
}

uint32_t NearestStandardSpeed(uint32_t clock)
{
    static const uint32_t kSpeeds[] = {16, 20, 25, 33, 40, 50, 60, 66, 75, 80, 90, 100, 120, 133, 150, 166, 175, 200};
    // Widen a window around the clock one MHz a step; the first list entry at either edge
    // wins, so distance decides and the lower speed (earlier in the list) wins a tie.
    for (uint64_t low = clock, high = clock; low > 0; --low, ++high) {
        for (uint32_t speed : kSpeeds)
            if (speed == low || speed == high) return speed;
    }
    return 0;
}

// Performance index of a clock for a CPU type; 0 for a type without a formula.
static float CpuPower(uint32_t cpuType, uint32_t clock)
{
    const double mhz = double(clock);
    switch (cpuType) {
    case 386: return float((mhz - 16) * 0.0475 + 0.64);
    case 486: return float((mhz - 16) * 0.0625 + 1.09);
    case 586: return float((mhz - 60) * 0.067 + 7.58);
    default: return 0.0f;
    }
}

// The external clock of a 486 implied by its measured clock (doubled and tripled parts).
static uint32_t Cpu486BaseFrequency(uint32_t clock)
{
    switch (clock) {
    case 40: return 20;
    case 50: return 25;
    case 66: return 33;
    case 75: return 25;
    case 80: return 40;
    case 100: return 33;
    default: return clock;
    }
}

void ApplyCpuTiming(EquipmentInfo* info, uint32_t bestMs)
{
    const uint32_t type = info->cpuType;
    if (type != 386 && type != 486 && type != 586) return;
    const uint32_t clock = uint32_t(7200.0 / double(bestMs < 1 ? 1 : bestMs));
    info->cpuClocked = clock;
    info->cpuPower = CpuPower(type, clock);
    info->cpuSpeed = NearestStandardSpeed(clock);
    info->cpuBaseFrequency = type == 486 ? Cpu486BaseFrequency(clock) : clock;
    info->cpuBasePower = CpuPower(type, info->cpuBaseFrequency);
}

uint32_t FunctionKeyCount(int keyboardType, int reportedFunctionKeys)
{
    uint32_t keys = 10;
    if (keyboardType == 2 || keyboardType == 4) keys = 12;
    if (keyboardType == 6) keys = 24;
    if (reportedFunctionKeys > 0 && uint32_t(reportedFunctionKeys) > keys) keys = uint32_t(reportedFunctionKeys);
    return keys;
}

void ApplyWindowsVersion(EquipmentInfo* info, uint32_t version)
{
    info->windowsVersion = float(version & 0xFF) + float((version >> 8) & 0xFF) / 100.0f;
    const uint32_t high = version >> 16;
    if (!(version & 0x80000000u)) {
        info->platform = 'N';
        info->windowsBuild = float(high);
    } else {
        info->windowsBuild = float(high & 0x7FFF);
        info->platform = (version & 0xFF) >= 4 ? '9' : 'S';
    }
}

void ApplyPortName(EquipmentInfo* info, const char* portName)
{
    const uint32_t number = PortNumberIn(portName, "1234");
    if (ContainsNoCase(portName, "COM") && number >= 1 && number <= 4) info->comPresent[number - 1] = 1;
    if (ContainsNoCase(portName, "LPT") && number >= 1 && number <= 3) info->lptPresent[number - 1] = 1;
}
