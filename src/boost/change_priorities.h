// Change Program Priorities (13600): one chosen running program gets more processor time,
// or this program flushes its statistics file, its message queue or its drawing calls,
// each after the user accepted the proposed changes; "priority" opens Execution
// Priorities.
#pragma once
#include <windows.h>

#include "boost/tune_windows.h"

// What sets this thread's GDI batch limit: GdiSetBatchLimit. Tests put a recorder here,
// since not every system keeps the limit where GdiGetBatchLimit can read it back.
extern DWORD(WINAPI* ProgramSetBatchLimit)(DWORD limit);

// Opens the dialog modally over owner; each boost asks confirm before it acts.
void OpenChangePriorities(HWND owner, BoostConfirmFn confirm);

// lParam of WM_INITDIALOG is the BoostConfirmFn.
INT_PTR CALLBACK ChangePrioritiesDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
