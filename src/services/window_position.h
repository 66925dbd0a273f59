#pragma once
#include <windows.h>

// Moves window (no resize, no activation) so that its centre is on the centre of over, or
// of the desktop when over is null; kept on the desktop as CenteredOrigin describes.
void CenterWindow(HWND window, HWND over);

// Converts both corners of rect from screen to window's client coordinates.
void ScreenRectToClient(HWND window, RECT* rect);
