// Equipment calls that reach devices: the vwin32 substitute on the harness's drives, drive
// sizes past 4 GB, the BIOS the system reports, the modem probe, and the summary pages in a
// real list box.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "analysis/equipment_page_list.h"
#include "box_watcher.h"
#include "equipment/equipment_probes.h"
#include "equipment/inventory.h"
#include "platform/vwin32_substitute.h"
#include "resources/ids_equipment.h"
#include "services/drives.h"
#include "services/text_rules.h"
#include "services/vwin32.h"
#include "test_windows.h"
#include "wine_env.h"

TEST(Vwin32Substitute, AnswersForTheRemovableAndTheFixedDrives)
{
    HANDLE device = CreateFileA("\\\\.\\vwin32", 0, 0, nullptr, OPEN_EXISTING, FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    ASSERT_EQ(device, INVALID_HANDLE_VALUE) << "the device exists: the substitute is not what answers";
    // The registers going in, the result, and the registers coming out.
    struct BiosCase { uint32_t eax, drive; int result; uint32_t eax_, ebx_, ecx_, edx_; } biosCases[] = {
        {0x0000, 0, 1, 0, 0, 0, 0}, {0x0100, 0, 1, 0, 0, 0, 0}, {0x0400, 0, 1, 0, 0, 0, 0},  // A: is the floppy
        {0x1500, 0, 1, 0x0200, 0, 0, 0},                                                     // floppy with change line
        {0x1500, 2, 1, 0, 0, 0, 2},       {0x1500, 40, 1, 0, 0, 0, 40},  // C: and no drive at all: no floppy
        // A folder as floppy has no floppy size: the 1.44 MB drive, last cylinder 79, 18
        // sectors, last head 1, one floppy drive.
        {0x0800, 0, 1, 0, 4, (79u << 8) | 18u, (1u << 8) | 1u},
        {0x0000, 2, 0, 0x0000, 0, 0, 2}, {0x0800, 4, 0, 0x0800, 0, 0, 4}, {0x2000, 0, 0, 0x2000, 0, 0, 0},  // refused
    };
    for (const BiosCase& c : biosCases) {
        SCOPED_TRACE(std::to_string(c.eax) + " drive " + std::to_string(c.drive));
        Vwin32Registers packet = {};
        packet.eax = c.eax;
        packet.edx = c.drive;
        EXPECT_EQ(Vwin32Call(kVwin32Int13, &packet), c.result);
        EXPECT_EQ(std::vector<uint32_t>({packet.eax, packet.ebx, packet.ecx, packet.edx, packet.flags}),
                  std::vector<uint32_t>({c.eax_, c.ebx_, c.ecx_, c.edx_, 0}));
    }
    // Device parameters (drive numbers from 1 for A:: C: fixed, A: removable, E: CD-ROM, Q:
    // none, Z: network); the block's address comes from the registers, and one that is null,
    // unmapped or read-only is refused.
    static const char kReadOnly[64] = {};
    std::vector<uint8_t> block(288);
    struct IoctlCase { uint32_t drive; void* block; int result; uint8_t deviceType, attributes; } ioctlCases[] = {
        {3, block.data(), 1, 5, 1},  {1, block.data(), 1, 7, 2},  {5, block.data(), 0, 0, 0},
        {17, block.data(), 0, 0, 0}, {27, block.data(), 0, 0, 0}, {3, nullptr, 0, 0, 0},
        {3, reinterpret_cast<void*>(0x600000080ull), 0, 0, 0}, {3, const_cast<char*>(kReadOnly), 0, 0, 0}};
    for (const IoctlCase& c : ioctlCases) {
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
        const char root[] = {char('A' + c.drive - 1), ':', '\\', '\0'};
        DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, totalClusters = 0;
        ASSERT_TRUE(GetDiskFreeSpaceA(root, &sectorsPerCluster, &bytesPerSector, &freeClusters, &totalClusters));
        EXPECT_EQ(std::vector<uint32_t>({block[1], block[2], uint32_t(block[7] | block[8] << 8), block[9]}),
                  std::vector<uint32_t>({c.deviceType, c.attributes, bytesPerSector, sectorsPerCluster}));
    }
}

// Points gEquipmentInfo at a record of the test's own for the test's lifetime.
struct OwnRecord {
    OwnRecord() : saved(gEquipmentInfo) { gEquipmentInfo = &info; }
    ~OwnRecord() { gEquipmentInfo = saved; }
    EquipmentInfo info = {};
    EquipmentInfo* saved;
};

// A summary page list in a window of the test's own. The page count lives for the process.
struct PageList {
    PageList()
    {
        for (int i = 0; i < 7; ++i) SendMessageA(list, LB_ADDSTRING, 0, LPARAM("old"));
    }
    ~PageList() { DestroyWindow(parent); }
    // The next page's lines, without the colour codes before captions and values.
    std::vector<std::string> Next()
    {
        ShowEquipmentPage(parent);
        std::vector<std::string> lines = ListBoxLines(list);
        for (std::string& line : lines) line.erase(std::remove(line.begin(), line.end(), '\x01'), line.end());
        return lines;
    }
    // Turns to the page whose first line starts with first; its lines, or none.
    std::vector<std::string> Page(const std::string& first)
    {
        for (int i = 0; i < 10; ++i) {
            std::vector<std::string> lines = Next();
            if (!lines.empty() && lines[0].rfind(first, 0) == 0) return lines;
        }
        return {};
    }
    HWND parent = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr, nullptr, nullptr);
    HWND list = CreateWindowA("LISTBOX", "", WS_CHILD | LBS_HASSTRINGS, 0, 0, 300, 200, parent,
                              HMENU(IDC_EQUIPMENT_LIST), nullptr, nullptr);
};

