#include <windows.h>

#include "hardware/hardware_optimizer.h"

#include <winspool.h>

#include <cstdio>
#include <cstring>

#include "app/app_globals.h"
#include "equipment/enum_tree.h"
#include "equipment/equipment_info.h"
#include "equipment/spooler.h"
#include "resources/ids_hardware.h"
#include "services/alloc.h"
#include "services/files.h"
#include "services/help_file.h"
#include "services/registry.h"
#include "services/window_position.h"
#include "ui/drawing.h"

OptimizerFlags gOptimizerFlags = {};
BOOL(WINAPI* OptimizerExitWindows)(UINT flags, DWORD reason) = ExitWindowsEx;

namespace {

// The one dialog that can be open (it is modal): how its buttons ask for confirmation.
struct OptimizerDialog {
    ConfirmChangesFn confirm;
} gDialog;

const char kPrintersKey[] = "System\\CurrentControlSet\\control\\Print\\Printers\\";

// What one confirmed button did, and the names of the settings that were not written, one
// per line, for the box that reports them.
struct WriteReport {
    OptimizerWriteResult result;
    char failures[1536];
    bool failuresCut;  // a line did not fit: the list ends with "..."
};

void Record(WriteReport* report, bool written, const char* where, const char* name)
{
    if (written) {
        ++report->result.written;
        return;
    }
    ++report->result.failed;
    if (report->failuresCut) return;
    // Whole lines only, with room kept behind them for the mark that the list goes on.
    const char kCut[] = "...\r\n";
    const size_t used = strlen(report->failures);
    const size_t room = sizeof report->failures - sizeof kCut - used;
    const int length = snprintf(report->failures + used, room, "%s: %s\r\n", where, name);
    if (length < 0 || size_t(length) >= room) {
        report->failuresCut = true;
        memcpy(report->failures + used, kCut, sizeof kCut);
    }
}

bool IsWindows95()
{
    return gEquipmentInfo && gEquipmentInfo->platform == '9';
}

bool KeyExists(const char* keyPath)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

// The type of a value under keyPath; false when the key or the value is not there.
bool ValueType(const char* keyPath, const char* name, DWORD* type)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
    const LONG found = RegQueryValueExA(key, name, nullptr, type, nullptr, nullptr);
    RegCloseKey(key);
    return found == ERROR_SUCCESS;
}

// Writes one value under an existing key; a value already there keeps its type, so one of
// another type is left alone and the write counts as failed.
bool WriteRegistryValue(const char* keyPath, const char* name, DWORD type, const void* data, DWORD size)
{
    DWORD oldType = 0;
    if (ValueType(keyPath, name, &oldType) && oldType != type) return false;
    switch (type) {
    case REG_SZ: return RegWriteString(HKEY_LOCAL_MACHINE, keyPath, name, data, size) != 0;
    case REG_DWORD: return RegWriteDword(HKEY_LOCAL_MACHINE, keyPath, name, data, size) != 0;
    default: return RegWriteBinary(HKEY_LOCAL_MACHINE, keyPath, name, data, size) != 0;
    }
}

// The number of a binary, DWORD or CD-ROM cache setting, as little-endian bytes.
DWORD SettingNumberBytes(const OptimizerSetting& setting, BYTE bytes[4])
{
    uint32_t number = setting.number;
    if (setting.kind == kValueCdfs)
        number = CdfsValue(gEquipmentInfo ? gEquipmentInfo->physicalMemory : 0, setting.number);
    for (int i = 0; i < 4; ++i) bytes[i] = BYTE(number >> (8 * i));
    return setting.kind == kValueBinary ? setting.length : 4;
}

void WriteKeySetting(const OptimizerSetting& setting, WriteReport* report)
{
    if (setting.place == kInKeyIfPresent && !KeyExists(setting.location)) return;
    BYTE bytes[4];
    const DWORD size = SettingNumberBytes(setting, bytes);
    const DWORD type = setting.kind == kValueDword ? REG_DWORD : REG_BINARY;
    Record(report, WriteRegistryValue(setting.location, setting.name, type, bytes, size), setting.location,
           setting.name);
}

