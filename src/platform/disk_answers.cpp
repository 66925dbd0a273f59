#include "platform/disk_answers.h"

#include <cstring>

static const FloppyFormat kFloppyFormats[] = {
    {1, 0, 40, 2, 9, 2, 112, 0xFD, 2},
    {2, 1, 80, 2, 15, 1, 224, 0xF9, 7},
    {3, 2, 80, 2, 9, 2, 112, 0xF9, 3},
    {4, 7, 80, 2, 18, 1, 224, 0xF0, 9},
    {5, 9, 80, 2, 36, 2, 240, 0xF0, 9},
};

const FloppyFormat* FloppyFormatOf(uint32_t biosType)
{
    if (biosType == 6) biosType = 5;
    for (const FloppyFormat& format : kFloppyFormats)
        if (format.biosType == biosType) return &format;
    return nullptr;
}

// The system's media types for floppy formats (the disk-geometry MEDIA_TYPE values).
static uint32_t BiosTypeOfMedia(int mediaType)
{
    switch (mediaType) {
    case 1: return 2;   // 5.25" 1.2 MB
    case 2: return 4;   // 3.5" 1.44 MB
    case 3: return 5;   // 3.5" 2.88 MB
    case 5: return 3;   // 3.5" 720 KB
    case 6:             // 5.25" 360 KB
    case 7:             // 5.25" 320 KB
    case 8:
    case 9:             // 5.25" 180 KB
    case 10: return 1;  // 5.25" 160 KB
    default: return 0;
    }
}

uint32_t BiosFloppyType(const DiskFacts& facts)
{
    if (const uint32_t type = BiosTypeOfMedia(facts.mediaType)) return type;
    const uint64_t bytes = uint64_t(facts.totalClusters) * facts.sectorsPerCluster * facts.bytesPerSector;
    if (bytes == 0) return 4;
    if (bytes <= 368640) return 1;
    if (bytes <= 737280) return 3;
    if (bytes <= 1228800) return 2;
    if (bytes <= 1474560) return 4;
    if (bytes <= 2949120) return 5;
    return 4;
}

static void PutWord(uint8_t* block, size_t offset, uint32_t value)
{
    const uint16_t word = value > 0xFFFF ? 0xFFFF : uint16_t(value);
    block[offset] = uint8_t(word & 0xFF);
    block[offset + 1] = uint8_t(word >> 8);
}

static void PutLong(uint8_t* block, size_t offset, uint32_t value)
{
    for (int i = 0; i < 4; ++i) block[offset + i] = uint8_t(value >> (8 * i));
}

void FillDeviceParameters(const DiskFacts& facts, uint8_t* block, size_t size)
{
    uint8_t image[kDeviceParametersLength] = {};
    image[0] = size > 0 ? block[0] : 0;

    const FloppyFormat* floppy = facts.isRemovable ? FloppyFormatOf(BiosFloppyType(facts)) : nullptr;
    const uint32_t bytesPerSector = facts.bytesPerSector ? facts.bytesPerSector : 512;
    const uint32_t sectorsPerCluster = facts.sectorsPerCluster ? facts.sectorsPerCluster
                                       : floppy                ? floppy->sectorsPerCluster
                                                               : 8;
    uint64_t totalSectors = uint64_t(facts.totalClusters) * sectorsPerCluster;
    if (totalSectors == 0 && floppy)
        totalSectors = uint64_t(floppy->cylinders) * floppy->heads * floppy->sectorsPerTrack;
    if (totalSectors > 0xFFFFFFFFu) totalSectors = 0xFFFFFFFFu;

    // Geometry as reported, else the floppy format's, else the usual translated geometry
    // of a large fixed disk (255 heads, 63 sectors per track).
    uint32_t heads = facts.heads, sectorsPerTrack = facts.sectorsPerTrack, cylinders = facts.cylinders;
    if (!heads || !sectorsPerTrack) {
        heads = floppy ? floppy->heads : 255;
        sectorsPerTrack = floppy ? floppy->sectorsPerTrack : 63;
        cylinders = floppy ? floppy->cylinders : uint32_t(totalSectors / (uint64_t(heads) * sectorsPerTrack));
    }

    image[1] = floppy ? floppy->deviceType : 5;  // 5: fixed disk
    PutWord(image, 2, floppy ? 2 : 1);
    PutWord(image, 4, cylinders);
    PutWord(image, 7, bytesPerSector);
    image[9] = uint8_t(sectorsPerCluster > 0xFF ? 0 : sectorsPerCluster);
    PutWord(image, 10, 1);  // reserved sectors
    image[12] = 2;          // FATs
    PutWord(image, 13, floppy ? floppy->rootEntries : 512);
    PutWord(image, 15, totalSectors < 0x10000 ? uint32_t(totalSectors) : 0);
    image[17] = floppy ? floppy->mediaDescriptor : 0xF8;
    // A FAT of 16-bit entries for the clusters; too many clusters for one means FAT32,
    // which keeps this count elsewhere and leaves 0 here.
    uint32_t sectorsPerFat = floppy ? floppy->sectorsPerFat : 0;
    if (!floppy && facts.totalClusters < 65525)
        sectorsPerFat = (uint32_t(facts.totalClusters + 2) * 2 + bytesPerSector - 1) / bytesPerSector;
    PutWord(image, 18, sectorsPerFat);
    PutWord(image, 20, sectorsPerTrack);
    PutWord(image, 22, heads);
    PutLong(image, 24, floppy ? 0 : sectorsPerTrack);  // hidden sectors before the partition
    PutLong(image, 28, totalSectors < 0x10000 ? 0 : uint32_t(totalSectors));
    memcpy(block, image, size < sizeof image ? size : sizeof image);
}
