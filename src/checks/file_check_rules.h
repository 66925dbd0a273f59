// The rules of the file, registry and configuration checks over plain data: what each check
// looks for (its fixed tables), how a report line is laid out in its 256-byte slot, the
// root-directory slot and class arithmetic, the CONFIG.SYS and AUTOEXEC.BAT filters, the
// MSDOS.SYS rules, the StaticVxD value rule and the swap figures. The Win32 checks gather
// the facts and hand them here.
#pragma once
#include <cstddef>
#include <cstdint>

// ---- Report lines ----
// Every builder writes one whole slot (size bytes, at least 1) and always terminates it.
// Outside text (file names, configuration lines, paths) is cut to fit, and its control
// bytes (tabs, line ends, markup codes) become spaces so it can neither open a column nor
// change a colour.

// 0x06, 0x01 "C" and text.
void FormatCheckHeading(char* slot, size_t size, const char* text);
// 0x01 "C" label, tab, 0x01 "Y" and "Passed" or "Failed".
void FormatCheckTest(char* slot, size_t size, const char* label, bool passed);
// 0x01 "C" label, tab, 0x01 "Y" and value.
void FormatCheckValue(char* slot, size_t size, const char* label, const char* value);
// 0x03 (grey) and text: the line of a check that has nothing to look at on this system.
void FormatCheckGrey(char* slot, size_t size, const char* text);

// Underlined cyan column headings, one field each, separated by tabs.
void FormatCheckHeadings(char* slot, size_t size, const char* const* texts, int count);

// The line a Windows 95 check writes under its heading on any other system.
extern const char kDoesNotApply[];

// Copies length bytes of outside text into out (size bytes, terminated), cut to fit, with
// every byte below 0x20 turned into a space. Returns the bytes written.
size_t CopyOutsideText(const char* text, size_t length, char* out, size_t size);

// Decimal with a comma before every group of three digits, for any 64-bit count
// ("4,294,967,296"). Returns false and leaves out empty when size is too small.
constexpr size_t kThousands64TextLength = 27;  // "18,446,744,073,709,551,615" and its NUL
bool FormatThousands64(uint64_t value, char* out, size_t size);
// The same for a signed count: "-1", "-1,024".
bool FormatSignedThousands64(int64_t value, char* out, size_t size);

// ---- System Files ----
// A template row is a heading (place 0), which switches to the next place to look, or a
// file to look for in the current place: 1 system directory, 2 Windows directory, 3 the
// root of every drive C: to Z:, 4 the system directory's IOSUBSYS folder.
struct SystemFileRow {
    const char* text;
    int place;
};
constexpr int kSystemFileRowCount = 54;
extern const SystemFileRow kSystemFileRows[kSystemFileRowCount];

// ---- Directories ----
// The Windows directory and its folders: the label shown (indented by depth) and the path
// below the Windows directory (empty for the directory itself).
struct DirectoryRow {
    const char* label;
    const char* path;
};
constexpr int kDirectoryRowCount = 24;
extern const DirectoryRow kDirectoryRows[kDirectoryRowCount];

// ---- Registry, VxDs, start-up files ----
constexpr int kRegistryClassCount = 12;
extern const char* const kRegistryClasses[kRegistryClassCount];
constexpr int kStaticVxdCount = 29;
extern const char* const kStaticVxdNames[kStaticVxdCount];
// The key below HKEY_LOCAL_MACHINE under which each static VxD has its own key.
extern const char kVxdKeyPrefix[];
constexpr int kStartupFileRowCount = 7;
struct StartupFileRow {
    const char* name;
    bool inWindowsDirectory;  // else in the root of drive C:
};
extern const StartupFileRow kStartupFiles[kStartupFileRowCount];
constexpr int kWinIniSectionCount = 24;
extern const char* const kWinIniSections[kWinIniSectionCount];
constexpr int kSystemIniSectionCount = 17;
extern const char* const kSystemIniSections[kSystemIniSectionCount];

// Whether a "StaticVxD" value names a device built into the system's VxD package: it begins
// with "*" and holds no space. A null value (key or value missing) fails.
bool IsBuiltInStaticVxd(const char* value);

// ---- Root directories ----
// A root directory holds 512 entries; a long name takes one entry per 13 characters and
// one more.
constexpr int kRootEntryLimit = 512;

enum RootEntryClass {
    kRootAllCaps,        // "8.3 ALL CAPS"
    kRootMixedCase,      // "8.3 Mixed Case"
    kRootSpecial,        // "8.3 Special Characters"
    kRootLong22,         // "Long File Names < 22"
    kRootLong33,         // "Long File Names < 33"
    kRootLong44,         // "Long File Names < 44"
    kRootEntryClassCount
};
extern const char* const kRootClassLabels[kRootEntryClassCount];
// The entries one file of each class is counted as using.
extern const int kRootClassEntries[kRootEntryClassCount];