// Every CD-ROM device instance that already carries the value; others are left without it.
void WriteCdromInstances(const OptimizerSetting& setting, WriteReport* report)
{
    const int count = WalkEnumTree("CDROM", kMatchClass, nullptr, 0, kWalkCount);
    if (count <= 0) return;
    DeviceRecord* records = static_cast<DeviceRecord*>(AllocChecked(GPTR, SIZE_T(count) * sizeof(DeviceRecord)));
    int found = WalkEnumTree("CDROM", kMatchClass, records, count, kWalkCollect);
    if (found > count) found = count;  // a device added between the two walks waits for the next press
    for (int i = 0; i < found; ++i) {
        DWORD type = 0;
        if (!ValueType(records[i].keyPath, setting.name, &type)) continue;
        BYTE bytes[4];
        const DWORD size = SettingNumberBytes(setting, bytes);
        Record(report, WriteRegistryValue(records[i].keyPath, setting.name, REG_BINARY, bytes, size),
               records[i].keyPath, setting.name);
    }
    GlobalFree(records);
}

// A profile file that exists is written; one that does not is never created. With
// liftAttributes, read-only, hidden and system are taken off for the write and put back.
bool WriteExistingProfile(const char* path, const char* section, const char* name, const char* text,
                          bool liftAttributes)
{
    const DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
    const DWORD guarded = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    const bool lift = liftAttributes && (attributes & guarded);
    if (lift) {
        const DWORD open = attributes & ~guarded;
        if (!SetFileAttributesA(path, open ? open : FILE_ATTRIBUTE_NORMAL)) return false;
    }
    const bool written = WritePrivateProfileStringA(section, name, text, path) != 0;
    if (lift) SetFileAttributesA(path, attributes);
    return written;
}

void WriteProfileSetting(const OptimizerSetting& setting, WriteReport* report)
{
    char where[96];
    char path[MAX_PATH + 16] = "";
    bool written = false;
    switch (setting.place) {
    case kInMsdosSys:
        snprintf(where, sizeof where, "c:\\msdos.sys [%s]", setting.location);
        written = WriteExistingProfile("c:\\msdos.sys", setting.location, setting.name, setting.text, true);
        break;
    case kInSystemIni:
        snprintf(where, sizeof where, "system.ini [%s]", setting.location);
        written = WindowsFolderFile("system.ini", path, sizeof path) &&
                  WriteExistingProfile(path, setting.location, setting.name, setting.text, false);
        break;
    default:  // the user profile, which the system may keep elsewhere than in its file
        snprintf(where, sizeof where, "win.ini [%s]", setting.location);
        written = WindowsFolderFile("win.ini", path, sizeof path) &&
                  GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES &&
                  WriteProfileStringA(setting.location, setting.name, setting.text);
        break;
    }
    Record(report, written, where, setting.name);
}

// The printer's registry key, as Windows 95 keeps it; false when the name does not fit.
bool PrinterKeyPath(const char* printer, char* path, size_t size)
{
    const int written = snprintf(path, size, "%s%s", kPrintersKey, printer);
    return written > 0 && size_t(written) < size;
}

void WritePrinterKeys(const OptimizerSetting& setting, WriteReport* report)
{
    DWORD count = 0;
    const PRINTER_INFO_2A* printers = EnumPrintersCached(&count);
    for (DWORD i = 0; i < count; ++i) {
        if (!printers[i].pPrinterName || !IsParallelPortName(printers[i].pPortName)) continue;
        char key[600];
        bool written = PrinterKeyPath(printers[i].pPrinterName, key, sizeof key);
        if (written && setting.kind == kValueText) {
            written = WriteRegistryValue(key, setting.name, REG_SZ, setting.text, DWORD(strlen(setting.text) + 1));
        } else if (written) {
            DWORD old = 0, type = 0;
            const bool known = ValueType(key, setting.name, &type) && type == REG_DWORD &&
                               RegReadValue(HKEY_LOCAL_MACHINE, key, setting.name, &old, sizeof old);
            const DWORD attributes = SpooledPrinterAttributes(old, known);
            written = WriteRegistryValue(key, setting.name, REG_DWORD, &attributes, sizeof attributes);
        }
        Record(report, written, written ? "" : key, setting.name);
    }
}

// The spooler's entry points, loaded with the library the printer list came from.
struct SpoolerCalls {
    BOOL(WINAPI* open)(LPSTR, LPHANDLE, LPPRINTER_DEFAULTSA);
    BOOL(WINAPI* get)(HANDLE, DWORD, LPBYTE, DWORD, LPDWORD);
    BOOL(WINAPI* set)(HANDLE, DWORD, LPBYTE, DWORD);
    BOOL(WINAPI* close)(HANDLE);
};

