// The status report (dialog 13200): what the machine does now, where its load has gone,
// its resources, programs, windows, hardware, disks and hints; renewed on every
// "NEWDATAREADY" the sampling tick posts to it.
//
// Primary thread only. It reads SystemStats, LiveSample, EquipmentInfo and the file-change
// counts without a lock while the sampling and watcher threads write them.
#pragma once
#include <windows.h>

// Creates a modeless status report owned by owner and shows it; null when it cannot be
// created. Several may be open at once; each keeps its own refresh count.
HWND CreateStatusReport(HWND owner);

INT_PTR CALLBACK StatusReportDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// One refresh, as on "NEWDATAREADY": the current usage every time; program usage,
// resources, disk status, long-term shares, the equipment page and the coach at the first
// refresh and every tenth after it; the window map when the foreground window changed or
// the slow lists were renewed.
void RefreshStatusReport(HWND dialog);

// File Changes (15200) and Applications (13500), opened from the status report.
INT_PTR CALLBACK FileChangesDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK ApplicationsDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
