// Execution Priorities (12000): the running programs, the priority class of the chosen one
// (changed at once by its radio buttons) and the priority of each of its threads.
//
// At most one such dialog exists. Its handle is written and read only by the primary
// thread: kept while the dialog is open, forgotten when it is destroyed, also when it dies
// with its owner.
#pragma once
#include <windows.h>

// Opens the modeless dialog owned by parent; when it is already open, brings it to the top
// instead. Returns the dialog (null when it could not be created).
HWND PriorityBoss(HWND parent);

INT_PTR CALLBACK PriorityBossDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
