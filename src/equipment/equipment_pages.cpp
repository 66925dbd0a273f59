#include "equipment/equipment_pages.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "equipment/modem_speed.h"
#include "services/held_count.h"
#include "services/text_rules.h"
#include "ui/report_line.h"
#include "ui/short_name.h"

const char* FormatTypeSet(const TypeFlagSet& set)
{
    static const struct {
        int flag;
        const char* name;
    } kNames[] = {{1, "ISA "},  {2, "EISA "}, {3, "MCA "},           {6, "PCI "},           {7, "VLB/VESA "},
                  {4, "APIC "}, {5, "Cyrix "}, {8, "PCMCIA-Intel "}, {9, "PCMCIA-Cirrus "}, {10, "PCMCIA-VLSI "}};
    static char text[256];
    text[0] = '\0';
    for (const auto& name : kNames)
        if (set.flags[name.flag]) strncat(text, name.name, sizeof text - strlen(text) - 1);
    return text;
}

namespace {
// Builds one page: each line a caption and a value.
struct PageLines {
    char (*lines)[kReportLineSlot];
    int next = 0;

    // A value formatted from a printf format.
    void Number(const char* caption, const char* format, ...) __attribute__((format(printf, 3, 4)))
    {
        char value[kReportLineSlot];
        va_list arguments;
        va_start(arguments, format);
        vsnprintf(value, sizeof value, format, arguments);
        va_end(arguments);
        Put(caption, value);
    }
    // A text value, shortened for the column.
    void Text(const char* caption, const char* text, const char* unit = "")
    {
        char shortened[kReportLineSlot];
        ShortenAtBreakText(text, shortened, sizeof shortened);
        char value[kReportLineSlot];
        snprintf(value, sizeof value, "%s%s", shortened, unit);
        Put(caption, value);
    }
    void Put(const char* caption, const char* value)
    {
        if (next < kEquipmentPageLines) snprintf(lines[next++], kReportLineSlot, REPORT_CAPTION "%s\t" REPORT_VALUE "%s", caption, value);
    }
};

const char* OverPrefix(uint32_t heldCount)
{
    return heldCount == UINT32_MAX ? ">" : "";
}

// The text of a figure made from heldCount, with ">" in front when the count is held (short,
// so the value column still holds the whole number).
const char* AtLeast(uint32_t heldCount, const char* text, char (&out)[kThousandsTextLength + 8])
{
    snprintf(out, sizeof out, "%s%s", OverPrefix(heldCount), text);
    return out;
}

const char* Thousands(uint32_t value, char (&text)[kThousandsTextLength])
{
    FormatThousands(value, text, sizeof text);
    return text;
}

// The ports of a flag array as "COM1 COM3 " (name then number, each with a blank).
const char* PortList(const uint32_t* present, int count, const char* name, char* text, size_t size)
{
    text[0] = '\0';
    for (int i = 0; i < count; ++i) {
        if (!present[i]) continue;
        const size_t used = strlen(text);
        snprintf(text + used, size - used, "%s%d ", name, i + 1);
    }
    return text;
}

const char* DriveText(const EquipmentInfo& info, const PageFacts& facts, int drive, char* text, size_t size)
{
    static const char* const kFloppies[] = {"", "FD: 5.25\", 360KB", "FD: 5.25\", 1.2MB", "FD: 3.5\", 720KB",
                                            "FD: 3.5\", 1.44MB", "FD: 3.5\", 2.88MB", "FD: 3.5\", 2.88MB"};
    switch (facts.driveTypes[drive]) {
    case kDriveRemovable: {
        const uint32_t type = facts.biosTypes[drive];
        snprintf(text, size, "%s", type >= 1 && type <= 6 ? kFloppies[type] : "FD:");
        break;
    }
    case kDriveFixed: {
        const uint64_t megabytes = facts.driveBytes[drive] / 1024000;
        char number[kThousandsTextLength];
        snprintf(text, size, "HD: %s MB", Thousands(HeldIn32Bits(megabytes), number));
        break;
    }
    case kDriveCdRom:
        snprintf(text, size, "%s",
                 info.cdromInterface == 'I'   ? "CD: IDE"
                 : info.cdromInterface == 'S' ? "CD: SCSI"
                 : info.cdromInterface == 'P' ? "CD: Proprietary"
                                              : "CD:");
        break;
    default: snprintf(text, size, "Not found"); break;
    }
    return text;
}

const char* VideoBusName(char bus)
{
    switch (bus) {
    case 'P': return "PCI";
    case 'V': return "VL/VESA";
    case 'E': return "EISA";
    default: return "ISA";
    }
}
}  // namespace

