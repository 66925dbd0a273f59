#include <windows.h>

#include "hardware/problem_checks.h"

#include <cstdint>
#include <cstdio>
#include <vector>

#include "app/app_globals.h"
#include "equipment/enum_tree.h"
#include "equipment/equipment_info.h"
#include "equipment/equipment_probes.h"
#include "equipment/spooler.h"
#include "hardware/hardware_tests.h"

namespace {

using Findings = std::vector<ProblemItem>;

void Add(Findings& found, CheckText text)
{
    found.push_back(CheckItem(text));
}

constexpr int kCheckedComPorts = 4;  // COM1..COM4

// What opening a COM port for exclusive reading and writing showed.
enum class ComPortOpening {
    kOpened,
    kMissing,  // the system has no such device, whatever the port list says
    kRefused,  // the device exists but would not open
};

// COM1 and COM3 share an interrupt by default, as do COM2 and COM4. Counts the pairs, once
// from each side, where both ports are listed and both refused to open: 0, 2 or 4.
int CountPossiblePortConflicts(const bool (&listed)[kCheckedComPorts], const ComPortOpening (&opening)[kCheckedComPorts])
{
    static const int kSharing[kCheckedComPorts] = {2, 3, 0, 1};
    int conflicts = 0;
    for (int port = 0; port < kCheckedComPorts; ++port) {
        const int other = kSharing[port];
        if (listed[port] && listed[other] && opening[port] == ComPortOpening::kRefused &&
            opening[other] == ComPortOpening::kRefused)
            ++conflicts;
    }
    return conflicts;
}

bool AnyModemSpeed(const uint32_t (&speeds)[kCheckedComPorts])
{
    for (uint32_t speed : speeds)
        if (speed != 0) return true;
    return false;
}

// Whether the Windows 95 device tree is there to be read: the game port, the PS/2 port and
// SCSI target ids are known only from it.
bool DeviceTreePresent()
{
    return CountSubkeys("ENUM") > 0;
}

// Opens COMn (1..4) for reading and writing, not shared, as a program using it would.
// The handle is returned in *port when it opened (the caller closes it).
ComPortOpening OpenComPort(int number, HANDLE* port)
{
    char name[16];
    snprintf(name, sizeof name, "\\\\.\\COM%d", number);
    *port = CreateFileA(name, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (*port != INVALID_HANDLE_VALUE) return ComPortOpening::kOpened;
    const DWORD error = GetLastError();
    // The print spooler lists COM1 to COM4 whether or not the hardware exists.
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return ComPortOpening::kMissing;
    return ComPortOpening::kRefused;
}

ComPortOpening TryComPort(int number)
{
    HANDLE port;
    const ComPortOpening opening = OpenComPort(number, &port);
    if (opening == ComPortOpening::kOpened) CloseHandle(port);
    return opening;
}

int AskModems()
{
    AnalyzingPanelAside aside;
    return ProbeModems(MainDialog);
}

}  // namespace

void ModemConfigurationStep(ProblemReport& report)
{
    Findings found;
    if (EquipmentInfo* info = gEquipmentInfo) {
        AskModems();
        if (!AnyModemSpeed(info->modemSpeed)) Add(found, CheckText::kNoModemsFound);
    }
    ReportFindings(report, found);
}

void ModemDiagnosticsStep(ProblemReport& report)
{
    Findings found;
    if (EquipmentInfo* info = gEquipmentInfo) {
        const int failed = AskModems();
        if (!AnyModemSpeed(info->modemSpeed)) Add(found, CheckText::kUnableToTestModems);
        // The probe's failure flag also stands for "nothing could be tested", which a
        // machine without modems gives and the finding above already says; it is a failed
        // modem only where another port answered.
        if (failed && AnyModemSpeed(info->modemSpeed)) Add(found, CheckText::kModemTestFailed);
    }
    ReportFindings(report, found);
}

void PortsConfigurationStep(ProblemReport& report)
{
    Findings found;
    if (const EquipmentInfo* info = gEquipmentInfo) {
        bool anyPrinterPort = false, anySerialPort = false;
        for (int n = 0; n < 3; ++n) anyPrinterPort |= info->lptPresent[n] || info->ecpPresent[n];
        for (int n = 0; n < 4; ++n) anySerialPort |= info->comPresent[n] != 0;
        const bool treePresent = DeviceTreePresent();
        if (!anyPrinterPort) Add(found, CheckText::kNoPrinterPortsFound);
        if (treePresent && !info->gamePort) Add(found, CheckText::kNoGamePortsFound);
        if (treePresent && !info->ps2Port) Add(found, CheckText::kNoPs2PortsFound);
        if (!anySerialPort) Add(found, CheckText::kNoSerialPortsFound);

        bool listed[kCheckedComPorts];
        ComPortOpening opening[kCheckedComPorts];
        for (int n = 0; n < kCheckedComPorts; ++n) {
            listed[n] = info->comPresent[n] != 0;
            opening[n] = listed[n] ? TryComPort(n + 1) : ComPortOpening::kMissing;
        }
        for (int k = CountPossiblePortConflicts(listed, opening); k > 0; --k) Add(found, CheckText::kPortConflictPossible);

        // COMnAutoAssign=0 hands the port to whichever program asks, even while another uses it.
        if (Windows95ChecksApply()) {
            bool shared[kCheckedComPorts] = {};
            for (int n = 0; n < kCheckedComPorts; ++n) {
                char key[32];
                snprintf(key, sizeof key, "COM%dAutoAssign", n + 1);
                shared[n] = listed[n] && SystemIniInt("386Enh", key, kNoEntry) == 0;
            }
            static const CheckText kProtection[] = {CheckText::kCom1ProtectionLow, CheckText::kCom2ProtectionLow,
                                                    CheckText::kCom3ProtectionLow, CheckText::kCom4ProtectionLow};
            static const CheckText kHangRisk[] = {CheckText::kCom1HangRisk, CheckText::kCom2HangRisk,
                                                  CheckText::kCom3HangRisk, CheckText::kCom4HangRisk};
            for (int n = 0; n < kCheckedComPorts; ++n)
                if (shared[n]) Add(found, kProtection[n]);
            for (int n = 0; n < kCheckedComPorts; ++n)
                if (shared[n]) Add(found, kHangRisk[n]);
        }
    }
    ReportFindings(report, found);
}

void PortsDiagnosticsStep(ProblemReport& report)
{
    Findings found;
    if (const EquipmentInfo* info = gEquipmentInfo) {
        bool unableToOpen = false, stateFailed = false;
        for (int n = 0; n < kCheckedComPorts; ++n) {
            if (!info->comPresent[n]) continue;
            HANDLE port;
            const ComPortOpening opening = OpenComPort(n + 1, &port);
            if (opening == ComPortOpening::kRefused) unableToOpen = true;
            if (opening != ComPortOpening::kOpened) continue;
            DCB state = {};
            state.DCBlength = sizeof state;
            if (!GetCommState(port, &state)) stateFailed = true;
            CloseHandle(port);
        }
        if (unableToOpen) Add(found, CheckText::kUnableToTestComPorts);
        if (stateFailed) Add(found, CheckText::kComPortError);
    }
    ReportFindings(report, found);
}

void PrinterConfigurationStep(ProblemReport& report)
{
    Findings found;
    DWORD printers = 0;
    EnumPrintersCached(&printers);
    if (printers == 0) Add(found, CheckText::kNoPrinterDriversInstalled);

    // The spooler writes its jobs to the Windows directory's drive.
    char windows[MAX_PATH];
    const UINT length = GetWindowsDirectoryA(windows, sizeof windows);
    ULARGE_INTEGER available, total, free;
    if (length > 0 && length < sizeof windows && GetDiskFreeSpaceExA(windows, &available, &total, &free) &&
        available.QuadPart < 5000000)
        Add(found, CheckText::kNotEnoughPrintSpoolerSpace);

    MEMORYSTATUSEX memory = {};
    memory.dwLength = sizeof memory;
    if (GlobalMemoryStatusEx(&memory) && memory.ullAvailPhys + memory.ullAvailPageFile < 5000000)
        Add(found, CheckText::kNotEnoughMemoryToPrint);
    ReportFindings(report, found);
}

void PrinterDiagnosticsStep(ProblemReport& report)
{
    Findings found;
    DWORD failed;
    {
        AnalyzingPanelAside aside;
        failed = PrintTestPage(MainDialog);
    }
    if (failed) Add(found, CheckText::kPrinterErrorOccurred);
    ReportFindings(report, found);
}

void ScsiConfigurationStep(ProblemReport& report)
{
    Findings found;
    if (DeviceTreePresent()) {
        bool anyTarget = false;
        for (char id = '0'; id <= '7' && !anyTarget; ++id) {
            const char target[] = {id, '\0'};
            anyTarget = WalkEnumTree(target, kMatchScsiTarget, nullptr, 0, kWalkFind) != 0;
        }
        if (!anyTarget) Add(found, CheckText::kNoScsiDevicesFound);
        if (anyTarget && Windows95ChecksApply() && GetPrivateProfileIntA("Options", "DoubleBuffer", 0, "C:\\MSDOS.SYS") != 0)
            Add(found, CheckText::kDoubleBufferingEnabled);
    }
    ReportFindings(report, found);
}

void ScsiDiagnosticsStep(ProblemReport& report)
{
    // The adapters are driven by their own drivers: this step only says so.
    ReportFindings(report, {CheckItem(CheckText::kScsiNotTested)});
}