struct RootEntryUse {
    int slots;  // directory entries the name takes, the extra one included
    RootEntryClass entryClass;
};
// Slots: length / 13 + 1, and one more when the name needs more than one slot, has
// lower-case letters or holds any of "+,;[]".
RootEntryUse RootEntryUseOf(const char* name);

struct RootTally {
    int64_t entries = 0;
    int64_t slots = 0;
    int64_t files[kRootEntryClassCount] = {};
};
void AddRootEntry(RootTally* tally, const RootEntryUse& use);
// 512 less the entries and 512 less the slots: negative on a root that holds more.
int64_t RootEntriesAvailable(const RootTally& tally);
int64_t RootSlotsAvailable(const RootTally& tally);

// ---- CONFIG.SYS and AUTOEXEC.BAT ----
// Calls line for each line of the content (length bytes), split at line feeds, as
// UppercaseBuffer leaves it (the caller upper-cases first); a line is not terminated.
using ConfigLineSink = void (*)(void* context, const char* line, size_t length);
void ForEachConfigLine(const char* content, size_t length, ConfigLineSink sink, void* context);

// A CONFIG.SYS line (upper case) that loads a driver: it does not begin with "REM" and the
// value after its "=" names a ".SYS", ".DRV" or ".EXE".
bool IsConfigDriverLine(const char* line, size_t length);
// An AUTOEXEC.BAT line (upper case) that runs a program: it is not blank and begins with
// none of "REM", "PATH", "@PATH", "PROMPT", "@PROMPT", "SET", "@SET", "@ECHO", "ECHO".
bool IsAutoexecProgramLine(const char* line, size_t length);

// ---- MSDOS.SYS ----
// The value of key in [section] of a profile text (length bytes; names compared without
// regard to case; the last line may lack its line end), trimmed of spaces, carriage
// returns and tabs at both ends, cut to fit out. Returns false (out empty) when the
// section or key is not there.
bool FindProfileValue(const char* content, size_t length, const char* section, const char* key, char* out,
                      size_t size);

// The smallest MSDOS.SYS that keeps its padding: smaller files fail "File Size".
constexpr uint64_t kMsDosSysMinimumLength = 1024;

// The files MSDOS.SYS's [Paths] points at, built from its values or their defaults:
// WinDir + "\WIN.COM", WinBootDir + "\WIN.COM", HostWinBootDrv + ":\IO.SYS". A path that
// does not fit is left empty (it then cannot be found).
constexpr size_t kMsDosSysPathLength = 260;
struct MsDosSysPaths {
    char winDirWinCom[kMsDosSysPathLength];
    char winBootDirWinCom[kMsDosSysPathLength];
    char hostDriveIoSys[kMsDosSysPathLength];
};
void MsDosSysPathsOf(const char* content, size_t length, MsDosSysPaths* paths);

// ---- Swap file ----
struct SwapFigures {
    uint64_t swapBytes;       // the swap file's size, 0 when there is none
    uint64_t freeBytes;       // free space on the swap drive
    uint64_t physicalBytes;   // installed physical memory
};
// Physical memory less the free space and the swap file, 0 when that is not positive.
uint64_t SwapSpaceNeeded(const SwapFigures& figures);

// ---- Report builders ----
// Each appends its lines through nextSlot (a zero-filled kReportLineSlot slot each time;
// StringListNext in the program), in report order.
using CheckSlotSource = char* (*)();

// One fixed drive's root directory with its entries' names, in listing order: nothing when
// the root is empty; otherwise the drive heading, a line per entry, the class table, TOTAL,
// AVAILABLE and two empty lines.
void AppendRootDirectoryReport(char drive, const char* const* names, int count, CheckSlotSource nextSlot);

// The driver lines of CONFIG.SYS and the program lines of AUTOEXEC.BAT (content: the whole
// file, upper-cased here in place; length bytes), each listed whole, cut to fit its slot.
void AppendConfigDriverLines(char* content, size_t length, CheckSlotSource nextSlot);
void AppendAutoexecProgramLines(char* content, size_t length, CheckSlotSource nextSlot);

// What the MSDOS.SYS part of Startup Files looks at.
struct MsDosSysFacts {
    bool present;
    uint64_t length;
    bool hasPathsSection;
    bool winDirWinComFound, winBootDirWinComFound, hostDriveIoSysFound;
};
// The "MSDOS.SYS" heading and, when the file is present, its five tests.
void AppendMsDosSysReport(const MsDosSysFacts& facts, CheckSlotSource nextSlot);

// The "Swap File" part of Memory Structures: its heading, the test and the five figures.
void AppendSwapFileReport(const SwapFigures& figures, char swapDrive, CheckSlotSource nextSlot);
