// The BIOS as the running system describes it, for systems whose registry has no Windows 95
// device tree to name it.
#pragma once
#include <cstddef>

constexpr size_t kSystemBiosTextLength = 256;

struct SystemBios {
    char vendor[kSystemBiosTextLength];   // empty when not reported
    char version[kSystemBiosTextLength];
    char date[kSystemBiosTextLength];
};

// Win32: the values BIOSVendor, BIOSVersion and BIOSReleaseDate of
// HKEY_LOCAL_MACHINE\HARDWARE\DESCRIPTION\System\BIOS; a version or date missing or empty
// there comes from SystemBiosVersion (its first line) or SystemBiosDate of
// HARDWARE\DESCRIPTION\System. A field no value gives stays empty (values that do not fit
// are left out, never cut).
SystemBios ReadSystemBios();
