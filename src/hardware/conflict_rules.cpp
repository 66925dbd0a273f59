#include "hardware/conflicts.h"

// Class names that stand for more than their own class: a category asks with the first
// name and devices of either class answer.
static const struct {
    const char* className;
    const char* alsoMatches;
} kClassAliases[] = {
    {"SCSI", "SCSIAdapter"},
};

bool IsConflictClass(const char* deviceClass, const char* className)
{
    if (!deviceClass || !deviceClass[0]) return false;  // a class not reported is no class
    if (SameNameNoCase(deviceClass, className)) return true;
    for (const auto& alias : kClassAliases)
        if (SameNameNoCase(className, alias.className) && SameNameNoCase(deviceClass, alias.alsoMatches)) return true;
    return false;
}

bool HasConflictOfClass(const std::vector<PresentDevice>& devices, const char* className)
{
    for (const PresentDevice& device : devices)
        if (device.problem == kProblemResourceConflict && IsConflictClass(device.deviceClass.c_str(), className))
            return true;
    return false;
}
