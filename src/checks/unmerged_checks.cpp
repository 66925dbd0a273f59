#include <windows.h>

#include "checks/windows_checks.h"

// Placeholder until the branch that builds it is merged.
int CheckHeapLists(HWND) { return 0; }
// Placeholder until the branch that builds it is merged.
int CheckHeaps(HWND) { return 0; }
// Placeholder until the branch that builds it is merged.
int CheckProcessList(HWND) { return 0; }
// Placeholder until the branch that builds it is merged.
int CheckModuleList(HWND) { return 0; }
// Placeholder until the branch that builds it is merged.
int CheckThreadList(HWND) { return 0; }
// Placeholder until the branch that builds it is merged.
int CheckWindowChain(HWND) { return 0; }
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
