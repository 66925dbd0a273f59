// Equipment calls that reach devices: the vwin32 substitute on the harness's drives, the
// processor timing, the summary pages in a real list box, and the joystick and modem
// probes with their boxes answered.
#include <gtest/gtest.h>

#include <algorithm>

#include <cstring>
#include <string>
#include <vector>

#include "box_watcher.h"
#include "equipment/equipment_page_list.h"
#include "equipment/equipment_probes.h"
#include "equipment/inventory.h"
#include "equipment/measure_rules.h"
#include "platform/vwin32_substitute.h"
#include "resources/ids_equipment.h"
#include "services/text_rules.h"
#include "wine_env.h"

namespace {
// Points gEquipmentInfo at a record of the test's own for the test's lifetime.
struct OwnRecord {
    OwnRecord() : saved(gEquipmentInfo) { gEquipmentInfo = &info; }
    ~OwnRecord() { gEquipmentInfo = saved; }
    EquipmentInfo info = {};
    EquipmentInfo* saved;
};

// Points COM1 of the prefix at another Unix file for the test's lifetime. Wine maps COM1
// to the host's first serial port, which a test must neither depend on nor write to.
struct ComPort1 {
    explicit ComPort1(const std::string& target)
    {
        const char* prefix = getenv("WINEPREFIX");
        link = std::string(prefix ? prefix : "/nonexistent") + "/dosdevices/com1";
        EXPECT_TRUE(RunHostCommand("mv -T " + link + " " + link + ".saved 2>/dev/null; ln -sfn " + target + " " + link));
    }
    ~ComPort1() { RunHostCommand("rm -f " + link + "; mv -T " + link + ".saved " + link + " 2>/dev/null; true"); }
    std::string link;
};

std::vector<SeenBox> AnsweredBoxes(int answer, void (*call)())
{
    BoxWatcher boxes(GetCurrentProcessId(), answer);
    call();
    return boxes.Boxes();
}
}  // namespace

TEST(Vwin32Substitute, AnswersBiosCallsForTheRemovableDrive)
{
    HANDLE device = CreateFileA("\\\\.\\vwin32", 0, 0, nullptr, OPEN_EXISTING, FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    ASSERT_EQ(device, INVALID_HANDLE_VALUE) << "the device exists: the substitute is not what answers";
    struct Case {
        uint32_t eax, drive;
        int result;
        uint32_t eax_, ebx_, ecx_, edx_;  // after the call
    } cases[] = {
        {0x0000, 0, 1, 0, 0, 0, 0}, {0x0100, 0, 1, 0, 0, 0, 0}, {0x0400, 0, 1, 0, 0, 0, 0},  // A: is the floppy
        {0x1500, 0, 1, 0x0200, 0, 0, 0},  // floppy with change line
        {0x1500, 2, 1, 0, 0, 0, 2},       // C: and no drive at all: no floppy
        {0x1500, 40, 1, 0, 0, 0, 40},
        // A folder as floppy has no floppy size: the 1.44 MB drive, last cylinder 79, 18
        // sectors, last head 1, one floppy drive.
        {0x0800, 0, 1, 0, 4, (79u << 8) | 18u, (1u << 8) | 1u},
        {0x0000, 2, 0, 0x0000, 0, 0, 2}, {0x0800, 4, 0, 0x0800, 0, 0, 4}, {0x2000, 0, 0, 0x2000, 0, 0, 0},  // refused
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.eax) + " drive " + std::to_string(c.drive));
        Vwin32Registers packet = {};
        packet.eax = c.eax;
        packet.edx = c.drive;
        EXPECT_EQ(Vwin32Call(kVwin32Int13, &packet), c.result);
        EXPECT_EQ(std::vector<uint32_t>({packet.eax, packet.ebx, packet.ecx, packet.edx, packet.flags}),
                  std::vector<uint32_t>({c.eax_, c.ebx_, c.ecx_, c.edx_, 0}));
    }
    EXPECT_EQ(BiosDriveType(0), 4u);
    EXPECT_EQ(BiosDriveType(2), 0u);
}

