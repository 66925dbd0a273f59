#include <windows.h>

#include "hardware/conflicts.h"
#include "platform/device_problems.h"

int ConflictFound(const char* className)
{
    std::vector<PresentDevice> devices;
    ListDeviceProblems(&devices);
    return HasConflictOfClass(devices, className) ? 1 : 0;
}
