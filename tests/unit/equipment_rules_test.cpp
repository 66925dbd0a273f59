// The measurement-stage rules, modem speeds, the summary pages and the disk answers of the
// vwin32 substitute.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "equipment/equipment_pages.h"
#include "equipment/measure_rules.h"
#include "equipment/modem_speed.h"
#include "platform/disk_answers.h"

TEST(MeasureRules, CpuTimingMemoryAndPorts)
{
    struct Case { uint32_t type, bestMs, clocked, speed, base; float power, basePower; } cases[] = {
        {486, 109, 66, 66, 33, 4.215f, 2.1525f},    // (66 - 16) x 0.0625 + 1.09; base 33
        {486, 102, 70, 66, 70, 4.465f, 4.465f},     // 70 has no external clock of its own
        {586, 114, 63, 60, 63, 7.781f, 7.781f},     // 63: as near 60 as 66, the lower wins
        {586, 0, 7200, 200, 7200, 485.96f, 485.96f},  // no time measured: no division by it
        {8664, 100, 0, 0, 0, 0, 0},                 // no formula: every field stays 0
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.type) + " in " + std::to_string(c.bestMs) + " ms");
        EquipmentInfo info = {};
        info.cpuType = c.type;
        ApplyCpuTiming(&info, c.bestMs);
        EXPECT_EQ(std::vector<uint32_t>({info.cpuClocked, info.cpuSpeed, info.cpuBaseFrequency}),
                  std::vector<uint32_t>({c.clocked, c.speed, c.base}));
        EXPECT_NEAR(info.cpuPower, c.power, 1e-3);
        EXPECT_NEAR(info.cpuBasePower, c.basePower, 1e-3);
    }
    // The window widens only while its low edge is above 0: below 9 MHz it never reaches 16.
    const uint32_t clocks[][2] = {{8, 0}, {9, 16}, {18, 16}, {45, 40}, {141, 133}, {187, 175}, {188, 200}, {250, 200}};
    for (const auto& clock : clocks) EXPECT_EQ(NearestStandardSpeed(clock[0]), clock[1]) << clock[0];

    for (const auto& m : {std::vector<uint64_t>{16777216, 16777216, 16}, {8000000, 8000000, 8}, {5368709120ull, 4294967295u, 5368}}) {
        EquipmentInfo info = {};
        ApplyMemoryTotals(&info, m[0], 1ull << 33, 0x7FFFFFFEull);
        EXPECT_EQ(std::vector<uint64_t>({info.physicalMemory, info.ramMegabytes, info.pageFile, info.virtualMemory}),
                  std::vector<uint64_t>({m[1], m[2], 4294967295u, 0x7FFFFFFEu})) << m[0];
    }
    EquipmentInfo info = {};  // ports past COM4 and LPT3 are not recorded
    for (const char* port : {"COM2:", "com4", "COM10:", "COM5:", "LPT3:", "LPT4:", "FILE:", "PORT1 LPT"}) ApplyPortName(&info, port);
    EXPECT_EQ(std::vector<uint32_t>(info.comPresent, info.comPresent + 4), std::vector<uint32_t>({0, 1, 0, 1}));
    EXPECT_EQ(std::vector<uint32_t>(info.lptPresent, info.lptPresent + 3), std::vector<uint32_t>({1, 0, 1}));
    EXPECT_EQ(PortNumberIn("COM19999999999", "1234"), 4294967295u);
}

TEST(ModemSpeed, ReadsTheCodesOfARepliesAndNames)
{
    struct Case { std::string reply; uint32_t speed; } cases[] = {
        {"ATI0\r\n14400\r\nOK\r\n", 14400}, {"28800", 28800}, {"1200", 1200}, {"ATI0\r\nOK\r\n", 0},
        {std::string("96\0" "14", 5), 14400},  // the zero byte does not end the reply; "14" is later in the list
        {std::string(255, 'x') + "28800", 0},  // beyond the bytes read
        {std::string(250, 'x') + "28800", 28800},
    };
    for (const Case& c : cases) EXPECT_EQ(ModemSpeedInReply(c.reply.data(), c.reply.size()), c.speed) << c.reply.substr(0, 20);
    EXPECT_EQ(SpeedFromModemName("U.S. Robotics Sportster 28800"), 28800u);
    EXPECT_EQ(SpeedFromModemName("Hayes 14400 / 2400"), 2400u);  // first code in list order
    EXPECT_EQ(SpeedFromModemName("Standard Modem"), 0u);
}

