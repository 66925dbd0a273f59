// The start-up inventory of the machine's equipment into EquipmentInfo: a registry stage
// that classifies the device tree, then a measurement stage that asks the system and
// times the processor. Runs once on the primary thread before any other thread exists.
#pragma once
#include <windows.h>

#include <cstdint>

#include "equipment/classifiers.h"

// Runs ReadRegistryEquipment, then ReadMeasuredEquipment; owner owns any box.
void GetAllEquipment(HWND owner);

// The registry stage: reads the device tree once into a snapshot and runs every
// classifier over it, each step traced ("Registry...") and the splash stepped.
void ReadRegistryEquipment(HWND owner);

// What the registry stage takes from the system besides the device tree.
RegistryFacts ReadRegistryFacts();

// The measurement stage: disks, memory, CPU speed, mouse, keyboard, computer name,
// printers, ports, versions and sound devices, each step traced ("Static Data...").
void ReadMeasuredEquipment(HWND owner);

// Times 16-bit divisions at real-time priority and fills the five CPU clock and power
// fields; needs the CPU type, and fills nothing for a type other than 386, 486 or 586.
void MeasureCpuSpeed();

// The BIOS drive type of drive index (0 for A:) from interrupt 13h function 08h; 0 when
// the call fails.
uint32_t BiosDriveType(uint32_t index);
