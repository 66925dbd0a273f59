#include "hardware/optimizer_rules.h"

#include <cstdio>
#include <cstring>
#include <initializer_list>

#include "services/text_rules.h"

namespace {

const char kFileSystemKey[] = "System\\CurrentControlSet\\control\\FileSystem";
const char kCdfsKey[] = "System\\CurrentControlSet\\control\\FileSystem\\CDFS";
const char kCdromServiceKey[] = "SYSTEM\\CurrentControlSet\\Services\\Cdrom";
const char kNotUsedHere[] = " (not used by this version of Windows)";

}  // namespace

// The CD-ROM autoinsert notification is a device value on Windows 95 and the service's
// "Autorun" value since. The file-system caches, the 386 enhanced-mode time slices, the
// boot delay, the hardware cursor and the printer data type are Windows 95 settings that
// later systems do not read; the printer spooling bits are set on every system.
const OptimizerSetting kOptimizerSettings[] = {
    {kOptimizeCpu, kOnWindows95, kInCdromInstances, "Disable CD-ROM autoinsert notification", nullptr,
     "AutoInsertNotification", kValueBinary, nullptr, 0, 1},
    {kOptimizeCpu, kOnOtherWindows, kInKeyIfPresent, "Disable CD-ROM autoinsert notification", kCdromServiceKey,
     "Autorun", kValueDword, nullptr, 0, 4},
    {kOptimizeCpu, kOnWindows95, kInMsdosSys, "Remove boot delay", "Options", "BootDelay", kValueText, "0", 0, 0},
    {kOptimizeCpu, kOnWindows95, kInSystemIni, "Lengthen time slices", "386Enh", "MinTimeSlice", kValueText, "30", 0,
     0},
    {kOptimizeCpu, kOnWindows95, kInSystemIni, "Increase key boost time", "386Enh", "KeyBoostTime", kValueText, "0.1",
     0, 0},
    {kOptimizeCpu, kOnWindows95, kInSystemIni, "Increase window update time", "386Enh", "WindowUpdateTime",
     kValueText, "400", 0, 0},

    {kOptimizeCdrom, kOnWindows95, kInRegistryKey, "Optimize cache size", kCdfsKey, "CacheSize", kValueCdfs, nullptr,
     0, 4},
    {kOptimizeCdrom, kOnWindows95, kInRegistryKey, "Optimize prefetch buffer", kCdfsKey, "Prefetch", kValueCdfs,
     nullptr, 1, 4},
    {kOptimizeCdrom, kOnWindows95, kInRegistryKey, "Optimize prefetch tail", kCdfsKey, "PrefetchTail", kValueCdfs,
     nullptr, 2, 4},

    {kOptimizeHardDisk, kOnWindows95, kInRegistryKey, "Optimize name cache size", kFileSystemKey, "NameCache",
     kValueBinary, nullptr, 64, 4},
    {kOptimizeHardDisk, kOnWindows95, kInRegistryKey, "Optimize path cache size", kFileSystemKey, "PathCache",
     kValueBinary, nullptr, 2729, 4},
    {kOptimizeHardDisk, kOnWindows95, kInRegistryKey, "Set correct read ahead threshhold", kFileSystemKey,
     "ReadAheadThreshhold", kValueBinary, nullptr, 65536, 4},
    {kOptimizeHardDisk, kOnWindows95, kInRegistryKey, "Disable the Windows 3.1 file system", kFileSystemKey,
     "Win31FileSystem", kValueBinary, nullptr, 0, 1},
    {kOptimizeHardDisk, kOnWindows95, kInRegistryKey, "Disable asyncronous file commits", kFileSystemKey,
     "AsyncFileCommit", kValueBinary, nullptr, 0, 1},
    // The protected-mode drivers of the last start are trusted, so the next start does not
    // fall back to the real-mode ones.
    {kOptimizeHardDisk, kOnWindows95, kInRegistryKey, nullptr, kFileSystemKey, "LastBootPMDrvs", kValueBinary,
     nullptr, 1, 1},

    {kOptimizeMemory, kOnEveryWindows, kWrittenAbove, "Optimize virtual memory size", nullptr, nullptr, kValueText,
     nullptr, 0, 0},

    {kOptimizeModem, kOnWindows95, kInSystemIni, "Reduce time slice duration", "386Enh", "MinTimeSlice", kValueText,
     "5", 0, 0},
    {kOptimizeModem, kOnWindows95, kInSystemIni, "Increase communications boost time", "386Enh", "ComBoostTime",
     kValueText, "150", 0, 0},

    {kOptimizePrinter, kOnWindows95, kInPrinterKeys, "Use EMF print data type", nullptr, "Datatype", kValueText,
     "EMF", 0, 0},
    {kOptimizePrinter, kOnWindows95, kInPrinterKeys, "Spool so program finishes faster", nullptr, "Attributes",
     kValueAttributes, nullptr, 0, 4},
    {kOptimizePrinter, kOnOtherWindows, kInSpooler, "Spool so program finishes faster", nullptr, "Attributes",
     kValueAttributes, nullptr, 0, 4},
    // Queued printing is a bit of the same attribute word.
    {kOptimizePrinter, kOnEveryWindows, kWrittenAbove, "Start printing after spooling finishes", nullptr, nullptr,
     kValueText, nullptr, 0, 0},

    {kOptimizeVideo, kOnWindows95, kInUserProfile, "Activate hardware cursor", "Display", "SWCursor", kValueText, "0",
     0, 0},
    {kOptimizeVideo, kOnWindows95, kInUserProfile, "Maximize video acceleration", "Windows", "SafeMode", kValueText,
     "0", 0, 0},
    {kOptimizeVideo, kOnWindows95, kInSystemIni, "Increase window update time", "386Enh", "WindowUpdateTime",
     kValueText, "100", 0, 0},
};
const size_t kOptimizerSettingCount = sizeof kOptimizerSettings / sizeof kOptimizerSettings[0];

