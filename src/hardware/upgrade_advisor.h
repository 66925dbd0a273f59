// The upgrade advisor (13700): each kind of equipment rated against how heavily it is used,
// with a table of typical models' relative performance.
#pragma once
#include <windows.h>

void OpenUpgradeAdvisor(HWND owner);

INT_PTR CALLBACK UpgradeAdvisorDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
