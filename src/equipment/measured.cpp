#include <windows.h>
#include <mmsystem.h>

#include "equipment/inventory.h"

#include <cstdio>

#include "equipment/measure_rules.h"
#include "equipment/spooler.h"
#include "services/debug_trace.h"
#include "services/drives.h"
#include "services/vwin32.h"
#include "ui/splash.h"

uint32_t BiosDriveType(uint32_t index)
{
    Vwin32Registers packet = {};
    packet.eax = 0x0800;
    packet.edx = index;
    return Vwin32Call(kVwin32Int13, &packet) ? packet.ebx : 0;
}

// Each drive A: to Z: counts by its type; the first ten fixed and removable drives are
// recorded.
static void MeasureDisks(EquipmentInfo* info)
{
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        switch (DriveTypeOf(letter)) {
        case DRIVE_REMOVABLE:
            if (info->floppyDrives < 10)
                info->floppyKinds[info->floppyDrives] = FloppyKindOfBiosType(BiosDriveType(uint32_t(letter - 'A')));
            ++info->floppyDrives;
            break;
        case DRIVE_FIXED: ApplyHardDisk(info, DriveTotalBytes(letter)); break;
        case DRIVE_CDROM: ++info->cdromDrives; break;
        default: break;
        }
    }
}

static void MeasureMemory(EquipmentInfo* info)
{
    MEMORYSTATUSEX status = {};
    status.dwLength = sizeof status;
    if (GlobalMemoryStatusEx(&status)) ApplyMemoryTotals(info, status.ullTotalPhys, status.ullTotalPageFile, status.ullTotalVirtual);
}

static void MeasureCpu(EquipmentInfo*)
{
    MeasureCpuSpeed();
}

static void MeasureMouse(EquipmentInfo* info)
{
    if (GetSystemMetrics(SM_MOUSEPRESENT)) info->mouseButtons = uint32_t(GetSystemMetrics(SM_CMOUSEBUTTONS));
}

static void MeasureKeyboard(EquipmentInfo* info)
{
    info->functionKeys = FunctionKeyCount(GetKeyboardType(0), GetKeyboardType(2));
}

static void NameComputer(EquipmentInfo* info)
{
    snprintf(info->pcName, sizeof info->pcName, "%s", "Default Computer");
}

static void ListPrinters(EquipmentInfo* info)
{
    DWORD count = 0;
    const PRINTER_INFO_2A* printers = EnumPrintersCached(&count);
    for (DWORD i = 0; i < count && i < 20; ++i)
        if (printers[i].pPrinterName) lstrcpynA(info->printers[i], printers[i].pPrinterName, sizeof info->printers[i]);
}

static void MarkPort(const char* name, void* info)
{
    ApplyPortName(static_cast<EquipmentInfo*>(info), name);
}

static void ListPorts(EquipmentInfo* info)
{
    ForEachPortName(MarkPort, info);
}

static void ReadVersions(EquipmentInfo* info)
{
    ApplyWindowsVersion(info, GetVersion());
}

// The product name of device 0 of a kind, when the system has at least one.
template <typename Caps>
static void NameFirstDevice(UINT count, MMRESULT(WINAPI* getCaps)(UINT_PTR, Caps*, UINT), char (&field)[128])
{
    Caps caps = {};
    if (count > 0 && getCaps(0, &caps, sizeof caps) == MMSYSERR_NOERROR) lstrcpynA(field, caps.szPname, sizeof field);
}

static void ListSoundDevices(EquipmentInfo* info)
{
    NameFirstDevice(waveOutGetNumDevs(), waveOutGetDevCapsA, info->waveOut);
    NameFirstDevice(waveInGetNumDevs(), waveInGetDevCapsA, info->waveIn);
    NameFirstDevice(auxGetNumDevs(), auxGetDevCapsA, info->auxAudio);
    NameFirstDevice(midiInGetNumDevs(), midiInGetDevCapsA, info->midiIn);
    NameFirstDevice(midiOutGetNumDevs(), midiOutGetDevCapsA, info->midiOut);
}

static const struct {
    const char* name;
    void (*measure)(EquipmentInfo* info);
} kMeasuredSteps[] = {
    {"Disks", MeasureDisks},         {"Memory", MeasureMemory},   {"CPU Speed", MeasureCpu},
    {"Mouse", MeasureMouse},         {"Keyboard", MeasureKeyboard}, {"Computer Name", NameComputer},
    {"Printers", ListPrinters},      {"Ports", ListPorts},        {"Versions", ReadVersions},
    {"Sound Devices", ListSoundDevices},
};

static void Announce(const char* name)
{
    DebugTrace(kTraceString, "Static Data...", name);
}

void ReadMeasuredEquipment(HWND owner)
{
    if (!gEquipmentInfo) return;
    SplashStep();
    Announce("Start");
    for (const auto& step : kMeasuredSteps) {
        Announce(step.name);
        step.measure(gEquipmentInfo);
    }
    Announce("Done");
}
