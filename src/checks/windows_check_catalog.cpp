#include <windows.h>

#include "checks/windows_checks.h"

const ToolEntry kWindowsChecks[kWindowsCheckCount] = {
    {"Animated Cursors", CheckAnimatedCursors, 3606},
    {"Configuration", CheckConfiguration, 3653},
    {"Device Contention", CheckDeviceContention, 3629},
    {"Directories", CheckDirectoryTree, 2458},
    {"Drivers", CheckRealModeDrivers, 2465},
    {"Drive Space", CheckDriveSpace, 3605},
    {"Memory Heap List", CheckHeapLists, 2451},
    {"Memory Heaps", CheckHeaps, 2452},
    {"Memory Structures", CheckMemory, 2464},
    {"Module List", CheckModuleList, 2455},
    {"MS-DOS Mode", CheckMsDosMode, 3602},
    {"Process List", CheckProcessList, 2454},
    {"Registry", CheckRegistry, 2459},
    {"Root Directories", CheckRootDirectory, 2462},
    {"Startup Files", CheckStartupFiles, 2466},
    {"System Files", CheckSystemFiles, 2457},
    {"Thread List", CheckThreadList, 2456},
    {"VxDs", CheckStaticVxds, 2467},
    {"Window Chain", CheckWindowChain, 2453},
};
