#include <windows.h>

#include "hardware/problem_checks.h"

#include <cstdio>
#include <vector>

#include "app/app_globals.h"
#include "equipment/equipment_info.h"
#include "equipment/enum_tree.h"
#include "hardware/hardware_tests.h"
#include "services/files.h"
#include "services/registry.h"

namespace {

using Findings = std::vector<ProblemItem>;

void Add(Findings& found, CheckText text)
{
    found.push_back(CheckItem(text));
}

// The driver of the CD audio device and whether it is switched on, as the multimedia
// control interface of Windows 95 keeps them.
void AddAudioDriverChecks(Findings& found)
{
    static const char kCdAudio[] = "System\\CurrentControlSet\\control\\MediaResources\\mci\\cdaudio";
    char value[256] = "";
    if (!RegReadValue(HKEY_LOCAL_MACHINE, kCdAudio, "Driver", value, sizeof value - 1) || value[0] == '\0')
        Add(found, CheckText::kAudioDriverNotFound);
    char disabled[256] = "";
    if (!RegReadValue(HKEY_LOCAL_MACHINE, kCdAudio, "Disabled", disabled, sizeof disabled - 1) || disabled[0] != '0')
        Add(found, CheckText::kAudioDriverDisabled);
}

// The display driver draws the mouse pointer itself unless win.ini says SWCursor=1.
bool HardwareCursorInUse()
{
    return GetProfileIntA("Display", "SWCursor", 0) == 0;
}

// What one CD-ROM drive with a disc in it showed.
struct CdromResults {
    bool notActive = false, notAccessible = false, readFailed = false;
    bool noSectorSize = false, noClusterSize = false, noClusters = false, noFileNameLength = false;
};

// Reads a first block of the first file matching *.exe in the drive's root: a disc whose
// file brings no bytes cannot be read. A root without such a file tests nothing.
bool FirstProgramReads(const char* root)
{
    char pattern[16], path[MAX_PATH];
    snprintf(pattern, sizeof pattern, "%s*.exe", root);
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA(pattern, &entry);
    if (search == INVALID_HANDLE_VALUE) return true;
    bool found = false;
    do {
        found = !(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
    } while (!found && FindNextFileA(search, &entry));
    FindClose(search);
    if (!found) return true;
    if (snprintf(path, sizeof path, "%s%s", root, entry.cFileName) >= int(sizeof path)) return true;
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    char block[2048];
    DWORD read = 0;
    const bool readSome = ReadFile(file, block, sizeof block, &read, nullptr) && read > 0;
    CloseHandle(file);
    return readSome;
}

// Tests every CD-ROM drive that holds a disc (one whose free space can be asked); a drive
// without a disc is left alone.
void TestCdromDrives(CdromResults& results)
{
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        const char root[] = {letter, ':', '\\', '\0'};
        if (GetDriveTypeA(root) != DRIVE_CDROM) continue;
        DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, totalClusters = 0;
        if (!GetDiskFreeSpaceA(root, &sectorsPerCluster, &bytesPerSector, &freeClusters, &totalClusters)) continue;
        DWORD nameLength = 0, flags = 0;
        const bool active = GetVolumeInformationA(root, nullptr, 0, nullptr, &nameLength, &flags, nullptr, 0) != 0;
        if (!active) results.notActive = true;
        // The root itself, not its entries: an empty disc is still accessible.
        const DWORD rootAttributes = GetFileAttributesA(root);
        if (rootAttributes == INVALID_FILE_ATTRIBUTES || !(rootAttributes & FILE_ATTRIBUTE_DIRECTORY))
            results.notAccessible = true;
        if (!FirstProgramReads(root)) results.readFailed = true;
        if (bytesPerSector == 0) results.noSectorSize = true;
        if (sectorsPerCluster == 0) results.noClusterSize = true;
        if (totalClusters == 0) results.noClusters = true;
        if (active && nameLength == 0) results.noFileNameLength = true;
    }
}

// Whether the device tree holds a display adapter: the only source of the video bus.
bool DisplayInDeviceTree()
{
    return WalkEnumTree("Display", kMatchClass, nullptr, 0, kWalkFind) != 0;
}

// The name the system gives the primary display adapter, when the detection found none.
bool SystemNamesDisplayAdapter()
{
    DISPLAY_DEVICEA device = {};
    device.cb = sizeof device;
    for (DWORD n = 0; EnumDisplayDevicesA(nullptr, n, &device, 0); ++n) {
        if ((device.StateFlags & DISPLAY_DEVICE_PRIMARY_DEVICE) && device.DeviceString[0]) return true;
        device.cb = sizeof device;
    }
    return false;
}

// Bits per pixel of the desktop; -1 when the screen cannot be asked.
int DesktopBitsPerPixel()
{
    HDC screen = GetDC(nullptr);
    if (!screen) return -1;
    const int bits = GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES);
    ReleaseDC(nullptr, screen);
    return bits;
}

}  // namespace

