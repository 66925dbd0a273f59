#include <windows.h>

#include "platform/system_bios.h"

static const char kBiosKey[] = "HARDWARE\\DESCRIPTION\\System\\BIOS";
static const char kSystemKey[] = "HARDWARE\\DESCRIPTION\\System";

// A string value of HKEY_LOCAL_MACHINE into an empty field; nothing when the value is
// missing, empty, not a string or too long. A multi-string value keeps its first line.
static void ReadInto(char (&field)[kSystemBiosTextLength], const char* keyPath, const char* name)
{
    if (field[0]) return;
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return;
    char text[kSystemBiosTextLength + 1] = {};  // one NUL beyond what the value may fill
    DWORD type = 0, length = kSystemBiosTextLength;
    const LONG result = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(text), &length);
    RegCloseKey(key);
    const bool fits = lstrlenA(text) < int(kSystemBiosTextLength);  // a value stored without its NUL may fill the buffer
    if (result == ERROR_SUCCESS && (type == REG_SZ || type == REG_MULTI_SZ) && fits) lstrcpynA(field, text, sizeof field);
}

SystemBios ReadSystemBios()
{
    SystemBios bios = {};
    ReadInto(bios.vendor, kBiosKey, "BIOSVendor");
    ReadInto(bios.version, kBiosKey, "BIOSVersion");
    ReadInto(bios.version, kSystemKey, "SystemBiosVersion");
    ReadInto(bios.date, kBiosKey, "BIOSReleaseDate");
    ReadInto(bios.date, kSystemKey, "SystemBiosDate");
    return bios;
}
