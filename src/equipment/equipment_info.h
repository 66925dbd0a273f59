// The detected-hardware record, filled once at start-up (registry stage, then measurement
// stage) and read by every hardware tool, the status report and the sampling tick. Nothing
// writes it to disk. Written only during start-up and by the on-demand probes (joysticks,
// modems); everyone reads it without a lock.
#pragma once
#include <cstddef>
#include <cstdint>

// Bus and controller flags, indexed 0..19: 1 ISA, 2 EISA, 3 MCA, 4 APIC, 5 Cyrix, 6 PCI,
// 7 VLB/VESA, 8 PCMCIA-Intel, 9 PCMCIA-Cirrus, 10 PCMCIA-VLSI, 11 SCSI (bus types only).
struct TypeFlagSet {
    uint32_t flags[20];
};

struct FloppyKind {
    float capacity;    // 360.0 or 720.0 (KB), or 1.2, 1.44, 2.88 (MB); 0 unknown
    float formFactor;  // 5.25 or 3.5 inches; 0 unknown
};

struct EquipmentInfo {
    char pcName[256];
    char biosDate[256];
    char biosName[256];
    char biosVersion[256];
    uint32_t cpuType;          // 386, 486, 586 or 0
    uint32_t fpuPresent;
    uint32_t cpuSpeed;         // nominal MHz
    uint32_t cpuBaseFrequency;
    float cpuBasePower;
    uint32_t cpuClocked;       // measured MHz
    float cpuPower;
    TypeFlagSet dmaTypes;
    uint32_t scsiIdsInUse[8];
    TypeFlagSet interruptTypes;
    TypeFlagSet busTypes;
    TypeFlagSet timerTypes;
    uint32_t physicalMemory;   // bytes
    uint32_t ramMegabytes;     // always even
    uint32_t pageFile;         // bytes
    uint32_t virtualMemory;    // bytes
    uint32_t ideControllers;
    uint32_t pciDiskController;
    uint32_t vlDiskController;
    uint32_t eisaDiskController;
    uint32_t floppyControllers;
    uint32_t scsiAdapters;
    uint32_t hardDisks;        // fixed drives A: to Z:
    uint32_t cdromDrives;
    uint32_t floppyDrives;     // removable drives A: to Z:
    uint32_t hardDiskSizes[10];
    FloppyKind floppyKinds[10];
    char cdromInterface;       // 'I' IDE, 'S' SCSI, 'P' proprietary, 0 none
    char videoCard[256];
    char videoBus;             // 'P' PCI, 'V' VL/VESA, 'E' EISA, 0 ISA
    uint32_t videoClass;       // 1..5; 1 is an unaccelerated card
    char monitor[256];
    float monitorSize;         // inches
    float dotPitch;            // mm
    uint32_t monitorResolution;
    float screenArea;          // square inches
    uint32_t comUartKinds[4];  // 1 standard, 2 16550A-compatible, 0 none
    uint32_t comPresent[4];
    uint32_t gamePort;
    uint32_t lptPresent[3];
    uint32_t ecpPresent[3];
    uint32_t ps2Port;
    char modem[256];
    uint32_t modemSpeed[4];    // bits per second per COM port
    uint32_t keys;
    uint32_t functionKeys;
    char keyboard[128];
    char mouse[128];
    uint32_t mouseButtons;
    uint32_t joysticks;
    char soundCard[128];
    char mciDevice[128];
    char waveIn[128];
    char waveOut[128];
    char auxAudio[128];
    char midiIn[128];
    char midiOut[128];
    float windowsVersion;      // major + minor / 100
    float windowsBuild;
    char platform;             // 'N' NT, '9' Windows 95, 'S' Win32s
    char printers[20][132];
    uint8_t reserved[368];     // pads the record to its allocated size
};

constexpr size_t kEquipmentInfoLength = 6636;
static_assert(sizeof(EquipmentInfo) == kEquipmentInfoLength, "EquipmentInfo is 6636 bytes");

extern EquipmentInfo* gEquipmentInfo;
