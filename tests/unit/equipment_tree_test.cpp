// The device-tree walks and the registry stage over snapshots: the fixture machines of
// tests/fixtures/machines (read from their .reg text the way regedit would import them)
// and small trees built here for single rules.
#include <gtest/gtest.h>

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
using Names = std::vector<std::string>;  // enumerator, device id, instance

// Keys below ENUM with their values, in the registry's order (names sorted without case);
// a key's parents are added with it.
struct TreeText {
    std::map<Names, std::pair<Names, Values>> keys;  // by upper-case names
    bool hasJoystickValue = false;

    void Add(const Names& names, const Values& values = {})
    {
        for (size_t n = 1; n <= names.size(); ++n) {
            Names head(names.begin(), names.begin() + n), upper;
            for (const std::string& name : head) upper.push_back(Upper(name));
            keys[upper].first = head;
            if (n == names.size()) keys[upper].second = values;
        }
    }
    EnumSnapshot Snapshot() const
    {
        EnumSnapshot tree;
        for (const auto& key : keys) {
            const Names& n = key.second.first;
            if (n.size() == 1) tree.enumerators.push_back({n[0], {}});
            if (n.size() == 2) tree.enumerators.back().devices.push_back({n[1], {}});
            if (n.size() != 3) continue;
            SnapshotInstance instance{n[2], {}};
            ResetDeviceRecord(&instance.record, ("ENUM\\" + n[0] + "\\" + n[1] + "\\" + n[2]).c_str());
            for (const auto& value : key.second.second)
                for (int i = 0; i < kDeviceValueCount; ++i)
                    if (Upper(value.first) == Upper(kDeviceValueNames[i])) SetDeviceRecordValue(&instance.record, i, value.second.c_str());
            tree.enumerators.back().devices.back().instances.push_back(instance);
        }
        return tree;
    }
};

// Reads a fixture machine's REGEDIT4 text as regedit imports it: the keys below
// HKEY_LOCAL_MACHINE\Enum, and whether the joystick media resource key is there.
TreeText LoadMachine(const std::string& name)
{
    std::string path = __FILE__;
    std::ifstream file(path.substr(0, path.rfind("unit/")) + "fixtures/machines/" + name + ".reg");
    EXPECT_TRUE(file.good()) << name;
    TreeText machine;
    Names key;
    std::string line;
    while (std::getline(file, line)) {
        if (line.rfind("[HKEY_LOCAL_MACHINE\\", 0) == 0) {
            std::stringstream parts(line.substr(1, line.size() - 2));
            key.clear();
            for (std::string part; std::getline(parts, part, '\\');) key.push_back(part);
            machine.hasJoystickValue |= Upper(line).find("MEDIARESOURCES\\JOYSTICK]") != std::string::npos;
            key = key.size() > 2 && Upper(key[1]) == "ENUM" ? Names(key.begin() + 2, key.end()) : Names();
            if (!key.empty()) machine.Add(key);
        } else if (line.rfind("\"", 0) == 0 && key.size() == 3) {
            const size_t equals = line.find("\"=\"");
            std::string value;  // with the escapes \\ and \" undone
            for (size_t i = equals + 3; i + 1 < line.size(); ++i) value += line[i] == '\\' ? line[++i] : line[i];
            machine.keys[Names{Upper(key[0]), Upper(key[1]), Upper(key[2])}].second.push_back({line.substr(1, equals - 1), value});
        }
    }
    return machine;
}

EquipmentInfo RunStage(const EnumSnapshot& tree, const RegistryFacts& facts)
{
    EquipmentInfo info = {};
    DeviceRecord scratch;
    const DeviceTree device = SnapshotTree(&tree);
    RunRegistrySteps(RegistryContext{device, facts, &scratch, &info}, nullptr, nullptr);
    return info;
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

// Every field the registry stage writes, one "name=value" line each.
std::string RegistryFields(const EquipmentInfo& info)
{
    std::ostringstream out;
    out << "bios=" << info.biosDate << "|" << info.biosName << "|" << info.biosVersion << "\n"
        << "cpu=" << info.cpuType << " fpu=" << info.fpuPresent << "\n"
        << "pic=" << SetText(info.interruptTypes) << " timer=" << SetText(info.timerTypes)
        << " dma=" << SetText(info.dmaTypes) << " bus=" << SetText(info.busTypes) << "\n"
        << "scsi ids=" << Flags(info.scsiIdsInUse, 8) << " adapters=" << info.scsiAdapters << "\n"
        << "ide=" << info.ideControllers << " pci/vl/eisa=" << info.pciDiskController << info.vlDiskController
        << info.eisaDiskController << " fdc=" << info.floppyControllers << "\n"
        << "cdrom=" << (info.cdromInterface ? info.cdromInterface : '0') << "\n"
        << "video=" << info.videoCard << "|" << (info.videoBus ? info.videoBus : '0') << "|" << info.videoClass << "\n"
        << "monitor=" << info.monitor << "|" << info.monitorSize << "|" << info.dotPitch << "|"
        << info.monitorResolution << "|" << info.screenArea << "\n"
        << "com=" << Flags(info.comUartKinds, 4) << "/" << Flags(info.comPresent, 4) << " lpt=" << Flags(info.lptPresent, 3)
        << " ecp=" << Flags(info.ecpPresent, 3) << " game=" << info.gamePort << " ps2=" << info.ps2Port << "\n"
        << "modem=" << info.modem << "\n"
        << "keyboard=" << info.keyboard << "|" << info.keys << "\n"
        << "mouse=" << info.mouse << "\n"
        << "sound=" << info.soundCard << "|" << info.mciDevice << "\n";
    return out.str();
}
}  // namespace

