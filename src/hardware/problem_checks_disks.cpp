// Configuration and diagnostic checks of the floppy drives and hard drives: BIOS and DOS
// calls through vwin32 (answered by the substitute where the device is missing), the boot
// files of Windows 95, and read-only passes over the program's own coach.dat.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <vector>

#include "hardware/problem_checks.h"
#include "hardware/problem_rules.h"

#include "equipment/equipment_info.h"
#include "platform/vwin32_substitute.h"
#include "services/drives.h"
#include "services/files.h"
#include "services/program_directory.h"
#include "services/vwin32.h"

// The BIOS and DOS tests of floppy drives A: and B:, each tested only while its letter is a
// removable drive. The verify of the first sector (a real disk access) runs only the first
// time in the process; later runs pass it without touching the drive.
void TestFloppyDrives(FloppyTestResults* results)
{
    static bool accessTestDone = false;
    *results = {};
    bool accessTestedNow = false;
    uint32_t removableBefore = 0;  // the equipment record keeps floppy kinds in removable-drive order
    for (uint32_t d = 0; d < 2; ++d) {
        FloppyDriveResults& r = results->drives[d];
        if (DriveTypeOf(char('A' + d)) != DRIVE_REMOVABLE) continue;
        r.tested = true;
        const uint32_t ordinal = removableBefore++;

        auto bios = [d](uint32_t function, uint32_t ecx, Vwin32Registers* packet) {
            *packet = {};
            packet->eax = function;
            packet->ecx = ecx;
            packet->edx = d;
            return Vwin32Call(kVwin32Int13, packet) != 0;
        };
        Vwin32Registers packet;
        const bool typeAnswered = bios(0x1500, 0, &packet);
        if (!((typeAnswered && packet.eax == 0x0100) || packet.eax == 0x0200)) {
            r.notAccessible = true;
            continue;
        }
        r.notReady = gEquipmentInfo && gEquipmentInfo->floppyKinds[ordinal].capacity == 0;
        r.resetFailed = !bios(0x0000, 0, &packet) || packet.eax != 0;
        r.statusFailed = !bios(0x0100, 0, &packet) || packet.eax != 0;
        if (!accessTestDone) {
            // A drive without a diskette refuses the verify: that is no fault of the drive.
            r.accessFailed = bios(0x0400, 1, &packet) && packet.eax != 0;
            r.accessTested = true;
            accessTestedNow = true;
        }
        r.changeLineHigh = !bios(0x1500, 0, &packet) || packet.eax == 0x0100;

        uint8_t block[kDeviceParameterBlockLength] = {4};
        packet = {};
        packet.eax = 0x440D;
        packet.ebx = d + 1;
        packet.ecx = 0x0860;
        Vwin32SetBlockAddress(&packet, block);
        const bool answered = Vwin32Call(kVwin32DosIoctl, &packet) != 0;
        r.changeLineLow = !answered || ReadDeviceParameters(block, sizeof block).attributes != 2;
    }
    if (accessTestedNow) accessTestDone = true;
}

void FloppyConfigurationStep(ProblemReport& report)
{
    std::vector<ProblemItem> found;
    FloppyTestResults results;
    TestFloppyDrives(&results);
    if (gEquipmentInfo && gEquipmentInfo->floppyControllers == 0) found.push_back(CheckItem(CheckText::kNoFloppyDiskController));
    if (results.drives[0].tested && results.drives[0].resetFailed) found.push_back(CheckItem(CheckText::kFloppyDiskNotActive));
    if (Windows95ChecksApply() && FileContainsText("C:\\Autoexec.bat", "SL.EXE"))
        found.push_back(CheckItem(CheckText::kIntelDmiDriver));
    ReportFindings(report, found);
}

void FloppyDiagnosticsStep(ProblemReport& report)
{
    std::vector<ProblemItem> found;
    FloppyTestResults results;
    TestFloppyDrives(&results);
    const FloppyFindings f = FloppyFindingsOf(results);
    const struct { bool failed; CheckText text; } checks[] = {
        {f.noFloppyDrives, CheckText::kNoFloppyDrivesFound},
        {f.notAccessible, CheckText::kFloppyDriveNotAccessible},
        {f.invalidDriveType, CheckText::kInvalidFloppyDriveType},
        {f.resetFailed, CheckText::kResetTestFailed},
        {f.lastOperationFailed, CheckText::kLastOperationFailed},
        {f.diskAccessFailed, CheckText::kDiskAccessTestFailed},
        {f.changeLineHigh, CheckText::kChangeLineTestFailed},
        {f.changeLineLow, CheckText::kChangeLineTestFailed},
    };
    for (const auto& check : checks)
        if (check.failed) found.push_back(CheckItem(check.text));
    ReportFindings(report, found);
}

