#pragma once
#include <windows.h>

// Opens the help file pd32.hlp in the program's folder with WinHelpA (window, path,
// command, data) and returns its result. When the file is not there, Windows help is not
// started (it would only show an error of its own): a "Help" box owned by window says so,
// and the result is FALSE.
BOOL ShowHelpFile(HWND window, UINT command, ULONG_PTR data);
