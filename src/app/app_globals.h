// Process-wide handles and values of the application shell.
//
// Written once during start-up on the primary thread, except: AnalyzingPanel (sampling
// thread, when its window is created) and SamplingTickCount (sampling thread, every tick).
// Everyone reads them without a lock. The windows the tick and the monitors chooser
// address (the status report, the monitors, the sampling window) are not here: the view
// registry (services/view_registry.h) keeps them under its lock.
#pragma once
#include <windows.h>

extern HINSTANCE gInstance;
extern UINT NewDataReadyMessage;
extern UINT MonitorActiveMessage;
extern UINT PandkitMessage;  // 0 until registered, late in start-up
extern HWND MainWindow;
extern HWND MainDialog;
extern HWND AnalyzingPanel;
extern CRITICAL_SECTION PrintLock;
extern HANDLE SamplingThreadHandle;
extern volatile DWORD SamplingTickCount;

// The Analyzing panel around long operations: shown centred over the foreground window with
// the wait cursor, then hidden with the arrow cursor back. Called from the primary thread.
void ShowAnalyzingPanel();
void HideAnalyzingPanel();
