// Configuration and diagnostic checks of memory, the motherboard and the power supply:
// the swap file and its drive, the processor, FPU and memory self-tests, what the
// equipment record knows of the BIOS and the system devices, and the power estimate.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "hardware/cpu_self_test.h"
#include "hardware/problem_checks.h"
#include "hardware/problem_rules.h"

#include "equipment/equipment_info.h"
#include "services/drives.h"
#include "services/vwin32.h"

// Whether Windows 95's demand paging is switched off: "Paging" in section "386Enh" of
// system.ini holds a false value (Windows writes "off" when virtual memory is disabled).
static bool PagingSwitchedOff()
{
    char value[16] = {};
    GetPrivateProfileStringA("386Enh", "Paging", "", value, sizeof value, "system.ini");
    for (const char* no : {"off", "no", "false", "0"})
        if (lstrcmpiA(value, no) == 0) return true;
    return false;
}

// The size of a file without opening it (a page file in use cannot be opened); false when
// it is not there.
static bool FileSize64(const char* path, uint64_t* size)
{
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!GetFileAttributesExA(path, GetFileExInfoStandard, &data) || (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    *size = (uint64_t(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return true;
}

// The swap file: WIN386.SWP in the Windows directory, else pagefile.sys in the root of
// the system drive. Its drive letter and size; false when there is neither.
static bool FindSwapFile(char* drive, uint64_t* size)
{
    char windows[MAX_PATH] = {}, path[MAX_PATH + 16] = {};
    const UINT length = GetWindowsDirectoryA(windows, sizeof windows);
    if (length == 0 || length >= sizeof windows || windows[1] != ':') return false;
    *drive = windows[0];
    snprintf(path, sizeof path, "%s%sWIN386.SWP", windows, windows[length - 1] == '\\' ? "" : "\\");
    if (FileSize64(path, size)) return true;
    snprintf(path, sizeof path, "%c:\\pagefile.sys", windows[0]);
    return FileSize64(path, size);
}

void MemoryConfigurationStep(ProblemReport& report)
{
    std::vector<ProblemItem> found;
    MEMORYSTATUSEX memory = {};
    memory.dwLength = sizeof memory;
    const bool haveMemory = GlobalMemoryStatusEx(&memory) != 0;
    if ((haveMemory && memory.ullTotalVirtual == 0) || (Windows95ChecksApply() && PagingSwitchedOff()))
        found.push_back(CheckItem(CheckText::kVirtualMemoryDisabled));
    // Without a swap file there is no swap drive to be full: virtual memory off shows above.
    char drive = 0;
    uint64_t swapBytes = 0;
    if (haveMemory && FindSwapFile(&drive, &swapBytes)) {
        const DriveSpace space = DriveSpaceOf(drive);
        if (space.totalBytes && SwapDriveIsFull(memory.ullTotalPhys, space.freeBytes, swapBytes))
            found.push_back(CheckItem(CheckText::kSwapDriveFull));
    }
    ReportFindings(report, found);
}

void MemoryDiagnosticsStep(ProblemReport& report)
{
    std::vector<ProblemItem> found;
    const MemoryResults m = TestMemory();
    const struct { bool failed; CheckText text; } checks[] = {
        {m.stuckBitFailed, CheckText::kMemoryStuckBitFailed},
        {m.parityFailed, CheckText::kMemoryParityFailed},
        {m.weakBitFailed, CheckText::kMemoryWeakBitFailed},
        {m.verifyFailed, CheckText::kMemoryVerifyTestFailed},
        {m.patternFailed, CheckText::kMemoryPatternTestFailed},
        {m.walkingOneFailed, CheckText::kMemoryWalking1BitTestFailed},
        {m.walkingZeroFailed, CheckText::kMemoryWalking0BitTestFailed},
    };
    for (const auto& check : checks)
        if (check.failed) found.push_back(CheckItem(check.text));
    ReportFindings(report, found);
}

static bool AnyFlag(const TypeFlagSet& set)
{
    for (uint32_t flag : set.flags)
        if (flag) return true;
    return false;
}

// Whether a floppy drive's BIOS drive parameters are lost: the call fails or names no
// drive type. The drive type lives in the CMOS memory the battery keeps.
static bool CmosDriveTypeLost()
{
    for (uint32_t d = 0; d < 2; ++d) {
        if (DriveTypeOf(char('A' + d)) != DRIVE_REMOVABLE) continue;
        Vwin32Registers packet = {};
        packet.eax = 0x0800;
        packet.edx = d;
        if (!Vwin32Call(kVwin32Int13, &packet) || packet.ebx == 0) return true;
    }
    return false;
}

void MotherboardDiagnosticsStep(ProblemReport& report)
{
    std::vector<ProblemItem> found;
    const EquipmentInfo* e = gEquipmentInfo;
    const CpuRegisterResults r16 = TestCpuRegisters();
    const CpuRegisterResults r32 = TestCpuRegisters32();
    const FpuResults fpu = TestFpu();
    // The BIOS fields and the system-device flags come from the Windows 95 device tree,
    // which names them all. Other systems fill them from what they choose to report (Wine
    // reports none of the system devices), so an empty one there is no fault.
    const bool treeKnowsAll = Windows95ChecksApply();
    const struct { bool failed; CheckText text; } checks[] = {
        {e && e->cpuType == 0, CheckText::kCpuTypeUnrecognized},
        {e && e->cpuSpeed == 0, CheckText::kCpuSpeedTestFailed},
        {r16.ffffFailed, CheckText::kCpuRegisterFfffTestFailed},
        {r16.zeroFailed, CheckText::kCpuRegister0000TestFailed},
        {r16.walkingZeroFailed, CheckText::kCpuRegisterWalking0TestFailed},
        {r16.walkingOneFailed, CheckText::kCpuRegisterWalking1TestFailed},
        {r16.flagsFailed, CheckText::kCpuRegisterFlagsTestFailed},
        {r32.ffffFailed, CheckText::kCpuRegisterFfffeTestFailed},
        {r32.zeroFailed, CheckText::kCpuRegister0000eTestFailed},
        {r32.walkingZeroFailed, CheckText::kCpuWalking0eTestFailed},
        {r32.walkingOneFailed, CheckText::kCpuWalking1eTestFailed},
        {fpu.addFailed, CheckText::kFpuAddTestFailed},
        {fpu.subtractFailed, CheckText::kFpuSubtractTestFailed},
        {fpu.multiplyFailed, CheckText::kFpuMultiplyTestFailed},
        {fpu.divideFailed, CheckText::kFpuDivideTestFailed},
        {e && treeKnowsAll && !e->biosDate[0], CheckText::kBiosDateTestFailed},
        {e && treeKnowsAll && !e->biosName[0], CheckText::kBiosNameTestFailed},
        {e && treeKnowsAll && !e->biosVersion[0], CheckText::kBiosVersionTestFailed},
        {e && treeKnowsAll && !AnyFlag(e->dmaTypes), CheckText::kDmaTestFailed},
        {e && treeKnowsAll && !AnyFlag(e->interruptTypes), CheckText::kInterruptTestFailed},
        {e && treeKnowsAll && !AnyFlag(e->busTypes), CheckText::kBusTestFailed},
        {e && treeKnowsAll && !AnyFlag(e->timerTypes), CheckText::kTimerTestFailed},
        {CmosDriveTypeLost(), CheckText::kCmosBatteryTestFailed},
    };
    for (const auto& check : checks)
        if (check.failed) found.push_back(CheckItem(check.text));
    ReportFindings(report, found);
}

void PowerSupplyDiagnosticsStep(ProblemReport& report)
{
    std::vector<ProblemItem> found;
    if (gEquipmentInfo && EstimatePowerWatts(*gEquipmentInfo) >= kOverloadedPowerWatts)
        found.push_back(CheckItem(CheckText::kPowerSupplyOverloaded));
    ReportFindings(report, found);
}
