#include <windows.h>

#include "analysis/monitor_chooser.h"

// The monitors chooser comes with the monitors.
void ShowMonitorChooser(HWND) {}
