// The registry stage without the Windows 95 device tree: the disk controllers, SCSI adapters
// and system devices come from the devices the running system lists.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "equipment/inventory.h"
#include "platform/system_devices.h"

TEST(RegistryStage, WithoutTheTreeCountsWhatTheSystemLists)
{
    HKEY enumKey;
    ASSERT_NE(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Enum", 0, KEY_READ, &enumKey), ERROR_SUCCESS) << "a device tree is present";
    std::vector<PresentDevice> devices;
    ASSERT_TRUE(ListPresentDevices(&devices));
    EquipmentInfo info = {};
    EquipmentInfo* saved = gEquipmentInfo;
    gEquipmentInfo = &info;
    ReadRegistryEquipment(nullptr);
    gEquipmentInfo = saved;
    // Wine lists no disk controller, SCSI adapter, interrupt controller, timer or DMA
    // controller: each field stays 0, as it does without the system's help.
    EXPECT_EQ(CountDevicesOfClass(devices, "hdc") + CountDevicesOfClass(devices, "fdc") +
                  CountDevicesOfClass(devices, "SCSIAdapter"), 0u);
    EXPECT_EQ(std::vector<uint32_t>({info.ideControllers, info.floppyControllers, info.scsiAdapters}),
              std::vector<uint32_t>({0, 0, 0}));
    for (const char* id : {"*PNP0000", "*PNP0001", "*PNP0002", "*PNP0003", "*PNP0004", "*PNP0100", "*PNP0101",
                           "*PNP0102", "*PNP0200", "*PNP0201", "*PNP0202"})
        EXPECT_FALSE(AnyDeviceHasPnpId(devices, id)) << id;
    const TypeFlagSet none = {};
    for (const TypeFlagSet* set : {&info.interruptTypes, &info.timerTypes, &info.dmaTypes})
        EXPECT_EQ(memcmp(set, &none, sizeof none), 0);
}
