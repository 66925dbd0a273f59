// Customize Program Appearance (12200): every top-level window of the system in one list,
// and for the chosen one its caption, visibility, size, input, z order, activity and owned
// pop-ups, changed at once.
#pragma once
#include <windows.h>

INT_PTR CALLBACK WindowBossDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Opens the modeless dialog owned by parent and returns it. When it is already open, it is
// restored, enabled (it may have locked or hidden itself), given its caption back and
// brought to the top instead.
HWND WindowBoss(HWND parent);