TEST(Vwin32Substitute, AnswersDeviceParametersFromTheDrivesFigures)
{
    static const char kReadOnly[64] = {};
    std::vector<uint8_t> block(288);
    struct Case {
        uint32_t drive;
        void* block;
        int result;
        uint8_t deviceType, attributes;
    } cases[] = {{3, block.data(), 1, 5, 1}, {1, block.data(), 1, 7, 2}, {7, block.data(), 1, 5, 1},
                 {5, block.data(), 0, 0, 0}, {17, block.data(), 0, 0, 0}, {27, block.data(), 0, 0, 0},
                 // The block's address comes from the registers: one outside writable memory is refused.
                 {3, nullptr, 0, 0, 0}, {3, reinterpret_cast<void*>(0x600000080ull), 0, 0, 0},
                 {3, const_cast<char*>(kReadOnly), 0, 0, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.drive) + " at " + std::to_string(uintptr_t(c.block)));
        std::fill(block.begin(), block.end(), 0);
        Vwin32Registers packet = {};
        packet.eax = 0x440D;
        packet.ecx = 0x0860;
        packet.ebx = c.drive;
        Vwin32SetBlockAddress(&packet, c.block);
        const Vwin32Registers before = packet;
        EXPECT_EQ(Vwin32Call(kVwin32DosIoctl, &packet), c.result);
        EXPECT_EQ(memcmp(&packet, &before, sizeof packet), 0);  // answered or refused, the registers stay
        if (!c.result) continue;
        EXPECT_EQ(block[1], c.deviceType);
        EXPECT_EQ(block[2], c.attributes);
        const char root[] = {char('A' + c.drive - 1), ':', '\\', '\0'};
        DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, totalClusters = 0;
        ASSERT_TRUE(GetDiskFreeSpaceA(root, &sectorsPerCluster, &bytesPerSector, &freeClusters, &totalClusters));
        EXPECT_EQ(uint32_t(block[7] | block[8] << 8), bytesPerSector);
        EXPECT_EQ(block[9], sectorsPerCluster);
    }
}

TEST(MeasureCpuSpeed, TimesTheDivisionsAtRealTimePriority)
{
    OwnRecord record;
    record.info.cpuType = 586;
    const DWORD started = GetTickCount();
    MeasureCpuSpeed();
    const DWORD took = GetTickCount() - started;
    EXPECT_GT(record.info.cpuClocked, 0u);
    EXPECT_LE(record.info.cpuClocked, 7200u);
    EXPECT_EQ(record.info.cpuSpeed, NearestStandardSpeed(record.info.cpuClocked));
    EXPECT_EQ(GetPriorityClass(GetCurrentProcess()), DWORD(NORMAL_PRIORITY_CLASS));
    EXPECT_LT(took, 2000u);
    printf("measured clock %u MHz in %lu ms for ten runs\n", unsigned(record.info.cpuClocked), took);
}

TEST(ShowEquipmentPage, CyclesThroughTenPagesInTheList)
{
    OwnRecord record;
    strcpy(record.info.printers[0], "Office Printer");
    record.info.cdromInterface = 'I';
    HWND parent = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr, nullptr, nullptr);
    HWND list = CreateWindowA("LISTBOX", "", WS_CHILD | LBS_HASSTRINGS, 0, 0, 300, 200, parent,
                              HMENU(IDC_EQUIPMENT_LIST), nullptr, nullptr);
    for (int i = 0; i < 7; ++i) SendMessageA(list, LB_ADDSTRING, 0, LPARAM("old"));
    auto next = [&]() {
        ShowEquipmentPage(parent);
        std::vector<std::string> lines(size_t(SendMessageA(list, LB_GETCOUNT, 0, 0)));
        for (size_t i = 0; i < lines.size(); ++i) {
            char line[300] = {};
            SendMessageA(list, LB_GETTEXT, i, LPARAM(line));
            lines[i] = line;
            // The colour codes before captions and values are checked by the page tests.
            lines[i].erase(std::remove(lines[i].begin(), lines[i].end(), '\x01'), lines[i].end());
        }
        return lines;
    };
    // The page count lives for the process: turn to the printers page first.
    for (int i = 0; i < 10 && next()[0] != "CPrinter\tYOffice Printer"; ++i) {
    }
    const char* const firstLines[] = {"CPC name\tY", "CCPU Type\tY0", "CLoad\tY0%", "CIDE\tY0 controller(s)",
                                      "CDrive A:\tYFD: 3.5\", 1.44MB", "CVideo Card\tY", "CSerial ports\tY",
                                      "CKeyboard\tY", "CSound Card\tY", "CPrinter\tYOffice Printer"};
    for (const char* first : firstLines) {
        const std::vector<std::string> lines = next();
        ASSERT_EQ(lines.size(), 7u);
        EXPECT_EQ(lines[0], first);
        if (lines[0].rfind("CDrive", 0) != 0) continue;
        char megabytes[kThousandsTextLength];
        FormatThousands(uint32_t(DriveTotalBytesWide('C') / 1024000), megabytes, sizeof megabytes);
        EXPECT_EQ(lines[1], "CDrive B:\tYNot found");
        EXPECT_EQ(lines[2], std::string("CDrive C:\tYHD: ") + megabytes + " MB");
        EXPECT_EQ(lines[4], "CDrive E:\tYCD: IDE");
    }
    DestroyWindow(parent);
}