template <typename Entry>
bool LoadEntry(HMODULE module, const char* name, Entry* entry)
{
    *entry = reinterpret_cast<Entry>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    return *entry != nullptr;
}

bool LoadSpoolerCalls(SpoolerCalls* calls)
{
    HMODULE spooler = LoadLibraryA("winspool.drv");
    return spooler && LoadEntry(spooler, "OpenPrinterA", &calls->open) &&
           LoadEntry(spooler, "GetPrinterA", &calls->get) && LoadEntry(spooler, "SetPrinterA", &calls->set) &&
           LoadEntry(spooler, "ClosePrinter", &calls->close);
}

// The attribute word of one printer through the spooler, its other settings as they were.
bool SpoolPrinter(const SpoolerCalls& calls, const char* name)
{
    PRINTER_DEFAULTSA access = {nullptr, nullptr, PRINTER_ALL_ACCESS};
    HANDLE printer = nullptr;
    if (!calls.open(const_cast<char*>(name), &printer, &access)) return false;
    bool written = false;
    DWORD needed = 0;
    calls.get(printer, 2, nullptr, 0, &needed);
    if (needed >= sizeof(PRINTER_INFO_2A)) {
        BYTE* block = static_cast<BYTE*>(AllocChecked(GPTR, needed));
        PRINTER_INFO_2A* info = reinterpret_cast<PRINTER_INFO_2A*>(block);
        if (calls.get(printer, 2, block, needed, &needed)) {
            const DWORD attributes = SpooledPrinterAttributes(info->Attributes, true);
            written = attributes == info->Attributes;  // already so
            if (!written) {
                info->Attributes = attributes;
                info->pSecurityDescriptor = nullptr;  // the printer's security is left as it is
                written = calls.set(printer, 2, block, 0) != 0;
            }
        }
        GlobalFree(block);
    }
    calls.close(printer);
    return written;
}

void WriteSpooler(const OptimizerSetting& setting, WriteReport* report)
{
    DWORD count = 0;
    const PRINTER_INFO_2A* printers = EnumPrintersCached(&count);
    SpoolerCalls calls = {};
    const bool loaded = count > 0 && LoadSpoolerCalls(&calls);
    for (DWORD i = 0; i < count; ++i) {
        if (!printers[i].pPrinterName || !IsParallelPortName(printers[i].pPortName)) continue;
        char where[300];
        snprintf(where, sizeof where, "printer %s", printers[i].pPrinterName);
        Record(report, loaded && SpoolPrinter(calls, printers[i].pPrinterName), where, setting.name);
    }
}

void WriteSetting(const OptimizerSetting& setting, WriteReport* report)
{
    switch (setting.place) {
    case kInCdromInstances: WriteCdromInstances(setting, report); break;
    case kInRegistryKey:
    case kInKeyIfPresent: WriteKeySetting(setting, report); break;
    case kInMsdosSys:
    case kInSystemIni:
    case kInUserProfile: WriteProfileSetting(setting, report); break;
    case kInPrinterKeys: WritePrinterKeys(setting, report); break;
    case kInSpooler: WriteSpooler(setting, report); break;
    case kWrittenAbove: break;
    }
}

void ShowRestartState(HWND dialog)
{
    EnableWindow(GetDlgItem(dialog, IDC_OPTIMIZE_NOTE), gOptimizerFlags.restartNeeded);
    EnableWindow(GetDlgItem(dialog, IDC_OPTIMIZE_REBOOT), gOptimizerFlags.restartNeeded);
    InvalidateRect(GetDlgItem(dialog, IDC_OPTIMIZE_REBOOT), nullptr, TRUE);  // its picture follows the flag
}

