#pragma once
#include <windows.h>

// The sampling thread: owns the hidden "PDDynamic" window, the Analyzing panel whose
// one-second timer drives the sampling tick, and the monitors. Any tool shows and hides the
// panel through ShowAnalyzingPanel and HideAnalyzingPanel (app_globals.h).
DWORD WINAPI SamplingThread(LPVOID);
