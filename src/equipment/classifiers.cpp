#include "equipment/classifiers.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "equipment/measure_rules.h"
#include "equipment/monitor_table.h"

// Instance keys probed by formatted path: n = 0..254 as "%.2X" (00..FE), or with two
// zeros before it (0000..00FE) under the Root enumerator.
static const int kProbeCount = 255;

template <size_t N>
static void CopyText(char (&field)[N], const char* text)
{
    snprintf(field, N, "%s", text);
}

static bool HasDeviceId(const DeviceTree& tree, const char* id)
{
    return tree.walk(tree.context, id, kMatchDeviceId, nullptr, 0, kWalkFind) != 0;
}

static int Count(const DeviceTree& tree, const char* pattern, int field)
{
    return tree.walk(tree.context, pattern, field, nullptr, 0, kWalkCount);
}

// Every device matching pattern in field: counted, then collected into an array of that
// many records; a device that appears between the two walks is left out.
static std::vector<DeviceRecord> Collect(const DeviceTree& tree, const char* pattern, int field)
{
    std::vector<DeviceRecord> records(size_t(Count(tree, pattern, field)));
    if (records.empty()) return records;
    const int found = tree.walk(tree.context, pattern, field, records.data(), int(records.size()), kWalkCollect);
    if (size_t(found) < records.size()) records.resize(size_t(found));
    return records;
}

// Reads the instance at a path formatted with n; true when it exists.
static bool Probe(const RegistryContext& c, const char* format, int n)
{
    char path[64];
    snprintf(path, sizeof path, format, n);
    return c.tree.readRecord(c.tree.context, c.scratch, path) != 0;
}

// The Windows 95 device tree describes the machine; without it the running system does.
static bool HasMotherboardEntry(const RegistryContext& c)
{
    for (int n = 0; n < kProbeCount; ++n)
        if (Probe(c, "ENUM\\Root\\*PNP0C01\\00%.2X", n)) return true;
    return false;
}

// The devices the running system lists, where the tree has no motherboard entry; none where
// it has one, so the tree alone describes a Windows 95 machine.
static const std::vector<PresentDevice>& SystemDevicesInPlaceOfTree(const RegistryContext& c)
{
    static const std::vector<PresentDevice> kNone;
    return HasMotherboardEntry(c) ? kNone : c.facts.systemDevices;
}

struct IdFlag {
    const char* id;
    int flag;
};

// Sets the flag of each id the tree holds, or that a device the system lists in place of
// the tree carries.
static void SetFlagsFound(const RegistryContext& c, TypeFlagSet* set, const IdFlag* ids, size_t count)
{
    const std::vector<PresentDevice>& listed = SystemDevicesInPlaceOfTree(c);
    for (size_t i = 0; i < count; ++i)
        if (HasDeviceId(c.tree, ids[i].id) || AnyDeviceHasPnpId(listed, ids[i].id)) set->flags[ids[i].flag] = 1;
}

enum { kIsa = 1, kEisa = 2, kMca = 3, kApic = 4, kCyrix = 5, kPci = 6, kVesa = 7, kPcmciaIntel = 8,
       kPcmciaCirrus = 9, kPcmciaVlsi = 10, kScsi = 11 };

static void PrinterPorts(const RegistryContext& c)
{
    for (int n = 0; n < kProbeCount; ++n) {
        if (Probe(c, "ENUM\\BIOS\\*PNP0400\\%.2X", n)) {
            const uint32_t port = PortNumberIn(c.scratch->description, "123");
            if (port >= 1 && port <= 3) c.info->lptPresent[port - 1] = 1;
        }
        if (Probe(c, "ENUM\\BIOS\\*PNP0401\\%.2X", n)) {
            const uint32_t port = PortNumberIn(c.scratch->description, "123");
            if (port >= 1 && port <= 3) c.info->ecpPresent[port - 1] = 1;
        }
    }
}

static void InterruptControllers(const RegistryContext& c)
{
    static const IdFlag kIds[] = {
        {"*PNP0000", kIsa}, {"*PNP0001", kEisa}, {"*PNP0002", kMca}, {"*PNP0003", kApic}, {"*PNP0004", kCyrix}};
    SetFlagsFound(c, &c.info->interruptTypes, kIds, sizeof kIds / sizeof kIds[0]);
}