const char* const kOptimizedAlreadyTexts[kOptimizerButtonCount] = {
    "The CPU settings have already been optimized.",    "The CD-ROM settings have already been optimized.",
    "The Disk settings have already been optimized.",   "The Memory settings have already been optimized.",
    "The Modem settings have already been optimized.",  "The Printer settings have already been optimized.",
    "The Video settings have already been optimized.",
};

bool SettingApplies(const OptimizerSetting& setting, bool isWindows95)
{
    return (setting.platforms & (isWindows95 ? kOnWindows95 : kOnOtherWindows)) != 0;
}

// Whether some setting of button proposed with text applies on this system.
static bool ProposalUsedHere(int button, const char* text, bool isWindows95)
{
    for (const OptimizerSetting& setting : kOptimizerSettings)
        if (setting.button == button && setting.proposal && strcmp(setting.proposal, text) == 0 &&
            SettingApplies(setting, isWindows95))
            return true;
    return false;
}

bool BuildOptimizerProposal(int button, bool isWindows95, char* destination, size_t size)
{
    const size_t kMaxLines = 12;  // a button has at most a few lines
    const char* texts[kMaxLines];
    const char* items[kMaxLines];
    char notUsed[kMaxLines][96];
    size_t count = 0;
    // The lines used here first, then those used only by other versions.
    for (const bool usedPass : {true, false}) {
        for (const OptimizerSetting& setting : kOptimizerSettings) {
            if (setting.button != button || !setting.proposal || count == kMaxLines) continue;
            const bool used = ProposalUsedHere(button, setting.proposal, isWindows95);
            if (used != usedPass) continue;
            bool listed = false;
            for (size_t i = 0; i < count; ++i) listed |= strcmp(texts[i], setting.proposal) == 0;
            if (listed) continue;
            texts[count] = setting.proposal;
            if (used) {
                items[count] = setting.proposal;
            } else {
                snprintf(notUsed[count], sizeof notUsed[count], "%s%s", setting.proposal, kNotUsedHere);
                items[count] = notUsed[count];
            }
            ++count;
        }
    }
    return JoinPlusLines(destination, size, items, count);
}

CdfsValues CdfsValuesForMemory(uint64_t physicalMemory)
{
    if (physicalMemory < 8000000) return {32, 27, 2};
    if (physicalMemory < 12000001) return {313, 114, 64};
    return {619, 228, 128};
}

uint32_t CdfsValue(uint64_t physicalMemory, uint32_t field)
{
    const CdfsValues values = CdfsValuesForMemory(physicalMemory);
    return field == 0 ? values.cacheSize : field == 1 ? values.prefetch : field == 2 ? values.prefetchTail : 0;
}

bool IsParallelPortName(const char* port)
{
    if (!port) return true;
    for (const char* c = port; *c; ++c) {
        const char upper = (*c >= 'a' && *c <= 'z') ? char(*c - 'a' + 'A') : *c;
        if (upper >= 'A' && upper <= 'Z' && upper != 'L' && upper != 'P' && upper != 'T') return false;
    }
    return true;
}

uint32_t SpooledPrinterAttributes(uint32_t old, bool oldKnown)
{
    const uint32_t kept = oldKnown ? old & ~kPrinterAttributeDirect : 0;
    return kept | kPrinterAttributeQueued | kPrinterAttributeLocal;
}

void ApplyOptimizerResult(OptimizerFlags* flags, int button, OptimizerWriteResult result)
{
    if (button < 0 || button >= kOptimizerButtonCount) return;
    if (result.failed == 0) flags->done[button] = true;
    if (result.written > 0 || button == kOptimizeMemory) flags->restartNeeded = true;
}