TEST(DriveSizes, CountPastFourGigabytesAndAreHeldWhereTheRecordHas32Bits)
{
    const uint64_t kFiveGiB = 5368709120ull;
    MemoryDrive drive('F', "5g");  // past 32 bits, and nothing is allocated until written
    ASSERT_TRUE(drive.mounted) << "could not mount a memory file system on " << drive.folder;
    const std::vector<char> megabyte(1048576, 'x');
    ASSERT_TRUE(WriteWholeFile("F:\\ONE.MB", megabyte.data(), megabyte.size()));
    EXPECT_EQ(DriveTotalBytes('F'), kFiveGiB);
    EXPECT_EQ(DriveFreeBytes('F'), kFiveGiB - 1048576);
    EXPECT_EQ(DriveTotalBytes('Q') + DriveFreeBytes('Q'), 0u) << "there is no drive Q:";

    // The record lists the fixed drives C:, D:, F:, G: in order; F: is held at the field's
    // limit, while the drives page shows it in full (5368709120 / 1024000 MB).
    OwnRecord record;
    ReadMeasuredEquipment(nullptr);
    EXPECT_EQ(record.info.hardDisks, 4u);
    EXPECT_EQ(record.info.hardDiskSizes[2], 0xFFFFFFFFu);
    PageList pages;
    const std::vector<std::string> lines = pages.Page("CDrive A:");
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[5], "CDrive F:\tYHD: 5,242 MB");
    DeleteFileA("F:\\ONE.MB");
}

// A value of HKEY_LOCAL_MACHINE set for the object's lifetime (data: the bytes to store,
// terminating NULs included); then what was there is put back, or what was not deleted.
struct ScopedValue {
    ScopedValue(const char* key, const char* name, DWORD type, const std::string& data) : key(key), name(name)
    {
        DWORD length = DWORD(old.size());
        existed = !RegGetValueA(HKEY_LOCAL_MACHINE, key, name, RRF_RT_ANY | RRF_NOEXPAND, &oldType, &old[0], &length);
        old.resize(existed ? length : 0);
        set = !RegSetKeyValueA(HKEY_LOCAL_MACHINE, key, name, type, data.data(), DWORD(data.size()));
    }
    ~ScopedValue()
    {
        if (existed) RegSetKeyValueA(HKEY_LOCAL_MACHINE, key, name, oldType, old.data(), DWORD(old.size()));
        else RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, key, name);
    }
    ScopedValue(const ScopedValue&) = delete;
    const char *key, *name;
    std::string old = std::string(1024, '\0');
    DWORD oldType = REG_NONE;
    bool existed, set;
};

