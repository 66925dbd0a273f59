#include "checks/file_check_rules.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "services/report_slot.h"
#include "services/text_rules.h"
#include "ui/report_line.h"

// ---- Report lines ----

const char kDoesNotApply[] = "Does not apply to this version of Windows";

size_t CopyOutsideText(const char* text, size_t length, char* out, size_t size)
{
    if (size == 0) return 0;
    size_t n = 0;
    for (size_t i = 0; text && i < length && n + 1 < size; ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        out[n++] = c < 0x20 ? ' ' : char(c);
    }
    out[n] = '\0';
    return n;
}

// Appends markup (trusted, ours) and then outside text to slot at *used.
static void AppendMarkup(char* slot, size_t size, size_t* used, const char* markup)
{
    const size_t length = strlen(markup);
    const size_t room = size - 1 - *used;
    const size_t n = length < room ? length : room;
    memcpy(slot + *used, markup, n);
    *used += n;
    slot[*used] = '\0';
}

static void AppendOutside(char* slot, size_t size, size_t* used, const char* text)
{
    *used += CopyOutsideText(text, text ? strlen(text) : 0, slot + *used, size - *used);
}

// Builds markup1 text1 [tab markup2 text2] into the slot; the second field, when there is
// one, keeps its room: the label is cut first, so a value or verdict is never lost.
static void BuildLine(char* slot, size_t size, const char* markup1, const char* text1, const char* markup2,
                      const char* text2)
{
    if (size == 0) return;
    slot[0] = '\0';
    size_t used = 0;
    size_t secondLength = 0;
    if (markup2) secondLength = 1 + strlen(markup2) + (text2 ? strlen(text2) : 0);
    if (secondLength > size / 2) secondLength = size / 2;
    const size_t firstRoom = size - secondLength;
    AppendMarkup(slot, firstRoom, &used, markup1);
    AppendOutside(slot, firstRoom, &used, text1);
    if (!markup2) return;
    AppendMarkup(slot, size, &used, "\t");
    AppendMarkup(slot, size, &used, markup2);
    AppendOutside(slot, size, &used, text2);
}

void FormatCheckHeadings(char* slot, size_t size, const char* const* texts, int count)
{
    if (size == 0) return;
    slot[0] = '\0';
    size_t used = 0;
    for (int i = 0; i < count; ++i) {
        if (i > 0) AppendMarkup(slot, size, &used, "\t");
        AppendMarkup(slot, size, &used, REPORT_HEADING);
        AppendOutside(slot, size, &used, texts[i]);
    }
}

void FormatCheckHeading(char* slot, size_t size, const char* text)
{
    BuildLine(slot, size, REPORT_HEADING, text, nullptr, nullptr);
}

void FormatCheckTest(char* slot, size_t size, const char* label, bool passed)
{
    BuildLine(slot, size, REPORT_CAPTION, label, REPORT_VALUE, passed ? "Passed" : "Failed");
}

void FormatCheckValue(char* slot, size_t size, const char* label, const char* value)
{
    BuildLine(slot, size, REPORT_CAPTION, label, REPORT_VALUE, value);
}

void FormatCheckGrey(char* slot, size_t size, const char* text)
{
    BuildLine(slot, size, REPORT_MARK_GREY, text, nullptr, nullptr);
}

bool FormatThousands64(uint64_t value, char* out, size_t size)
{
    char digits[21];
    const int count = snprintf(digits, sizeof digits, "%llu", static_cast<unsigned long long>(value));
    const size_t length = size_t(count) + (size_t(count) - 1) / 3;
    if (size == 0) return false;
    out[0] = '\0';
    if (length + 1 > size) return false;
    size_t n = 0;
    for (int i = 0; i < count; ++i) {
        if (i > 0 && (count - i) % 3 == 0) out[n++] = ',';
        out[n++] = digits[i];
    }
    out[n] = '\0';
    return true;
}

bool FormatSignedThousands64(int64_t value, char* out, size_t size)
{
    if (size == 0) return false;
    out[0] = '\0';
    if (value >= 0) return FormatThousands64(uint64_t(value), out, size);
    if (size < 2) return false;
    out[0] = '-';
    // The magnitude of the most negative value still fits in 64 unsigned bits.
    if (!FormatThousands64(uint64_t(0) - uint64_t(value), out + 1, size - 1)) {
        out[0] = '\0';
        return false;
    }
    return true;
}

// ---- Tables ----

