// The Fix Software Conflicts dialog (14600): the missing support file check and the three
// reports of known problem programs, shown in one report list.
#pragma once
#include <windows.h>

INT_PTR CALLBACK FixSoftwareConflictsDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Opens the dialog modally over owner.
void OpenFixSoftwareConflicts(HWND owner);
