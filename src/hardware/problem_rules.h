// The rules of the problem solver's configuration and diagnostic checks that compute a
// verdict from figures alone: the power estimate, the BIOS date, the swap drive, the fields
// of a DOS device-parameter block and what they say about a disk, and the findings of the
// floppy drive tests. Portable; the Win32 checks gather the figures and call these.
#pragma once
#include <cstddef>
#include <cstdint>

#include "equipment/equipment_info.h"

// The whole-watt estimate of what the machine draws: motherboard 20, memory 0.5 W per MB
// (at most 32 W: memory modules draw a few watts each however large they are, so a
// machine with gigabytes is not "overloaded"), disk controllers 3 each, video card 5, I/O
// ports 1.5 each, floppy and hard drives 5 each, CD-ROM drives 7 each, a sound card 5, a
// SCSI card 10, an internal modem 6. Fractions are dropped term by term.
uint32_t EstimatePowerWatts(const EquipmentInfo& info);

// The estimate from which the power supply counts as overloaded.
constexpr uint32_t kOverloadedPowerWatts = 201;

// Whether a BIOS of the date text (as ParseDateText reads it) is recent enough to address
// large disks by logical block (from 1993). A two-digit year below 80 is 20xx: "07/15/19"
// is 2019. A text without any digit (empty, unset) gives no date and fails.
bool BiosDateIsLbaCompatible(const char* dateText);

// Whether the drive of the swap file cannot hold a swap file as large as physical memory:
// physical memory is more than the drive's free bytes plus the swap file's present size.
// 64-bit figures; a sum past 64 bits counts as room enough.
bool SwapDriveIsFull(uint64_t physicalBytes, uint64_t freeBytes, uint64_t swapFileBytes);

// The length of the parameter block of the DOS generic IOCTL "get device parameters".
constexpr size_t kDeviceParameterBlockLength = 288;

// The fields of a device-parameter block the checks look at.
struct DeviceParameters {
    uint8_t deviceType;          // 5: fixed disk
    uint16_t attributes;         // 2: removable with change line
    uint16_t cylinders;
    uint16_t bytesPerSector;
    uint8_t sectorsPerCluster;
    uint8_t fatCount;
    uint16_t rootEntries;
    uint16_t totalSectors;       // 0 when the count needs the large field
    uint16_t sectorsPerFat;      // 0 for a FAT32 volume, which keeps the count elsewhere
    uint16_t sectorsPerTrack;
    uint16_t heads;
    uint32_t largeTotalSectors;
};

// Reads the fields from a block of at least 32 bytes (little-endian, unaligned).
DeviceParameters ReadDeviceParameters(const uint8_t* block, size_t length);

// The device type of a fixed disk in the block.
constexpr uint8_t kFixedDiskDeviceType = 5;

// The hard disk faults a device-parameter block shows, one per check; a drive whose
// parameters could not be read has them all except notHardDisk.
struct HardDiskFaults {
    bool notHardDisk;     // a type other than fixed disk
    bool fat;             // fewer than two FATs
    bool fatSize;         // no FAT size on a volume small enough to keep it here
    bool heads;
    bool cylinders;
    bool sectorSize;
    bool clusterSize;
    bool rootFull;        // 513 or more root directory entries
    bool totalSectors;
    bool trackSize;
};

// The largest number of clusters a FAT of 16-bit entries can address; a volume with more
// is FAT32 (or not FAT at all), which leaves the block's FAT size 0.
constexpr uint32_t kMaxFat16Clusters = 65524;

// The faults of one fixed drive: parameters is null when the call failed.
HardDiskFaults HardDiskFaultsOf(const DeviceParameters* parameters);

// Floppy drive test results of one drive (A: or B:).
struct FloppyDriveResults {
    bool tested;             // the letter is a removable drive
    bool notAccessible;      // the BIOS drive type call failed or named no floppy drive
    bool notReady;           // the equipment record knows no capacity for it
    bool resetFailed;
    bool statusFailed;       // the status of the last operation is not 0
    bool accessFailed;       // the verify of the first sector reported an error
    bool accessTested;       // the verify ran in this test (it runs once per process)
    bool changeLineHigh;     // the drive reports no change line
    bool changeLineLow;      // the device parameters do not report a change line
};

struct FloppyTestResults {
    FloppyDriveResults drives[2];  // A:, B:
};

// The findings of the floppy diagnostics from the test results.
struct FloppyFindings {
    bool noFloppyDrives;         // neither A: nor B: is removable
    bool notAccessible;
    bool invalidDriveType;       // one of A: and B: is removable and the other is not
    bool resetFailed;
    bool lastOperationFailed;
    bool diskAccessFailed;
    bool changeLineHigh;
    bool changeLineLow;
};
FloppyFindings FloppyFindingsOf(const FloppyTestResults& results);