void FormatEquipmentPage(const EquipmentInfo& info, const PageFacts& facts, int page,
                         char lines[kEquipmentPageLines][kReportLineSlot])
{
    PageLines out{lines};
    char a[kThousandsTextLength], b[kThousandsTextLength + 8], text[kReportLineSlot];
    switch (page) {
    case 0:
        out.Text("PC name", info.pcName);
        out.Text("BIOS name", info.biosName);
        out.Text("BIOS date", info.biosDate);
        out.Text("BIOS version", info.biosVersion);
        out.Text("BUS types", FormatTypeSet(info.busTypes));
        out.Text("DMA types", FormatTypeSet(info.dmaTypes));
        out.Text("PIC types", FormatTypeSet(info.interruptTypes));
        break;
    case 1:
        out.Number("CPU Type", "%d", int(info.cpuType));
        out.Number("CPU Speed", "%d mHz", int(info.cpuSpeed));
        out.Number("CPU Clocked", "%d mHz", int(info.cpuClocked));
        out.Number("CPU Power", "%0.2f", double(info.cpuPower));
        out.Number("CPU Freq", "%d mHz", int(info.cpuBaseFrequency));
        out.Number("CPU FPower", "%0.2f", double(info.cpuBasePower));
        out.Text("FPU", info.fpuPresent ? "Present" : "None");
        break;
    case 2:
        out.Number("Load", "%d%%", int(facts.memoryLoad));
        // Byte counts are held at their 32-bit limit on larger machines: such a figure, and
        // the megabytes made from it, show as a lower bound rather than as the size.
        out.Number("RAM", "%d MB", int(info.ramMegabytes));
        out.Text("RAM", AtLeast(info.physicalMemory, Thousands(info.physicalMemory, a), b), " bytes");
        out.Number("Page File", "%s%lu MB", OverPrefix(info.pageFile), static_cast<unsigned long>(info.pageFile / 1024000));
        out.Text("Page File", AtLeast(info.pageFile, Thousands(info.pageFile, a), b));
        out.Text("Virtual", AtLeast(info.virtualMemory, Thousands(info.virtualMemory / 1024000, a), b), " MB");
        out.Text("Virtual", AtLeast(info.virtualMemory, Thousands(info.virtualMemory, a), b));
        break;
    case 3: {
        // Controllers on no other bus are the AT ones; never fewer than none.
        const uint32_t others = info.pciDiskController + info.vlDiskController + info.eisaDiskController;
        out.Number("IDE", "%d controller(s)", int(info.ideControllers));
        out.Number("AT", "%d controller(s)", int(info.ideControllers > others ? info.ideControllers - others : 0));
        out.Number("PCI", "%d controller(s)", int(info.pciDiskController));
        out.Number("VL/VESA", "%d controller(s)", int(info.vlDiskController));
        out.Number("EISA", "%d controller(s)", int(info.eisaDiskController));
        out.Number("SCSI", "%d controller(s)", int(info.scsiAdapters));
        out.Number("Floppy", "%d controller(s)", int(info.floppyControllers));
        break;
    }
    case 4:
        for (int drive = 0; drive < kPageDriveCount; ++drive) {
            char caption[16];
            snprintf(caption, sizeof caption, "Drive %c:", 'A' + drive);
            out.Text(caption, DriveText(info, facts, drive, text, sizeof text));
        }
        break;
    case 5:
        out.Text("Video Card", info.videoCard);
        out.Text("Interface", VideoBusName(info.videoBus));
        out.Text("Type", info.videoClass == 1 ? "Unaccelerated" : "Accelerated");
        out.Text("Display", info.monitor);
        out.Number("Size", "%d inch", int(info.monitorSize));
        out.Number("Screen area", "%d", int(info.screenArea));
        // Hundredths of a millimetre, rounded: a float holds 0.26 as 0.2599999.
        out.Number("Dot pitch", "%d", int(double(info.dotPitch) * 100.0 + 0.5));
        break;
    case 6:
        out.Text("Serial ports", PortList(info.comPresent, 4, "COM", text, sizeof text));
        out.Text("Parallel ports", PortList(info.lptPresent, 3, "LPT", text, sizeof text));
        out.Text("ECP ports", PortList(info.ecpPresent, 3, "LPT", text, sizeof text));
        out.Number("Game ports", "%d", int(info.gamePort));
        out.Number("PS/2 ports", "%d", int(info.ps2Port));
        out.Text("Modem", info.modem);
        out.Number("Modem speed", "%d", int(SpeedFromModemName(info.modem)));
        break;
    case 7:
        out.Text("Keyboard", info.keyboard);
        out.Number("Keys", "%d", int(info.keys));
        out.Number("Function keys", "%d", int(info.functionKeys));
        out.Text("Mouse", info.mouse);
        out.Number("Mouse buttons", "%d", int(info.mouseButtons));
        out.Text("Joystick 1", info.joysticks != 0 ? "Present" : "Not found");
        out.Text("Joystick 2", info.joysticks == 2 ? "Present" : "Not found");
        break;
    case 8:
        out.Text("Sound Card", info.soundCard);
        out.Text("Aux audio", info.auxAudio);
        out.Text("Wave in", info.waveIn);
        out.Text("Wave out", info.waveOut);
        out.Text("MIDI in", info.midiIn);
        out.Text("MIDI out", info.midiOut);
        out.Text("MCI", info.mciDevice);
        break;
    default:
        for (int i = 0; i < kEquipmentPageLines; ++i) {
            if (info.printers[i][0]) {
                out.Text("Printer", info.printers[i]);
            } else {
                snprintf(lines[out.next++], kReportLineSlot, REPORT_CAPTION "Printer");
            }
        }
        break;
    }
}