const SystemFileRow kSystemFileRows[kSystemFileRowCount] = {
    {"System Files in \\Windows", 0},
    {"WIN.COM", 2}, {"SYSTEM.DAT", 2}, {"SYSTEM.DA0", 2}, {"USER.DAT", 2}, {"EXPLORER.EXE", 2}, {"COMMAND.COM", 2},
    {"System Files in \\Windows\\System", 0},
    {"GDI32.DLL", 1}, {"USER32.DLL", 1}, {"KERNEL32.DLL", 1}, {"GDI.EXE", 1}, {"USER.EXE", 1}, {"KRNL386.EXE", 1},
    {"VMM32.VXD", 1}, {"ADVAPI32.DLL", 1}, {"MPR.DLL", 1}, {"MPREXE.EXE", 1}, {"MPRSERV.DLL", 1},
    {"WINSPOOL.DRV", 1}, {"LINKINFO.DLL", 1}, {"VERSION.DLL", 1}, {"SHELL32.DLL", 1}, {"COMCTL32.DLL", 1},
    {"SYSTRAY.EXE", 1}, {"WINMM.DLL", 1}, {"SPOOL32.EXE", 1}, {"SPOOLSS.DLL", 1}, {"COMDLG32.DLL", 1},
    {"System Files in Root Directory", 0},
    {"COMMAND.COM", 3}, {"IO.SYS", 3}, {"SETUPLOG.TXT", 3}, {"DETLOG.TXT", 3}, {"BOOTLOG.TXT", 3},
    {"System Files in \\Windows\\System\\Iosubsys", 0},
    {"BIGMEM.DRV", 4}, {"APIX.VXD", 4}, {"CDFS.VXD", 4}, {"CDTSD.VXD", 4}, {"CDVSD.VXD", 4}, {"DISKTSD.VXD", 4},
    {"DISKVSD.VXD", 4}, {"VOLTRACK.VXD", 4}, {"NECATAPI.VXD", 4}, {"AIC78XX.MPD", 4}, {"AMSINT.MPD", 4},
    {"NCRC710.MPD", 4}, {"NCRC810.MPD", 4}, {"ESDI_506.PDR", 4}, {"HSFLOP.PDR", 4}, {"RMM.PDR", 4},
    {"SCSIPORT.PDR", 4}, {"SCSI1HLP.VXD", 4},
};

// Indents show the depth: five spaces below the Windows directory (six for the two
// folders whose names the eye should find at once), eleven and sixteen further down.
const DirectoryRow kDirectoryRows[kDirectoryRowCount] = {
    {"\\Windows", ""},
    {"     \\Command", "Command"},
    {"     \\Config", "Config"},
    {"     \\Cursors", "Cursors"},
    {"     \\Desktop", "Desktop"},
    {"     \\Fonts", "Fonts"},
    {"     \\Help", "Help"},
    {"     \\Inf", "Inf"},
    {"     \\Media", "Media"},
    {"     \\Pif", "Pif"},
    {"     \\Recent", "Recent"},
    {"     \\Sendto", "Sendto"},
    {"     \\Spool", "Spool"},
    {"           \\Printers", "Spool\\Printers"},
    {"     \\Start Menu", "Start Menu"},
    {"           \\Programs", "Start Menu\\Programs"},
    {"                \\Accessories", "Start Menu\\Programs\\Accessories"},
    {"                \\Startup", "Start Menu\\Programs\\Startup"},
    {"      \\Sysbckup", "Sysbckup"},
    {"      \\System", "System"},
    {"           \\Color", "System\\Color"},
    {"           \\Iosubsys", "System\\Iosubsys"},
    {"           \\Vmm32", "System\\Vmm32"},
    {"     \\Temp", "Temp"},
};

const char* const kRegistryClasses[kRegistryClassCount] = {
    "hdc", "fdc", "System", "Keyboard", "Ports", "Mouse", "DiskDrive", "Monitor", "Display", "Printer", "MEDIA", "CDROM",
};

const char* const kStaticVxdNames[kStaticVxdCount] = {
    "BIOSXLAT", "COMBUFF", "CONFIGMG", "DOSMGR", "IFSMGR", "IOS",    "PAGESWAP", "PARITY", "PERF",  "REBOOT",
    "SHELL",    "SPOOLER", "V86MMGR",  "VCACHE", "VCOMM",  "VCOND",  "VDEF",     "VDMAD",  "VFAT",  "VFBACKUP",
    "VMCPD",    "VMPOLL",  "VPICD",    "VSD",    "VSHARE", "VTD",    "VTDAPI",   "VWIN32", "VXDLDR",
};

const char kVxdKeyPrefix[] = "System\\CurrentControlSet\\Services\\VxD\\";

