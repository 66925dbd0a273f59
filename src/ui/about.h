// The About box (dialog 14900): product name, version and maker beside the pyramid.
#pragma once
#include <windows.h>

// Dialog procedure of the modal About box; it centres itself over its owner.
INT_PTR CALLBACK AboutDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
