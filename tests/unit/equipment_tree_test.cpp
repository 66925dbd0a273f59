// The device-tree walks and the registry stage over snapshots: the fixture machines of
// tests/fixtures/machines (read from their .reg text the way regedit would import them)
// and small trees built here for single rules.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <functional>
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

bool NameLess(const std::string& a, const std::string& b)
{
    return Upper(a) < Upper(b);
}

using Values = std::vector<std::pair<std::string, std::string>>;

// Adds (or finds) ENUM\enumerator, its deviceId (when given) and that device's instance
// (when given) with its values. Keys are kept in the registry's order: sorted by name,
// without case.
template <typename List>
auto& FindOrAdd(List& list, const std::string& name)
{
    auto found = std::find_if(list.begin(), list.end(), [&](auto& x) { return Upper(x.name) == Upper(name); });
    if (found == list.end()) found = list.insert(list.end(), typename List::value_type{name, {}});
    return *found;
}

template <typename List>
void SortByName(List& list)
{
    std::sort(list.begin(), list.end(), [](auto& a, auto& b) { return NameLess(a.name, b.name); });
}

void AddDevice(EnumSnapshot* tree, const std::string& enumerator, const std::string& deviceId = "",
               const std::string& instance = "", const Values& values = {})
{
    FindOrAdd(tree->enumerators, enumerator);
    SortByName(tree->enumerators);
    if (deviceId.empty()) return;
    SnapshotEnumerator& sorted = FindOrAdd(tree->enumerators, enumerator);
    SnapshotDevice& d = FindOrAdd(sorted.devices, deviceId);
    if (!instance.empty()) {
        SnapshotInstance added{instance, {}};
        ResetDeviceRecord(&added.record, ("ENUM\\" + enumerator + "\\" + deviceId + "\\" + instance).c_str());
        for (const auto& value : values) {
            for (int i = 0; i < kDeviceValueCount; ++i)
                if (Upper(value.first) == Upper(kDeviceValueNames[i])) SetDeviceRecordValue(&added.record, i, value.second.c_str());
        }
        d.instances.push_back(added);
        SortByName(d.instances);
    }
    SortByName(sorted.devices);
}

// A string value of a .reg line with its escapes (\\ and \") undone.
std::string Unescaped(const std::string& text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) out += text[i] == '\\' && i + 1 < text.size() ? text[++i] : text[i];
    return out;
}

struct Machine {
    EnumSnapshot tree;
    bool hasJoystickValue = false;
};

// Reads a fixture machine's REGEDIT4 text: keys below HKEY_LOCAL_MACHINE\Enum become the
// tree; the joystick media resource key tells whether its value is there.
Machine LoadMachine(const std::string& name)
{
    std::string path = __FILE__;
    path = path.substr(0, path.rfind("unit/")) + "fixtures/machines/" + name + ".reg";
    std::ifstream file(path);
    EXPECT_TRUE(file.good()) << path;
    Machine machine;
    std::vector<std::string> parts;  // HKEY_LOCAL_MACHINE, Enum, enumerator, device id, instance
    Values values;
    auto flush = [&]() {
        if (parts.size() >= 3 && parts.size() <= 5 && Upper(parts[1]) == "ENUM")
            AddDevice(&machine.tree, parts[2], parts.size() > 3 ? parts[3] : "", parts.size() > 4 ? parts[4] : "", values);
        values.clear();
    };
    std::string line;
    while (std::getline(file, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.rfind("[", 0) == 0 && line.rfind("[-", 0) != 0) {
            flush();
            std::stringstream key(line.substr(1, line.size() - 2));
            parts.clear();
            for (std::string part; std::getline(key, part, '\\');) parts.push_back(part);
            if (Upper(line).find("MEDIARESOURCES\\JOYSTICK]") != std::string::npos) machine.hasJoystickValue = true;
        } else if (line.rfind("\"", 0) == 0) {
            const size_t equals = line.find("\"=\"");
            if (equals != std::string::npos)
                values.push_back({line.substr(1, equals - 1), Unescaped(line.substr(equals + 3, line.size() - equals - 4))});
        }
    }
    flush();
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
        const Machine machine = LoadMachine(c.machine);
        const RegistryFacts facts = {c.processorType, 0, machine.hasJoystickValue};
        EXPECT_EQ(RegistryFields(RunStage(machine.tree, facts)), c.expected);
    }
}

TEST(SnapshotWalk, AnswersEachMatchFieldAndAction)
{
    const Machine pentium = LoadMachine("pentium_pci");
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
        EXPECT_EQ(SnapshotWalk(pentium.tree, c.pattern, c.field, nullptr, 0, c.action), c.expected);
    }
    // Collecting copies the matches in walk order, never more than the array holds.
    DeviceRecord records[3];
    memset(&records[2], 0x5A, sizeof records[2]);
    EXPECT_EQ(SnapshotWalk(pentium.tree, "hdc", kMatchClass, records, 2, kWalkCollect), 3);
    EXPECT_STREQ(records[0].description, "Primary IDE controller (dual fifo)");
    EXPECT_STREQ(records[1].description, "Secondary IDE controller (dual fifo)");
    EXPECT_EQ(records[2].keyPath[0], 0x5A);
}

