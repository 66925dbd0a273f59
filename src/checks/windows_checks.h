// The checks of Diagnose Windows Problems: each fills the report list it is given with its
// findings (StringList lines, heading first) and returns the number of lines.
#pragma once
#include <windows.h>

#include "ui/tool_table.h"

// The running system's own lists (system_list_checks.cpp)
int CheckHeapLists(HWND list);
int CheckHeaps(HWND list);
int CheckProcessList(HWND list);
int CheckModuleList(HWND list);
int CheckThreadList(HWND list);
int CheckWindowChain(HWND list);

// Files, registry and configuration (file_checks.cpp and its neighbours)
int CheckSystemFiles(HWND list);
int CheckDirectoryTree(HWND list);
int CheckRegistry(HWND list);
int CheckStaticVxds(HWND list);
int CheckRootDirectory(HWND list);
int CheckMemory(HWND list);
int CheckRealModeDrivers(HWND list);
int CheckStartupFiles(HWND list);

// Windows problems (windows_problem_checks.cpp)
int CheckAnimatedCursors(HWND list);
int CheckConfiguration(HWND list);
int CheckDeviceContention(HWND list);
int CheckMsDosMode(HWND list);
int CheckDriveSpace(HWND list);
// MS-DOS Mode and Drive Space keep what their shared walk found while the disks show no
// change; the Diagnose Windows dialog lets it go when it closes.
void ForgetDiskNameSearches();

// The nineteen checks in list order, each with its help text.
constexpr int kWindowsCheckCount = 19;
extern const ToolEntry kWindowsChecks[kWindowsCheckCount];