static void Timers(const RegistryContext& c)
{
    static const IdFlag kIds[] = {{"*PNP0100", kIsa}, {"*PNP0101", kEisa}, {"*PNP0102", kMca}};
    SetFlagsFound(c, &c.info->timerTypes, kIds, sizeof kIds / sizeof kIds[0]);
}

static void DmaControllers(const RegistryContext& c)
{
    static const IdFlag kIds[] = {{"*PNP0200", kIsa}, {"*PNP0201", kEisa}, {"*PNP0202", kMca}};
    SetFlagsFound(c, &c.info->dmaTypes, kIds, sizeof kIds / sizeof kIds[0]);
}

static void Keyboard(const RegistryContext& c)
{
    static const struct {
        const char* id;
        const char* style;
        uint32_t keys;
    } kStyles[] = {
        {"*PNP0300", "IBM PC/XT 83 key style", 83},     {"*PNP0301", "IBM PC/AT 86 key style", 86},
        {"*PNP0302", "IBM PC/XT 84 key style", 84},     {"*PNP0303", "IBM Enhanced 101 key style", 101},
        {"*PNP0304", "Olivetti 83 key style", 83},      {"*PNP0305", "Olivetti 102 key style", 102},
        {"*PNP0306", "Olivetti 86 key style", 86},      {"*PNP0307", "Microsoft Windows style", 101},
        {"*PNP0308", "GIDEI legacy style", 101},        {"*PNP0309", "Olivetti 101/102 style", 101},
        {"*PNP030A", "AT&T 302 style", 101},            {"*PNP0313", "Keyboard with PS/2 port", 101},
    };
    CopyText(c.info->keyboard, "IBM Enhanced 101 key style");
    c.info->keys = 101;
    for (int n = 0; n < kProbeCount; ++n) {
        for (const auto& style : kStyles) {
            char format[40];
            snprintf(format, sizeof format, "ENUM\\BIOS\\%s\\%%.2X", style.id);
            if (!Probe(c, format, n)) continue;
            CopyText(c.info->keyboard, style.style);
            c.info->keys = style.keys;
            return;
        }
    }
}

static void SerialPorts(const RegistryContext& c)
{
    static const struct {
        const char* format;
        uint32_t kind;
    } kProbes[] = {
        {"ENUM\\BIOS\\*PNP0500\\%.2X", 1}, {"ENUM\\Root\\*PNP0500\\00%.2X", 1},
        {"ENUM\\BIOS\\*PNP0501\\%.2X", 2}, {"ENUM\\Root\\*PNP0501\\00%.2X", 2},
    };
    for (int n = 0; n < kProbeCount; ++n) {
        for (const auto& probe : kProbes) {
            if (!Probe(c, probe.format, n)) continue;
            const uint32_t port = PortNumberIn(c.scratch->description, "1234");
            if (port < 1 || port > 4) continue;
            c.info->comUartKinds[port - 1] = probe.kind;
            c.info->comPresent[port - 1] = 1;
        }
    }
}

// A count the tree gives; where it gives none and the system lists devices in place of the
// tree, the devices of that class.
static uint32_t CountOrListed(const RegistryContext& c, uint32_t counted, const char* className)
{
    return counted ? counted : CountDevicesOfClass(SystemDevicesInPlaceOfTree(c), className);
}

static void DiskControllers(const RegistryContext& c)
{
    c.info->floppyControllers = CountOrListed(c, uint32_t(Count(c.tree, "fdc", kMatchClass)), "fdc");
    c.info->ideControllers = CountOrListed(c, c.tree.countSubkeys(c.tree.context, "ENUM\\MF"), "hdc");
}

