#include <windows.h>

#include "equipment/inventory.h"

#include "equipment/enum_snapshot.h"
#include "equipment/enum_tree.h"
#include "platform/processor_class.h"
#include "services/alloc.h"
#include "services/debug_trace.h"
#include "services/registry.h"
#include "ui/splash.h"

void GetAllEquipment(HWND owner)
{
    if (!gEquipmentInfo) return;
    ReadRegistryEquipment(owner);
    ReadMeasuredEquipment(owner);
}

RegistryFacts ReadRegistryFacts()
{
    RegistryFacts facts = {};
    facts.processorType = SystemProcessorClass();
    facts.bios = ReadSystemBios();
    facts.systemHasFpu = SystemHasFpu() ? 1 : 0;
    facts.slowMachine = uint32_t(GetSystemMetrics(SM_SLOWMACHINE));
    ListPresentDevices(&facts.systemDevices);
    DWORD joysticks = 0;
    facts.hasJoystickValue = RegReadValue(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\control\\MediaResources\\joystick",
                                          "JoyNumDevs", &joysticks, sizeof joysticks);
    return facts;
}

static void AnnounceRegistryStep(const char* name)
{
    DebugTrace(kTraceString, "Registry...", name);
}

void ReadRegistryEquipment(HWND owner)
{
    if (!gEquipmentInfo) return;
    DeviceRecord* scratch = static_cast<DeviceRecord*>(AllocChecked(GPTR, sizeof(DeviceRecord)));
    // The stage makes well over a hundred walks and probes: all of them go to one copy of
    // the tree read here, not to the registry.
    EnumSnapshot snapshot;
    ReadEnumSnapshot(&snapshot);
    const DeviceTree tree = SnapshotTree(&snapshot);
    const RegistryFacts facts = ReadRegistryFacts();
    RunRegistrySteps(RegistryContext{tree, facts, scratch, gEquipmentInfo}, AnnounceRegistryStep, SplashStep);
    GlobalFree(scratch);
}