TEST(CountJoysticks, AsksFirstAndCountsOnlyAnsweringJoysticks)
{
    OwnRecord record;
    record.info.joysticks = 2;
    record.info.gamePort = 1;
    const std::vector<SeenBox> declined = AnsweredBoxes(IDNO, [] { CountJoysticks(nullptr); });
    ASSERT_EQ(declined.size(), 1u);
    EXPECT_EQ(declined[0].caption + "|" + declined[0].text,
              "If this test hangs the program...|Testing the joystick can hang the program if you are using a "
              "non-standard mouse substitute. Continue with testing?");
    EXPECT_EQ(record.info.joysticks, 2u);  // declined: nothing changes
    EXPECT_EQ(AnsweredBoxes(IDYES, [] { CountJoysticks(nullptr); }).size(), 1u);
    EXPECT_EQ(record.info.joysticks, 0u);  // Wine lists joystick devices, none answers
}

TEST(ProbeModems, AsksWhenNoModemIsRegisteredAndProbesThePorts)
{
    OwnRecord record;
    record.info.modemSpeed[2] = 9600;
    static int result;
    const char* kModems = "System\\CurrentControlSet\\Services\\Class\\Modem";
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, kModems);
    const std::vector<SeenBox> declined = AnsweredBoxes(IDNO, [] { result = ProbeModems(nullptr); });
    ASSERT_EQ(declined.size(), 1u);
    EXPECT_EQ(declined[0].caption + "|" + declined[0].text,
              "No Modems Registered|No modems are currently registered with Windows 95. Running modem tests could "
              "hang this program. Continue with the tests anyway?");
    EXPECT_EQ(result, 0);
    EXPECT_EQ(record.info.modemSpeed[2], 9600u);  // declined: nothing changes

    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Services\\Class\\Modem\\0003", 0, nullptr,
                              0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(key, "AttachedTo", 0, REG_SZ, reinterpret_cast<const BYTE*>("COM3"), 5);
    RegCloseKey(key);
    // COM1 opens but takes no line settings and has no modem lines; the other ports do not
    // open: each is passed over without failure, and no box asks.
    ComPort1 port("/dev/null");
    EXPECT_TRUE(AnsweredBoxes(IDNO, [] { result = ProbeModems(nullptr); }).empty());
    EXPECT_EQ(result, 0);
    EXPECT_EQ(record.info.modemSpeed[2], 0u);
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, kModems);
}

TEST(ComPortStatus, TellsModemFreePortBusyPortAndNoPort)
{
    OwnRecord record;
    record.info.modemSpeed[1] = 28800;
    record.info.comPresent[0] = 1;
    EXPECT_STREQ(ComPortStatus(2), "Modem");
    for (int port : {0, 3, 5}) EXPECT_STREQ(ComPortStatus(port), "No Port") << port;
    {
        ComPort1 port("/dev/null");
        EXPECT_STREQ(ComPortStatus(1), "No Modem");
    }
    // Wine opens a serial device again while another handle holds it without sharing, so a
    // busy port is one that does not open at all.
    ComPort1 port("/");
    EXPECT_STREQ(ComPortStatus(1), "In Use");
}