static void Buses(const RegistryContext& c)
{
    static const struct {
        const char* pattern;
        int field;
        int flags[2];
    } kTests[] = {
        {"*PNP0A00", kMatchDeviceId, {kIsa}},           {"*PNP0A01", kMatchDeviceId, {kEisa, kIsa}},
        {"*PNP0A02", kMatchDeviceId, {kMca}},           {"*PNP0A03", kMatchDeviceId, {kPci, kIsa}},
        {"*PNP0A04", kMatchDeviceId, {kVesa, kIsa}},    {"*PNP0E00", kMatchDeviceId, {kPcmciaIntel, kIsa}},
        {"*PNP0E01", kMatchDeviceId, {kPcmciaCirrus, kIsa}}, {"*PNP0E02", kMatchDeviceId, {kPcmciaVlsi, kIsa}},
        {"ISAPNP", kMatchAnyName, {kIsa}},  {"ISAWPU", kMatchAnyName, {kIsa}},   {"ESDI", kMatchAnyName, {kIsa}},
        {"EISA", kMatchAnyName, {kEisa}},   {"MCA", kMatchAnyName, {kMca}},      {"PCI", kMatchAnyName, {kPci}},
        {"PCMCIA", kMatchAnyName, {kPcmciaIntel}}, {"VL", kMatchAnyName, {kVesa}}, {"VESA", kMatchAnyName, {kVesa}},
        {"SCSI", kMatchAnyName, {kScsi}},
    };
    for (const auto& test : kTests) {
        if (!c.tree.walk(c.tree.context, test.pattern, test.field, nullptr, 0, kWalkFind)) continue;
        for (int flag : test.flags)
            if (flag) c.info->busTypes.flags[flag] = 1;
    }
}

static void Mouse(const RegistryContext& c)
{
    static const struct {
        const char* ids[8];
        const char* name;
    } kGroups[] = {
        {{"*PNP0F00", "*PNP0F01", "*PNP0F02", "*PNP0F03", "*PNP0F09", "*PNP0F0A", "*PNP0F0B"},
         "Microsoft Serial Port Mouse"},
        {{"*PNP0F04", "*PNP0F05"}, "Mouse Systems Mouse"},
        {{"*PNP0F06", "*PNP0F07"}, "Genius Mouse"},
        {{"*PNP0F08", "*PNP0F12"}, "Logitech Mouse"},
        {{"*PNP0F0C", "*PNP0F0D", "*PNP0F0E", "*PNP0F0F", "*PNP0F11"}, "MS Compatible Mouse"},
        {{"*PNP0F10"}, "Texas Instruments Mouse"},
        {{"*PNP0F13"}, "Microsoft PS/2 Port Mouse"},
    };
    for (const auto& group : kGroups) {
        for (const char* id : group.ids) {
            if (!id || !HasDeviceId(c.tree, id)) continue;
            CopyText(c.info->mouse, group.name);
            return;
        }
    }
    CopyText(c.info->mouse, "Generic Mouse");
}

static void Ps2Ports(const RegistryContext& c)
{
    if (HasDeviceId(c.tree, "*PNP0F13") || HasDeviceId(c.tree, "*PNP0313")) c.info->ps2Port = 1;
}

struct IdName {
    const char* id;
    const char* name;
};

static void SoundDevices(const RegistryContext& c)
{
    static const IdName kCards[] = {
        {"*PNPB000", "Sound Blaster 1.5 or compatible"},       {"*PNPB001", "Sound Blaster 2.0 or compatible"},
        {"*PNPB002", "Sound Blaster PRO or compatible"},       {"*PNPB003", "Sound Blaster 16/AWE 32 or compatible"},
        {"*PNPB004", "Thunderboard or compatible"},            {"*PNPB005", "AdLib or compatible"},
        {"*PNPB006", "Roland or compatible"},                  {"*PNPB007", "MS Sound System or compatible"},
        {"*PNPB008", "Compaq Waveform or compatible"},         {"*PNPB009", "New MS Sound System or compatible"},
    };
    static const IdName kMci[] = {
        {"*PNPB010", "Motion Video Device (MCI)"},      {"*PNPB011", "MIDI Sequencer (MCI)"},
        {"*PNPB012", "Wave Audio Device (MCI)"},        {"*PNPB013", "VISCA VCR Device (MCI)"},
        {"*PNPB014", "Pioneer Laserdisk Device (MCI)"}, {"*PNPB015", "CD Audio Device (MCI)"},
        {"*PNPB016", "Yamaha OPL3 Device (MCI)"},
    };
    for (const IdName& card : kCards) {
        if (!HasDeviceId(c.tree, card.id)) continue;
        CopyText(c.info->soundCard, card.name);
        break;
    }
    for (const IdName& mci : kMci)  // every one is tested; the last found stays
        if (HasDeviceId(c.tree, mci.id)) CopyText(c.info->mciDevice, mci.name);
}

