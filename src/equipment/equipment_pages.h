// The plain view of EquipmentInfo: ten summary pages of seven report lines each (caption
// field "C...", a tab, value field "Y...").
#pragma once
#include <cstddef>
#include <cstdint>

#include "equipment/equipment_info.h"
#include "services/report_slot.h"

constexpr int kEquipmentPageCount = 10;
constexpr int kEquipmentPageLines = 7;  // each one report slot of kReportLineSlot bytes

// Drive letters A: to G: as page 4 shows them.
constexpr int kPageDriveCount = 7;

// What the pages show besides EquipmentInfo, asked when the page is shown.
struct PageFacts {
    uint32_t memoryLoad;                   // page 2: percent, from the live sample
    uint32_t driveTypes[kPageDriveCount];  // page 4: system drive type of A: to G:
    uint32_t biosTypes[kPageDriveCount];   // page 4: BIOS type of a removable drive
    uint64_t driveBytes[kPageDriveCount];  // page 4: total bytes of a fixed drive
};

// System drive types the pages tell apart.
enum PageDriveType { kDriveRemovable = 2, kDriveFixed = 3, kDriveCdRom = 5 };

// The names of the set flags of a bus or controller set, each followed by a blank, in the
// order ISA EISA MCA PCI VLB/VESA APIC Cyrix PCMCIA-Intel PCMCIA-Cirrus PCMCIA-VLSI. One
// static buffer, overwritten by each call.
const char* FormatTypeSet(const TypeFlagSet& set);

// The seven lines of page (0..9) into lines; text values are shortened for the report
// column (ShortenAtBreakText).
void FormatEquipmentPage(const EquipmentInfo& info, const PageFacts& facts, int page,
                         char lines[kEquipmentPageLines][kReportLineSlot]);
