// The monitors chooser: picks which live monitors show.
#pragma once
#include <windows.h>

// Runs the monitors chooser modally with owner as its owner.
void ShowMonitorChooser(HWND owner);
