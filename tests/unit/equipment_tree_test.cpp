// The registry stage over snapshots: the fixture machines of tests/fixtures/machines (read
// from their .reg text the way regedit would import them) and small trees for single rules.
// That snapshot walks answer as live walks do is tested under Wine.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "equipment/classifiers.h"
#include "equipment/enum_snapshot.h"

namespace {
std::string Upper(std::string text)
{
    for (char& c : text) c = char(toupper(static_cast<unsigned char>(c)));
    return text;
}

using Values = std::vector<std::pair<std::string, std::string>>;

// Keys below ENUM by path ("Root\*PNP0C01\0000") in the registry's order: names compared
// without case, level by level.
struct RegistryOrder {
    static std::string Key(const std::string& path)
    {
        std::string key = Upper(path);
        std::replace(key.begin(), key.end(), '\\', '\x01');
        return key;
    }
    bool operator()(const std::string& a, const std::string& b) const { return Key(a) < Key(b); }
};
using Tree = std::map<std::string, Values, RegistryOrder>;

EnumSnapshot Snapshot(const Tree& keys)
{
    EnumSnapshot tree;
    for (const auto& key : keys) {
        std::vector<std::string> n;
        std::stringstream parts(key.first);
        for (std::string part; std::getline(parts, part, '\\');) n.push_back(part);
        auto& enumerators = tree.enumerators;
        if (enumerators.empty() || Upper(enumerators.back().name) != Upper(n[0])) enumerators.push_back({n[0], {}});
        auto& devices = enumerators.back().devices;
        if (n.size() > 1 && (devices.empty() || Upper(devices.back().name) != Upper(n[1]))) devices.push_back({n[1], {}});
        if (n.size() != 3) continue;
        SnapshotInstance instance{n[2], {}};
        ResetDeviceRecord(&instance.record, ("ENUM\\" + key.first).c_str());
        for (const auto& value : key.second)
            for (int i = 0; i < kDeviceValueCount; ++i)
                if (Upper(value.first) == Upper(kDeviceValueNames[i]))
                    SetDeviceRecordValue(&instance.record, i, value.second.c_str());
        devices.back().instances.push_back(instance);
    }
    return tree;
}

// A fixture machine's REGEDIT4 text as regedit imports it: the keys below
// HKEY_LOCAL_MACHINE\Enum, and whether the joystick media resource key is there.
EnumSnapshot LoadMachine(const std::string& name, bool* hasJoystickValue = nullptr)
{
    const std::string self = __FILE__, prefix = "[HKEY_LOCAL_MACHINE\\ENUM\\";
    std::ifstream file(self.substr(0, self.rfind("unit/")) + "fixtures/machines/" + name + ".reg");
    EXPECT_TRUE(file.good()) << name;
    Tree keys;
    Values* values = nullptr;
    for (std::string line; std::getline(file, line);) {
        const std::string upper = Upper(line);
        if (upper.rfind("[HKEY_LOCAL_MACHINE\\", 0) == 0) {
            if (hasJoystickValue && upper.find("MEDIARESOURCES\\JOYSTICK]") != std::string::npos) *hasJoystickValue = true;
            values = upper.rfind(prefix, 0) == 0 ? &keys[line.substr(prefix.size(), line.size() - prefix.size() - 1)] : nullptr;
        } else if (line.rfind("\"", 0) == 0 && values) {
            const size_t equals = line.find("\"=\"");
            std::string value;  // with the escapes \\ and \" undone
            for (size_t i = equals + 3; i + 1 < line.size(); ++i) value += line[i] == '\\' ? line[++i] : line[i];
            values->push_back({line.substr(1, equals - 1), value});
        }
    }
    return Snapshot(keys);
}

std::string Flags(const uint32_t* flags, int count)
{
    std::string text;
    for (int i = 0; i < count; ++i) text += char('0' + flags[i]);
    return text;
}

std::string SetText(const TypeFlagSet& set)
{
    std::string text;
    for (int i = 1; i < 20; ++i)
        if (set.flags[i]) text += (text.empty() ? "" : ",") + std::to_string(i);
    return text;
}

// Every field the registry stage writes, as "name=value" lines.
std::string RegistryFields(const EnumSnapshot& tree, const RegistryFacts& facts)
{
    EquipmentInfo info = {};
    DeviceRecord scratch;
    const DeviceTree device = SnapshotTree(&tree);
    RunRegistrySteps(RegistryContext{device, facts, &scratch, &info}, nullptr, nullptr);
    std::ostringstream out;
    out << "bios=" << info.biosDate << "|" << info.biosName << "|" << info.biosVersion << "\ncpu=" << info.cpuType
        << " fpu=" << info.fpuPresent << "\npic=" << SetText(info.interruptTypes) << " timer=" << SetText(info.timerTypes)
        << " dma=" << SetText(info.dmaTypes) << " bus=" << SetText(info.busTypes) << "\nscsi ids=" << Flags(info.scsiIdsInUse, 8)
        << " adapters=" << info.scsiAdapters << "\nide=" << info.ideControllers << " pci/vl/eisa=" << info.pciDiskController
        << info.vlDiskController << info.eisaDiskController << " fdc=" << info.floppyControllers
        << "\ncdrom=" << (info.cdromInterface ? info.cdromInterface : '0') << "\nvideo=" << info.videoCard << "|"
        << (info.videoBus ? info.videoBus : '0') << "|" << info.videoClass << "\nmonitor=" << info.monitor << "|"
        << info.monitorSize << "|" << info.dotPitch << "|" << info.monitorResolution << "|" << info.screenArea
        << "\ncom=" << Flags(info.comUartKinds, 4) << "/" << Flags(info.comPresent, 4) << " lpt=" << Flags(info.lptPresent, 3)
        << " ecp=" << Flags(info.ecpPresent, 3) << " game=" << info.gamePort << " ps2=" << info.ps2Port
        << "\nmodem=" << info.modem << "\nkeyboard=" << info.keyboard << "|" << info.keys << "\nmouse=" << info.mouse
        << "\nsound=" << info.soundCard << "|" << info.mciDevice << "\n";
    return out.str();
}
}  // namespace

