#include <windows.h>

#include "checks/windows_checks.h"

// Placeholder until the branch that builds it is merged.
int CheckSystemFiles(HWND) { return 0; }
// Placeholder until the branch that builds it is merged.
int CheckDirectoryTree(HWND) { return 0; }
// Placeholder until the branch that builds it is merged.
int CheckRegistry(HWND) { return 0; }
// Placeholder until the branch that builds it is merged.
int CheckStaticVxds(HWND) { return 0; }
// Placeholder until the branch that builds it is merged.
int CheckRootDirectory(HWND) { return 0; }
// Placeholder until the branch that builds it is merged.
int CheckMemory(HWND) { return 0; }
// Placeholder until the branch that builds it is merged.
int CheckRealModeDrivers(HWND) { return 0; }
// Placeholder until the branch that builds it is merged.
int CheckStartupFiles(HWND) { return 0; }
// Placeholder until the branch that builds it is merged.
int CheckAnimatedCursors(HWND) { return 0; }
// Placeholder until the branch that builds it is merged.
int CheckConfiguration(HWND) { return 0; }
// Placeholder until the branch that builds it is merged.
int CheckDeviceContention(HWND) { return 0; }
// Placeholder until the branch that builds it is merged.
int CheckMsDosMode(HWND) { return 0; }
// Placeholder until the branch that builds it is merged.
int CheckDriveSpace(HWND) { return 0; }