// Without the Windows 95 device tree, the BIOS page shows what the system's hardware
// description holds. The system key's older values stand in for a version or date that the
// BIOS key leaves empty, as Wine does; a version of several lines gives its first.
TEST(SystemBios, FillsTheBiosLinesWhereTheDeviceTreeIsAbsent)
{
    HKEY enumKey;
    ASSERT_NE(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Enum", 0, KEY_READ, &enumKey), ERROR_SUCCESS) << "a device tree is present";
    const char kBios[] = "HARDWARE\\DESCRIPTION\\System\\BIOS", kSystem[] = "HARDWARE\\DESCRIPTION\\System";
    const std::string z(1, '\0');
    const ScopedValue systemValues[] = {{kSystem, "SystemBiosVersion", REG_MULTI_SZ, "HV - 2.10" + z + "Second line" + z + z},
                                        {kSystem, "SystemBiosDate", REG_SZ, "12/01/19" + z}};
    ASSERT_TRUE(systemValues[0].set && systemValues[1].set);
    const struct { const char *vendor, *version, *date, *lines; } cases[] = {
        {"Harbour BIOS", "", "03/15/2021", "CBIOS name\tYHarbour BIOS|CBIOS date\tY03/15/2021|CBIOS version\tYHV - 2.10"},
        {"", "1.40", "", "CBIOS name\tY|CBIOS date\tY12/01/19|CBIOS version\tY1.40"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lines);
        const ScopedValue values[] = {{kBios, "BIOSVendor", REG_SZ, c.vendor + z}, {kBios, "BIOSVersion", REG_SZ, c.version + z},
                                      {kBios, "BIOSReleaseDate", REG_SZ, c.date + z}};
        for (const ScopedValue& value : values) ASSERT_TRUE(value.set) << value.name;
        OwnRecord record;
        ReadRegistryEquipment(nullptr);
        PageList pages;
        const std::vector<std::string> lines = pages.Page("CPC name");
        ASSERT_EQ(lines.size(), 7u);
        EXPECT_EQ(lines[1] + "|" + lines[2] + "|" + lines[3], c.lines);
    }
}

// No modem is registered in the harness's prefix and none is attached: a declined test and
// a test that finds no modem both report failure.
TEST(ProbeModems, ReportsFailureWhenNothingWasTestedOrNoModemAnswered)
{
    OwnRecord record;
    for (int answer : {IDNO, IDYES}) {
        SCOPED_TRACE(answer == IDNO ? "declined" : "tested");
        record.info.modemSpeed[1] = 9600;
        BoxWatcher boxes(GetCurrentProcessId(), answer);
        EXPECT_EQ(ProbeModems(nullptr), 1);
        EXPECT_TRUE(boxes.WaitForBox("No Modems Registered", 1000));
        EXPECT_EQ(record.info.modemSpeed[1], answer == IDNO ? 9600u : 0u);
    }
}

TEST(ShowEquipmentPage, CyclesThroughTenPagesInTheList)
{
    OwnRecord record;
    strcpy(record.info.printers[0], "Office Printer");
    record.info.cdromInterface = 'I';
    PageList pages;
    pages.Page("CPrinter\tYOffice Printer");  // then the cycle starts again at page 0
    const char* const firstLines[] = {"CPC name\tY", "CCPU Type\tY0", "CLoad\tY0%", "CIDE\tY0 controller(s)",
                                      "CDrive A:\tYFD: 3.5\", 1.44MB", "CVideo Card\tY", "CSerial ports\tY",
                                      "CKeyboard\tY", "CSound Card\tY", "CPrinter\tYOffice Printer"};
    for (const char* first : firstLines) {
        const std::vector<std::string> lines = pages.Next();
        ASSERT_EQ(lines.size(), 7u);
        EXPECT_EQ(lines[0], first);
        if (lines[0].rfind("CDrive", 0) == 0) EXPECT_EQ(lines[1] + "|" + lines[4], "CDrive B:\tYNot found|CDrive E:\tYCD: IDE");
    }
}
