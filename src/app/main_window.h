#pragma once
#include <windows.h>

// The hidden "PANDREL" window: counts comm notifications, takes the companion's
// percentages, and saves the statistics when Windows ends the session.
LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
