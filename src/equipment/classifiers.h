// The registry stage of the equipment inventory: each classifier reads the device tree
// and writes its fields of EquipmentInfo. Steps run in a fixed order, since later ones read
// what earlier ones wrote (the video card step reads the video bus).
#pragma once
#include <cstdint>
#include <vector>

#include "equipment/device_tree.h"
#include "equipment/equipment_info.h"
#include "platform/system_bios.h"
#include "platform/system_devices.h"

// What the registry stage takes from outside the device tree.
struct RegistryFacts {
    uint32_t processorType;  // the system's processor class (386, 486, 586, or anything else)
    uint32_t slowMachine;    // the system's slow-machine metric; bit value 4 means no acceleration
    int hasJoystickValue;    // the joystick media resource's "JoyNumDevs" value can be read
    SystemBios bios;         // the BIOS as the system reports it, where the tree has no motherboard
    int systemHasFpu;        // the system reports a floating-point unit; used where the tree has no motherboard
    // The devices the system lists as present; where the tree has no motherboard they
    // count the disk controllers and SCSI adapters and name the system devices the tree
    // would have held.
    std::vector<PresentDevice> systemDevices;
};

struct RegistryContext {
    const DeviceTree& tree;
    const RegistryFacts& facts;
    DeviceRecord* scratch;  // the one record the probes of fixed key paths reuse
    EquipmentInfo* info;
};

// One step: its trace name, its classifier (none for "Start" and "Done") and whether the
// start-up splash steps after it.
struct RegistryStep {
    const char* name;
    void (*classify)(const RegistryContext& context);
    bool stepsSplash;
};

constexpr int kRegistryStepCount = 24;
extern const RegistryStep kRegistrySteps[kRegistryStepCount];

// Runs every step in order; announce (may be null) is called with each step's name before
// it runs, splash (may be null) after each step that steps the splash.
void RunRegistrySteps(const RegistryContext& context, void (*announce)(const char* name), void (*splash)());

// The monitor fields: defaults ("Default Monitor", 15 inches, 0.28 mm, 800 pixels), then
// the first instance of ENUM\Monitor\Default_Monitor\0000..001E names the monitor and the
// model table gives its figures.
void IdentifyMonitor(const RegistryContext& context);