TEST(SnapshotWalk, ReadsRecordsAndCountsKeysByPath)
{
    const Machine pentium = LoadMachine("pentium_pci");
    DeviceRecord record;
    ASSERT_EQ(SnapshotReadRecord(pentium.tree, &record, "enum\\bios\\*pnp0501\\0b"), 1);
    EXPECT_STREQ(record.keyPath, "enum\\bios\\*pnp0501\\0b");  // as asked, like the registry reader
    EXPECT_STREQ(record.description, "Communications Port (COM2)");
    EXPECT_EQ(record.scsiTargetId, -1);
    ASSERT_EQ(SnapshotReadRecord(pentium.tree, &record, "ENUM\\SCSI\\NEC_____CD-ROM_DRIVE:5001\\ROOT&*PNPA000&0000&30"), 1);
    EXPECT_EQ(record.scsiTargetId, 3);
    EXPECT_EQ(record.scsiLun, 0);
    for (const char* missing : {"ENUM\\BIOS\\*PNP0501\\0C", "ENUM\\BIOS\\*PNP0501", "SOFTWARE\\BIOS\\*PNP0501\\0B",
                                "ENUM\\BIOS\\*PNP0501\\0B\\X"}) {
        SCOPED_TRACE(missing);
        memset(&record, 0x5A, sizeof record);
        EXPECT_EQ(SnapshotReadRecord(pentium.tree, &record, missing), 0);
        EXPECT_EQ(record.scsiTargetId, 0);  // a missing key leaves the whole record zero
        EXPECT_EQ(record.keyPath[0], 0);
    }
    EXPECT_EQ(SnapshotCountSubkeys(pentium.tree, "ENUM"), 10u);
    EXPECT_EQ(SnapshotCountSubkeys(pentium.tree, "ENUM\\MF"), 2u);
    EXPECT_EQ(SnapshotCountSubkeys(pentium.tree, "Enum\\root\\media"), 2u);
    EXPECT_EQ(SnapshotCountSubkeys(pentium.tree, "ENUM\\NONE"), 0u);
    EXPECT_EQ(SnapshotCountSubkeys(pentium.tree, "HARDWARE"), 0u);
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

// Small trees for the rules a fixture machine does not show.
TEST(RegistryStage, AppliesEachClassifierRule)
{
    using Check = std::function<void(const EquipmentInfo&)>;
    struct Device {
        const char* enumerator;
        const char* deviceId;
        const char* instance;
        Values values;
    };
    struct Case {
        const char* name;
        std::vector<Device> devices;
        uint32_t slowMachine;
        Check check;
    };
    const Case cases[] = {
        {"COM2 by its description, no port without a digit",
         {{"BIOS", "*PNP0501", "01", {{"DeviceDesc", "Communications Port (COM2)"}}},
          {"Root", "*PNP0500", "0007", {{"DeviceDesc", "Communications Port"}}}},
         0,
         [](const EquipmentInfo& i) { EXPECT_EQ(Flags(i.comUartKinds, 4) + Flags(i.comPresent, 4), "02000100"); }},
        {"ECP port without LPT",
         {{"BIOS", "*PNP0401", "00", {{"DeviceDesc", "ECP Printer Port (LPT1)"}}},
          {"BIOS", "*PNP0400", "FE", {{"DeviceDesc", "Printer Port (LPT3)"}}}},
         0,
         [](const EquipmentInfo& i) { EXPECT_EQ(Flags(i.ecpPresent, 3) + Flags(i.lptPresent, 3), "100001"); }},
        {"serial mouse named before a PS/2 one",
         {{"BIOS", "*PNP0F13", "00", {}}, {"Root", "*PNP0F00", "0000", {}}},
         0,
         [](const EquipmentInfo& i) {
             EXPECT_STREQ(i.mouse, "Microsoft Serial Port Mouse");
             EXPECT_EQ(i.ps2Port, 1u);
         }},
        {"last MCI device found stays", {{"Root", "*PNPB015", "0000", {}}, {"Root", "*PNPB011", "0000", {}}}, 0,
         [](const EquipmentInfo& i) { EXPECT_STREQ(i.mciDevice, "CD Audio Device (MCI)"); }},
        {"keyboard: lowest instance number first, then the id order",
         {{"BIOS", "*PNP0305", "0A", {}}, {"BIOS", "*PNP0300", "0B", {}}, {"BIOS", "*PNP0302", "00", {}}},
         0,
         [](const EquipmentInfo& i) {
             EXPECT_STREQ(i.keyboard, "IBM PC/XT 84 key style");
             EXPECT_EQ(i.keys, 84u);
         }},
        {"Olivetti keyboard", {{"BIOS", "*PNP0305", "0A", {}}}, 0,
         [](const EquipmentInfo& i) { EXPECT_EQ(std::string(i.keyboard) + std::to_string(i.keys), "Olivetti 102 key style102"); }},
        {"slow machine with a PCI display",
         {{"PCI", "VEN_1", "BUS_0", {{"Class", "Display"}, {"DeviceDesc", "Fast"}, {"HardwareID", "PCI\\VEN_1"}}}},
         4,
         [](const EquipmentInfo& i) { EXPECT_EQ(std::string(i.videoCard) + std::to_string(i.videoClass), "Unaccelerated Card5"); }},
        {"slow machine with an ISA display",
         {{"Root", "Display", "0000", {{"Class", "Display"}, {"DeviceDesc", "Old"}}}},
         4 | 1,
         [](const EquipmentInfo& i) { EXPECT_EQ(std::string(i.videoCard) + std::to_string(i.videoClass), "Unaccelerated Card1"); }},
        {"VL display and a later EISA one",
         {{"EISA", "ABC", "0", {{"Class", "display"}, {"HardwareID", "EISA\\ABC"}}},
          {"Root", "D", "0", {{"Class", "Display"}, {"DeviceDesc", "First"}, {"HardwareID", "VESA"}}}},
         0,
         [](const EquipmentInfo& i) {
             EXPECT_EQ(i.videoBus, 'V');  // walk order: EISA first, then Root's VESA card
             EXPECT_EQ(i.videoClass, 4u);
             EXPECT_STREQ(i.videoCard, "");  // the EISA card came first and has no description
         }},
        {"display found by its id in an instance name, fastest group then slow group",
         {{"Monitor", "M", "ROOT&*PNP0906&0000", {{"DeviceDesc", "ET4000 child"}}},
          {"Root", "*PNP0912", "0000", {}}, {"Root", "*PNP090D", "0000", {}}},
         0,
         [](const EquipmentInfo& i) { EXPECT_EQ(std::string(i.videoCard) + std::to_string(i.videoClass), "ET4000 child2"); }},
        {"IDE CD-ROM", {{"ESDI", "CD", "0", {{"Class", "CDROM"}, {"SCSITargetID", "0"}}}}, 0,
         [](const EquipmentInfo& i) { EXPECT_EQ(i.cdromInterface, 'I'); }},
        {"CD-ROM without a target id", {{"ESDI", "CD", "0", {{"Class", "CDROM"}}}}, 0,
         [](const EquipmentInfo& i) { EXPECT_EQ(i.cdromInterface, 'S'); }},
        {"proprietary CD-ROM", {{"MKE", "CD", "ROOT&*PNPA031&0000", {{"Class", "CDROM"}, {"SCSITargetID", "0"}}}}, 0,
         [](const EquipmentInfo& i) { EXPECT_EQ(i.cdromInterface, 'P'); }},
        {"buses", {{"BIOS", "*PNP0A01", "0", {}}, {"BIOS", "*PNP0E02", "0", {}}, {"PCMCIA", "X", "0", {}}}, 0,
         [](const EquipmentInfo& i) { EXPECT_EQ(SetText(i.busTypes), "1,2,8,10"); }},
        {"SCSI ids by substring, adapters by device id",
         {{"SCSI", "D", "0", {{"SCSITargetID", "12"}}}, {"Root", "*PNPA02F", "0000", {}}, {"Root", "*PNPA001", "0000", {}}},
         0,
         [](const EquipmentInfo& i) {
             EXPECT_EQ(Flags(i.scsiIdsInUse, 8), "01100000");
             EXPECT_EQ(i.scsiAdapters, 2u);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EnumSnapshot tree;
        for (const Device& d : c.devices) AddDevice(&tree, d.enumerator, d.deviceId, d.instance, d.values);
        c.check(RunStage(tree, RegistryFacts{586, c.slowMachine, 0}));
    }
}

TEST(IdentifyMonitor, TakesTheFirstModelRowContainedInTheDescription)
{
    struct Case {
        const char* description;
        float size, pitch;
        uint32_t resolution;
        float area;
    } cases[] = {
        {"NEC MultiSync 4FGe", 15, 0.28f, 1024, 108},    {"Plug and Play Monitor", 15, 0.28f, 800, 108},
        {"Generic 17 inch monitor", 17, 0.28f, 1024, 138.72f}, {"nanao 9070u", 15, 0.28f, 640, 108},
        {"Generic 13\" monitor", 14, 0.28f, 1024, 94.08f},   {"ADI MicroScan 5AP", 17, 0.26f, 1024, 138.72f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.description);
        EnumSnapshot tree;
        AddDevice(&tree, "Monitor", "Default_Monitor", "0003", {{"DeviceDesc", c.description}});
        AddDevice(&tree, "Monitor", "Default_Monitor", "0004", {{"DeviceDesc", "NEC MultiSync 6FG"}});
        EquipmentInfo info = {};
        DeviceRecord scratch;
        const DeviceTree device = SnapshotTree(&tree);
        const RegistryFacts facts = {};
        IdentifyMonitor(RegistryContext{device, facts, &scratch, &info});
        EXPECT_STREQ(info.monitor, c.description);
        EXPECT_FLOAT_EQ(info.monitorSize, c.size);
        EXPECT_FLOAT_EQ(info.dotPitch, c.pitch);
        EXPECT_EQ(info.monitorResolution, c.resolution);
        EXPECT_FLOAT_EQ(info.screenArea, c.area);
    }
}
