// The status report (dialog 13200): what the machine does now, where its load has gone,
// its resources, programs, windows, hardware, disks and hints; renewed on every
// "NEWDATAREADY" the sampling tick posts to it.
//
// Primary thread only. It reads SystemStats, LiveSample, EquipmentInfo and the file-change
// counts without a lock while the sampling and watcher threads write them.
#pragma once
#include <windows.h>

// Opens the modeless status report owned by owner, or, while one is open, brings that
// one to the front instead of opening a second. The report registers itself in the view
// registry under IDD_STATUS_REPORT when it opens, so the tick posts "NEWDATAREADY" to it,
// and unregisters when it is destroyed. Returns the report; null when it cannot be created.
HWND OpenStatusReport(HWND owner);

// The tab stops (pixels from an item's left edge) of the status report's report lists:
// kStatusTabStops for the bar lists, others for Disk Status and the hardware inventory.
constexpr int kStatusTabStopCount = 9;
extern const int kStatusTabStops[kStatusTabStopCount];
extern const int kStatusDiskTabStops[kStatusTabStopCount];
extern const int kStatusInventoryTabStops[kStatusTabStopCount];
// The tab stops the report list listId is drawn with.
const int* StatusTabStops(int listId);

INT_PTR CALLBACK StatusReportDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// One refresh, as on "NEWDATAREADY": the current usage every time; program usage,
// resources, disk status, long-term shares, the equipment page and the coach at the first
// refresh and every tenth after it; the window map when the foreground window changed or
// the slow lists were renewed.
void RefreshStatusReport(HWND dialog);

// File Changes (15200) and Applications (13500), opened from the status report.
INT_PTR CALLBACK FileChangesDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK ApplicationsDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