static void GamePorts(const RegistryContext& c)
{
    if (HasDeviceId(c.tree, "*PNPB02F") || HasDeviceId(c.tree, "MEDIA") ||
        c.tree.walk(c.tree.context, "GAME", kMatchDescription, nullptr, 0, kWalkFind) || c.facts.hasJoystickValue)
        c.info->gamePort = 1;
}

static void Processors(const RegistryContext& c)
{
    const bool listed = Count(c.tree, "Numeric", kMatchDescription) != 0;
    c.info->fpuPresent = listed || (c.facts.systemHasFpu && !HasMotherboardEntry(c)) ? 1 : 0;
    const uint32_t type = c.facts.processorType;
    c.info->cpuType = (type == 386 || type == 486 || type == 586) ? type : 0;
}

// A field the system reports; an empty report leaves the field as it is.
template <size_t N>
static void CopyReported(char (&field)[N], const char* text)
{
    if (text[0]) CopyText(field, text);
}

static void Motherboard(const RegistryContext& c)
{
    for (int n = 0; n < kProbeCount; ++n) {
        if (!Probe(c, "ENUM\\Root\\*PNP0C01\\00%.2X", n)) continue;
        CopyText(c.info->biosDate, c.scratch->biosDate);
        CopyText(c.info->biosName, c.scratch->biosName);
        CopyText(c.info->biosVersion, c.scratch->biosVersion);
        return;
    }
    // No motherboard entry (no Windows 95 device tree): what the running system reports.
    CopyReported(c.info->biosDate, c.facts.bios.date);
    CopyReported(c.info->biosName, c.facts.bios.vendor);
    CopyReported(c.info->biosVersion, c.facts.bios.version);
}

static void ScsiIds(const RegistryContext& c)
{
    for (int id = 0; id < 8; ++id) {
        char text[4];
        snprintf(text, sizeof text, "%d", id);
        if (Count(c.tree, text, kMatchScsiTarget)) c.info->scsiIdsInUse[id] = 1;
    }
}

static void CdRom(const RegistryContext& c)
{
    const std::vector<DeviceRecord> drives = Collect(c.tree, "CDROM", kMatchClass);
    if (!drives.empty()) c.info->cdromInterface = 'I';
    for (const DeviceRecord& drive : drives)
        if (drive.scsiTargetId != 0) c.info->cdromInterface = 'S';  // an absent id counts too
    static const char* const kProprietary[] = {"*PNPA003", "*PNPA02B", "*PNPA030", "*PNPA031", "*PNPA032"};
    int proprietary = 0;
    for (const char* id : kProprietary) proprietary += Count(c.tree, id, kMatchInstance);
    if (proprietary) c.info->cdromInterface = 'P';
}

static void ScsiAdapters(const RegistryContext& c)
{
    static const char* const kIds[] = {"*PNPA000", "*PNPA001", "*PNPA002", "*PNPA01B", "*PNPA01D", "*PNPA01E",
                                       "*PNPA01F", "*PNPA020", "*PNPA022", "*PNPA02D", "*PNPA02F"};
    uint32_t adapters = 0;
    for (const char* id : kIds) adapters += HasDeviceId(c.tree, id) ? 1 : 0;
    c.info->scsiAdapters = CountOrListed(c, adapters, "SCSIAdapter");
}

static void DiskControllerBuses(const RegistryContext& c)
{
    for (const DeviceRecord& controller : Collect(c.tree, "hdc", kMatchClass)) {
        if (ContainsNoCase(controller.description, "PCI")) c.info->pciDiskController = 1;
        if (ContainsNoCase(controller.description, "VL") || ContainsNoCase(controller.description, "VESA"))
            c.info->vlDiskController = 1;
        if (ContainsNoCase(controller.description, "EISA")) c.info->eisaDiskController = 1;
    }
}

static void VideoCardType(const RegistryContext& c)
{
    for (const DeviceRecord& display : Collect(c.tree, "Display", kMatchClass)) {
        // Each test and each later device overwrites what an earlier one set.
        if (ContainsNoCase(display.hardwareId, "PCI")) c.info->videoBus = 'P';
        if (ContainsNoCase(display.hardwareId, "VL")) c.info->videoBus = 'V';
        if (ContainsNoCase(display.hardwareId, "VESA")) c.info->videoBus = 'V';
        if (ContainsNoCase(display.hardwareId, "EISA")) c.info->videoBus = 'E';
    }
}

