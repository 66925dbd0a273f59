// The Hardware Optimizer (15600): one button per device class writes that class's settings
// (optimizer_rules.h) after the user confirms them; Reboot restarts Windows so they take
// effect.
//
// gOptimizerFlags is written and read only by the primary thread, in the dialog procedure.
#pragma once
#include <windows.h>

#include "hardware/optimizer_rules.h"

// Shows the proposed changes (lines separated by CR LF) and answers 1 when the user
// confirmed them, 0 otherwise: the "Boosting" confirmation.
using ConfirmChangesFn = int (*)(HWND owner, const char* text);

// The done flags and the restart flag live for the whole process: closing and opening the
// dialog again keeps them.
extern OptimizerFlags gOptimizerFlags;

// What Reboot calls to restart Windows once the shutdown privilege is held: ExitWindowsEx.
// Tests put a recorder here so that nothing restarts.
extern BOOL(WINAPI* OptimizerExitWindows)(UINT flags, DWORD reason);

// Opens the dialog modally; each button asks confirm before it changes anything.
void OpenHardwareOptimizer(HWND owner, ConfirmChangesFn confirm);

// lParam of WM_INITDIALOG is the ConfirmChangesFn.
INT_PTR CALLBACK HardwareOptimizerDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
