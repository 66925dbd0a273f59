#pragma once
#include <windows.h>

// Opens the monitor numbered which (2801..2806) on the sampling thread.
void OpenMonitor(HWND samplingWindow, WPARAM which);
