// Tune Windows (14700): one-click optimizers for the running programs' priorities, memory,
// resources and message queues, each acting only after the user accepted its proposed
// changes, and the door to the bottleneck analyzer.
#pragma once
#include <windows.h>

#include <cstddef>

// Shows the proposed changes (lines separated by CR LF) and answers 1 when the user
// accepted them, 0 otherwise: the "Boosting" confirmation.
using BoostConfirmFn = int (*)(HWND owner, const char* text);

// Builds the proposal of count actions ("+ " action, one a line, in order), asks confirm
// over owner and answers whether it was accepted. A proposal that does not fit, or no
// confirm at all, counts as not accepted: nothing is changed unasked.
bool ConfirmProposal(HWND owner, BoostConfirmFn confirm, const char* const* actions, size_t count);

// Opens the dialog modally over owner; each optimizer asks confirm before it acts.
void OpenTuneWindows(HWND owner, BoostConfirmFn confirm);

// lParam of WM_INITDIALOG is the BoostConfirmFn.
INT_PTR CALLBACK TuneWindowsDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