const StartupFileRow kStartupFiles[kStartupFileRowCount] = {
    {"IO.SYS", false},     {"MSDOS.SYS", false}, {"COMMAND.COM", false}, {"CONFIG.SYS", false},
    {"AUTOEXEC.BAT", false}, {"WIN.INI", true},  {"SYSTEM.INI", true},
};

const char* const kWinIniSections[kWinIniSectionCount] = {
    "[windows]",      "[Desktop]",       "[Extensions]", "[Intl]",       "[Ports]",          "[FontSubstitutes]",
    "[TrueType]",     "[mci extensions]", "[Compatibility]", "[Compatibility32]", "[winsetup]", "[fonts]",
    "[embedding]",    "[spooler]",       "[Windows Help]", "[PrinterPorts]", "[Devices]",      "[Colors]",
    "[WindowMetrics]", "[MCICompatibility]", "[mciavi]",  "[ModuleCompatibility]", "[Sounds]", "[Windows Telephony]",
};

const char* const kSystemIniSections[kSystemIniSectionCount] = {
    "[boot]",         "[keyboard]",   "[boot.description]", "[386Enh]",  "[mci]",           "[drivers]",
    "[DDEShares]",    "[Network]",    "[network drivers]",  "[power.drv]", "[iccvid.drv]",  "[mciseq.drv]",
    "[Display Driver]", "[Pen Driver]", "[display]",        "[drivers32]", "[TTFontDimenCache]",
};

bool IsBuiltInStaticVxd(const char* value)
{
    return value && value[0] == '*' && !strchr(value, ' ');
}

// ---- Root directories ----

const char* const kRootClassLabels[kRootEntryClassCount] = {
    "8.3 ALL CAPS", "8.3 Mixed Case", "8.3 Special Characters",
    "Long File Names < 22", "Long File Names < 33", "Long File Names < 44",
};
const int kRootClassEntries[kRootEntryClassCount] = {1, 2, 2, 3, 4, 5};

RootEntryUse RootEntryUseOf(const char* name)
{
    const size_t length = name ? strlen(name) : 0;
    bool lowerCase = false;
    bool special = false;
    for (size_t i = 0; i < length; ++i) {
        if (name[i] >= 'a' && name[i] <= 'z') lowerCase = true;
        if (strchr("+,;[]", name[i])) special = true;
    }
    const int baseSlots = int(length / 13) + 1;
    RootEntryUse use;
    use.slots = baseSlots + ((baseSlots > 1 || lowerCase || special) ? 1 : 0);
    if (baseSlots == 1)
        use.entryClass = lowerCase ? kRootMixedCase : special ? kRootSpecial : kRootAllCaps;
    else
        use.entryClass = baseSlots == 2 ? kRootLong22 : baseSlots == 3 ? kRootLong33 : kRootLong44;
    return use;
}

void AddRootEntry(RootTally* tally, const RootEntryUse& use)
{
    ++tally->entries;
    tally->slots += use.slots;
    ++tally->files[use.entryClass];
}

int64_t RootEntriesAvailable(const RootTally& tally)
{
    return kRootEntryLimit - tally.entries;
}

int64_t RootSlotsAvailable(const RootTally& tally)
{
    return kRootEntryLimit - tally.slots;
}

// ---- CONFIG.SYS and AUTOEXEC.BAT ----

void ForEachConfigLine(const char* content, size_t length, ConfigLineSink sink, void* context)
{
    if (!content) return;
    size_t start = 0;
    for (size_t i = 0; i <= length; ++i) {
        if (i < length && content[i] != '\n') continue;
        sink(context, content + start, i - start);
        start = i + 1;
    }
}

static bool BeginsWith(const char* line, size_t length, const char* prefix)
{
    const size_t n = strlen(prefix);
    return n <= length && memcmp(line, prefix, n) == 0;
}

bool IsConfigDriverLine(const char* line, size_t length)
{
    if (BeginsWith(line, length, "REM")) return false;
    // A NUL inside the line ends it, as it ends the value for the reader below.
    const char* nul = length ? static_cast<const char*>(memchr(line, '\0', length)) : nullptr;
    const std::string text(line, nul ? size_t(nul - line) : length);
    const char* value = ProfileLineValue(text.c_str());
    if (!value[0]) return false;
    return strstr(value, ".SYS") || strstr(value, ".DRV") || strstr(value, ".EXE");
}

bool IsAutoexecProgramLine(const char* line, size_t length)
{
    static const char* const kSkipped[] = {"REM", "PATH", "@PATH", "PROMPT", "@PROMPT", "SET", "@SET", "@ECHO", "ECHO"};
    for (const char* prefix : kSkipped)
        if (BeginsWith(line, length, prefix)) return false;
    // A blank line (the space left of its carriage return, or the end after the last line
    // feed) runs nothing.
    for (size_t i = 0; i < length; ++i)
        if (line[i] != ' ' && line[i] != '\t' && line[i] != '\0') return true;
    return false;
}

