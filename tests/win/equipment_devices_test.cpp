// Equipment calls that reach devices: the vwin32 substitute on the harness's drives, the
// processor timing, the summary pages in a real list box, and the joystick and modem
// probes with their boxes answered.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "box_watcher.h"
#include "wine_env.h"
#include "equipment/equipment_page_list.h"
#include "equipment/equipment_probes.h"
#include "equipment/inventory.h"
#include "equipment/measure_rules.h"
#include "platform/vwin32_substitute.h"
#include "resources/ids_equipment.h"
#include "services/drives.h"
#include "services/text_rules.h"

namespace {
// Points gEquipmentInfo at a record of the test's own for the test's lifetime.
class OwnRecord {
public:
    OwnRecord() : saved_(gEquipmentInfo) { gEquipmentInfo = &info; }
    ~OwnRecord() { gEquipmentInfo = saved_; }
    EquipmentInfo info = {};

private:
    EquipmentInfo* saved_;
};

// Points COM1 of the prefix at another Unix file for the test's lifetime. Wine maps COM1
// to the host's first serial port, which a test must neither depend on nor write to.
class ComPort1 {
public:
    explicit ComPort1(const std::string& target)
    {
        const char* prefix = getenv("WINEPREFIX");
        link_ = std::string(prefix ? prefix : "/nonexistent") + "/dosdevices/com1";
        EXPECT_TRUE(RunHostCommand("mv -T " + link_ + " " + link_ + ".saved 2>/dev/null; ln -sfn " + target + " " + link_));
    }
    ~ComPort1() { RunHostCommand("rm -f " + link_ + "; mv -T " + link_ + ".saved " + link_ + " 2>/dev/null; true"); }

private:
    std::string link_;
};

Vwin32Registers Int13(uint32_t eax, uint32_t drive, int* result)
{
    Vwin32Registers packet = {};
    packet.eax = eax;
    packet.edx = drive;
    *result = Vwin32Call(kVwin32Int13, &packet);
    return packet;
}
}  // namespace

TEST(Vwin32Substitute, AnswersBiosCallsForTheRemovableDrive)
{
    HANDLE device = CreateFileA("\\\\.\\vwin32", 0, 0, nullptr, OPEN_EXISTING, FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    ASSERT_EQ(device, INVALID_HANDLE_VALUE) << "the device exists: the substitute is not what answers";
    struct Case {
        uint32_t eax, drive;
        int result;
        uint32_t eaxAfter;
    } cases[] = {
        {0x0000, 0, 1, 0},      {0x0100, 0, 1, 0},      {0x0400, 0, 1, 0},  // A: is the harness's floppy
        {0x1500, 0, 1, 0x0200}, {0x1500, 2, 1, 0},      {0x1500, 40, 1, 0}, // C: and no drive: none
        {0x0000, 2, 0, 0x0000}, {0x0800, 4, 0, 0x0800}, {0x2000, 0, 0, 0x2000},  // refused: the packet stays
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.eax) + " drive " + std::to_string(c.drive));
        int result = -1;
        const Vwin32Registers after = Int13(c.eax, c.drive, &result);
        EXPECT_EQ(result, c.result);
        EXPECT_EQ(after.eax & 0xFFFF, c.eaxAfter);
        EXPECT_EQ(after.flags, 0u);
    }
    int result = 0;
    const Vwin32Registers parameters = Int13(0x0800, 0, &result);
    ASSERT_EQ(result, 1);
    EXPECT_EQ(parameters.ebx, 4u);           // a folder as floppy has no floppy size: the 1.44 MB drive
    EXPECT_EQ(parameters.ecx & 0xFFFF, (79u << 8) | 18u);  // last cylinder 79, 18 sectors
    EXPECT_EQ(parameters.edx & 0xFFFF, (1u << 8) | 1u);    // last head 1, one floppy drive
    EXPECT_EQ(BiosDriveType(0), 4u);
    EXPECT_EQ(BiosDriveType(2), 0u);
}

