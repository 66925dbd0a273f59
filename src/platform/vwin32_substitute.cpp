#include <windows.h>
#include <winioctl.h>

#include "platform/vwin32_substitute.h"

#include <cstdint>
#include <initializer_list>

#include "platform/disk_answers.h"

void Vwin32SetBlockAddress(Vwin32Registers* packet, void* block)
{
    const uint64_t address = reinterpret_cast<uintptr_t>(block);
    packet->edx = uint32_t(address);
    packet->esi = uint32_t(address >> 32);
}

void* Vwin32BlockAddress(const Vwin32Registers* packet)
{
    const uint64_t address = (uint64_t(packet->esi) << 32) | packet->edx;
    if (sizeof(void*) < sizeof(uint64_t) && (address >> 32)) return nullptr;  // not an address of this build
    return reinterpret_cast<void*>(uintptr_t(address));
}

// Whether length bytes at block are committed, writable memory of this process: the block
// address comes from the caller's registers and is never trusted blindly.
static bool IsWritableBlock(const void* block, size_t length)
{
    const DWORD kWritable = PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;
    const char* at = static_cast<const char*>(block);
    const char* end = at + length;
    while (at < end) {
        MEMORY_BASIC_INFORMATION region = {};
        if (!VirtualQuery(at, &region, sizeof region) || region.State != MEM_COMMIT || !(region.Protect & kWritable) ||
            (region.Protect & PAGE_GUARD))
            return false;
        at = static_cast<const char*>(region.BaseAddress) + region.RegionSize;
    }
    return true;
}

// GetDriveTypeA of "X:\": the platform stands below services/ and so asks the system itself.
static UINT RootDriveType(char letter)
{
    const char root[] = {letter, ':', '\\', '\0'};
    return GetDriveTypeA(root);
}

// Asks a drive about itself without the system's "insert a disk" box when a removable
// drive holds no medium.
static DiskFacts AskDrive(char letter)
{
    const UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS);
    DiskFacts facts = {};
    facts.isRemovable = RootDriveType(letter) == DRIVE_REMOVABLE;
    const char root[] = {letter, ':', '\\', '\0'};
    DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, totalClusters = 0;
    if (GetDiskFreeSpaceA(root, &sectorsPerCluster, &bytesPerSector, &freeClusters, &totalClusters)) {
        facts.sectorsPerCluster = sectorsPerCluster;
        facts.bytesPerSector = bytesPerSector;
        facts.totalClusters = totalClusters;
    }
    const char device[] = {'\\', '\\', '.', '\\', letter, ':', '\0'};
    HANDLE volume = CreateFileA(device, 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (volume != INVALID_HANDLE_VALUE) {
        DISK_GEOMETRY geometry = {};
        DWORD returned = 0;
        if (DeviceIoControl(volume, IOCTL_DISK_GET_DRIVE_GEOMETRY, nullptr, 0, &geometry, sizeof geometry, &returned,
                            nullptr) &&
            returned >= sizeof geometry) {
            facts.mediaType = int(geometry.MediaType);
            const LONGLONG cylinders = geometry.Cylinders.QuadPart;
            facts.cylinders = cylinders > 0xFFFFFFFFLL ? 0xFFFFFFFFu : uint32_t(cylinders);
            facts.heads = geometry.TracksPerCylinder;
            facts.sectorsPerTrack = geometry.SectorsPerTrack;
        }
        CloseHandle(volume);
    }
    SetErrorMode(oldMode);
    return facts;
}

static bool HasMedium(char letter)
{
    const char root[] = {letter, ':', '\\', '\0'};
    DWORD a, b, c, d;
    const UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS);
    const bool present = GetDiskFreeSpaceA(root, &a, &b, &c, &d) != 0;
    SetErrorMode(oldMode);
    return present;
}

static int Succeed(Vwin32Registers* packet, uint32_t ax)
{
    packet->eax = (packet->eax & 0xFFFF0000u) | ax;
    packet->flags &= ~1u;
    return 1;
}

// A call that cannot be answered returns 0 before anything is written, so the packet stays
// as it was, as when the device is missing.
static int AnswerInt13(Vwin32Registers* packet)
{
    const uint32_t function = (packet->eax >> 8) & 0xFF;
    const uint32_t index = packet->edx & 0xFF;
    const char letter = char('A' + index);
    const bool isFloppy = index < 26 && RootDriveType(letter) == DRIVE_REMOVABLE;
    if (function == 0x15) return Succeed(packet, isFloppy ? 0x0200 : 0);
    if (!isFloppy) return 0;
    switch (function) {
    case 0x00:
    case 0x01: return Succeed(packet, 0);
    case 0x04: return HasMedium(letter) ? Succeed(packet, packet->eax & 0xFF) : 0;
    case 0x08: {
        const uint32_t type = BiosFloppyType(AskDrive(letter));
        const FloppyFormat* format = FloppyFormatOf(type);
        const uint32_t lastCylinder = format->cylinders - 1u;
        uint32_t floppies = 0;
        for (char drive : {'A', 'B'}) floppies += RootDriveType(drive) == DRIVE_REMOVABLE ? 1 : 0;
        packet->ebx = (packet->ebx & 0xFFFFFF00u) | type;
        packet->ecx = (packet->ecx & 0xFFFF0000u) | ((lastCylinder & 0xFF) << 8) | ((lastCylinder >> 8) << 6) |
                      format->sectorsPerTrack;
        packet->edx = (packet->edx & 0xFFFF0000u) | (uint32_t(format->heads - 1) << 8) | floppies;
        return Succeed(packet, 0);
    }
    default: return 0;
    }
}

static int AnswerDeviceParameters(Vwin32Registers* packet)
{
    uint32_t number = packet->ebx & 0xFF;
    if (number == 0) {
        char current[MAX_PATH] = {};
        GetCurrentDirectoryA(sizeof current, current);
        number = (current[0] | 0x20) >= 'a' && (current[0] | 0x20) <= 'z' ? uint32_t((current[0] | 0x20) - 'a' + 1) : 0;
    }
    if (number < 1 || number > 26) return 0;
    const char letter = char('A' + number - 1);
    switch (RootDriveType(letter)) {
    case DRIVE_REMOVABLE:
    case DRIVE_FIXED:
    case DRIVE_RAMDISK: break;
    case DRIVE_CDROM:
    case DRIVE_REMOTE: return 0;
    default: return 0;
    }
    uint8_t* block = static_cast<uint8_t*>(Vwin32BlockAddress(packet));
    if (!block || !IsWritableBlock(block, kDeviceParametersLength)) return 0;
    FillDeviceParameters(AskDrive(letter), block, kDeviceParametersLength);
    return Succeed(packet, packet->eax & 0xFFFF);
}

int Vwin32Substitute(DWORD controlCode, Vwin32Registers* packet)
{
    if (controlCode == kVwin32Int13) return AnswerInt13(packet);
    if (controlCode == kVwin32DosIoctl && (packet->eax & 0xFFFF) == 0x440D && (packet->ecx & 0xFFFF) == 0x0860)
        return AnswerDeviceParameters(packet);
    return 0;
}