void CdromConfigurationStep(ProblemReport& report)
{
    Findings found;
    const EquipmentInfo* info = gEquipmentInfo;
    if (info && info->cdromDrives == 0) Add(found, CheckText::kNoCdromDriveFound);
    if (Windows95ChecksApply()) {
        if (!ConfigHasActiveLine("c:\\autoexec.bat", "MSCDEX") && !ConfigHasActiveLine("c:\\autoexec.bat", "CORELCDX"))
            Add(found, CheckText::kMscdexNotLoaded);
        AddAudioDriverChecks(found);
    }
    ReportFindings(report, found);
}

void CdromDiagnosticsStep(ProblemReport& report)
{
    Findings found;
    int answer;
    {
        AnalyzingPanelAside aside;
        answer = MessageBoxA(MainDialog, "Please insert a CD in each CD-ROM drive for testing.", "Waiting to test",
                             MB_OKCANCEL | MB_ICONINFORMATION);
    }
    if (answer == IDOK) {
        CdromResults results;
        TestCdromDrives(results);
        if (results.notActive) Add(found, CheckText::kCdromNotActive);
        if (results.notAccessible) Add(found, CheckText::kCdromNotAccessible);
        if (results.readFailed) Add(found, CheckText::kCdromReadTestFailed);
        if (results.noSectorSize) Add(found, CheckText::kCdromSectorSizeError);
        if (results.noClusterSize) Add(found, CheckText::kCdromClusterSizeError);
        // The cluster free test has nothing to fail on: a full disc is what a CD is.
        if (results.noClusters) Add(found, CheckText::kCdromClusterError);
        if (results.noFileNameLength) Add(found, CheckText::kCdromFileNameError);
    }
    ReportFindings(report, found);
}

void KeyboardDiagnosticsStep(ProblemReport& report)
{
    {
        AnalyzingPanelAside aside;
        StartKeyboardTest(MainDialog);
    }
    ReportFindings(report, {});
}

void MonitorDiagnosticsStep(ProblemReport& report)
{
    {
        AnalyzingPanelAside aside;
        RunVideoTests();
    }
    ReportFindings(report, {});
}

void MouseConfigurationStep(ProblemReport& report)
{
    Findings found;
    if (Windows95ChecksApply() && HardwareCursorInUse()) Add(found, CheckText::kHardwareCursorInUse);
    ReportFindings(report, found);
}

void MouseDiagnosticsStep(ProblemReport& report)
{
    Findings found;
    if (!GetSystemMetrics(SM_MOUSEPRESENT)) Add(found, CheckText::kNoMouseFound);
    DWORD failed;
    {
        AnalyzingPanelAside aside;
        failed = RunMouseTest();
    }
    if (failed) Add(found, CheckText::kMouseTestsFailed);
    ReportFindings(report, found);
}

void SoundConfigurationStep(ProblemReport& report)
{
    Findings found;
    if (Windows95ChecksApply()) AddAudioDriverChecks(found);
    ReportFindings(report, found);
}

void SoundDiagnosticsStep(ProblemReport& report)
{
    {
        AnalyzingPanelAside aside;
        StartSoundTest(MainDialog);
    }
    ReportFindings(report, {});
}

void VideoCardConfigurationStep(ProblemReport& report)
{
    Findings found;
    if (Windows95ChecksApply()) {
        if (HardwareCursorInUse()) Add(found, CheckText::kHardwareCursorEnabled);
        // SafeMode 0 is full acceleration, 1 basic; without the entry neither is claimed.
        const int safeMode = int(GetProfileIntA("Windows", "SafeMode", kNoEntry));
        if (safeMode == 0) Add(found, CheckText::kFullAccelerationEnabled);
        if (safeMode == 1) Add(found, CheckText::kBasicAccelerationEnabled);
        if (SystemIniInt("DISPLAY", "MMIO", 1) != 0) Add(found, CheckText::kMemoryMappedIoEnabled);
        if (int(GetProfileIntA("Windows", "HighColor", kNoEntry)) == 0) Add(found, CheckText::kHighColorFixNotEnabled);
        if (SystemIniInt("DISPLAY", "TrueColor", kNoEntry) == 0) Add(found, CheckText::kTrueColorFixNotEnabled);
        if (SystemIniInt("DISPLAY", "LockCursor", kNoEntry) == 0) Add(found, CheckText::kCursorLockNotEnabled);
    }
    ReportFindings(report, found);
}

void VideoCardDiagnosticsStep(ProblemReport& report)
{
    Findings found;
    if (const EquipmentInfo* info = gEquipmentInfo) {
        if (info->videoCard[0] == '\0' && !SystemNamesDisplayAdapter()) Add(found, CheckText::kVideoCardNotIdentified);
        // The bus is known only from the Windows 95 device tree's display adapter.
        if (info->videoBus == 0 && DisplayInDeviceTree()) Add(found, CheckText::kVideoCardTypeNotIdentified);
        if (info->videoClass == 0) Add(found, CheckText::kVideoCardSpeedNotIdentified);
    }
    const int bits = DesktopBitsPerPixel();
    if (bits >= 0 && bits < 8) Add(found, CheckText::kInvalidColorMode);
    {
        AnalyzingPanelAside aside;
        RunVideoTests();
    }
    ReportFindings(report, found);
}
