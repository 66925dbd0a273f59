// Fix Windows Problems: the way into the problem topics (boot problems, error messages) and
// the Diagnose Windows Problems catalogue of checks.
#pragma once
#include <windows.h>

#include "ui/tool_table.h"

// The problem topics as a tool table: row k (a ProblemTopic) is command 3500 + k + 1.
extern const ToolTable kProblemTopicTable;

// Shows the modal dialog, owned by owner, and returns when it closes.
void OpenFixWindows(HWND owner);

INT_PTR CALLBACK FixWindowsDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