TEST(Vwin32Substitute, AnswersDeviceParametersFromTheDrivesFigures)
{
    struct Case {
        uint32_t drive;
        int result;
        uint32_t eaxAfter;
        uint8_t deviceType;
        uint16_t attributes;
    } cases[] = {{3, 1, 0x440D, 5, 1}, {1, 1, 0x440D, 7, 2}, {7, 1, 0x440D, 5, 1},
                 {5, 0, 0x440D, 0, 0}, {17, 0, 0x440D, 0, 0}, {27, 0, 0x440D, 0, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.drive);
        std::vector<uint8_t> block(288, 0);
        block[0] = 4;
        Vwin32Registers packet = {};
        packet.eax = 0x440D;
        packet.ecx = 0x0860;
        packet.ebx = c.drive;
        Vwin32SetBlockAddress(&packet, block.data());
        EXPECT_EQ(Vwin32Call(kVwin32DosIoctl, &packet), c.result);
        EXPECT_EQ(packet.eax & 0xFFFF, c.eaxAfter);
        if (!c.result) continue;
        EXPECT_EQ(block[1], c.deviceType);
        EXPECT_EQ(block[2] | block[3] << 8, c.attributes);
        const char root[] = {char('A' + c.drive - 1), ':', '\\', '\0'};
        DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, totalClusters = 0;
        ASSERT_TRUE(GetDiskFreeSpaceA(root, &sectorsPerCluster, &bytesPerSector, &freeClusters, &totalClusters));
        EXPECT_EQ(uint32_t(block[7] | block[8] << 8), bytesPerSector);
        EXPECT_EQ(block[9], sectorsPerCluster);
        const uint64_t sectors = uint64_t(totalClusters) * sectorsPerCluster;
        const uint32_t large = block[28] | block[29] << 8 | block[30] << 16 | uint32_t(block[31]) << 24;
        EXPECT_EQ(sectors < 0x10000 ? uint32_t(block[15] | block[16] << 8) : large,
                  sectors > 0xFFFFFFFFu ? 0xFFFFFFFFu : uint32_t(sectors));
        EXPECT_EQ(block[32], 0);
    }
}

TEST(Vwin32Substitute, RefusesABlockOutsideWritableMemory)
{
    static const char kReadOnly[64] = {};
    const void* blocks[] = {nullptr, reinterpret_cast<void*>(uintptr_t(0x600000080ull)), kReadOnly};
    for (const void* block : blocks) {
        SCOPED_TRACE(block);
        Vwin32Registers packet = {};
        packet.eax = 0x440D;
        packet.ecx = 0x0860;
        packet.ebx = 3;
        Vwin32SetBlockAddress(&packet, const_cast<void*>(block));
        const Vwin32Registers before = packet;
        EXPECT_EQ(Vwin32Call(kVwin32DosIoctl, &packet), 0);
        EXPECT_EQ(memcmp(&packet, &before, sizeof packet), 0);
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
    EXPECT_EQ(record.info.cpuBaseFrequency, record.info.cpuClocked);
    EXPECT_EQ(GetPriorityClass(GetCurrentProcess()), DWORD(NORMAL_PRIORITY_CLASS));
    EXPECT_LT(took, 2000u);
    std::printf("measured clock %u MHz (best of ten runs of 286,706 divisions) in %lu ms\n",
                unsigned(record.info.cpuClocked), took);
}

TEST(ShowEquipmentPage, CyclesThroughTenPagesInTheList)
{
    OwnRecord record;
    EquipmentInfo& info = record.info;
    strcpy(info.pcName, "Default Computer");
    strcpy(info.biosName, "Award Software");
    strcpy(info.printers[0], "Office Printer");
    info.cdromInterface = 'I';
    HWND parent = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr, nullptr, nullptr);
    HWND list = CreateWindowA("LISTBOX", "", WS_CHILD | LBS_HASSTRINGS, 0, 0, 300, 200, parent,
                              HMENU(IDC_EQUIPMENT_LIST), nullptr, nullptr);
    ASSERT_TRUE(list);
    for (int i = 0; i < 7; ++i) SendMessageA(list, LB_ADDSTRING, 0, LPARAM("old"));
    auto lines = [&]() {
        std::vector<std::string> text;
        for (int i = 0; i < SendMessageA(list, LB_GETCOUNT, 0, 0); ++i) {
            char line[300] = {};
            SendMessageA(list, LB_GETTEXT, i, LPARAM(line));
            text.push_back(line);
        }
        return text;
    };
    // The page count lives for the process: turn to page 0 first.
    for (int i = 0; i < 10 && !(lines()[0].rfind("CPC name", 0) == 0 && lines()[1] == "CBIOS name\tYAward Software"); ++i)
        ShowEquipmentPage(parent);
    ShowEquipmentPage(parent);
    ASSERT_EQ(lines()[0], "CCPU Type\tY0");
    const char* const firstCaptions[] = {"CLoad\t", "CIDE\t", "CDrive A:\t", "CVideo Card\t", "CSerial ports\t",
                                         "CKeyboard\t", "CSound Card\t", "CPrinter\t", "CPC name\t"};
    std::vector<std::string> page4, page9;
    for (const char* caption : firstCaptions) {
        ShowEquipmentPage(parent);
        const std::vector<std::string> shown = lines();
        ASSERT_EQ(shown.size(), 7u);
        EXPECT_EQ(shown[0].rfind(caption, 0), 0u) << shown[0];
        if (shown[0].rfind("CDrive", 0) == 0) page4 = shown;
        if (shown[0].rfind("CPrinter", 0) == 0) page9 = shown;
    }
    EXPECT_EQ(page9, std::vector<std::string>({"CPrinter\tYOffice Printer", "CPrinter", "CPrinter", "CPrinter",
                                               "CPrinter", "CPrinter", "CPrinter"}));
    auto fixed = [](char letter) {
        char megabytes[kThousandsTextLength];
        FormatThousands(uint32_t(DriveTotalBytesWide(letter) / 1024000), megabytes, sizeof megabytes);
        return std::string("CDrive ") + letter + ":\tYHD: " + megabytes + " MB";
    };
    EXPECT_EQ(page4, std::vector<std::string>({"CDrive A:\tYFD: 3.5\", 1.44MB", "CDrive B:\tYNot found", fixed('C'),
                                               fixed('D'), "CDrive E:\tYCD: IDE", fixed('F'), fixed('G')}));
    DestroyWindow(parent);
}