// ---- MSDOS.SYS ----

static bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r';
}

static char Folded(char c)
{
    return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c;
}

static bool SameNoCase(const char* a, size_t aLength, const char* b)
{
    const size_t bLength = strlen(b);
    if (aLength != bLength) return false;
    for (size_t i = 0; i < aLength; ++i)
        if (Folded(a[i]) != Folded(b[i])) return false;
    return true;
}

bool FindProfileValue(const char* content, size_t length, const char* section, const char* key, char* out,
                      size_t size)
{
    if (size == 0) return false;
    out[0] = '\0';
    if (!content || !section || !key) return false;
    bool inSection = false;
    size_t start = 0;
    while (start < length) {
        size_t end = start;
        while (end < length && content[end] != '\n') ++end;
        size_t first = start, last = end;
        while (first < last && IsBlank(content[first])) ++first;
        while (last > first && IsBlank(content[last - 1])) --last;
        const char* line = content + first;
        const size_t lineLength = last - first;
        if (lineLength > 0 && line[0] == '[') {
            const char* close = static_cast<const char*>(memchr(line, ']', lineLength));
            inSection = close && SameNoCase(line + 1, size_t(close - line - 1), section);
        } else if (inSection && lineLength > 0) {
            const char* equals = static_cast<const char*>(memchr(line, '=', lineLength));
            if (equals) {
                size_t nameLength = size_t(equals - line);
                while (nameLength > 0 && IsBlank(line[nameLength - 1])) --nameLength;
                if (SameNoCase(line, nameLength, key)) {
                    const char* value = equals + 1;
                    size_t valueLength = size_t(line + lineLength - value);
                    while (valueLength > 0 && IsBlank(*value)) {
                        ++value;
                        --valueLength;
                    }
                    CopyOutsideText(value, valueLength, out, size);
                    return true;
                }
            }
        }
        start = end + 1;
    }
    return false;
}

// folder + suffix into out, or out empty when it does not fit.
static void JoinOrEmpty(const char* folder, const char* suffix, char* out, size_t size)
{
    const int n = snprintf(out, size, "%s%s", folder, suffix);
    if (n < 0 || size_t(n) >= size) out[0] = '\0';
}

void MsDosSysPathsOf(const char* content, size_t length, MsDosSysPaths* paths)
{
    char value[kMsDosSysPathLength];
    if (!FindProfileValue(content, length, "Paths", "WinDir", value, sizeof value)) strcpy(value, "C:\\Windows");
    JoinOrEmpty(value, "\\WIN.COM", paths->winDirWinCom, sizeof paths->winDirWinCom);
    if (!FindProfileValue(content, length, "Paths", "WinBootDir", value, sizeof value)) strcpy(value, "C:\\Windows");
    JoinOrEmpty(value, "\\WIN.COM", paths->winBootDirWinCom, sizeof paths->winBootDirWinCom);
    if (!FindProfileValue(content, length, "Paths", "HostWinBootDrv", value, sizeof value)) strcpy(value, "C");
    JoinOrEmpty(value, ":\\IO.SYS", paths->hostDriveIoSys, sizeof paths->hostDriveIoSys);
}

// ---- Swap file ----

uint64_t SwapSpaceNeeded(const SwapFigures& figures)
{
    // The sum of two 64-bit sizes cannot wrap for any disk or file that exists, but a sum
    // above the memory means nothing is needed either way.
    const uint64_t have = figures.freeBytes + figures.swapBytes;
    if (have < figures.freeBytes) return 0;
    return figures.physicalBytes > have ? figures.physicalBytes - have : 0;
}

// ---- Report builders ----

static void AppendLine(CheckSlotSource nextSlot, const char* markup1, const char* text1, const char* markup2,
                       const char* text2)
{
    BuildLine(nextSlot(), kReportLineSlot, markup1, text1, markup2, text2);
}

// label, tab, first figure, tab, second figure.
static void AppendFigures(CheckSlotSource nextSlot, const char* label, int64_t first, int64_t second)
{
    char a[kThousands64TextLength], b[kThousands64TextLength];
    FormatSignedThousands64(first, a, sizeof a);
    FormatSignedThousands64(second, b, sizeof b);
    char* slot = nextSlot();
    snprintf(slot, kReportLineSlot, REPORT_CAPTION "%s\t" REPORT_VALUE "%s\t" REPORT_VALUE "%s", label, a, b);
}

