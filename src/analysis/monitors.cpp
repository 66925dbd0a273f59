#include <windows.h>

#include "analysis/monitors.h"

void OpenMonitor(HWND samplingWindow, WPARAM which)
{
    // The monitors are not built yet.
}