static int CountDeviceIds(const DeviceTree& tree, const char* const* ids, size_t count)
{
    int found = 0;
    for (size_t i = 0; i < count; ++i) found += HasDeviceId(tree, ids[i]) ? 1 : 0;
    return found;
}

static void VideoCard(const RegistryContext& c)
{
    std::vector<DeviceRecord> displays = Collect(c.tree, "Display", kMatchClass);
    for (int n = 0; displays.empty() && n <= 98; ++n) {
        char id[16];
        snprintf(id, sizeof id, "*PNP09%.2X", n);
        displays = Collect(c.tree, id, kMatchInstance);
    }
    if (!displays.empty()) CopyText(c.info->videoCard, displays[0].description);

    static const char* const kFastest[] = {"*PNP0912", "*PNP0916", "*PNP0941", "*PNP090E", "*PNP0913"};
    static const char* const kFast[] = {"*PNP0905", "*PNP0904", "*PNP0909", "*PNP090A", "*PNP0931"};
    static const char* const kSlow[] = {"*PNP0901", "*PNP0906", "*PNP090B", "*PNP090D"};
    c.info->videoClass = 3;
    if (CountDeviceIds(c.tree, kFastest, 5)) c.info->videoClass = 5;
    if (CountDeviceIds(c.tree, kFast, 5)) c.info->videoClass = 5;
    if (CountDeviceIds(c.tree, kSlow, 4)) c.info->videoClass = 2;
    if (c.info->videoClass != 3) return;
    if (c.facts.slowMachine & 4) {
        c.info->videoClass = 1;
        CopyText(c.info->videoCard, "Unaccelerated Card");
    }
    if (c.info->videoBus == 'P') c.info->videoClass = 5;
    if (c.info->videoBus == 'E' || c.info->videoBus == 'V') c.info->videoClass = 4;
}

void IdentifyMonitor(const RegistryContext& c)
{
    EquipmentInfo* info = c.info;
    CopyText(info->monitor, "Default Monitor");
    double size = 15.0, pitch = 0.28;
    uint32_t resolution = 800;
    for (int n = 0; n <= 30; ++n) {
        if (!Probe(c, "ENUM\\Monitor\\Default_Monitor\\00%.2X", n)) continue;
        CopyText(info->monitor, c.scratch->description);
        if (const MonitorModel* model = MatchMonitorModel(c.scratch->description)) {
            size = model->diagonal;
            pitch = model->dotPitch;
            resolution = model->resolution;
        }
        break;
    }
    info->monitorSize = float(size);
    info->dotPitch = float(pitch);
    info->monitorResolution = resolution;
    info->screenArea = float(size * size * 0.48);
}

static void ModemName(const RegistryContext& c)
{
    std::vector<DeviceRecord> modems = Collect(c.tree, "Modem", kMatchClass);
    if (!modems.empty()) CopyText(c.info->modem, modems[0].description);
}

const RegistryStep kRegistrySteps[kRegistryStepCount] = {
    {"Start", nullptr, false},
    {"Printer Ports", PrinterPorts, false},
    {"Interrupt controllers", InterruptControllers, true},
    {"Timers", Timers, false},
    {"DMA Controllers", DmaControllers, false},
    {"Keyboard", Keyboard, true},
    {"Serial Ports", SerialPorts, false},
    {"Disk Controllers", DiskControllers, true},
    {"BUS", Buses, false},
    {"Mouse", Mouse, true},
    {"PS/2 Ports", Ps2Ports, false},
    {"Sound Devices", SoundDevices, true},
    {"Game Ports", GamePorts, false},
    {"Processors", Processors, true},
    {"Motherboard", Motherboard, false},
    {"SCSI IDs", ScsiIds, true},
    {"CD-ROM", CdRom, false},
    {"SCSI Adaptors", ScsiAdapters, true},
    {"Disk Controllers", DiskControllerBuses, false},
    {"Video Card Type", VideoCardType, true},
    {"Video Card", VideoCard, false},
    {"Monitor", IdentifyMonitor, false},
    {"Modem Name", ModemName, false},
    {"Done", nullptr, true},
};

void RunRegistrySteps(const RegistryContext& context, void (*announce)(const char* name), void (*splash)())
{
    for (const RegistryStep& step : kRegistrySteps) {
        if (announce) announce(step.name);
        if (step.classify) step.classify(context);
        if (step.stepsSplash && splash) splash();
    }
}