void HardDriveConfigurationStep(ProblemReport& report)
{
    std::vector<ProblemItem> found;
    const bool windows95 = Windows95ChecksApply();
    char path[MAX_PATH];
    if (windows95 && WindowsFolderFile("IOS.LOG", path, sizeof path) && FileExists(path))
        found.push_back(CheckItem(CheckText::kMsdosModeInUse));
    // Windows 95 always names the BIOS date; other systems may not report one, and a date
    // that was never reported says nothing about the BIOS.
    if (gEquipmentInfo && (windows95 || gEquipmentInfo->biosDate[0]) && !BiosDateIsLbaCompatible(gEquipmentInfo->biosDate))
        found.push_back(CheckItem(CheckText::kBiosNotLbaCompatible));
    if (windows95) {
        if (!SystemFileExists("ESDI_506.PDR", kInIosubsys)) found.push_back(CheckItem(CheckText::kProtectedModeDriverMissing));
        // The boot log exists only after a logged start; without one there is nothing to read.
        if (FileExists("c:\\bootlog.txt") && !FileContainsText("c:\\bootlog.txt", "INIT SUCCESS ESDI_506.PDR"))
            found.push_back(CheckItem(CheckText::kInitializationError));
        // The overlay belongs in the root of C:, where the Disk Manager driver loads it from.
        if (FileContainsText("c:\\CONFIG.SYS", "DMDRVR.BIN") && !FileExists("c:\\XBIOS.OVL"))
            found.push_back(CheckItem(CheckText::kDiskManagerIncomplete));
    }
    ReportFindings(report, found);
}

// The device parameters of drive number (1 for A:); false when the call fails.
static bool ReadDriveParameters(uint32_t drive, DeviceParameters* parameters)
{
    uint8_t block[kDeviceParameterBlockLength] = {};
    Vwin32Registers packet = {};
    packet.eax = 0x440D;
    packet.ebx = drive;
    packet.ecx = 0x0860;
    Vwin32SetBlockAddress(&packet, block);
    if (!Vwin32Call(kVwin32DosIoctl, &packet)) return false;
    *parameters = ReadDeviceParameters(block, sizeof block);
    return true;
}

// What the passes over coach.dat found; all false when the file is missing or empty.
struct FileAccessFaults {
    bool seek, search, randomAccess, verify, read;
};

// Up to this many positions are sought in each seek pass, spread over the whole file.
constexpr uint64_t kSeekPositions = 4096;

static bool SeekTo(HANDLE file, int64_t offset, DWORD method)
{
    LARGE_INTEGER distance;
    distance.QuadPart = offset;
    return SetFilePointerEx(file, distance, nullptr, method) != 0;
}

// Reads the file from its start to its end: the bytes read and a 64-bit hash of them
// (FNV-1a), so two reads can be compared without holding the file.
static bool ReadAll(HANDLE file, uint64_t* bytes, uint64_t* hash)
{
    *bytes = 0;
    *hash = 14695981039346656037ull;
    if (!SeekTo(file, 0, FILE_BEGIN)) return false;
    std::vector<char> buffer(65536);
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(file, buffer.data(), DWORD(buffer.size()), &got, nullptr)) return false;
        if (got == 0) return true;
        for (DWORD i = 0; i < got; ++i) *hash = (*hash ^ uint8_t(buffer[i])) * 1099511628211ull;
        *bytes += got;
    }
}