TEST(RegistryStage, ClassifiesEachFixtureMachine)
{
    struct Case {
        const char* machine;
        uint32_t processorType;
        const char* expected;
    } cases[] = {
        {"isa486", 486,
         "bios=03/14/94|American Megatrends|486DX ISA BIOS AA0962\n"
         "cpu=486 fpu=1\n"
         "pic=1 timer=1 dma=1 bus=1\n"
         "scsi ids=00000000 adapters=0\n"
         "ide=0 pci/vl/eisa=000 fdc=1\n"
         "cdrom=0\n"
         "video=Tseng Labs ET4000|0|2\n"
         "monitor=Standard VGA 640x480|15|0.28|800|108\n"
         "com=1200/1100 lpt=000 ecp=000 game=1 ps2=0\n"
         "modem=\n"
         "keyboard=IBM Enhanced 101 key style|101\n"
         "mouse=Microsoft Serial Port Mouse\n"
         "sound=Sound Blaster 16/AWE 32 or compatible|Wave Audio Device (MCI)\n"},
        {"pentium_pci", 586,
         "bios=07/12/95|Award Software|4.50PG\n"
         "cpu=586 fpu=1\n"
         "pic=1 timer=1 dma=1 bus=1,6,11\n"
         "scsi ids=10010000 adapters=1\n"
         "ide=2 pci/vl/eisa=100 fdc=1\n"
         "cdrom=S\n"
         "video=S3 Trio32/64 PCI|P|5\n"
         "monitor=NEC MultiSync 4FGe|15|0.28|1024|108\n"
         "com=2200/1100 lpt=000 ecp=100 game=1 ps2=1\n"
         "modem=U.S. Robotics Sportster 28800\n"
         "keyboard=IBM Enhanced 101 key style|101\n"
         "mouse=Microsoft PS/2 Port Mouse\n"
         "sound=|CD Audio Device (MCI)\n"},
        {"empty", 8664,
         "bios=||\n"
         "cpu=0 fpu=0\n"
         "pic= timer= dma= bus=\n"
         "scsi ids=00000000 adapters=0\n"
         "ide=0 pci/vl/eisa=000 fdc=0\n"
         "cdrom=0\n"
         "video=|0|3\n"
         "monitor=Default Monitor|15|0.28|800|108\n"
         "com=0000/0000 lpt=000 ecp=000 game=0 ps2=0\n"
         "modem=\n"
         "keyboard=IBM Enhanced 101 key style|101\n"
         "mouse=Generic Mouse\n"
         "sound=|\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.machine);
        const TreeText machine = LoadMachine(c.machine);
        const RegistryFacts facts = {c.processorType, 0, machine.hasJoystickValue};
        EXPECT_EQ(RegistryFields(RunStage(machine.Snapshot(), facts)), c.expected);
    }
}

TEST(SnapshotWalk, AnswersEachMatchFieldAndAction)
{
    const EnumSnapshot pentium = LoadMachine("pentium_pci").Snapshot();
    struct Case {
        const char* pattern;
        int field;
        int action;
        int expected;
    } cases[] = {
        {"hdc", kMatchClass, kWalkCount, 3},          {"HDC", kMatchClass, kWalkFind, 1},
        {"system", kMatchClass, kWalkCount, 10},      {"Tape", kMatchClass, kWalkCount, 0},
        {"numeric", kMatchDescription, kWalkCount, 1}, {"VEN_8086&DEV_1230", kMatchInstance, kWalkCount, 3},
        {"3", kMatchScsiTarget, kWalkCount, 1},       {"0", kMatchScsiTarget, kWalkCount, 1},
        {"pci\\ven_5333", kMatchHardwareId, kWalkCount, 1},
        {"*PNP0F13", kMatchDeviceId, kWalkCount, 1},  {"*PNP0F00", kMatchDeviceId, kWalkFind, 0},
        {"CHILD", kMatchDeviceId, kWalkCollect, 1},   {"ISAPNP", kMatchAnyName, kWalkCount, 2},
        {"SCSIADAPTER", kMatchAnyName, kWalkCount, 1}, {"modem", kMatchAnyName, kWalkCount, 1},
        {"", kMatchInstance, kWalkCount, 35},         {"x", 8, kWalkCount, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.pattern) + " field " + std::to_string(c.field) + " action " + std::to_string(c.action));
        EXPECT_EQ(SnapshotWalk(pentium, c.pattern, c.field, nullptr, 0, c.action), c.expected);
    }
    // Collecting copies the matches in walk order, never more than the array holds.
    DeviceRecord records[3];
    memset(&records[2], 0x5A, sizeof records[2]);
    EXPECT_EQ(SnapshotWalk(pentium, "hdc", kMatchClass, records, 2, kWalkCollect), 3);
    EXPECT_STREQ(records[0].description, "Primary IDE controller (dual fifo)");
    EXPECT_STREQ(records[1].description, "Secondary IDE controller (dual fifo)");
    EXPECT_EQ(records[2].keyPath[0], 0x5A);
}

