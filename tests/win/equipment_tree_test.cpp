// The device tree under HKEY_LOCAL_MACHINE\ENUM with the fixture machines of
// tests/fixtures/machines imported by regedit: walks over the live registry and over the
// snapshot give the same answers, and the start-up inventory fills the record.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "equipment/classifiers.h"
#include "equipment/enum_tree.h"
#include "equipment/inventory.h"
#include "services/drives.h"
#include "test_windows.h"
#include "wine_env.h"

namespace {
void RemoveMachine()
{
    for (const char* key : {"Enum", "System\\CurrentControlSet\\Services\\Class\\Modem",
                            "System\\CurrentControlSet\\control\\MediaResources\\joystick"})
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, key);
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, "Enum");
}

// Imports a fixture machine with regedit, as a user would, and removes it at the end of the
// test (later tests of the run share the prefix).
struct Machine {
    explicit Machine(const std::string& name)
    {
        const std::string source = std::string(__FILE__).substr(0, std::string(__FILE__).rfind("win/"));
        PROCESS_INFORMATION regedit;
        if (StartProcess("regedit.exe /S \"" + UnixToWindowsPath(source + "fixtures/machines/" + name + ".reg") + "\"",
                         &regedit))
            EndHelperProcess(&regedit, 30000);
    }
    ~Machine() { RemoveMachine(); }
};

// regedit answers 0 even for a file it could not read: look at what arrived.
std::string ValueOf(const char* key, const char* name)
{
    char text[256] = {};
    DWORD length = sizeof text - 1;
    if (RegGetValueA(HKEY_LOCAL_MACHINE, key, name, RRF_RT_REG_SZ, nullptr, text, &length) != ERROR_SUCCESS) return "<missing>";
    return text;
}

// Runs an inventory stage into a record of the test's own.
EquipmentInfo RunInventory(void (*stage)(HWND owner))
{
    EquipmentInfo info = {};
    EquipmentInfo* saved = gEquipmentInfo;
    gEquipmentInfo = &info;
    stage(nullptr);
    gEquipmentInfo = saved;
    return info;
}

EquipmentInfo RunStage(const DeviceTree& tree)
{
    EquipmentInfo info = {};
    DeviceRecord scratch;
    RunRegistrySteps(RegistryContext{tree, ReadRegistryFacts(), &scratch, &info}, nullptr, nullptr);
    return info;
}

}  // namespace

TEST(EnumTree, LiveWalksAndSnapshotAgreeOnEveryMachine)
{
    struct Case { const char *machine, *key, *description; } cases[] = {{"isa486", "Enum\\Root\\*PNP0906\\0000", "Tseng Labs ET4000"},
                 {"pentium_pci", "Enum\\PCI\\VEN_5333&DEV_8811\\BUS_00&DEV_0A&FUNC_00", "S3 Trio32/64 PCI"},
                 {"empty", "Enum\\Root\\*PNP0906\\0000", "<missing>"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.machine);
        Machine machine(c.machine);
        ASSERT_EQ(ValueOf(c.key, "DeviceDesc"), c.description);
        EnumSnapshot snapshot;
        ReadEnumSnapshot(&snapshot);
        // The live walker and the snapshot answer every walk, read and count alike.
        for (int field = kMatchInstance; field <= kMatchAnyName; ++field) {
            for (const char* pattern : {"", "3", "pnp05", "display", "CHILD", "zzz"}) {
                for (int action : {kWalkCollect, kWalkFind}) {  // collecting also counts
                    SCOPED_TRACE(std::string("\"") + pattern + "\" field " + std::to_string(field) + " action " +
                                 std::to_string(action));
                    DeviceRecord live[64] = {}, held[64] = {};
                    ASSERT_EQ(WalkEnumTree(pattern, field, live, 64, action),
                              SnapshotWalk(snapshot, pattern, field, held, 64, action));
                    ASSERT_EQ(memcmp(live, held, sizeof live), 0);
                }
            }
        }
        DeviceRecord live = {}, held = {};
        for (const char* path : {"ENUM\\BIOS\\*PNP0501\\0A", "Enum\\Root\\*pnp0501\\0000", "ENUM\\Root\\*PNP0C01\\0000",
                                 "ENUM\\Monitor\\Default_Monitor\\0001", "ENUM\\BIOS\\*PNP0400\\00", "ENUM\\HTREE\\RESERVED\\0"}) {
            SCOPED_TRACE(path);
            EXPECT_EQ(ReadDeviceRecord(&live, path), SnapshotReadRecord(snapshot, &held, path));
            EXPECT_EQ(memcmp(&live, &held, sizeof live), 0);
        }
        for (const char* path : {"ENUM", "ENUM\\MF", "ENUM\\Root\\MEDIA", "ENUM\\NONE"})
            EXPECT_EQ(uint32_t(CountSubkeys(path)), SnapshotCountSubkeys(snapshot, path)) << path;
        const EquipmentInfo liveInfo = RunStage(LiveDeviceTree()), heldInfo = RunStage(SnapshotTree(&snapshot));
        EXPECT_EQ(memcmp(&liveInfo, &heldInfo, sizeof liveInfo), 0);
    }
}