void OnOptimize(HWND dialog, int button)
{
    if (gOptimizerFlags.done[button]) {
        MessageBoxA(dialog, kOptimizedAlreadyTexts[button], "No further optimization possible",
                    MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    const bool isWindows95 = IsWindows95();
    char proposal[1024];
    BuildOptimizerProposal(button, isWindows95, proposal, sizeof proposal);
    if (!gDialog.confirm || !gDialog.confirm(dialog, proposal)) return;

    WriteReport report = {};
    for (size_t i = 0; i < kOptimizerSettingCount; ++i) {
        const OptimizerSetting& setting = kOptimizerSettings[i];
        if (setting.button == button && SettingApplies(setting, isWindows95)) WriteSetting(setting, &report);
    }
    ApplyOptimizerResult(&gOptimizerFlags, button, report.result);
    ShowRestartState(dialog);
    if (report.result.failed) {
        char text[sizeof report.failures + 64];
        snprintf(text, sizeof text, "These settings could not be changed:\r\n\r\n%s", report.failures);
        MessageBoxA(dialog, text, "Error!", MB_OK | MB_ICONHAND);
    }
}

// The shutdown privilege of this process, which the NT family demands before a restart.
// A system without privileges (Windows 95) needs none.
bool EnableShutdownPrivilege()
{
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token))
        return GetLastError() == ERROR_CALL_NOT_IMPLEMENTED;
    TOKEN_PRIVILEGES privileges = {};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    bool enabled = LookupPrivilegeValueA(nullptr, SE_SHUTDOWN_NAME, &privileges.Privileges[0].Luid) != 0;
    if (enabled) {
        enabled = AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr) != 0 &&
                  GetLastError() == ERROR_SUCCESS;  // ERROR_NOT_ALL_ASSIGNED: not granted
    }
    CloseHandle(token);
    return enabled;
}

void OnReboot(HWND dialog)
{
    if (!EnableShutdownPrivilege()) {
        MessageBoxA(dialog,
                    "Windows could not be restarted: this program is not allowed to shut the system down. "
                    "Please restart Windows yourself so the changes can take effect.",
                    "Reboot", MB_OK | MB_ICONHAND);
        return;
    }
    if (!OptimizerExitWindows(EWX_REBOOT, SHTDN_REASON_MAJOR_OPERATINGSYSTEM | SHTDN_REASON_MINOR_RECONFIG |
                                              SHTDN_REASON_FLAG_PLANNED)) {
        char text[200];
        snprintf(text, sizeof text,
                 "Windows could not be restarted (error %lu). Please restart Windows yourself so the changes "
                 "can take effect.",
                 GetLastError());
        MessageBoxA(dialog, text, "Reboot", MB_OK | MB_ICONHAND);
    }
}

void OnDrawItem(const DRAWITEMSTRUCT* item)
{
    const int id = int(item->CtlID);
    HBRUSH face = HBRUSH(GetStockObject(LTGRAY_BRUSH));
    if (id >= IDC_OPTIMIZE_CPU && id < IDC_OPTIMIZE_CPU + kOptimizerButtonCount)
        DrawPictureButton(item->hwndItem, item, face, IDB_OPTIMIZE_CPU + (id - IDC_OPTIMIZE_CPU));
    else if (id == IDC_OPTIMIZE_REBOOT)
        DrawPictureButton(item->hwndItem, item, face,
                          gOptimizerFlags.restartNeeded ? IDB_OPTIMIZE_REBOOT_NEEDED : IDB_OPTIMIZE_REBOOT);
}

void OnCommand(HWND dialog, int id, int notification)
{
    if (id >= IDC_OPTIMIZE_CPU && id < IDC_OPTIMIZE_CPU + kOptimizerButtonCount) {
        if (notification == BN_CLICKED) OnOptimize(dialog, id - IDC_OPTIMIZE_CPU);
    } else if (id == IDC_OPTIMIZE_REBOOT) {
        if (notification == BN_CLICKED) OnReboot(dialog);
    } else if (id == IDOK || id == IDCANCEL) {
        EndDialog(dialog, id);
    }
}

}  // namespace

INT_PTR CALLBACK HardwareOptimizerDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        gDialog.confirm = reinterpret_cast<ConfirmChangesFn>(lParam);
        ShowRestartState(dialog);
        CenterWindow(dialog, MainDialog);
        return TRUE;
    case WM_HELP:
    case WM_CONTEXTMENU:
        ShowHelpFile(dialog, HELP_CONTEXT, HELP_CONTEXT_HARDWARE_OPTIMIZER);
        return TRUE;
    case WM_DRAWITEM:
        OnDrawItem(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    case WM_COMMAND:
        OnCommand(dialog, LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

void OpenHardwareOptimizer(HWND owner, ConfirmChangesFn confirm)
{
    DialogBoxParamA(gInstance, MAKEINTRESOURCEA(IDD_HARDWARE_OPTIMIZER), owner, HardwareOptimizerDlgProc,
                    reinterpret_cast<LPARAM>(confirm));
}
