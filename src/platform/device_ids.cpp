#include "platform/system_devices.h"

static char UpperAscii(char c)
{
    return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c;
}

bool SameNameNoCase(const char* a, const char* b)
{
    if (!a || !b) return false;
    for (; *a && *b; ++a, ++b)
        if (UpperAscii(*a) != UpperAscii(*b)) return false;
    return *a == *b;
}

bool HasPnpId(const PresentDevice& device, const char* pnpId)
{
    if (!pnpId || pnpId[0] != '*') return false;
    for (const std::string& id : device.hardwareIds) {
        if (SameNameNoCase(id.c_str(), pnpId)) return true;
        // One enumerator before the bare id: "ACPI\PNP0200", never "X\Y\PNP0200".
        const size_t slash = id.find('\\');
        if (slash != std::string::npos && slash > 0 && id.find('\\', slash + 1) == std::string::npos &&
            SameNameNoCase(id.c_str() + slash + 1, pnpId + 1))
            return true;
    }
    return false;
}

uint32_t CountDevicesOfClass(const std::vector<PresentDevice>& devices, const char* className)
{
    uint32_t count = 0;
    if (!className || !className[0]) return 0;
    for (const PresentDevice& device : devices)
        if (SameNameNoCase(device.deviceClass.c_str(), className)) ++count;
    return count;
}

bool AnyDeviceHasPnpId(const std::vector<PresentDevice>& devices, const char* pnpId)
{
    for (const PresentDevice& device : devices)
        if (HasPnpId(device, pnpId)) return true;
    return false;
}
