// The coach (13900) and Boost PC Tips (14300): scores about how the PC is used, with the
// advice of COACH.DAT, and advice by hardware category from BOOST.DAT.
#pragma once
#include <windows.h>

#include <cstdint>

#include "analysis/coach_scores.h"

INT_PTR CALLBACK CoachDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK BoostTipsDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// The Disk Efficiency score of the fixed disks: walks every fixed drive for program files
// (*.exe) and rates how recently they were used. Reads directory entries only.
int32_t MeasureDiskEfficiency();

// Counts one directory entry of that walk when it is a program file: a file (not a folder)
// named *.exe whose attributes are above 127 or include the archive bit, by the month of
// its last access (local time) as seen in (nowYear, nowMonth).
void CountProgramFile(const WIN32_FIND_DATAA& found, AccessMonths* months, int nowYear, int nowMonth);
