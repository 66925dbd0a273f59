#include <windows.h>

#include "analysis/monitors.h"

HWND MonitorWindows[kMonitorKinds];

void OpenMonitor(HWND samplingWindow, WPARAM which)
{
    // The monitors are not built yet.
}