static FileAccessFaults TestFileAccess(const char* path)
{
    FileAccessFaults faults = {};
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return faults;
    LARGE_INTEGER sizeValue = {};
    if (!GetFileSizeEx(file, &sizeValue) || sizeValue.QuadPart <= 0) {
        CloseHandle(file);
        return faults;  // an empty file has nothing to read: treated like a missing one
    }
    const uint64_t size = uint64_t(sizeValue.QuadPart);
    const uint64_t stride = size / kSeekPositions + 1;
    for (uint64_t k = 0; k * stride < size; ++k) {
        const int64_t i = int64_t(k * stride);
        faults.seek |= !SeekTo(file, i, FILE_BEGIN);
        faults.search |= (k % 2 == 0) ? !SeekTo(file, i, FILE_BEGIN) : !SeekTo(file, -i, FILE_END);
        faults.randomAccess |= (k % 2 == 0) ? !SeekTo(file, i, FILE_BEGIN) : !SeekTo(file, int64_t(size), FILE_BEGIN);
    }
    uint64_t bytes1 = 0, hash1 = 0, bytes2 = 0, hash2 = 0;
    const bool read1 = ReadAll(file, &bytes1, &hash1);
    const bool read2 = ReadAll(file, &bytes2, &hash2);
    faults.read = !read1 || bytes1 == 0;
    faults.verify = faults.read || !read2 || bytes2 == 0 || bytes1 != bytes2 || hash1 != hash2;
    CloseHandle(file);
    return faults;
}

void HardDriveDiagnosticsStep(ProblemReport& report)
{
    std::vector<ProblemItem> found;
    const EquipmentInfo* e = gEquipmentInfo;

    HardDiskFaults any = {};
    bool anyFixedDriveAnswers = false;
    for (char letter = 'C'; letter <= 'Z'; ++letter) {
        if (DriveTypeOf(letter) != DRIVE_FIXED) continue;
        DeviceParameters parameters;
        const bool answered = ReadDriveParameters(uint32_t(letter - 'A' + 1), &parameters);
        anyFixedDriveAnswers |= answered;
        const HardDiskFaults f = HardDiskFaultsOf(answered ? &parameters : nullptr);
        any.notHardDisk |= f.notHardDisk;
        any.fat |= f.fat;
        any.fatSize |= f.fatSize;
        any.heads |= f.heads;
        any.cylinders |= f.cylinders;
        any.sectorSize |= f.sectorSize;
        any.clusterSize |= f.clusterSize;
        any.rootFull |= f.rootFull;
        any.totalSectors |= f.totalSectors;
        any.trackSize |= f.trackSize;
    }

    // Windows 95 lists every disk controller in its device tree. Other systems may list
    // none (Wine lists no controllers at all); there a fixed drive that answers shows a
    // working controller.
    const uint32_t controllers = e ? e->scsiAdapters + e->ideControllers + e->pciDiskController +
                                         e->vlDiskController + e->eisaDiskController
                                   : 1;
    if (controllers == 0 && (Windows95ChecksApply() || !anyFixedDriveAnswers))
        found.push_back(CheckItem(CheckText::kDiskControllerFailure));

    const struct { bool failed; CheckText text; } diskChecks[] = {
        {any.notHardDisk, CheckText::kNoHardDisksFound},
        {any.fat, CheckText::kHardDiskFatError},
        {any.fatSize, CheckText::kHardDiskFatSizeError},
        {any.heads, CheckText::kHardDiskHeadError},
        {any.cylinders, CheckText::kHardDiskCylinderError},
        {any.sectorSize, CheckText::kHardDiskSectorError},
        {any.clusterSize, CheckText::kHardDiskClusterSizeError},
        {any.rootFull, CheckText::kHardDiskRootFull},
        {any.totalSectors, CheckText::kHardDiskTotalSectors},
        {any.trackSize, CheckText::kHardDiskTrackSize},
    };
    for (const auto& check : diskChecks)
        if (check.failed) found.push_back(CheckItem(check.text));

    char directory[MAX_PATH] = {}, path[MAX_PATH + 16] = {};
    ProgramDirectory(nullptr, directory, sizeof directory);
    FileAccessFaults access = {};
    if (directory[0] && snprintf(path, sizeof path, "%s\\coach.dat", directory) > 0) access = TestFileAccess(path);
    const struct { bool failed; CheckText text; } fileChecks[] = {
        {access.seek, CheckText::kHardDiskSeekError},
        {access.search, CheckText::kHardDiskSearchError},
        {access.randomAccess, CheckText::kHardDiskRandomAccessError},
        {access.verify, CheckText::kHardDiskVerifyError},
        {access.read, CheckText::kHardDiskReadError},
        {access.read, CheckText::kHardDiskTypeError},
    };
    for (const auto& check : fileChecks)
        if (check.failed) found.push_back(CheckItem(check.text));
    ReportFindings(report, found);
}