void AppendRootDirectoryReport(char drive, const char* const* names, int count, CheckSlotSource nextSlot)
{
    if (count <= 0) return;
    char driveText[] = "Drive ?:";
    driveText[6] = drive;
    const char* const driveHeadings[] = {driveText, "Directory Entries"};
    FormatCheckHeadings(nextSlot(), kReportLineSlot, driveHeadings, 2);
    RootTally tally;
    for (int i = 0; i < count; ++i) {
        const RootEntryUse use = RootEntryUseOf(names[i]);
        AddRootEntry(&tally, use);
        char slots[12];
        snprintf(slots, sizeof slots, "%d", use.slots);
        AppendLine(nextSlot, REPORT_VALUE, names[i], REPORT_VALUE, slots);
    }
    nextSlot();
    const char* const tableHeadings[] = {"Entry Type", "Files", "Used"};
    FormatCheckHeadings(nextSlot(), kReportLineSlot, tableHeadings, 3);
    for (int c = 0; c < kRootEntryClassCount; ++c)
        AppendFigures(nextSlot, kRootClassLabels[c], tally.files[c], tally.files[c] * kRootClassEntries[c]);
    nextSlot();
    AppendFigures(nextSlot, "TOTAL", tally.entries, tally.slots);
    AppendFigures(nextSlot, "AVAILABLE", RootEntriesAvailable(tally), RootSlotsAvailable(tally));
    nextSlot();
    nextSlot();
}

struct ListedLines {
    CheckSlotSource nextSlot;
    bool (*keep)(const char* line, size_t length);
};

static void ListIfKept(void* context, const char* line, size_t length)
{
    const ListedLines* listed = static_cast<const ListedLines*>(context);
    if (!listed->keep(line, length)) return;
    char* slot = listed->nextSlot();
    size_t used = 0;
    AppendMarkup(slot, kReportLineSlot, &used, REPORT_VALUE);
    CopyOutsideText(line, length, slot + used, kReportLineSlot - used);
}

void AppendConfigDriverLines(char* content, size_t length, CheckSlotSource nextSlot)
{
    UppercaseBuffer(content, length);
    ListedLines listed{nextSlot, IsConfigDriverLine};
    ForEachConfigLine(content, length, ListIfKept, &listed);
}

void AppendAutoexecProgramLines(char* content, size_t length, CheckSlotSource nextSlot)
{
    UppercaseBuffer(content, length);
    ListedLines listed{nextSlot, IsAutoexecProgramLine};
    ForEachConfigLine(content, length, ListIfKept, &listed);
}

void AppendMsDosSysReport(const MsDosSysFacts& facts, CheckSlotSource nextSlot)
{
    FormatCheckHeading(nextSlot(), kReportLineSlot, "MSDOS.SYS");
    if (!facts.present) return;
    FormatCheckTest(nextSlot(), kReportLineSlot, "File Size", facts.length >= kMsDosSysMinimumLength);
    FormatCheckTest(nextSlot(), kReportLineSlot, "[paths]", facts.hasPathsSection);
    FormatCheckTest(nextSlot(), kReportLineSlot, "WinDir", facts.winDirWinComFound);
    FormatCheckTest(nextSlot(), kReportLineSlot, "WinBootDir", facts.winBootDirWinComFound);
    FormatCheckTest(nextSlot(), kReportLineSlot, "HostWinBootDrv", facts.hostDriveIoSysFound);
}

void AppendSwapFileReport(const SwapFigures& figures, char swapDrive, CheckSlotSource nextSlot)
{
    FormatCheckHeading(nextSlot(), kReportLineSlot, "Swap File");
    FormatCheckTest(nextSlot(), kReportLineSlot, "Swap File Check", figures.swapBytes != 0);
    char text[kThousands64TextLength];
    FormatThousands64(figures.swapBytes, text, sizeof text);
    FormatCheckValue(nextSlot(), kReportLineSlot, "Current Swap File Size", text);
    const char drive[] = {swapDrive, ':', '\0'};
    FormatCheckValue(nextSlot(), kReportLineSlot, "Swap Drive", drive);
    FormatThousands64(figures.freeBytes, text, sizeof text);
    FormatCheckValue(nextSlot(), kReportLineSlot, "Swap Drive Space Free", text);
    FormatThousands64(figures.physicalBytes, text, sizeof text);
    FormatCheckValue(nextSlot(), kReportLineSlot, "Maximum Swap File Space", text);
    FormatThousands64(SwapSpaceNeeded(figures), text, sizeof text);
    FormatCheckValue(nextSlot(), kReportLineSlot, "Swap Drive Space Needed", text);
}