TEST(SnapshotWalk, ReadsRecordsAndCountsKeysByPath)
{
    const EnumSnapshot pentium = LoadMachine("pentium_pci").Snapshot();
    DeviceRecord record;
    ASSERT_EQ(SnapshotReadRecord(pentium, &record, "enum\\scsi\\nec_____cd-rom_drive:5001\\root&*pnpa000&0000&30"), 1);
    EXPECT_STREQ(record.keyPath, "enum\\scsi\\nec_____cd-rom_drive:5001\\root&*pnpa000&0000&30");  // as asked
    EXPECT_EQ(record.scsiTargetId * 10 + record.scsiLun, 30);
    for (const char* missing : {"ENUM\\BIOS\\*PNP0501\\0C", "ENUM\\BIOS\\*PNP0501", "SOFTWARE\\BIOS\\*PNP0501\\0B",
                                "ENUM\\BIOS\\*PNP0501\\0B\\X"}) {
        memset(&record, 0x5A, sizeof record);
        EXPECT_EQ(SnapshotReadRecord(pentium, &record, missing), 0) << missing;
        EXPECT_EQ(record.scsiTargetId | record.keyPath[0], 0) << missing;  // the whole record zero
    }
    const char* const paths[] = {"ENUM", "ENUM\\MF", "Enum\\root\\media", "ENUM\\NONE", "HARDWARE"};
    const uint32_t counts[] = {10, 2, 2, 0, 0};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(SnapshotCountSubkeys(pentium, paths[i]), counts[i]) << paths[i];
}

TEST(DeviceRecord, ReadsNumbersOnlyWhereTheTextHoldsThem)
{
    DeviceRecord record;
    ResetDeviceRecord(&record, "ENUM\\X\\Y\\Z");
    struct Case {
        const char* text;
        int32_t target;
        float revision;
    } cases[] = {{"3", 3, 3.0f},   {"12abc", 12, 12.0f}, {"x3", -1, 0.0f},  {"", -1, 0.0f},
                 {"-1", -1, -1.0f}, {"1.25", 1, 1.25f}, {"99999999999", 2147483647, 99999999999.0f}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        SetDeviceRecordValue(&record, 10, c.text);
        SetDeviceRecordValue(&record, 2, c.text);
        EXPECT_EQ(record.scsiTargetId, c.target);
        EXPECT_FLOAT_EQ(record.hardwareRevision, c.revision);
    }
    const std::string longText(400, 'D');
    SetDeviceRecordValue(&record, 1, longText.c_str());
    EXPECT_EQ(strlen(record.description), 255u);
}

