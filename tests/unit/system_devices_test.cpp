// The devices the running system lists: how their ids and classes are matched, and what the
// registry stage takes from them where the Windows 95 device tree has no motherboard.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "equipment/classifiers.h"
#include "equipment/enum_snapshot.h"
#include "platform/system_devices.h"

namespace {
PresentDevice Device(const char* deviceClass, std::vector<std::string> ids)
{
    PresentDevice device;
    device.deviceClass = deviceClass;
    device.hardwareIds = std::move(ids);
    return device;
}

// The fields the system's devices may fill, over a tree with or without a motherboard.
std::string SystemDeviceFields(const EnumSnapshot& tree, const std::vector<PresentDevice>& devices)
{
    EquipmentInfo info = {};
    DeviceRecord scratch;
    RegistryFacts facts = {586, 0, 0};
    facts.systemDevices = devices;
    const DeviceTree device = SnapshotTree(&tree);
    RunRegistrySteps(RegistryContext{device, facts, &scratch, &info}, nullptr, nullptr);
    std::string flags;
    for (const TypeFlagSet* set : {&info.interruptTypes, &info.timerTypes, &info.dmaTypes}) {
        flags += flags.empty() ? "" : " ";
        for (int i = 1; i < 20; ++i) flags += char('0' + set->flags[i]);
    }
    return flags + " ide=" + std::to_string(info.ideControllers) + " fdc=" + std::to_string(info.floppyControllers) +
           " scsi=" + std::to_string(info.scsiAdapters);
}

// One instance "ENUM\Root\<deviceId>\0000" of class deviceClass.
SnapshotEnumerator RootDevices(const std::vector<std::pair<std::string, std::string>>& devices)
{
    SnapshotEnumerator root{"Root", {}};
    for (const auto& d : devices) {
        SnapshotInstance instance{"0000", {}};
        ResetDeviceRecord(&instance.record, ("ENUM\\Root\\" + d.first + "\\0000").c_str());
        SetDeviceRecordValue(&instance.record, 0, d.second.c_str());  // "Class"
        root.devices.push_back(SnapshotDevice{d.first, {instance}});
    }
    return root;
}
}  // namespace

TEST(HasPnpId, TakesTheIdAloneOrUnderOneEnumerator)
{
    const struct { std::vector<std::string> ids; const char* pnpId; bool has; } cases[] = {
        {{"*PNP0200"}, "*PNP0200", true},
        {{"ROOT\\LEGACY", "acpi\\pnp0200"}, "*PNP0200", true},  // any id of the list, without case
        {{"ACPI\\PNP02001"}, "*PNP0200", false},
        {{"ACPI\\PNP0200\\1"}, "*PNP0200", false},
        {{"X\\ACPI\\PNP0200"}, "*PNP0200", false},
        {{"PNP0200", "\\PNP0200"}, "*PNP0200", false},
        {{"ACPI\\PNP0200"}, "PNP0200", false},  // asked for without the tree's star
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ids.back() + " for " + c.pnpId);
        EXPECT_EQ(HasPnpId(Device("System", c.ids), c.pnpId), c.has);
    }
}

TEST(RegistryStage, TakesControllersAndSystemDevicesFromTheSystemOnlyWithoutTheTree)
{
    const std::vector<PresentDevice> modern = {
        Device("System", {"ACPI\\PNP0000", "*PNP0000"}), Device("System", {"ACPI\\PNP0100", "*PNP0100"}),
        Device("System", {"ACPI\\PNP0200", "*PNP0200"}), Device("System", {"ACPI\\PNP0103"}),
        Device("hdc", {"PCI\\VEN_8086&DEV_7111"}),       Device("HDC", {"Internal_IDE_Channel"}),
        Device("hdc", {"Internal_IDE_Channel"}),         Device("fdc", {"ACPI\\PNP0700", "*PNP0700"}),
        Device("SCSIAdapter", {"PCI\\VEN_1000&DEV_0030"}), Device("SCSIAdapters", {}), Device("DiskDrive", {}),
    };
    const std::vector<PresentDevice> apicOnly = {Device("System", {"*PNP0003"}), Device("System", {"ACPI\\PNP0001"})};

    EnumSnapshot none;                        // no ENUM key at all
    EnumSnapshot empty;                       // an ENUM key without a motherboard
    empty.enumerators.push_back(RootDevices({{"*PNP0700", "fdc"}, {"*PNP0701", "fdc"}}));
    EnumSnapshot win95;                       // a Windows 95 tree: its motherboard, an ISA timer
    win95.enumerators.push_back(RootDevices({{"*PNP0100", "System"}, {"*PNP0C01", "System"}}));
    const struct { const char* name; const EnumSnapshot& tree; std::vector<PresentDevice> devices; const char* fields; } cases[] = {
        {"modern system", none, modern,
         "1000000000000000000 1000000000000000000 1000000000000000000 ide=3 fdc=1 scsi=1"},
        {"APIC and EISA controllers", none, apicOnly,
         "0101000000000000000 0000000000000000000 0000000000000000000 ide=0 fdc=0 scsi=0"},
        // The tree's own count stands; the system fills only what it left at zero.
        {"tree without motherboard", empty, modern,
         "1000000000000000000 1000000000000000000 1000000000000000000 ide=3 fdc=2 scsi=1"},
        {"Windows 95 tree", win95, modern,
         "0000000000000000000 1000000000000000000 0000000000000000000 ide=0 fdc=0 scsi=0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(SystemDeviceFields(c.tree, c.devices), c.fields);
    }
}