// The defaults each classifier keeps without a tree are checked natively over the empty
// machine; here what the live stage gathers from the running system.
TEST(EnumTree, WithoutTheEnumKeyTheStageTakesWhatTheSystemReports)
{
    RemoveMachine();
    ASSERT_EQ(WalkEnumTree("", kMatchInstance, nullptr, 0, kWalkCount), 0);
    const EquipmentInfo info = RunInventory(ReadRegistryEquipment);
    EXPECT_EQ(info.videoClass, 3u);  // Wine reports no slow machine, and no bus was found
    EXPECT_EQ(info.fpuPresent, 1u);  // without the tree, the running system's floating-point unit counts
}

TEST(GetAllEquipment, FillsTheRecordFromTheRegistryAndTheSystem)
{
    Machine machine("pentium_pci");
    ASSERT_EQ(ValueOf("System\\CurrentControlSet\\Services\\Class\\Modem\\0000", "AttachedTo"), "COM2");
    const EquipmentInfo info = RunInventory(GetAllEquipment);
    // Registry stage (every rule is checked over snapshots of the same machine natively); an
    // x64 processor (type 8664) of family 5 or later is of the 586 class, so it is timed.
    EXPECT_EQ(std::string(info.modem) + "|" + info.videoCard + "|" + info.mouse + "|" + std::to_string(info.cpuType),
              "U.S. Robotics Sportster 28800|S3 Trio32/64 PCI|Microsoft PS/2 Port Mouse|586");
    EXPECT_GT(info.cpuClocked, 0u);
    EXPECT_GE(info.cpuSpeed, 16u);
    // Measurement stage: drives as the harness maps them (C:, D:, F:, G: fixed, A:
    // removable, E: CD-ROM), answered for A: by the vwin32 substitute.
    EXPECT_EQ(std::vector<uint32_t>({info.hardDisks, info.floppyDrives, info.cdromDrives}), std::vector<uint32_t>({4, 1, 1}));
    const uint64_t bytesOnG = DriveTotalBytes('G');  // the fourth fixed drive
    EXPECT_EQ(info.hardDiskSizes[3], bytesOnG > 0xFFFFFFFFu ? 0xFFFFFFFFu : uint32_t(bytesOnG));
    EXPECT_FLOAT_EQ(info.floppyKinds[0].capacity, 1.44f);
    EXPECT_FLOAT_EQ(info.floppyKinds[0].formFactor, 3.5f);
    MEMORYSTATUSEX memory = {sizeof memory};
    ASSERT_TRUE(GlobalMemoryStatusEx(&memory));
    EXPECT_EQ(info.physicalMemory, memory.ullTotalPhys > 0xFFFFFFFFu ? 0xFFFFFFFFu : uint32_t(memory.ullTotalPhys));
    EXPECT_STREQ(info.pcName, "Default Computer");
    EXPECT_EQ(info.platform, 'N');  // Wine reports Windows 7 SP1 by default
    EXPECT_FLOAT_EQ(info.windowsBuild, 7601.0f);
}
