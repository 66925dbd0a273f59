// The problem solver's rules over figures: the power estimate, the BIOS date, the swap
// drive, device-parameter blocks, the floppy findings, and the processor, FPU and memory
// self-tests on the machine running the tests.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "hardware/cpu_self_test.h"
#include "hardware/problem_rules.h"

TEST(EstimatePowerWatts, AddsEachTermAndCapsTheMemory)
{
    EquipmentInfo bare = {};
    EXPECT_EQ(EstimatePowerWatts(bare), 25u);  // motherboard and video card

    // One row per term over the bare machine.
    struct Row {
        const char* name;
        void (*set)(EquipmentInfo&);
        uint32_t watts;
    } rows[] = {
        {"16 MB", [](EquipmentInfo& e) { e.ramMegabytes = 16; }, 8},
        {"63 MB", [](EquipmentInfo& e) { e.ramMegabytes = 63; }, 31},  // 31.5 truncated
        {"64 MB", [](EquipmentInfo& e) { e.ramMegabytes = 64; }, 32},
        {"16 GB", [](EquipmentInfo& e) { e.ramMegabytes = 16384; }, 32},
        {"disk controllers", [](EquipmentInfo& e) { e.ideControllers = 2; e.pciDiskController = 1; e.vlDiskController = 1; e.eisaDiskController = 1; }, 15},
        {"five ports", [](EquipmentInfo& e) { e.comPresent[3] = 1; e.lptPresent[2] = 1; e.ecpPresent[0] = 1; e.ps2Port = 1; e.gamePort = 1; }, 7},  // 7.5 truncated
        {"drives", [](EquipmentInfo& e) { e.floppyDrives = 1; e.hardDisks = 2; e.cdromDrives = 1; }, 22},
        {"sound card", [](EquipmentInfo& e) { strcpy(e.soundCard, "Card"); }, 5},
        {"SCSI adapter", [](EquipmentInfo& e) { e.scsiAdapters = 2; }, 10},
        {"SCSI bus", [](EquipmentInfo& e) { e.busTypes.flags[11] = 1; }, 10},
        {"modem", [](EquipmentInfo& e) { strcpy(e.modem, "Modem"); }, 6},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EquipmentInfo e = {};
        row.set(e);
        EXPECT_EQ(EstimatePowerWatts(e), 25u + row.watts);
    }

    // A full machine of today stays below the overload mark; one of 1995 too.
    EquipmentInfo today = {};
    today.ramMegabytes = 16384;
    today.ideControllers = 2;
    today.hardDisks = 2;
    today.cdromDrives = 1;
    strcpy(today.soundCard, "Card");
    EXPECT_LT(EstimatePowerWatts(today), kOverloadedPowerWatts);
}

TEST(BiosDateIsLbaCompatible, ReadsTwoDigitYearsBelow80AsThisCentury)
{
    const struct { const char* date; bool compatible; } cases[] = {
        {"07/15/94", true},   {"07/15/93", true},   {"07/15/92", false}, {"01/01/80", false},
        {"07/15/19", true},   {"03/14/19", true},   {"12/31/00", true},  {"06/01/2021", true},
        {"03/14/1992", false}, {"JAN 15 1995", true}, {"", false},        {"unknown", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.date);
        EXPECT_EQ(BiosDateIsLbaCompatible(c.date), c.compatible);
    }
    EXPECT_FALSE(BiosDateIsLbaCompatible(nullptr));
}

TEST(SwapDriveIsFull, ComparesSizesPastFourGigabytes)
{
    const uint64_t GB = 1ull << 30;
    EXPECT_TRUE(SwapDriveIsFull(16 * GB, 10 * GB, 5 * GB));
    EXPECT_FALSE(SwapDriveIsFull(16 * GB, 10 * GB, 6 * GB));  // exactly room for it
    EXPECT_FALSE(SwapDriveIsFull(8 * GB, 300 * GB, 0));       // would wrap in 32 bits
    EXPECT_TRUE(SwapDriveIsFull(5 * GB, 1 * GB, 3 * GB));     // 4 GB of room reads 0 in 32 bits
    EXPECT_FALSE(SwapDriveIsFull(UINT64_MAX, UINT64_MAX, 2)); // a sum past 64 bits is room
}

