#pragma once
#include <windows.h>

// Creates the modeless main dialog without owner; null while there is none.
HWND CreateMainDialog();
