#include "hardware/problem_rules.h"

#include <cstring>

#include "services/dates.h"

uint32_t EstimatePowerWatts(const EquipmentInfo& info)
{
    constexpr uint32_t kMemoryCapWatts = 32;
    uint32_t watts = 20;  // motherboard
    const uint32_t memory = info.ramMegabytes / 2;
    watts += memory < kMemoryCapWatts ? memory : kMemoryCapWatts;
    watts += 3 * (info.ideControllers + info.pciDiskController + info.vlDiskController + info.eisaDiskController);
    watts += 5;  // video card
    uint32_t ports = info.ps2Port + info.gamePort;
    for (uint32_t present : info.comPresent) ports += present;
    for (uint32_t present : info.lptPresent) ports += present;
    for (uint32_t present : info.ecpPresent) ports += present;
    watts += ports * 3 / 2;
    watts += 5 * info.floppyDrives + 5 * info.hardDisks + 7 * info.cdromDrives;
    if (info.soundCard[0]) watts += 5;
    if (info.scsiAdapters || info.busTypes.flags[11]) watts += 10;
    if (info.modem[0]) watts += 6;
    return watts;
}

bool BiosDateIsLbaCompatible(const char* dateText)
{
    if (!dateText || !strpbrk(dateText, "0123456789")) return false;
    uint32_t day = 0, month = 0, year = 0;
    ParseDateText(dateText, &day, &month, &year);
    // ParseDateText gives years since 1900 for four digits and keeps two digits as written.
    if (year < 80) year += 100;
    return year >= 93;
}

bool SwapDriveIsFull(uint64_t physicalBytes, uint64_t freeBytes, uint64_t swapFileBytes)
{
    const uint64_t room = freeBytes + swapFileBytes;
    if (room < freeBytes) return false;  // past 64 bits
    return physicalBytes > room;
}

static uint16_t Word(const uint8_t* block, size_t offset)
{
    return uint16_t(block[offset] | block[offset + 1] << 8);
}

DeviceParameters ReadDeviceParameters(const uint8_t* block, size_t length)
{
    DeviceParameters p = {};
    if (length < 32) return p;
    p.deviceType = block[1];
    p.attributes = Word(block, 2);
    p.cylinders = Word(block, 4);
    p.bytesPerSector = Word(block, 7);
    p.sectorsPerCluster = block[9];
    p.fatCount = block[12];
    p.rootEntries = Word(block, 13);
    p.totalSectors = Word(block, 15);
    p.sectorsPerFat = Word(block, 18);
    p.sectorsPerTrack = Word(block, 20);
    p.heads = Word(block, 22);
    p.largeTotalSectors = uint32_t(Word(block, 28)) | uint32_t(Word(block, 30)) << 16;
    return p;
}

HardDiskFaults HardDiskFaultsOf(const DeviceParameters* parameters)
{
    if (!parameters) {
        HardDiskFaults all = {false, true, true, true, true, true, true, true, true, true};
        return all;
    }
    const DeviceParameters& p = *parameters;
    const uint64_t sectors = p.totalSectors ? p.totalSectors : p.largeTotalSectors;
    const uint64_t clusters = sectors / (p.sectorsPerCluster ? p.sectorsPerCluster : 1);
    HardDiskFaults f = {};
    f.notHardDisk = p.deviceType != kFixedDiskDeviceType;
    f.fat = p.fatCount < 2;
    f.fatSize = p.sectorsPerFat == 0 && clusters <= kMaxFat16Clusters;
    f.heads = p.heads == 0;
    f.cylinders = p.cylinders == 0;
    f.sectorSize = p.bytesPerSector == 0;
    f.clusterSize = p.sectorsPerCluster == 0;
    f.rootFull = p.rootEntries >= 513;
    f.totalSectors = uint32_t(p.totalSectors) + p.largeTotalSectors == 0;
    f.trackSize = p.sectorsPerTrack == 0;
    return f;
}

FloppyFindings FloppyFindingsOf(const FloppyTestResults& results)
{
    FloppyFindings f = {};
    const FloppyDriveResults& a = results.drives[0];
    const FloppyDriveResults& b = results.drives[1];
    f.noFloppyDrives = !a.tested && !b.tested;
    f.invalidDriveType = a.tested != b.tested;
    for (const FloppyDriveResults& d : results.drives) {
        if (!d.tested) continue;
        f.notAccessible |= d.notAccessible;
        f.resetFailed |= d.resetFailed;
        f.lastOperationFailed |= d.statusFailed;
        f.diskAccessFailed |= d.accessFailed;
        f.changeLineHigh |= d.changeLineHigh;
        f.changeLineLow |= d.changeLineLow;
    }
    return f;
}
