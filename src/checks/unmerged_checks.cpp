#include <windows.h>

#include "checks/diagnose_windows.h"
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

// Placeholder until the branch that builds it is merged: a box with the dialog's title, so
// the button that opens it can be followed to a window owned by the caller.
void OpenDiagnoseWindows(HWND owner)
{
    MessageBoxA(owner, "Not built in this branch.", "Diagnose Windows Problems", MB_OK);
}