TEST(CountJoysticks, AsksFirstAndCountsOnlyAnsweringJoysticks)
{
    OwnRecord record;
    record.info.joysticks = 2;
    record.info.gamePort = 1;
    {
        BoxWatcher boxes(GetCurrentProcessId(), IDNO);
        CountJoysticks(nullptr);
        ASSERT_EQ(boxes.Boxes().size(), 1u);
        EXPECT_EQ(boxes.Boxes()[0].caption, "If this test hangs the program...");
        EXPECT_EQ(boxes.Boxes()[0].text, "Testing the joystick can hang the program if you are using a non-standard "
                                         "mouse substitute. Continue with testing?");
    }
    EXPECT_EQ(record.info.joysticks, 2u);  // declined: nothing changes
    BoxWatcher boxes(GetCurrentProcessId(), IDYES);
    CountJoysticks(nullptr);
    EXPECT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(record.info.joysticks, 0u);  // Wine lists joystick devices, none answers
}

TEST(ProbeModems, AsksWhenNoModemIsRegisteredAndProbesThePorts)
{
    OwnRecord record;
    record.info.modemSpeed[2] = 9600;
    const char* kModemKey = "System\\CurrentControlSet\\Services\\Class\\Modem\\0003";
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Services\\Class\\Modem");
    {
        BoxWatcher boxes(GetCurrentProcessId(), IDNO);
        EXPECT_EQ(ProbeModems(nullptr), 0);
        ASSERT_EQ(boxes.Boxes().size(), 1u);
        EXPECT_EQ(boxes.Boxes()[0].caption, "No Modems Registered");
        EXPECT_EQ(boxes.Boxes()[0].text, "No modems are currently registered with Windows 95. Running modem tests could "
                                         "hang this program. Continue with the tests anyway?");
        EXPECT_EQ(record.info.modemSpeed[2], 9600u);  // declined: nothing changes
    }
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, kModemKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(key, "AttachedTo", 0, REG_SZ, reinterpret_cast<const BYTE*>("COM3"), 5);
    RegCloseKey(key);
    BoxWatcher boxes(GetCurrentProcessId(), IDNO);
    // COM1 opens but takes no line settings and has no modem lines; the other ports do not
    // open: each is passed over without failure.
    ComPort1 port("/dev/null");
    EXPECT_EQ(ProbeModems(nullptr), 0);
    EXPECT_TRUE(boxes.Boxes().empty());
    EXPECT_EQ(record.info.modemSpeed[2], 0u);
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Services\\Class\\Modem");
}

TEST(ComPortStatus, TellsModemFreePortBusyPortAndNoPort)
{
    OwnRecord record;
    record.info.modemSpeed[1] = 28800;
    record.info.comPresent[0] = 1;
    EXPECT_STREQ(ComPortStatus(2), "Modem");
    EXPECT_STREQ(ComPortStatus(3), "No Port");
    EXPECT_STREQ(ComPortStatus(0), "No Port");
    EXPECT_STREQ(ComPortStatus(5), "No Port");
    {
        ComPort1 port("/dev/null");
        EXPECT_STREQ(ComPortStatus(1), "No Modem");
    }
    // Wine opens a serial device again while another handle holds it without sharing, so a
    // busy port is one that does not open at all.
    ComPort1 port("/");  // a folder: it does not open as a port
    EXPECT_STREQ(ComPortStatus(1), "In Use");
}
