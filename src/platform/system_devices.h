// The devices the running system lists as present, for systems whose registry has no
// Windows 95 device tree: each with its class name, its hardware and compatible ids and
// its problem number. The listing is Win32; the rules that read it are portable.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// A device node's problem number for a resource conflict; Windows 95 and later systems
// number it alike.
constexpr uint32_t kProblemResourceConflict = 12;

struct PresentDevice {
    std::string deviceClass;               // "hdc", "CDROM", ...; empty when not reported
    std::vector<std::string> hardwareIds;  // hardware ids, then compatible ids; none when not reported
    uint32_t problem = 0;                  // the node's problem number while it reports one, else 0
};

// Win32: every device present, in the system's order. false, with devices emptied, when
// the system cannot list them.
bool ListPresentDevices(std::vector<PresentDevice>* devices);

// Whether two names are the same, compared whole and without case (ASCII). Null matches
// nothing.
bool SameNameNoCase(const char* a, const char* b);

// Whether device carries the Plug and Play id pnpId, written as the Windows 95 device tree
// names it ("*PNP0200"): an id equal to it, or the same id under one enumerator
// ("ACPI\PNP0200"), compared without case.
bool HasPnpId(const PresentDevice& device, const char* pnpId);

// How many devices are of class className (SameNameNoCase); 0 for an empty name.
uint32_t CountDevicesOfClass(const std::vector<PresentDevice>& devices, const char* className);

// Whether any device carries pnpId (HasPnpId).
bool AnyDeviceHasPnpId(const std::vector<PresentDevice>& devices, const char* pnpId);
