// The present devices with their class and problem number, as the problem solver's
// conflict test reads them. Where the Windows 95 dynamic data lists its device nodes
// (HKEY_DYN_DATA "Config Manager\Enum"), each node's "Problem" value and the "Class" of
// the device key its "HardWareKey" names under HKEY_LOCAL_MACHINE\Enum are used; otherwise
// the running system's present devices and their node status (system_devices.h).
#pragma once
#include <vector>

#include "platform/system_devices.h"

enum DeviceProblemSource {
    kProblemsFromConfigManager,  // the dynamic data listed at least one device node
    kProblemsFromSystem,         // the running system listed its devices
    kProblemsUnavailable,        // neither answered: no devices
};

// Fills devices (emptied first: class and problem; no hardware ids from the dynamic data)
// and tells which source answered. A node whose problem cannot be read counts as having
// none; one whose class cannot be read has an empty class.
DeviceProblemSource ListDeviceProblems(std::vector<PresentDevice>* devices);
