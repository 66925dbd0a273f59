// The wait-time view (12900): how long the user has waited on each part of the machine.
// Modeless and owned: closing or destroying its owner closes it too; several may be open,
// each holding only its own controls.
#pragma once
#include <windows.h>

// Creates and shows a wait-time window owned by owner; returns it (null on failure).
HWND OpenWaitTime(HWND owner);

INT_PTR CALLBACK WaitTimeDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
