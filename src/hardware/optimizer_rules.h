// The hardware optimizer's settings: what each button proposes and writes, on Windows 95
// and on the systems since, the values that depend on the machine, and the done and
// restart flags after a button's writes. Portable: the Win32 dialog does the writing.
#pragma once
#include <cstddef>
#include <cstdint>

// The buttons, in the dialog's order (control ids 15601 upward, pictures 25010 upward).
enum OptimizerButton {
    kOptimizeCpu,
    kOptimizeCdrom,
    kOptimizeHardDisk,
    kOptimizeMemory,
    kOptimizeModem,
    kOptimizePrinter,
    kOptimizeVideo,
    kOptimizerButtonCount
};

// Where a setting applies.
enum : uint8_t {
    kOnWindows95 = 1,     // the platform the settings were made for
    kOnOtherWindows = 2,  // the NT family and whatever does not report itself as Windows 95
    kOnEveryWindows = kOnWindows95 | kOnOtherWindows,
};

// Where a setting is written.
enum SettingPlace : uint8_t {
    kInCdromInstances,  // name in every device instance of class "CDROM" that already has it (binary)
    kInRegistryKey,     // name under the HKLM key location, which must exist (binary or DWORD)
    kInKeyIfPresent,    // the same where the key exists; without the key there is nothing to change
    kInMsdosSys,        // c:\msdos.sys, section location, only when the file exists
    kInSystemIni,       // system.ini of the Windows folder, section location, only when it exists
    kInUserProfile,     // the user profile (win.ini), section location, only when it exists
    kInPrinterKeys,     // name in the registry key of each local printer on a parallel port
    kInSpooler,         // the attribute word of each local printer on a parallel port, through the spooler
    kWrittenAbove,      // proposed for what the row before writes, or (Memory) nothing at all
};

// How the value is stored.
enum SettingValueKind : uint8_t {
    kValueText,        // a profile string, or REG_SZ written with its terminating zero
    kValueBinary,      // REG_BINARY of length bytes, little-endian
    kValueDword,       // REG_DWORD
    kValueCdfs,        // REG_BINARY of 4 bytes: CdfsValuesForMemory, the field number
    kValueAttributes,  // the printer attribute word: SpooledPrinterAttributes of the old word
};

struct OptimizerSetting {
    uint8_t button;          // OptimizerButton
    uint8_t platforms;       // kOnWindows95, kOnOtherWindows or both
    SettingPlace place;
    const char* proposal;    // the line shown in "Boosting"; null for a setting written unnamed
    const char* location;    // key path below HKLM, or profile section
    const char* name;        // value or entry name
    SettingValueKind kind;
    const char* text;        // kValueText
    uint32_t number;         // kValueBinary, kValueDword; the field for kValueCdfs
    uint8_t length;          // kValueBinary: 1 or 4 bytes
};

// Every setting of every button, in the order the buttons write them.
extern const OptimizerSetting kOptimizerSettings[];
extern const size_t kOptimizerSettingCount;

// The texts of the "No further optimization possible" box, one per button.
extern const char* const kOptimizedAlreadyTexts[kOptimizerButtonCount];

// Whether setting applies on a system that reports itself as Windows 95 (isWindows95) or not.
bool SettingApplies(const OptimizerSetting& setting, bool isWindows95);

// The proposed changes of button as "+ " lines (JoinPlusLines): first the lines of the
// settings that apply on this system, each once, then each line that applies only
// elsewhere with " (not used by this version of Windows)". False when the text did not fit.
bool BuildOptimizerProposal(int button, bool isWindows95, char* destination, size_t size);

// The CD-ROM file system cache values for this much physical memory (bytes).
struct CdfsValues {
    uint32_t cacheSize, prefetch, prefetchTail;
};
CdfsValues CdfsValuesForMemory(uint64_t physicalMemory);
// Field number 0..2 of CdfsValuesForMemory (cache size, prefetch, prefetch tail); 0 past them.
uint32_t CdfsValue(uint64_t physicalMemory, uint32_t field);

// Whether a printer on this port is changed: the port, upper-cased, contains no letter
// other than L, P and T ("LPT1:" yes; "FILE:", "COM1:", "USB001" no). Empty and null ports
// have no other letter either.
bool IsParallelPortName(const char* port);

// Printer attribute bits the optimizer reads and sets (the spooler's values).
constexpr uint32_t kPrinterAttributeQueued = 0x1;
constexpr uint32_t kPrinterAttributeDirect = 0x2;
constexpr uint32_t kPrinterAttributeLocal = 0x40;

// The attribute word after the optimizer: printed after spooling (queued), not direct,
// local, every other bit (shared, default, ...) kept. When the old word could not be read,
// queued and local alone (65).
uint32_t SpooledPrinterAttributes(uint32_t old, bool oldKnown);

// The process-wide state of the optimizer: one done flag per button and the restart flag.
struct OptimizerFlags {
    bool done[kOptimizerButtonCount];
    bool restartNeeded;
};

// What a confirmed button did: settings written and settings that failed.
struct OptimizerWriteResult {
    uint32_t written;
    uint32_t failed;
};

// The flags after button was confirmed with this result: the done flag only when nothing
// failed; the restart flag once anything was written, and always for Memory, which writes
// nothing.
void ApplyOptimizerResult(OptimizerFlags* flags, int button, OptimizerWriteResult result);
