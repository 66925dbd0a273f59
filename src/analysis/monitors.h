#pragma once
#include <windows.h>

// The open monitor windows, one slot per kind (2801..2806 in order); null when closed.
// Created and destroyed on the sampling thread, which also posts their refreshes.
constexpr int kMonitorKinds = 6;
extern HWND MonitorWindows[kMonitorKinds];

// Opens the monitor numbered which (2801..2806) on the sampling thread.
void OpenMonitor(HWND samplingWindow, WPARAM which);