TEST(EquipmentPages, FormatsEachPage)
{
    EquipmentInfo info = {};
    strcpy(info.pcName, "Default Computer");
    strcpy(info.biosName, "Award Modular BIOS version 4.51PG");
    info.busTypes.flags[1] = info.busTypes.flags[6] = info.busTypes.flags[4] = info.busTypes.flags[11] = 1;
    info.comPresent[0] = info.comPresent[1] = info.comPresent[2] = info.comPresent[3] = info.ecpPresent[1] = 1;
    strcpy(info.modem, "Sportster 14400");
    info.physicalMemory = 16777216;
    info.ramMegabytes = 16;
    info.pageFile = 4294967295u;
    PageFacts facts = {};
    facts.memoryLoad = 45;
    // The colour code before captions and values shows as "^". The drive page is read back under Wine.
    struct Case { int page; const char* text; } cases[] = {
        {0, "^CPC name\t^YDefault Computer\n^CBIOS name\t^YAward Modular\n^CBIOS date\t^Y\n^CBIOS version\t^Y\n"
            "^CBUS types\t^YISA PCI APIC \n^CDMA types\t^Y\n^CPIC types\t^Y\n"},
        {2, "^CLoad\t^Y45%\n^CRAM\t^Y16 MB\n^CRAM\t^Y16,777,216 bytes\n^CPage File\t^Y4194 MB\n^CPage File\t^Y4,294,967,295\n"
            "^CVirtual\t^Y0 MB\n^CVirtual\t^Y0\n"},
        {6, "^CSerial ports\t^YCOM1 COM2 COM3\n^CParallel ports\t^Y\n^CECP ports\t^YLPT2 \n^CGame ports\t^Y0\n^CPS/2 ports\t^Y0\n"
            "^CModem\t^YSportster 14400\n^CModem speed\t^Y14400\n"},
    };
    for (const Case& c : cases) {
        char lines[kEquipmentPageLines][kEquipmentLineLength];
        memset(lines, '#', sizeof lines);
        FormatEquipmentPage(info, facts, c.page, lines);
        std::string text;
        for (auto& line : lines) text += std::string(line) + "\n";
        std::replace(text.begin(), text.end(), '\x01', '^');
        EXPECT_EQ(text, c.text) << c.page;
    }
}

TEST(DiskAnswers, DeviceParametersAndBiosTypesOfFloppyAndFixedDrives)
{
    struct Field { int offset, length; uint32_t value; };  // bytes, little-endian
    struct Case { const char* name; DiskFacts facts; std::vector<Field> fields; } cases[] = {
        // A 1.44 MB diskette as the system reports it: 2847 clusters of one 512-byte sector.
        {"diskette", {true, 2, 80, 2, 18, 512, 1, 2847},
         {{0, 1, 4}, {1, 1, 7}, {2, 2, 2}, {4, 2, 80}, {7, 2, 512}, {9, 1, 1}, {10, 2, 1}, {12, 1, 2}, {13, 2, 224},
          {15, 2, 2847}, {17, 1, 0xF0}, {18, 2, 9}, {20, 2, 18}, {22, 2, 2}, {24, 4, 0}, {28, 4, 0}, {32, 1, 0xEE}}},
        // A 100 GB fixed disk of 4 KB clusters without reported geometry: 209,715,200
        // sectors on 255 heads of 63 sectors, too many clusters for a 16-bit FAT.
        {"fixed disk", {false, 12, 0, 0, 0, 512, 8, 26214400},
         {{1, 1, 5}, {2, 2, 1}, {4, 2, 13054}, {7, 2, 512}, {9, 1, 8}, {15, 2, 0}, {17, 1, 0xF8}, {18, 2, 0},
          {20, 2, 63}, {22, 2, 255}, {24, 4, 63}, {28, 4, 209715200}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        uint8_t block[288];
        memset(block, 0xEE, sizeof block);
        block[0] = 4;  // the caller's special functions, which stay
        FillDeviceParameters(c.facts, block, sizeof block);
        for (const Field& f : c.fields) {
            uint32_t value = 0;
            for (int i = f.length - 1; i >= 0; --i) value = value << 8 | block[f.offset + i];
            EXPECT_EQ(value, f.value) << "offset " << f.offset;
        }
    }
    uint8_t small[4] = {1, 2, 3, 4};
    FillDeviceParameters(cases[1].facts, small, 3);  // never past the given size
    EXPECT_EQ(small[3], 4);
    // A removable drive's BIOS type: from its media type, else its medium's size, else the 1.44 MB drive.
    const uint32_t types[][4] = {{6, 0, 0, 1}, {1, 0, 0, 2}, {0, 2, 713, 3}, {0, 1, 2371, 2}, {0, 2, 2863, 5}, {11, 8, 1 << 20, 4}, {0, 0, 0, 4}};
    for (const auto& t : types) EXPECT_EQ(BiosFloppyType({true, int(t[0]), 0, 0, 0, 512, t[1], t[2]}), t[3]) << t[0] << "/" << t[2];
}
