// The Speed Up Hardware category dialog (16100): five picture buttons that open the
// hardware speed tools.
#pragma once
#include <windows.h>

INT_PTR CALLBACK SpeedUpDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
