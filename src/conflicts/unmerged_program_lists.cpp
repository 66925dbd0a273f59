#include <windows.h>

#include "checks/program_lists.h"

// Placeholder until the branch that builds it is merged.
int ListMsDosModePrograms(HWND) { return 0; }
int ListDangerousPrograms(HWND) { return 0; }
int ListIncompatiblePrograms(HWND) { return 0; }
