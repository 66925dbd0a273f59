// "Close all programs": asks, then asks every other program's main windows to close.
#pragma once
#include <windows.h>

// Asks "Close All Programs?" over MainDialog; on Yes posts WM_CLOSE to every visible
// top-level window with a caption and a title that does not belong to MainDialog, from the
// bottom of the z-order up, then minimises MainDialog and ends it as a dialog. Does not
// wait for the programs. Anything but Yes changes nothing.
void CloseAllPrograms();
