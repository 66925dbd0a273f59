// The measurement-stage rules, modem speeds and the summary pages.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "equipment/equipment_pages.h"
#include "equipment/measure_rules.h"
#include "equipment/modem_ports.h"
#include "equipment/modem_speed.h"
#include "platform/processor_class.h"

TEST(MeasureRules, CpuTimingMemoryAndPorts)
{
    struct Case { uint32_t type, bestMs, clocked, speed, base; float power, basePower; } cases[] = {
        {486, 109, 66, 66, 33, 4.215f, 2.1525f},    // (66 - 16) x 0.0625 + 1.09; base 33
        {486, 102, 70, 66, 70, 4.465f, 4.465f},     // 70 has no external clock of its own
        {586, 114, 63, 60, 63, 7.781f, 7.781f},     // 63: as near 60 as 66, the lower wins
        {586, 0, 7200, 200, 7200, 485.96f, 485.96f},  // no time measured: no division by it
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
    const uint32_t clocks[][2] = {{8, 0}, {9, 16}, {187, 175}, {188, 200}, {250, 200}};
    for (const auto& clock : clocks) EXPECT_EQ(NearestStandardSpeed(clock[0]), clock[1]) << clock[0];

    // Memory past 4 GB is held at the field's limit, while RAM in MB (rounded, even) is true.
    for (const auto& m : {std::vector<uint64_t>{4293000000u, 4293000000u, 4292}, {17179869184ull, 4294967295u, 17180}}) {
        EquipmentInfo info = {};
        ApplyMemoryTotals(&info, m[0], 1ull << 33, 0x7FFFFFFEull);
        EXPECT_EQ(std::vector<uint64_t>({info.physicalMemory, info.ramMegabytes, info.pageFile, info.virtualMemory}),
                  std::vector<uint64_t>({m[1], m[2], 4294967295u, 0x7FFFFFFEu})) << m[0];
    }
    // Disk sizes: 4 GiB is held, not wrapped to 0; the eleventh drive is counted but not recorded.
    EquipmentInfo disks = {};
    ApplyHardDisk(&disks, 4294967296ull);
    for (int i = 0; i < 10; ++i) ApplyHardDisk(&disks, 1000 + i);
    EXPECT_EQ(std::vector<uint32_t>(disks.hardDiskSizes, disks.hardDiskSizes + 10),
              std::vector<uint32_t>({4294967295u, 1000, 1001, 1002, 1003, 1004, 1005, 1006, 1007, 1008}));
    EXPECT_EQ(disks.hardDisks, 11u);
    EquipmentInfo info = {};  // ports past COM4 and LPT3 are not recorded
    for (const char* port : {"COM2:", "com4", "COM10:", "COM5:", "LPT3:", "LPT4:", "FILE:", "PORT1 LPT"}) ApplyPortName(&info, port);
    EXPECT_EQ(std::vector<uint32_t>(info.comPresent, info.comPresent + 4), std::vector<uint32_t>({0, 1, 0, 1}));
    EXPECT_EQ(std::vector<uint32_t>(info.lptPresent, info.lptPresent + 3), std::vector<uint32_t>({1, 0, 1}));
    EXPECT_EQ(PortNumberIn("COM19999999999", "1234"), 4294967295u);
}

TEST(ProcessorClass, TheTypeWindows95ReportsOrTheFamilyOfAnX86Processor)
{
    struct Case { uint32_t type; bool isX86; uint32_t family, processorClass; } cases[] = {
        {386, true, 0, 386}, {486, false, 0, 486}, {586, true, 6, 586},  // the class itself, as Windows 95 reports it
        {8664, true, 25, 586}, {8664, true, 6, 586}, {8664, true, 5, 586},  // x64 today
        {8664, true, 4, 486}, {8664, true, 3, 386},
        {8664, true, 0, 0},   // no family reported: no class
        {2577, false, 8, 0},  // not an x86 processor: its level is no x86 family
    };
    for (const Case& c : cases)
        EXPECT_EQ(ProcessorClassOf(c.type, c.isX86, c.family), c.processorClass) << c.type << " family " << c.family;
}

TEST(ModemSpeed, ReadsTheCodesOfARepliesAndNames)
{
    struct Case { std::string reply; uint32_t speed; } cases[] = {
        {"ATI0\r\n14400\r\nOK\r\n", 14400}, {"ATI0\r\nOK\r\n", 0},
        {std::string("96\0" "14", 5), 14400},  // the zero byte does not end the reply; "14" is later in the list
        {std::string(255, 'x') + "28800", 0},  // beyond the bytes read
        {std::string(250, 'x') + "28800", 28800},
    };
    for (const Case& c : cases) EXPECT_EQ(ModemSpeedInReply(c.reply.data(), c.reply.size()), c.speed) << c.reply.substr(0, 20);
    EXPECT_EQ(SpeedFromModemName("U.S. Robotics Sportster 28800"), 28800u);
    EXPECT_EQ(SpeedFromModemName("Hayes 14400 / 2400"), 2400u);  // first code in list order
}

TEST(ModemPorts, EachPortIsJudgedOnItsOwnStepsAndANonTestFails)
{
    const ModemPortSteps closed = {}, unprepared = {true}, unwritten = {true, true},
                         silent = {true, true, true}, unread = {true, true, true, true},
                         nameless = {true, true, true, true, true, 0}, modem = {true, true, true, true, true, 28800},
                         slow = {true, true, true, true, true, 2400};
    struct Case {
        const char* label;
        ModemPortSteps ports[kModemPortCount];
        uint32_t speeds[kModemPortCount];
        int result;
    } cases[] = {
        {"a modem on COM2 after a failing COM1", {silent, modem, closed, closed}, {0, 28800, 0, 0}, 1},
        {"two modems, the rest skipped", {unprepared, modem, closed, slow}, {0, 28800, 0, 2400}, 0},
        {"no port could be tested", {closed, unprepared, closed, unprepared}, {0, 0, 0, 0}, 1},
        {"every kind of failure", {unwritten, silent, unread, nameless}, {0, 0, 0, 0}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        uint32_t speeds[kModemPortCount] = {1, 1, 1, 1};  // every port is written, also to 0
        EXPECT_EQ(JudgeModemPorts(c.ports, speeds), c.result);
        EXPECT_EQ(std::vector<uint32_t>(speeds, speeds + kModemPortCount), std::vector<uint32_t>(c.speeds, c.speeds + kModemPortCount));
    }
}

// A summary page's lines, each ended by a line feed, with the colour code shown as "^".
std::string PageText(const EquipmentInfo& info, int page)
{
    char lines[kEquipmentPageLines][kReportLineSlot];
    memset(lines, '#', sizeof lines);
    FormatEquipmentPage(info, PageFacts{}, page, lines);
    std::string text;
    for (auto& line : lines) text += std::string(line) + "\n";
    std::replace(text.begin(), text.end(), '\x01', '^');
    return text;
}

TEST(EquipmentPages, PutTheColourCodeBeforeEachCaptionAndValueAndHeldFiguresAsLowerBounds)
{
    EquipmentInfo info = {};
    info.comPresent[0] = info.comPresent[1] = info.comPresent[2] = info.comPresent[3] = info.ecpPresent[1] = 1;
    strcpy(info.modem, "Sportster 14400");
    EXPECT_EQ(PageText(info, 6), "^CSerial ports\t^YCOM1 COM2 COM3\n^CParallel ports\t^Y\n^CECP ports\t^YLPT2 \n"
                                 "^CGame ports\t^Y0\n^CPS/2 ports\t^Y0\n^CModem\t^YSportster 14400\n^CModem speed\t^Y14400\n");
    ApplyMemoryTotals(&info, 25769803776ull, 6442450944ull, 2147483648ull);  // 24 GiB, 6 GiB, 2 GiB
    EXPECT_EQ(PageText(info, 2), "^CLoad\t^Y0%\n^CRAM\t^Y25770 MB\n^CRAM\t^Y>4,294,967,295 bytes\n^CPage File\t^Y>4194 MB\n"
                                 "^CPage File\t^Y>4,294,967,295\n^CVirtual\t^Y2,097 MB\n^CVirtual\t^Y2,147,483,648\n");
}
