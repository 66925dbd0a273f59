#pragma once
#include <windows.h>

// The sampling thread: owns the hidden "PDDynamic" window, the Analyzing panel whose
// one-second timer drives the sampling tick, and the monitors.
DWORD WINAPI SamplingThread(LPVOID);

// The busy panel around long operations, centred over the foreground window.
void ShowAnalyzingPanel();
void HideAnalyzingPanel();
