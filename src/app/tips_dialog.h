// The Tips dialog (16200): opens the coach and the performance tips.
#pragma once
#include <windows.h>

INT_PTR CALLBACK TipsDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
