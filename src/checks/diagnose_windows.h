// Diagnose Windows Problems (14100): the nineteen checks of the running system in a list,
// "Test" runs the chosen one into the report list, a click on a finding opens its Quick
// Help.
#pragma once
#include <windows.h>

// Shows the dialog modally over owner.
void OpenDiagnoseWindows(HWND owner);

INT_PTR CALLBACK DiagnoseWindowsDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