TEST(RegistryStage, ClassifiesEachFixtureMachine)
{
    struct Case { const char* machine; uint32_t processorType; const char* expected; } cases[] = {
        {"isa486", 486,
         "bios=03/14/94|American Megatrends|486DX ISA BIOS AA0962\ncpu=486 fpu=1\npic=1 timer=1 dma=1 bus=1\n"
         "scsi ids=00000000 adapters=0\nide=0 pci/vl/eisa=000 fdc=1\ncdrom=0\nvideo=Tseng Labs ET4000|0|2\n"
         "monitor=Standard VGA 640x480|15|0.28|800|108\ncom=1200/1100 lpt=000 ecp=000 game=1 ps2=0\nmodem=\n"
         "keyboard=IBM Enhanced 101 key style|101\nmouse=Microsoft Serial Port Mouse\n"
         "sound=Sound Blaster 16/AWE 32 or compatible|Wave Audio Device (MCI)\n"},
        {"pentium_pci", 586,
         "bios=07/12/95|Award Software|4.50PG\ncpu=586 fpu=1\npic=1 timer=1 dma=1 bus=1,6,11\n"
         "scsi ids=10010000 adapters=1\nide=2 pci/vl/eisa=100 fdc=1\ncdrom=S\nvideo=S3 Trio32/64 PCI|P|5\n"
         "monitor=NEC MultiSync 4FGe|15|0.28|1024|108\ncom=2200/1100 lpt=000 ecp=100 game=1 ps2=1\n"
         "modem=U.S. Robotics Sportster 28800\nkeyboard=IBM Enhanced 101 key style|101\nmouse=Microsoft PS/2 Port Mouse\n"
         "sound=|CD Audio Device (MCI)\n"},
        {"empty", 8664,
         "bios=||\ncpu=0 fpu=0\npic= timer= dma= bus=\nscsi ids=00000000 adapters=0\nide=0 pci/vl/eisa=000 fdc=0\n"
         "cdrom=0\nvideo=|0|3\nmonitor=Default Monitor|15|0.28|800|108\ncom=0000/0000 lpt=000 ecp=000 game=0 ps2=0\n"
         "modem=\nkeyboard=IBM Enhanced 101 key style|101\nmouse=Generic Mouse\nsound=|\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.machine);
        bool hasJoystickValue = false;
        const EnumSnapshot machine = LoadMachine(c.machine, &hasJoystickValue);
        EXPECT_EQ(RegistryFields(machine, {c.processorType, 0, hasJoystickValue}), c.expected);
    }
}

// Small trees for the rules a fixture machine does not show: each key is written as
// "ENUMERATOR\DEVICE\INSTANCE|Name=value|...", and each case names a piece of RegistryFields.
TEST(RegistryStage, AppliesEachClassifierRule)
{
    struct Case { std::vector<std::string> keys; uint32_t slowMachine; const char* fields; } cases[] = {
        {{"BIOS\\*PNP0501\\01|DeviceDesc=Communications Port (COM2)", "Root\\*PNP0500\\0007|DeviceDesc=Communications Port"}, 0,
         "com=0200/0100 lpt=000 ecp=000"},
        {{"BIOS\\*PNP0401\\00|DeviceDesc=ECP Printer Port (LPT1)", "BIOS\\*PNP0400\\FE|DeviceDesc=Printer Port (LPT3)"}, 0, "lpt=001 ecp=100"},
        {{"BIOS\\*PNP0F13\\00", "Root\\*PNP0F00\\0000"}, 0,
         "ps2=1\nmodem=\nkeyboard=IBM Enhanced 101 key style|101\nmouse=Microsoft Serial Port Mouse\n"},
        {{"Root\\*PNPB015\\0000", "Root\\*PNPB011\\0000"}, 0, "|CD Audio Device (MCI)\n"},
        // Keyboard: the lowest instance number first, then the order of the ids.
        {{"BIOS\\*PNP0305\\0A", "BIOS\\*PNP0300\\0B", "BIOS\\*PNP0302\\00"}, 0, "keyboard=IBM PC/XT 84 key style|84\n"},
        {{"PCI\\VEN_1\\BUS_0|Class=Display|DeviceDesc=Fast|HardwareID=PCI\\VEN_1"}, 4, "video=Unaccelerated Card|P|5\n"},
        {{"ESDI\\CD\\0|Class=CDROM|SCSITargetID=0"}, 0, "cdrom=I\n"},
        {{"MKE\\CD\\ROOT&*PNPA031&0000|Class=CDROM|SCSITargetID=0"}, 0, "cdrom=P\n"},
        {{"BIOS\\*PNP0A01\\0", "BIOS\\*PNP0E02\\0", "PCMCIA\\X\\0"}, 0, " bus=1,2,8,10\n"},
        // Target ids count whole: 12 and 10 leave 0, 1 and 2 free.
        {{"SCSI\\D\\0|SCSITargetID=12", "SCSI\\D\\1|SCSITargetID=10", "SCSI\\D\\2|SCSITargetID=3", "Root\\*PNPA02F\\0000",
          "Root\\*PNPA001\\0000"}, 0, "scsi ids=00010000 adapters=2\n"},
        {{"Monitor\\Default_Monitor\\0003|DeviceDesc=NEC MultiSync 4FGe", "Monitor\\Default_Monitor\\0004|DeviceDesc=NEC MultiSync 6FG"}, 0,
         "monitor=NEC MultiSync 4FGe|15|0.28|1024|108\n"},
        {{"Monitor\\Default_Monitor\\001E|DeviceDesc=Plug and Play Monitor"}, 0, "monitor=Plug and Play Monitor|15|0.28|800|108\n"},
        {{"Monitor\\Default_Monitor\\0000|DeviceDesc=Generic 17 inch monitor"}, 0, "monitor=Generic 17 inch monitor|17|0.28|1024|138.72\n"},
        {{"Monitor\\Default_Monitor\\001F|DeviceDesc=Past the probes"}, 0, "monitor=Default Monitor|15|"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fields);
        Tree tree;
        for (const std::string& key : c.keys) {
            std::stringstream parts(key);
            std::string path, value;
            std::getline(parts, path, '|');
            Values& values = tree[path];
            while (std::getline(parts, value, '|')) values.push_back({value.substr(0, value.find('=')), value.substr(value.find('=') + 1)});
        }
        const std::string fields = RegistryFields(Snapshot(tree), RegistryFacts{586, c.slowMachine, 0});
        EXPECT_NE(fields.find(c.fields), std::string::npos) << fields;
    }
}

// Without the device tree's motherboard entry the BIOS fields and the FPU come from what the
// system reports; a field it does not report stays empty, and the tree wins where it exists.
TEST(RegistryStage, TakesTheBiosAndFpuFromTheSystemWhereTheTreeHasNone)
{
    struct Case { const char* machine; SystemBios bios; int fpu; const char* fields; } cases[] = {
        {"empty", {"Phoenix Technologies", "1.40", "03/15/2021"}, 1, "bios=03/15/2021|Phoenix Technologies|1.40\ncpu=586 fpu=1"},
        {"empty", {"", "", "12/01/19"}, 0, "bios=12/01/19||\ncpu=586 fpu=0"},
        {"pentium_pci", {"Phoenix Technologies", "1.40", "03/15/2021"}, 1, "bios=07/12/95|Award Software|4.50PG\ncpu=586 fpu=1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fields);
        RegistryFacts facts = {586, 0, 0};
        facts.bios = c.bios;
        facts.systemHasFpu = c.fpu;
        EXPECT_EQ(RegistryFields(LoadMachine(c.machine), facts).substr(0, strlen(c.fields)), c.fields);
    }
    // A Windows 95 tree that lists no numeric processor means none, whatever the system says.
    Tree board;
    board["Root\\*PNP0C01\\0000"].push_back({"BIOSDate", "01/01/96"});
    RegistryFacts facts = {486, 0, 0};
    facts.systemHasFpu = 1;
    EXPECT_NE(RegistryFields(Snapshot(board), facts).find("cpu=486 fpu=0"), std::string::npos);
}

TEST(SnapshotWalk, CollectsNoMoreThanTheArrayHoldsAndRecordsKeepToTheirFields)
{
    const EnumSnapshot pentium = LoadMachine("pentium_pci");
    DeviceRecord records[3];
    memset(&records[2], 0x5A, sizeof records[2]);
    EXPECT_EQ(SnapshotWalk(pentium, "hdc", kMatchClass, records, 2, kWalkCollect), 3);
    EXPECT_STREQ(records[0].description, "Primary IDE controller (dual fifo)");
    EXPECT_STREQ(records[1].description, "Secondary IDE controller (dual fifo)");
    EXPECT_EQ(records[2].keyPath[0], 0x5A);
    EXPECT_EQ(SnapshotWalk(pentium, "x", 8, nullptr, 0, kWalkCount), 0);  // no such field
    SetDeviceRecordValue(&records[0], 1, std::string(400, 'D').c_str());
    EXPECT_EQ(strlen(records[0].description), 255u);
}
