// "Close all programs": asks, then asks every other program's main windows to close.
#pragma once
#include <windows.h>

// Asks "Close All Programs?" over MainDialog; on Yes posts WM_CLOSE to every visible
// top-level window with a caption and a title that belongs to another process, from the
// bottom of the z-order up, then minimises MainDialog. The main dialog stays alive and
// reachable from the task bar, and this program's own windows (monitors, reports) are
// left alone. Does not wait for the programs. Anything but Yes changes nothing.
void CloseAllPrograms();

// In a copy that was refused because another one runs: restores the running copy's main
// dialog and brings it to the front, so a user who lost sight of it gets it back.
void BringRunningCopyToFront(HWND runningMainWindow);
