// The devices Wine's device manager lists, and what the registry stage takes from them
// where the Windows 95 device tree is absent.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "equipment/inventory.h"
#include "platform/system_devices.h"

TEST(ListPresentDevices, WinesDevicesFillNoControllerOrSystemDeviceField)
{
    HKEY enumKey;
    ASSERT_NE(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Enum", 0, KEY_READ, &enumKey), ERROR_SUCCESS) << "a device tree is present";
    std::vector<PresentDevice> devices;
    ASSERT_TRUE(ListPresentDevices(&devices));
    // Its virtual display and monitor among a handful of devices, each with a class.
    std::string classes;
    for (const PresentDevice& device : devices) classes += device.deviceClass.empty() ? "(none) " : device.deviceClass + " ";
    EXPECT_EQ(classes.find("(none)"), std::string::npos) << classes;
    EXPECT_EQ(CountDevicesOfClass(devices, "Display"), 1u) << classes;
    EXPECT_EQ(CountDevicesOfClass(devices, "Monitor"), 1u) << classes;

    // Wine lists no disk controller, SCSI adapter, interrupt controller, timer or DMA
    // controller, so these fields stay 0.
    EquipmentInfo info = {};
    EquipmentInfo* saved = gEquipmentInfo;
    gEquipmentInfo = &info;
    ReadRegistryEquipment(nullptr);
    gEquipmentInfo = saved;
    EXPECT_EQ(std::vector<uint32_t>({info.ideControllers, info.floppyControllers, info.scsiAdapters}),
              std::vector<uint32_t>({0, 0, 0}));
    const TypeFlagSet none = {};
    for (const TypeFlagSet* set : {&info.interruptTypes, &info.timerTypes, &info.dmaTypes})
        EXPECT_EQ(memcmp(set, &none, sizeof none), 0);
}
