// The main dialog: ten picture buttons and a menu from which every tool is reached.
#pragma once
#include <windows.h>

// Creates the modeless main dialog without owner; null when it cannot be created.
HWND CreateMainDialog();

// Dialog procedure of the main dialog (1920).
INT_PTR CALLBACK MainDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Carries out a command of the main dialog's buttons and menu with dialog as the owner of
// what it opens. Commands whose tools are not part of the program open nothing.
void RunMainCommand(HWND dialog, int command);
