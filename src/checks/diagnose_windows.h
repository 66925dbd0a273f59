// Diagnose Windows Problems: the catalogue of Windows checks beside a report list.
#pragma once
#include <windows.h>

// Shows the modal dialog, owned by owner, and returns when it closes.
void OpenDiagnoseWindows(HWND owner);
