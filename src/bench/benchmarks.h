// The benchmarks (16600): the list of tests and the chart of the chosen one against the
// reference PCs, measured on this PC when it is chosen.
#pragma once
#include <windows.h>

// Modal, owned by owner.
void OpenBenchmarks(HWND owner);

INT_PTR CALLBACK BenchmarksDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
