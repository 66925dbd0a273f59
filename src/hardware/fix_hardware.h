// Fix Hardware Problems (15700): pick a device category and run one of six steps; the
// step's findings or advice are shown in the Problem Solver (15800).
#pragma once
#include <windows.h>

#include "hardware/problem_report.h"

void OpenFixHardware(HWND owner);

INT_PTR CALLBACK FixHardwareDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Runs step (0..5) of category (0..14) and returns its report, with the Analyzing panel
// showing around the configuration and diagnostic steps.
ProblemReport RunProblemStep(int category, int step);

// The Problem Solver, modal over owner, showing report.
INT_PTR ShowProblemSolver(HWND owner, const ProblemReport& report);
INT_PTR CALLBACK ProblemSolverDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