namespace {

// A device-parameter block as the DOS call fills it.
std::string Block(uint8_t type, uint16_t cylinders, uint8_t sectorsPerCluster, uint16_t rootEntries,
                  uint16_t totalSectors, uint16_t sectorsPerFat, uint32_t largeTotalSectors)
{
    std::string b(kDeviceParameterBlockLength, '\0');
    auto word = [&](size_t at, uint16_t v) { b[at] = char(v & 0xFF); b[at + 1] = char(v >> 8); };
    b[1] = char(type);
    word(2, 1);
    word(4, cylinders);
    word(7, 512);
    b[9] = char(sectorsPerCluster);
    b[12] = 2;
    word(13, rootEntries);
    word(15, totalSectors);
    word(18, sectorsPerFat);
    word(20, 63);
    word(22, 255);
    for (int i = 0; i < 4; ++i) b[28 + i] = char(largeTotalSectors >> (8 * i));
    return b;
}

HardDiskFaults FaultsOf(const std::string& block)
{
    const DeviceParameters p = ReadDeviceParameters(reinterpret_cast<const uint8_t*>(block.data()), block.size());
    return HardDiskFaultsOf(&p);
}

}  // namespace

TEST(HardDiskFaultsOf, ReadsTheFieldsAtTheirOffsetsAndKnowsFat32)
{
    const HardDiskFaults healthy = FaultsOf(Block(5, 1000, 8, 512, 0, 256, 16000000));
    EXPECT_FALSE(healthy.notHardDisk || healthy.fat || healthy.fatSize || healthy.heads || healthy.cylinders ||
                 healthy.sectorSize || healthy.clusterSize || healthy.rootFull || healthy.totalSectors ||
                 healthy.trackSize);
    EXPECT_EQ(ReadDeviceParameters(reinterpret_cast<const uint8_t*>(Block(5, 0, 8, 0, 0, 0, 0x01020304).data()), 288).largeTotalSectors,
              0x01020304u);

    // No FAT size on a volume of more than 65,524 clusters is FAT32, not a fault; on a
    // smaller one it is.
    EXPECT_FALSE(FaultsOf(Block(5, 1000, 8, 512, 0, 0, 8 * 65525)).fatSize);
    EXPECT_TRUE(FaultsOf(Block(5, 1000, 8, 512, 0, 0, 8 * 65524)).fatSize);
    EXPECT_TRUE(FaultsOf(Block(5, 1000, 8, 512, 40000, 0, 0)).fatSize);

    const HardDiskFaults odd = FaultsOf(Block(7, 0, 0, 513, 0, 9, 0));
    EXPECT_TRUE(odd.notHardDisk && odd.cylinders && odd.clusterSize && odd.rootFull && odd.totalSectors);

    const HardDiskFaults failed = HardDiskFaultsOf(nullptr);
    EXPECT_FALSE(failed.notHardDisk);
    EXPECT_TRUE(failed.fat && failed.fatSize && failed.trackSize && failed.totalSectors);
}

TEST(FloppyFindingsOf, OneRemovableDriveIsAnInvalidTypeNotNoFloppy)
{
    FloppyTestResults onlyA = {};
    onlyA.drives[0].tested = true;
    FloppyFindings f = FloppyFindingsOf(onlyA);
    EXPECT_TRUE(f.invalidDriveType);
    EXPECT_FALSE(f.noFloppyDrives);

    FloppyTestResults none = {};
    f = FloppyFindingsOf(none);
    EXPECT_TRUE(f.noFloppyDrives);
    EXPECT_FALSE(f.invalidDriveType);

    // Failures of a drive that is not there are not findings.
    FloppyTestResults both = {};
    both.drives[0].tested = true;
    both.drives[1].tested = true;
    both.drives[1].changeLineLow = true;
    none.drives[1].resetFailed = true;
    EXPECT_TRUE(FloppyFindingsOf(both).changeLineLow);
    EXPECT_FALSE(FloppyFindingsOf(both).invalidDriveType);
    EXPECT_FALSE(FloppyFindingsOf(none).resetFailed);
}

TEST(SelfTests, PassOnAHealthyProcessorAndMemory)
{
    const CpuRegisterResults r16 = TestCpuRegisters();
    EXPECT_FALSE(r16.ffffFailed);
    EXPECT_FALSE(r16.zeroFailed);
    EXPECT_FALSE(r16.walkingZeroFailed);
    EXPECT_FALSE(r16.walkingOneFailed);
    EXPECT_FALSE(r16.flagsFailed);
    const CpuRegisterResults r32 = TestCpuRegisters32();
    EXPECT_FALSE(r32.ffffFailed || r32.zeroFailed || r32.walkingZeroFailed || r32.walkingOneFailed);
    const FpuResults fpu = TestFpu();
    EXPECT_FALSE(fpu.addFailed);
    EXPECT_FALSE(fpu.subtractFailed);
    EXPECT_FALSE(fpu.multiplyFailed);
    EXPECT_FALSE(fpu.divideFailed);
    const MemoryResults m = TestMemory();
    EXPECT_FALSE(m.stuckBitFailed || m.parityFailed || m.weakBitFailed || m.verifyFailed || m.patternFailed ||
                 m.walkingOneFailed || m.walkingZeroFailed);
}
