// What the disk substitute answers for a drive, worked out from what the running system
// reports about it: its type, the medium's size and geometry, cluster and sector sizes.
// Portable: the Win32 substitute (vwin32_substitute.h) asks the system and calls these.
#pragma once
#include <cstddef>
#include <cstdint>

// One drive as the running system reports it.
struct DiskFacts {
    bool isRemovable;           // a removable drive (else fixed or RAM disk)
    int mediaType;              // the system's disk-geometry media type; 0 when not reported
    uint32_t cylinders;         // disk geometry; 0 when not reported
    uint32_t heads;
    uint32_t sectorsPerTrack;
    uint32_t bytesPerSector;    // from the drive's free-space figures; 0 when not reported
    uint32_t sectorsPerCluster;
    uint32_t totalClusters;
};

// Standard floppy formats by BIOS drive type.
struct FloppyFormat {
    uint32_t biosType;       // 1 360 KB, 2 1.2 MB, 3 720 KB, 4 1.44 MB, 5 2.88 MB
    uint8_t deviceType;      // the DOS device-parameter type: 0, 1, 2, 7, 9
    uint16_t cylinders;
    uint8_t heads;
    uint8_t sectorsPerTrack;
    uint8_t sectorsPerCluster;
    uint16_t rootEntries;
    uint8_t mediaDescriptor;
    uint16_t sectorsPerFat;
};

// The format of a BIOS drive type (6 reads as 5); null for any other type.
const FloppyFormat* FloppyFormatOf(uint32_t biosType);

// The BIOS drive type of a removable drive: from the reported media type when it names a
// floppy format (360 KB and smaller 5.25" media 1, 1.2 MB 2, 720 KB 3, 1.44 MB 4, 2.88 MB 5),
// else from the size of the medium when that is a floppy size, else 4, the common 1.44 MB
// 3.5" drive (a removable drive of another kind has no BIOS floppy type of its own).
uint32_t BiosFloppyType(const DiskFacts& facts);

// Length of the part of the DOS device-parameter block that is filled.
constexpr size_t kDeviceParametersLength = 32;

// Fills the DOS device-parameter block (generic IOCTL 0x0860) for the drive: byte 1
// device type, word 2 attributes (2: removable with change line; 1: fixed), word 4
// cylinders, then the BIOS parameter block at 7 (bytes per sector, sectors per cluster,
// reserved sectors, FAT count, root entries, total sectors, media descriptor, sectors per
// FAT, sectors per track, heads, hidden sectors, large total sectors at 28). Byte 0 (the
// caller's special functions) is kept; nothing past size is written.
void FillDeviceParameters(const DiskFacts& facts, uint8_t* block, size_t size);