// Small trees for the rules a fixture machine does not show: each case names the line of
// RegistryFields it must produce.
TEST(RegistryStage, AppliesEachClassifierRule)
{
    struct Key {
        Names names;
        Values values;
    };
    struct Case {
        std::vector<Key> keys;
        uint32_t slowMachine;
        const char* line;
    } cases[] = {
        {{{{"BIOS", "*PNP0501", "01"}, {{"DeviceDesc", "Communications Port (COM2)"}}},
          {{"Root", "*PNP0500", "0007"}, {{"DeviceDesc", "Communications Port"}}}},  // no port number
         0, "com=0200/0100 lpt=000 ecp=000"},
        {{{{"BIOS", "*PNP0401", "00"}, {{"DeviceDesc", "ECP Printer Port (LPT1)"}}},
          {{"BIOS", "*PNP0400", "FE"}, {{"DeviceDesc", "Printer Port (LPT3)"}}}},
         0, "lpt=001 ecp=100"},
        {{{{"BIOS", "*PNP0F13", "00"}}, {{"Root", "*PNP0F00", "0000"}}}, 0, "ps2=1\n"},
        {{{{"BIOS", "*PNP0F13", "00"}}, {{"Root", "*PNP0F00", "0000"}}}, 0, "mouse=Microsoft Serial Port Mouse\n"},
        {{{{"Root", "*PNPB015", "0000"}}, {{"Root", "*PNPB011", "0000"}}}, 0, "|CD Audio Device (MCI)\n"},
        // Keyboard: the lowest instance number first, then the order of the ids.
        {{{{"BIOS", "*PNP0305", "0A"}}, {{"BIOS", "*PNP0300", "0B"}}, {{"BIOS", "*PNP0302", "00"}}}, 0,
         "keyboard=IBM PC/XT 84 key style|84\n"},
        {{{{"BIOS", "*PNP0305", "0A"}}}, 0, "keyboard=Olivetti 102 key style|102\n"},
        {{{{"PCI", "VEN_1", "BUS_0"}, {{"Class", "Display"}, {"DeviceDesc", "Fast"}, {"HardwareID", "PCI\\VEN_1"}}}}, 4,
         "video=Unaccelerated Card|P|5\n"},
        {{{{"Root", "Display", "0000"}, {{"Class", "Display"}, {"DeviceDesc", "Old"}}}}, 5, "video=Unaccelerated Card|0|1\n"},
        // Walk order: the EISA card (no description) comes first, Root's VESA card overwrites its bus.
        {{{{"EISA", "ABC", "0"}, {{"Class", "display"}, {"HardwareID", "EISA\\ABC"}}},
          {{"Root", "D", "0"}, {{"Class", "Display"}, {"DeviceDesc", "Second"}, {"HardwareID", "VESA"}}}},
         0, "video=|V|4\n"},
        // No display class: found by its id in an instance name; the slow group decides last.
        {{{{"Monitor", "M", "ROOT&*PNP0906&0000"}, {{"DeviceDesc", "ET4000 child"}}},
          {{"Root", "*PNP0912", "0000"}}, {{"Root", "*PNP090D", "0000"}}},
         0, "video=ET4000 child|0|2\n"},
        {{{{"ESDI", "CD", "0"}, {{"Class", "CDROM"}, {"SCSITargetID", "0"}}}}, 0, "cdrom=I\n"},
        {{{{"ESDI", "CD", "0"}, {{"Class", "CDROM"}}}}, 0, "cdrom=S\n"},  // an absent target id counts as SCSI
        {{{{"MKE", "CD", "ROOT&*PNPA031&0000"}, {{"Class", "CDROM"}, {"SCSITargetID", "0"}}}}, 0, "cdrom=P\n"},
        {{{{"BIOS", "*PNP0A01", "0"}}, {{"BIOS", "*PNP0E02", "0"}}, {{"PCMCIA", "X", "0"}}}, 0, " bus=1,2,8,10\n"},
        {{{{"SCSI", "D", "0"}, {{"SCSITargetID", "12"}}}, {{"Root", "*PNPA02F", "0000"}}, {{"Root", "*PNPA001", "0000"}}},
         0, "scsi ids=01100000 adapters=2\n"},
        {{{{"Monitor", "Default_Monitor", "0003"}, {{"DeviceDesc", "NEC MultiSync 4FGe"}}},
          {{"Monitor", "Default_Monitor", "0004"}, {{"DeviceDesc", "NEC MultiSync 6FG"}}}},
         0, "monitor=NEC MultiSync 4FGe|15|0.28|1024|108\n"},
        {{{{"Monitor", "Default_Monitor", "001E"}, {{"DeviceDesc", "Plug and Play Monitor"}}}}, 0,
         "monitor=Plug and Play Monitor|15|0.28|800|108\n"},
        {{{{"Monitor", "Default_Monitor", "0000"}, {{"DeviceDesc", "Generic 17 inch monitor"}}}}, 0,
         "monitor=Generic 17 inch monitor|17|0.28|1024|138.72\n"},
        {{{{"Monitor", "Default_Monitor", "0000"}, {{"DeviceDesc", "Generic 13\" monitor"}}}}, 0,
         "monitor=Generic 13\" monitor|14|0.28|1024|94.08\n"},
        {{{{"Monitor", "Default_Monitor", "0000"}, {{"DeviceDesc", "nanao 9070u"}}}}, 0, "monitor=nanao 9070u|15|0.28|640|"},
        {{{{"Monitor", "Default_Monitor", "001F"}, {{"DeviceDesc", "Past the probes"}}}}, 0, "monitor=Default Monitor|15|"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        TreeText tree;
        for (const Key& key : c.keys) tree.Add(key.names, key.values);
        const std::string fields = RegistryFields(RunStage(tree.Snapshot(), RegistryFacts{586, c.slowMachine, 0}));
        EXPECT_NE(fields.find(c.line), std::string::npos) << fields;
    }
}
