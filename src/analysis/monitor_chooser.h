// The monitors chooser (dialog 13400 "Monitors"): one button per monitor and the
// keep-on-top check box.
#pragma once
#include <windows.h>

// Shows the chooser modally over owner. Each button sends "MONITORACTIVE" with its
// monitor's number to the sampling window the view registry holds and waits until the
// sampling thread has handled it.
void ShowMonitorChooser(HWND owner);
